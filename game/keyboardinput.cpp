#include "keyboardinput.h"

#include <cstring>

CKeyboardInput::~CKeyboardInput()
{
    Release();
}

void CKeyboardInput::Release()
{
    if (m_pKeyboard) {
        m_pKeyboard->Unacquire();
        m_pKeyboard->Release();
        m_pKeyboard = nullptr;
    }
    if (m_pDI) {
        m_pDI->Release();
        m_pDI = nullptr;
    }
}

bool CKeyboardInput::Initialize(HWND window)
{
    // A second Initialize starts over instead of leaking the first device.
    Release();
    void* directInput = nullptr;
    DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W, &directInput, nullptr);
    m_pDI = static_cast<IDirectInput8W*>(directInput);
    if (!m_pDI)
        return false;
    m_pDI->CreateDevice(GUID_SysKeyboard, &m_pKeyboard, nullptr);
    if (!m_pKeyboard)
        return false;
    m_pKeyboard->SetDataFormat(&c_dfDIKeyboard);
    m_pKeyboard->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    m_pKeyboard->Acquire();
    return true;
}

void CKeyboardInput::Poll()
{
    if (!m_pKeyboard) {
        std::memset(m_Keys, 0, sizeof m_Keys);
        return;
    }
    const HRESULT result = m_pKeyboard->GetDeviceState(sizeof m_Keys, m_Keys);
    if (FAILED(result)) {
        // Usually the window left the foreground: all keys up for this
        // tick, and the state is read again at the next Poll.
        std::memset(m_Keys, 0, sizeof m_Keys);
        m_pKeyboard->Acquire();
    }
}

bool CKeyboardInput::IsKeyDown(int code) const
{
    if (code < 0 || code > 255)
        return false;
    return static_cast<signed char>(m_Keys[code]) < 0;
}
