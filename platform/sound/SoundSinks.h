// Where PlaySoundW sends its requests. One sink is installed at a time; the
// default plays through SDL2's audio.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "wintypes.h"

class SoundSink
{
public:
    virtual ~SoundSink() = default;
    // Starts playing file (replacing what plays) and returns at once;
    // an empty name stops the sound. False when the sound cannot be played
    // for a reason of the file (missing, not a WAV).
    virtual bool Play(const std::wstring& file, DWORD flags) = 0;
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
    std::vector<Request> GetRequests() const;
    void Clear();

private:
    mutable std::mutex m_Mutex;
    std::vector<Request> m_Requests;
};

// Plays WAV files on SDL2's audio. The file is read and decoded by the
// caller (so a missing file is reported at once); everything that talks to
// the audio system (starting it, opening the device, queueing the samples)
// happens on the player's own thread, so Play never waits for it. No audio
// device means silence and no message.
class SdlSoundPlayer : public SoundSink
{
public:
    SdlSoundPlayer();
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    bool Play(const std::wstring& file, DWORD flags) override;

    // For the tests: waits until the requests made so far are handled.
    void Flush();
    // True once an output device is open.
    bool HasDevice() const;

private:
    struct State;
    std::unique_ptr<State> m_State;
};
