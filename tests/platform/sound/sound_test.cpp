// PlaySoundW and the variometer's sound: the sinks, and SDL2's player on
// its dummy audio driver (plays into nothing but behaves like a device) and
// its disk driver (writes what it plays to a file).
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
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "soare-sound-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_Path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(m_Path, ec);
    }
    const fs::path& Path() const { return m_Path; }

private:
    fs::path m_Path;
};

// Waits (a few seconds at most) until the player has closed its device.
bool DeviceClosesSoon(const SdlSoundPlayer& player)
{
    for (int i = 0; i < 300 && player.HasDevice(); ++i)
        std::this_thread::sleep_for(10ms);
    return !player.HasDevice();
}

TEST(SoundTest, TheInstalledSinkGetsEveryRequestInOrder)
{
    auto recorder = std::make_shared<RecordingSoundSink>();
    std::shared_ptr<SoundSink> previous = SetSoundSink(recorder);
    EXPECT_EQ(PlaySoundW(L"Sound/PauseBlip.wav", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(PlaySoundW(L"other.wav", nullptr, SND_ASYNC | SND_FILENAME), TRUE);
    EXPECT_EQ(PlaySoundW(nullptr, nullptr, SND_ASYNC), TRUE);
    const auto requests = recorder->GetRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].file, L"Sound/PauseBlip.wav");
    EXPECT_EQ(requests[0].flags, SND_ASYNC);
    EXPECT_EQ(requests[1].file, L"other.wav");
    EXPECT_EQ(requests[2].file, L"");

    // A silent sink drops them.
    SetSoundSink(std::make_shared<SilentSoundSink>());
    EXPECT_EQ(PlaySoundW(L"Sound/PauseBlip.wav", nullptr, SND_ASYNC), TRUE);
    EXPECT_EQ(recorder->GetRequests().size(), 3u);
    SetSoundSink(previous);
}

TEST(SoundTest, TheSdlPlayerHandsTheFileOverAndClosesItsDeviceWhenItHasPlayed)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlSoundPlayer player;
    EXPECT_FALSE(player.HasDevice());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));  // replaces the first
    const auto took = std::chrono::steady_clock::now() - start;
    // Handed over, not played through: far less than the blip lasts.
    EXPECT_LT(took, 100ms);
    player.Flush();
    EXPECT_EQ(player.GetDeviceOpenCount(), 1u);
    // The blip lasts 85 ms; then the device is given back.
    EXPECT_TRUE(DeviceClosesSoon(player));
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
    EXPECT_TRUE(player.Play(L"", SND_ASYNC));  // stops
    player.Flush();
    EXPECT_TRUE(DeviceClosesSoon(player));

    // A file that is missing or is not a WAV is refused.
    EXPECT_FALSE(player.Play(L"/nonexistent/blip.wav", SND_ASYNC));
    TempFolder folder;
    const fs::path notWav = folder.Path() / "not-a-wav.wav";
    std::ofstream(notWav) << "RIFF but not really";
    EXPECT_FALSE(player.Play(notWav.wstring(), SND_ASYNC));
}

TEST(SoundTest, TheVariometerHoldsADeviceOnlyWhileItIsOn)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlSoundPlayer player;
    // Off: saying so opens nothing.
    player.SetVario(std::nullopt);
    player.Flush();
    EXPECT_EQ(player.GetDeviceOpenCount(), 0u);

    // On, even silent (paused, landed): the device is open and stays open
    // through every change of tone, and the blip plays on the same device.
    player.SetVario(VarioTone{});
    player.Flush();
    EXPECT_TRUE(player.HasDevice());
    for (int step = 0; step < 40; ++step)
        player.SetVario(VarioTone{true, 600.0f + 10.0f * static_cast<float>(step), 4.0f});
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
    player.Flush();
    std::this_thread::sleep_for(200ms);  // the blip has played out
    player.Flush();
    EXPECT_TRUE(player.HasDevice());
    EXPECT_EQ(player.GetDeviceOpenCount(), 1u);

    // Off: the device goes.
    player.SetVario(std::nullopt);
    player.Flush();
    EXPECT_TRUE(DeviceClosesSoon(player));
    EXPECT_EQ(player.GetDeviceOpenCount(), 1u);
}

TEST(SoundTest, WhatThePlayerPlaysIsTheVariometerMixedWithTheBlip)
{
    // The disk driver writes the device's samples (the mix's own format:
    // mono floats at the mix's rate) to a file, in real time: what it
    // writes while the tone is on depends on how the machine keeps up, so
    // the tone's length is checked against how long it was really on.
    TempFolder folder;
    const fs::path out = folder.Path() / "played.raw";
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
        // Long enough to stay a silence (over 50 ms of samples) even when
        // the device's thread is kept waiting.
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
        std::this_thread::sleep_for(250ms);
        player.SetVario(std::nullopt);
        player.Flush();
        EXPECT_TRUE(DeviceClosesSoon(player));
    }
    unsetenv("SDL_DISKAUDIOFILE");

    std::ifstream in(out, std::ios::binary);
    std::vector<float> samples;
    for (float sample; in.read(reinterpret_cast<char*>(&sample), sizeof sample);)
        samples.push_back(sample);
    ASSERT_GT(samples.size(), static_cast<std::size_t>(SdlSoundPlayer::kSampleRate / 2)) << "too little was played";

    // Split into sounding stretches: the tone, then (after a silence) the
    // blip.
    struct Stretch
    {
        std::size_t begin, end;
        int crossings;
        float peak;
    };
    std::vector<Stretch> stretches;
    std::size_t quiet = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        if (std::fabs(samples[i]) < 1e-4f)
        {
            ++quiet;
            continue;
        }
        if (stretches.empty() || quiet > SdlSoundPlayer::kSampleRate / 20)
            stretches.push_back({i, i, 0, 0.0f});
        quiet = 0;
        Stretch& s = stretches.back();
        s.end = i + 1;
        s.peak = std::max(s.peak, std::fabs(samples[i]));
    }
    for (Stretch& s : stretches)
        for (std::size_t i = s.begin + 1; i < s.end; ++i)
            if (samples[i - 1] < 0.0f && samples[i] >= 0.0f)
                ++s.crossings;
    ASSERT_EQ(stretches.size(), 2u) << "expected the tone, a silence, and the blip";
    const Stretch& tone = stretches[0];
    const double toneSeconds = static_cast<double>(tone.end - tone.begin) / SdlSoundPlayer::kSampleRate;
    // Not cut short, and not longer than it was on (give or take the
    // device's few 11 ms buffers, which the disk driver writes a little
    // faster than real time).
    EXPECT_GT(toneSeconds, 0.15);
    EXPECT_LT(toneSeconds, toneHeld * 1.1 + 0.05) << "on for " << toneHeld << " s";
    EXPECT_NEAR(tone.crossings / toneSeconds, 1000.0, 30.0);
    EXPECT_NEAR(tone.peak, VarioSynth::kLevel, 0.01f);
    // The blip: 85 ms whose quiet tail is under the threshold, two tones
    // of 1318 and 1976 Hz.
    const Stretch& blip = stretches[1];
    const double blipSeconds = static_cast<double>(blip.end - blip.begin) / SdlSoundPlayer::kSampleRate;
    EXPECT_GT(blipSeconds, 0.04);
    EXPECT_LT(blipSeconds, 0.09);
    EXPECT_GT(blip.crossings / blipSeconds, 1250.0);
}

TEST(SoundTest, WithoutAnAudioDeviceTheSoundIsDroppedSilently)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlSoundPlayer player;
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
    player.Flush();
    EXPECT_FALSE(player.HasDevice());
    // A missing file is still told apart.
    EXPECT_FALSE(player.Play(L"/nonexistent/blip.wav", SND_ASYNC));
}

}  // namespace
