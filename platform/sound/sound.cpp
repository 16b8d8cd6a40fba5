#include <SDL.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <thread>
#include <utility>

#include "SoundSinks.h"
#include "mmsystem.h"

namespace {

std::mutex g_SinkMutex;

std::shared_ptr<SoundSink>& InstalledSink()
{
    static std::shared_ptr<SoundSink> sink;
    return sink;
}

std::shared_ptr<SoundSink> DefaultSink()
{
    // Made on first use, so a program that never plays a sound never
    // starts SDL.
    static std::shared_ptr<SoundSink> player = std::make_shared<SdlSoundPlayer>();
    return player;
}

// File names are wide strings in the program and UTF-8 on disk; wchar_t
// holds whole code points here.
std::string ToUtf8(const std::wstring& text)
{
    std::string out;
    for (wchar_t wc : text)
    {
        auto c = static_cast<char32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80)
        {
            out += static_cast<char>(c);
        }
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct DecodedWav
{
    SDL_AudioSpec layout{};
    std::vector<Uint8> samples;
};

bool SameFormat(const SDL_AudioSpec& a, const SDL_AudioSpec& b)
{
    return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

}  // namespace

BOOL PlaySoundW(const wchar_t* name, HMODULE /*module*/, DWORD flags)
{
    std::shared_ptr<SoundSink> sink;
    {
        std::lock_guard<std::mutex> lock(g_SinkMutex);
        sink = InstalledSink();
    }
    if (!sink)
        sink = DefaultSink();
    return sink->Play(name ? std::wstring(name) : std::wstring(), flags) ? TRUE : FALSE;
}

std::shared_ptr<SoundSink> SetSoundSink(std::shared_ptr<SoundSink> sink)
{
    std::lock_guard<std::mutex> lock(g_SinkMutex);
    return std::exchange(InstalledSink(), std::move(sink));
}

bool RecordingSoundSink::Play(const std::wstring& file, DWORD flags)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Requests.push_back({file, flags});
    return true;
}

std::vector<RecordingSoundSink::Request> RecordingSoundSink::GetRequests() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Requests;
}

void RecordingSoundSink::Clear()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Requests.clear();
}

struct SdlSoundPlayer::State
{
    // Shared with the player's thread.
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<std::shared_ptr<const DecodedWav>> requests;  // null: stop
    bool busy = false;
    bool stopping = false;
    bool hasDevice = false;

    // The callers' side.
    std::mutex decodeMutex;
    std::map<std::wstring, std::shared_ptr<const DecodedWav>> decoded;

    // The player's thread only.
    bool triedAudio = false;
    bool audioStarted = false;  // SDL's audio subsystem is running
    bool audioMissing = false;  // no device: every sound is dropped
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec deviceSpec{};

    std::thread worker;

    std::shared_ptr<const DecodedWav> Decode(const std::wstring& file)
    {
        std::lock_guard<std::mutex> lock(decodeMutex);
        auto found = decoded.find(file);
        if (found != decoded.end())
            return found->second;
        SDL_AudioSpec layout{};
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV(ToUtf8(file).c_str(), &layout, &buffer, &length))
            return nullptr;
        auto wav = std::make_shared<DecodedWav>();
        wav->layout = layout;
        wav->samples.assign(buffer, buffer + length);
        SDL_FreeWAV(buffer);
        decoded.emplace(file, wav);
        return wav;
    }

    bool StartAudio()
    {
        if (!triedAudio)
        {
            triedAudio = true;
            audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
            audioMissing = !audioStarted;
        }
        return !audioMissing;
    }

    // An open device in the sound's format, or 0.
    SDL_AudioDeviceID DeviceFor(const SDL_AudioSpec& wanted)
    {
        if (device != 0 && SameFormat(deviceSpec, wanted))
            return device;
        if (device != 0)
            SDL_CloseAudioDevice(device);
        SDL_AudioSpec desired = wanted;
        desired.callback = nullptr;  // queued, not pulled
        desired.userdata = nullptr;
        device = SDL_OpenAudioDevice(nullptr, 0, &desired, &deviceSpec, 0);
        if (device == 0)
            audioMissing = true;
        return device;
    }

    void Handle(const std::shared_ptr<const DecodedWav>& wav)
    {
        if (!wav)
        {
            if (device != 0)
                SDL_ClearQueuedAudio(device);
            return;
        }
        if (!StartAudio())
            return;
        const SDL_AudioDeviceID out = DeviceFor(wav->layout);
        if (out == 0)
            return;
        // A new sound replaces the one still playing, as PlaySoundW does.
        SDL_ClearQueuedAudio(out);
        SDL_QueueAudio(out, wav->samples.data(), static_cast<Uint32>(wav->samples.size()));
        SDL_PauseAudioDevice(out, 0);
    }

    void Run()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;)
        {
            wake.wait(lock, [&] { return stopping || !requests.empty(); });
            if (requests.empty())
                break;  // stopping, and nothing left to do
            // Only the latest request matters: each replaces the one before.
            std::shared_ptr<const DecodedWav> wav = requests.back();
            requests.clear();
            busy = true;
            lock.unlock();
            Handle(wav);
            lock.lock();
            busy = false;
            hasDevice = device != 0;
            idle.notify_all();
        }
        lock.unlock();
        if (device != 0)
            SDL_CloseAudioDevice(device);
        if (audioStarted)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        // SDL keeps per-thread data (its error text) for threads it did not
        // make; this thread must give it back itself.
        SDL_TLSCleanup();
    }
};

SdlSoundPlayer::SdlSoundPlayer() : m_State(std::make_unique<State>())
{
    m_State->worker = std::thread([state = m_State.get()] { state->Run(); });
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    {
        std::lock_guard<std::mutex> lock(m_State->mutex);
        m_State->requests.clear();
        m_State->stopping = true;
    }
    m_State->wake.notify_all();
    m_State->worker.join();
}

bool SdlSoundPlayer::Play(const std::wstring& file, DWORD /*flags*/)
{
    std::shared_ptr<const DecodedWav> wav;
    if (!file.empty())
    {
        wav = m_State->Decode(file);
        if (!wav)
            return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_State->mutex);
        m_State->requests.push_back(std::move(wav));
    }
    m_State->wake.notify_all();
    return true;
}

void SdlSoundPlayer::Flush()
{
    std::unique_lock<std::mutex> lock(m_State->mutex);
    m_State->idle.wait(lock, [&] { return m_State->requests.empty() && !m_State->busy; });
}

bool SdlSoundPlayer::HasDevice() const
{
    std::lock_guard<std::mutex> lock(m_State->mutex);
    return m_State->hasDevice;
}
