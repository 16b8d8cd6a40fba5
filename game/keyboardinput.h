// A snapshot of the whole keyboard, taken once per tick through DirectInput,
// so the tick can test single keys by their DIK_ codes. No buffering and no
// edge detection: the tick does that.
//
// Holds one reference to the DirectInput object and one to the keyboard
// device once Initialize has made them, and gives both back when destroyed.
#pragma once

#include "dinput.h"

class CKeyboardInput
{
public:
    CKeyboardInput() = default;
    ~CKeyboardInput();

    CKeyboardInput(const CKeyboardInput&) = delete;
    CKeyboardInput& operator=(const CKeyboardInput&) = delete;

    // Creates DirectInput and the system keyboard for window (exclusive,
    // foreground) and acquires it. True when the device exists.
    bool Initialize(HWND window);
    // Reads all 256 keys. A failed read (the window lost the foreground)
    // reads every key up and tries to acquire the device again. Without a
    // device every key reads up and nothing is touched.
    void Poll();
    // code must be 0..255; other codes read as up.
    bool IsKeyDown(int code) const;
    bool IsKeyUp(int code) const { return !IsKeyDown(code); }

    bool HasDevice() const { return m_pKeyboard != nullptr; }

private:
    void Release();

    IDirectInput8W* m_pDI = nullptr;
    IDirectInputDevice8W* m_pKeyboard = nullptr;
    BYTE m_Keys[256] = {};
};
