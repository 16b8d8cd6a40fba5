#include <utility>

#include "DIKeySource.h"
#include "RefCounted.h"
#include "dinput.h"

const GUID IID_IDirectInput8W = {0xBF798031, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), 16, 0x00000002, 256, 256};

namespace {

std::shared_ptr<DIKeySource>& InstalledSource()
{
    static std::shared_ptr<DIKeySource> source;
    return source;
}

// The system keyboard: a snapshot device over one key source.
class Keyboard final : public RefCounted<IDirectInputDevice8W>
{
public:
    explicit Keyboard(std::shared_ptr<DIKeySource> source) : m_Source(std::move(source)) {}

    HRESULT SetDataFormat(const DIDATAFORMAT* format) override
    {
        if (!format || format->dwDataSize != c_dfDIKeyboard.dwDataSize)
            return DIERR_INVALIDPARAM;
        if (m_Acquired)
            return DIERR_INVALIDPARAM;
        m_FormatSet = true;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override
    {
        const DWORD exclusivity = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
        const DWORD ground = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
        const bool oneOfEach = (exclusivity == DISCL_EXCLUSIVE || exclusivity == DISCL_NONEXCLUSIVE) &&
                               (ground == DISCL_FOREGROUND || ground == DISCL_BACKGROUND);
        // A foreground device needs a window whose activity it follows.
        if (!oneOfEach || m_Acquired || (ground == DISCL_FOREGROUND && !IsWindow(window)))
            return DIERR_INVALIDPARAM;
        m_Foreground = ground == DISCL_FOREGROUND;
        return DI_OK;
    }

    HRESULT Acquire() override
    {
        if (!m_FormatSet)
            return DIERR_INVALIDPARAM;
        if (m_Acquired)
            return DI_NOEFFECT;
        if (m_Foreground && !m_Source->IsActive())
            return DIERR_OTHERAPPHASPRIO;
        m_Acquired = true;
        return DI_OK;
    }

    HRESULT Unacquire() override
    {
        if (!m_Acquired)
            return DI_NOEFFECT;
        m_Acquired = false;
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD size, void* data) override
    {
        if (!data || size != c_dfDIKeyboard.dwDataSize)
            return DIERR_INVALIDPARAM;
        if (!m_Acquired)
            return DIERR_NOTACQUIRED;
        // Losing the foreground takes the keyboard away until the program
        // acquires it again.
        if (m_Foreground && !m_Source->IsActive()) {
            m_Acquired = false;
            return DIERR_INPUTLOST;
        }
        const DIKeyState keys = m_Source->ReadKeys();
        std::memcpy(data, keys.data(), keys.size());
        return DI_OK;
    }

private:
    std::shared_ptr<DIKeySource> m_Source;
    bool m_FormatSet = false;
    bool m_Foreground = false;
    bool m_Acquired = false;
};

class DirectInput final : public RefCounted<IDirectInput8W>
{
public:
    HRESULT CreateDevice(REFGUID device, IDirectInputDevice8W** out, IUnknown* outer) override
    {
        if (!out)
            return DIERR_INVALIDPARAM;
        *out = nullptr;
        if (outer)
            return DIERR_NOAGGREGATION;
        if (device != GUID_SysKeyboard)
            return DIERR_DEVICENOTREG;
        std::shared_ptr<DIKeySource> source = GetDIKeySource();
        if (!source)
            return DIERR_DEVICENOTREG;
        *out = new Keyboard(std::move(source));
        return DI_OK;
    }
};

}  // namespace

HINSTANCE GetModuleHandleW(const wchar_t* moduleName)
{
    // Only the program's own module exists; its handle is any stable,
    // non-null address.
    static int programModule = 0;
    return moduleName ? nullptr : &programModule;
}

HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, void** out, IUnknown* outer)
{
    if (!out)
        return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (!instance)
        return DIERR_INVALIDPARAM;
    if (outer)
        return DIERR_NOAGGREGATION;
    if (version != DIRECTINPUT_VERSION)
        return DIERR_OLDDIRECTINPUTVERSION;
    if (riid != IID_IDirectInput8W)
        return DIERR_NOINTERFACE;
    *out = static_cast<IDirectInput8W*>(new DirectInput);
    return DI_OK;
}

std::shared_ptr<DIKeySource> SetDIKeySource(std::shared_ptr<DIKeySource> source)
{
    return std::exchange(InstalledSource(), std::move(source));
}

std::shared_ptr<DIKeySource> GetDIKeySource()
{
    return InstalledSource();
}

void ScriptedKeySource::SetKeyDown(int code, bool down)
{
    if (code < 0 || code >= static_cast<int>(m_Keys.size()))
        return;
    m_Keys[static_cast<std::size_t>(code)] = down ? 0x80 : 0x00;
}

void ScriptedKeySource::SetKeysDown(std::initializer_list<int> codes)
{
    ReleaseAll();
    for (int code : codes)
        SetKeyDown(code, true);
}
