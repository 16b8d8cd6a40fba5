#include "wxkeysource.h"

#include "GamepadKeys.h"
#include "wxkeymap.h"

CWxKeySource::CWxKeySource() : m_Gamepads(std::make_unique<GamepadKeys>()) {}

CWxKeySource::~CWxKeySource() = default;

bool CWxKeySource::IsActive() const
{
    if (m_ActiveTest)
        return m_ActiveTest();
    return m_MainWindow && m_MainWindow->IsActive();
}

DIKeyState CWxKeySource::ReadKeys() const
{
    DIKeyState keys = m_Keys;
    const DIKeyState held = m_Gamepads->Poll();
    for (std::size_t code = 0; code < keys.size(); ++code)
        keys[code] |= held[code];
    return keys;
}

bool CWxKeySource::OnKey(int wxKeyCode, bool down)
{
    const int code = WxKeyCodeToDIK(wxKeyCode);
    if (code < 0)
        return false;
    m_Keys[static_cast<std::size_t>(code)] = down ? 0x80 : 0x00;
    return true;
}
