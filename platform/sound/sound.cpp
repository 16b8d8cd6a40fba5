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

std::shared_ptr<SoundSink> CurrentSink()
{
    std::shared_ptr<SoundSink> sink;
    {
        std::lock_guard<std::mutex> lock(g_SinkMutex);
        sink = InstalledSink();
    }
    return sink ? sink : DefaultSink();
}

}  // namespace

BOOL PlaySoundW(const wchar_t* name, HMODULE /*module*/, DWORD flags)
{
    return CurrentSink()->Play(name ? std::wstring(name) : std::wstring(), flags) ? TRUE : FALSE;
}

void SetVarioSound(const std::optional<VarioTone>& tone)
{
    CurrentSink()->SetVario(tone);
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

void RecordingSoundSink::SetVario(const std::optional<VarioTone>& tone)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_VarioTones.push_back(tone);
}

std::vector<RecordingSoundSink::Request> RecordingSoundSink::GetRequests() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Requests;
}

std::vector<std::optional<VarioTone>> RecordingSoundSink::GetVarioTones() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_VarioTones;
}

void RecordingSoundSink::Clear()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Requests.clear();
    m_VarioTones.clear();
}
