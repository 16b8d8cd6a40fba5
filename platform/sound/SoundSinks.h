// Where PlaySoundW and the variometer send their requests. One sink is
// installed at a time; the default plays through SDL2's audio.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "VarioTone.h"
#include "wintypes.h"

class SoundSink
{
public:
    virtual ~SoundSink() = default;
    // Starts playing file (replacing what plays) and returns at once;
    // an empty name stops the sound. False when the sound cannot be played
    // for a reason of the file (missing, not a WAV).
    virtual bool Play(const std::wstring& file, DWORD flags) = 0;
    // The variometer's tone, or nothing while it is off (SetVarioSound).
    // Returns at once. A sink that plays no sound ignores it.
    virtual void SetVario(const std::optional<VarioTone>& /*tone*/) {}
};

// Installs sink (null restores the default SDL2 player) and returns the
// previous one (null when the default was installed).
std::shared_ptr<SoundSink> SetSoundSink(std::shared_ptr<SoundSink> sink);

// Drops every request: the headless run.
class SilentSoundSink : public SoundSink
{
public:
    bool Play(const std::wstring&, DWORD) override { return true; }
};

// Remembers every request, in order: the tests.
class RecordingSoundSink : public SoundSink
{
public:
    struct Request
    {
        std::wstring file;
        DWORD flags;
    };

    bool Play(const std::wstring& file, DWORD flags) override;
    void SetVario(const std::optional<VarioTone>& tone) override;
    std::vector<Request> GetRequests() const;
    // Every variometer tone handed over, in order.
    std::vector<std::optional<VarioTone>> GetVarioTones() const;
    void Clear();

private:
    mutable std::mutex m_Mutex;
    std::vector<Request> m_Requests;
    std::vector<std::optional<VarioTone>> m_VarioTones;
};

// Plays WAV files and the variometer on SDL2's audio: one output device
// whose callback mixes the latest WAV with the variometer's voice. The file
// is read and decoded by the caller (so a missing file is reported at
// once); everything that talks to the audio system (starting it, opening
// and closing the device) happens on the player's own thread, so neither
// Play nor SetVario ever waits for it. The device is open only while
// something sounds or may sound: from a WAV's start to its end, and while
// the variometer is on. No audio device means silence and no message.
class SdlSoundPlayer : public SoundSink
{
public:
    // The mix: mono float samples at this rate.
    static constexpr int kSampleRate = 48000;

    SdlSoundPlayer();
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    bool Play(const std::wstring& file, DWORD flags) override;
    void SetVario(const std::optional<VarioTone>& tone) override;

    // For the tests: waits until the requests made so far are handled.
    void Flush();
    // True while an output device is open.
    bool HasDevice() const;
    // How many times an output device was opened.
    std::size_t GetDeviceOpenCount() const;

private:
    struct State;
    std::unique_ptr<State> m_State;
};
