// SDL2's player for PlaySoundW and the variometer on its dummy audio driver
// (plays into nothing) and its disk driver (writes what it plays to a file).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include "SoundSinks.h"
#include "VarioSynth.h"
#include "mmsystem.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::wstring kBlip = (fs::path(SOARE_TEST_RUN_DIR) / "Sound" / "PauseBlip.wav").wstring();

// A folder of the test's own, removed at the end.
struct TempFolder
{
    fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "soare-sound-XXXXXX").string();
        return mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
    }();
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// Waits (a few seconds at most) until the player has closed its device.
bool DeviceClosesSoon(const SdlSoundPlayer& player)
{
    for (int i = 0; i < 300 && player.HasDevice(); ++i)
        std::this_thread::sleep_for(10ms);
    return !player.HasDevice();
}

TEST(SoundTest, TheSdlPlayerHandsTheFileOverAndClosesItsDeviceWhenItHasPlayed)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlSoundPlayer player;
    EXPECT_FALSE(player.HasDevice());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));  // replaces the first
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms) << "handed over, not played through";
    player.Flush();
    EXPECT_EQ(player.GetDeviceOpenCount(), 1u);
    // The blip lasts 85 ms; then the device is given back.
    EXPECT_TRUE(DeviceClosesSoon(player));

    // A file that is not a WAV is refused.
    TempFolder folder;
    const fs::path notWav = folder.path / "not-a-wav.wav";
    std::ofstream(notWav) << "RIFF but not really";
    EXPECT_FALSE(player.Play(notWav.wstring(), SND_ASYNC));
}

TEST(SoundTest, WhatThePlayerPlaysIsTheVariometerMixedWithTheBlip)
{
    // The disk driver writes the device's samples (mono floats at the mix's
    // rate) to a file in real time, so the tone's length is checked against
    // how long it was really on.
    TempFolder folder;
    const fs::path out = folder.path / "played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    double toneHeld = 0.0;
    {
        SdlSoundPlayer player;
        player.SetVario(VarioTone{true, 1000.0f, 0.0f});  // a steady tone
        player.Flush();
        const auto toneOn = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(300ms);
        player.SetVario(VarioTone{});  // silent, still on
        player.Flush();
        toneHeld = std::chrono::duration<double>(std::chrono::steady_clock::now() - toneOn).count();
        std::this_thread::sleep_for(300ms);  // over 50 ms of silence even if the device's thread waits
        EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
        std::this_thread::sleep_for(250ms);
        player.Flush();
        EXPECT_EQ(player.GetDeviceOpenCount(), 1u) << "the blip plays on the variometer's device";
        player.SetVario(std::nullopt);
        player.Flush();
        EXPECT_TRUE(DeviceClosesSoon(player));
    }
    unsetenv("SDL_DISKAUDIOFILE");

    std::ifstream in(out, std::ios::binary);
    std::vector<float> samples;
    for (float sample; in.read(reinterpret_cast<char*>(&sample), sizeof sample);)
        samples.push_back(sample);

    // Sounding stretches: the tone, then after a silence the blip.
    constexpr int kRate = SdlSoundPlayer::kSampleRate;
    std::vector<std::pair<std::size_t, std::size_t>> stretches;
    std::size_t quiet = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) < 1e-4f && ++quiet)
            continue;
        if (stretches.empty() || quiet > kRate / 20)
            stretches.push_back({i, i});
        quiet = 0;
        stretches.back().second = i + 1;
    }
    ASSERT_EQ(stretches.size(), 2u) << "expected the tone, a silence, and the blip";
    int crossings = 0;
    float peak = 0.0f;
    for (std::size_t i = stretches[0].first + 1; i < stretches[0].second; ++i) {
        crossings += samples[i - 1] < 0.0f && samples[i] >= 0.0f ? 1 : 0;
        peak = std::max(peak, std::fabs(samples[i]));
    }
    // Not cut short, not longer than it was on (give or take the device's
    // few 11 ms buffers, which the disk driver writes a little fast).
    const double tone = double(stretches[0].second - stretches[0].first) / kRate;
    EXPECT_TRUE(tone > 0.15 && tone < toneHeld * 1.1 + 0.05) << tone << " s, on for " << toneHeld << " s";
    EXPECT_NEAR(crossings / tone, 1000.0, 30.0);
    EXPECT_NEAR(peak, VarioSynth::kLevel, 0.01f);
}
TEST(SoundTest, WithoutAnAudioDeviceTheSoundIsDroppedSilently)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlSoundPlayer player;
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
    player.Flush();
    EXPECT_FALSE(player.HasDevice());
    EXPECT_FALSE(player.Play(L"/nonexistent/blip.wav", SND_ASYNC)) << "a missing file is still told apart";
}

}  // namespace
