#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <thread>

#include "SdlSubsystems.h"
#include "SoundSinks.h"
#include "Utf8.h"
#include "VarioSynth.h"

namespace {

using Clock = std::chrono::steady_clock;
using Samples = std::vector<float>;

// How long the device stays open after the last sound: long enough for the
// variometer's closing ramp (a few milliseconds) and the device's own buffer
// to play out.
constexpr auto kCloseDelay = std::chrono::milliseconds(60);

// A WAV file in the mix's format, or null when it is missing or not a WAV.
std::shared_ptr<const Samples> LoadForMix(const std::wstring& file)
{
    SDL_AudioSpec layout{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    const std::optional<std::string> name = WideToUtf8Exactly(file);
    if (!name || !SDL_LoadWAV(name->c_str(), &layout, &buffer, &length))
        return nullptr;
    SDL_AudioStream* stream =
        SDL_NewAudioStream(layout.format, layout.channels, layout.freq, AUDIO_F32SYS, 1, SdlSoundPlayer::kSampleRate);
    std::shared_ptr<Samples> samples;
    if (stream && SDL_AudioStreamPut(stream, buffer, static_cast<int>(length)) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        samples = std::make_shared<Samples>(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)) / sizeof(float));
        const int got = SDL_AudioStreamGet(stream, samples->data(), static_cast<int>(samples->size() * sizeof(float)));
        samples->resize(got > 0 ? static_cast<std::size_t>(got) / sizeof(float) : 0);
    }
    if (stream)
        SDL_FreeAudioStream(stream);
    SDL_FreeWAV(buffer);
    return samples;
}

}  // namespace

struct SdlSoundPlayer::State
{
    // --- the mix: shared with SDL's audio thread, under mixMutex ---------
    std::mutex mixMutex;
    std::shared_ptr<const Samples> wav;  // the WAV playing, if any
    std::size_t wavAt = 0;               // its next sample
    VarioSynth vario{kSampleRate};
    bool varioOn = false;

    // --- requests: shared with the player's thread, under mutex ----------
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    // Each entry is a WAV to start (null: stop the WAV), or nothing: only
    // look again whether the device is wanted.
    std::deque<std::optional<std::shared_ptr<const Samples>>> requests;
    bool busy = false;
    bool stopping = false;
    bool hasDevice = false;
    std::size_t deviceOpenings = 0;

    // --- the callers' side ---------------------------------------------------
    std::mutex decodeMutex;
    std::map<std::wstring, std::shared_ptr<const Samples>> decoded;

    // --- the player's thread only -------------------------------------------
    bool triedAudio = false;
    bool audioStarted = false;  // SDL's audio subsystem is running
    bool audioMissing = false;  // no device: every sound is dropped
    SDL_AudioDeviceID device = 0;
    std::optional<Clock::time_point> closeAt;

    std::thread worker;

    std::shared_ptr<const Samples> Decode(const std::wstring& file)
    {
        std::lock_guard<std::mutex> lock(decodeMutex);
        auto found = decoded.find(file);
        if (found != decoded.end())
            return found->second;
        std::shared_ptr<const Samples> samples = LoadForMix(file);
        if (samples)
            decoded.emplace(file, samples);
        return samples;
    }

    static void SDLCALL Fill(void* userdata, Uint8* stream, int length)
    {
        static_cast<State*>(userdata)->Mix(reinterpret_cast<float*>(stream),
                                           static_cast<std::size_t>(length) / sizeof(float));
    }

    void Mix(float* out, std::size_t count)
    {
        std::fill(out, out + count, 0.0f);
        std::lock_guard<std::mutex> lock(mixMutex);
        if (wav) {
            const std::size_t n = std::min(count, wav->size() - wavAt);
            for (std::size_t i = 0; i < n; ++i)
                out[i] += (*wav)[wavAt + i];
            wavAt += n;
            if (wavAt >= wav->size())
                wav.reset();
        }
        vario.Mix(out, count);
        for (std::size_t i = 0; i < count; ++i)
            out[i] = std::clamp(out[i], -1.0f, 1.0f);
    }

    bool StartAudio()
    {
        if (!triedAudio) {
            triedAudio = true;
            audioStarted = StartSdlSubsystems(SDL_INIT_AUDIO);
            audioMissing = !audioStarted;
        }
        return !audioMissing;
    }

    void OpenDevice()
    {
        if (device != 0 || !StartAudio())
            return;
        SDL_AudioSpec desired{};
        desired.freq = kSampleRate;
        desired.format = AUDIO_F32SYS;
        desired.channels = 1;
        desired.samples = 512;  // about 11 ms: the variometer follows the flight closely
        desired.callback = Fill;
        desired.userdata = this;
        SDL_AudioSpec obtained{};
        // SDL converts to whatever the hardware takes.
        device = SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
        if (device == 0) {
            audioMissing = true;
            return;
        }
        ++deviceOpenings;
        SDL_PauseAudioDevice(device, 0);
    }

    void CloseDevice()
    {
        if (device == 0)
            return;
        SDL_CloseAudioDevice(device);
        device = 0;
    }

    // Opens the device while something sounds, and closes it a moment
    // after nothing does.
    void Reconcile()
    {
        bool varioWanted = false;
        Clock::duration wavLeft{};
        {
            std::lock_guard<std::mutex> lock(mixMutex);
            varioWanted = varioOn;
            if (wav)
                wavLeft = std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(static_cast<double>(wav->size() - wavAt) / kSampleRate));
        }
        const bool wavWanted = wavLeft > Clock::duration::zero();
        if (varioWanted || wavWanted) {
            OpenDevice();
            if (device == 0) {
                // Nothing to play it on: dropped.
                std::lock_guard<std::mutex> lock(mixMutex);
                wav.reset();
                closeAt.reset();
                return;
            }
        }
        if (device == 0 || varioOn) {
            closeAt.reset();
            return;
        }
        const Clock::time_point now = Clock::now();
        if (!wavWanted && closeAt && now >= *closeAt) {
            CloseDevice();
            closeAt.reset();
            return;
        }
        // Look again when the WAV has played out.
        closeAt = now + wavLeft + kCloseDelay;
    }

    void Handle(const std::optional<std::shared_ptr<const Samples>>& request)
    {
        if (!request)
            return;
        // A new sound replaces the one still playing, as PlaySoundW does.
        std::lock_guard<std::mutex> lock(mixMutex);
        wav = *request;
        wavAt = 0;
    }

    void Run()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            const auto woken = [&] { return stopping || !requests.empty(); };
            if (closeAt)
                wake.wait_until(lock, *closeAt, woken);
            else
                wake.wait(lock, woken);
            if (stopping)
                break;
            std::deque<std::optional<std::shared_ptr<const Samples>>> todo;
            todo.swap(requests);
            busy = true;
            lock.unlock();
            for (const auto& request : todo)
                Handle(request);
            Reconcile();
            lock.lock();
            busy = false;
            hasDevice = device != 0;
            idle.notify_all();
        }
        lock.unlock();
        CloseDevice();
        if (audioStarted)
            StopSdlSubsystems(SDL_INIT_AUDIO);
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
    std::shared_ptr<const Samples> samples;
    if (!file.empty()) {
        samples = m_State->Decode(file);
        if (!samples)
            return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_State->mutex);
        m_State->requests.emplace_back(std::move(samples));
    }
    m_State->wake.notify_all();
    return true;
}

void SdlSoundPlayer::SetVario(const std::optional<VarioTone>& tone)
{
    bool switched = false;
    {
        std::lock_guard<std::mutex> lock(m_State->mixMutex);
        switched = m_State->varioOn != tone.has_value();
        m_State->varioOn = tone.has_value();
        m_State->vario.SetTone(tone.value_or(VarioTone{}));
    }
    // Only switching it on or off concerns the device; a new tone is the
    // callback's alone.
    if (!switched)
        return;
    {
        std::lock_guard<std::mutex> lock(m_State->mutex);
        m_State->requests.emplace_back(std::nullopt);
    }
    m_State->wake.notify_all();
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

std::size_t SdlSoundPlayer::GetDeviceOpenCount() const
{
    std::lock_guard<std::mutex> lock(m_State->mutex);
    return m_State->deviceOpenings;
}
