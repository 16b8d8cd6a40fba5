#include "wxkeysource.h"

#include "wxkeymap.h"

bool CWxKeySource::IsActive() const
{
    if (m_ActiveTest)
        return m_ActiveTest();
    return m_MainWindow && m_MainWindow->IsActive();
}

bool CWxKeySource::OnKey(int wxKeyCode, bool down)
{
    const int code = WxKeyCodeToDIK(wxKeyCode);
    if (code < 0)
        return false;
    m_Keys[static_cast<size_t>(code)] = down ? 0x80 : 0x00;
    return true;
}
