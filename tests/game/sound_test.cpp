// PlaySoundW: the sinks, and SDL2's player on its dummy audio driver.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "SoundSinks.h"
#include "mmsystem.h"

namespace {

const std::wstring kBlip = (std::filesystem::path(SOARE_TEST_RUN_DIR) / "Sound" / "PauseBlip.wav").wstring();

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

TEST(SoundTest, TheSdlPlayerQueuesTheFileAndReturnsAtOnce)
{
    // SDL's dummy driver plays into nothing but behaves like a device.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlSoundPlayer player;
    EXPECT_FALSE(player.HasDevice());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));
    EXPECT_TRUE(player.Play(kBlip, SND_ASYNC));  // replaces the first
    const auto took = std::chrono::steady_clock::now() - start;
    // Handed over, not played through: far less than the blip lasts.
    EXPECT_LT(took, std::chrono::milliseconds(100));
    player.Flush();
    EXPECT_TRUE(player.HasDevice());
    EXPECT_TRUE(player.Play(L"", SND_ASYNC));  // stops
    player.Flush();

    // A file that is missing or is not a WAV is refused.
    EXPECT_FALSE(player.Play(L"/nonexistent/blip.wav", SND_ASYNC));
    const std::filesystem::path notWav = std::filesystem::temp_directory_path() / "soare-not-a-wav.wav";
    std::ofstream(notWav) << "RIFF but not really";
    EXPECT_FALSE(player.Play(notWav.wstring(), SND_ASYNC));
    std::filesystem::remove(notWav);
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
