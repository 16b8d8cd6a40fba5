// The DirectInput 8 keyboard interface, cut down to what the game calls.
//
// Names, constants and argument lists are DirectInput's, so the game's
// keyboard code reads as it would against the real API. What stands behind
// the "system keyboard" is a replaceable key source (DIKeySource.h): the game
// shell feeds it from its window's key events, the headless run and the
// tests from a script. Objects are reference counted like the Direct3D ones.
#pragma once

#include <cstring>

#include "d3d9.h"
#include "wintypes.h"

// --- identifiers -----------------------------------------------------------
struct GUID
{
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];

    bool operator==(const GUID& other) const { return std::memcmp(this, &other, sizeof(GUID)) == 0; }
    bool operator!=(const GUID& other) const { return !(*this == other); }
};
using REFIID = const GUID&;
using REFGUID = const GUID&;

extern const GUID IID_IDirectInput8W;
extern const GUID GUID_SysKeyboard;

// The module handle a program passes to DirectInput8Create.
using HINSTANCE = void*;
HINSTANCE GetModuleHandleW(const wchar_t* moduleName);

constexpr DWORD DIRECTINPUT_VERSION = 0x0800;

// --- result codes ------------------------------------------------------------
constexpr HRESULT DI_OK = S_OK;
constexpr HRESULT DIERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DIERR_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT DIERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DI_NOEFFECT = S_FALSE;

// --- cooperative levels ---------------------------------------------------------
constexpr DWORD DISCL_EXCLUSIVE = 0x00000001;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x00000002;
constexpr DWORD DISCL_FOREGROUND = 0x00000004;
constexpr DWORD DISCL_BACKGROUND = 0x00000008;
constexpr DWORD DISCL_NOWINKEY = 0x00000010;

// --- data formats -------------------------------------------------------------
// Only the size of the snapshot matters here: the keyboard format is one
// byte per key code, 256 bytes, high bit set while the key is down.
struct DIDATAFORMAT
{
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;
    DWORD dwDataSize;
    DWORD dwNumObjs;
};
extern const DIDATAFORMAT c_dfDIKeyboard;

// --- key codes (scan codes of a US keyboard) --------------------------------------
constexpr int DIK_ESCAPE = 0x01;
constexpr int DIK_1 = 0x02;
constexpr int DIK_2 = 0x03;
constexpr int DIK_3 = 0x04;
constexpr int DIK_4 = 0x05;
constexpr int DIK_5 = 0x06;
constexpr int DIK_6 = 0x07;
constexpr int DIK_7 = 0x08;
constexpr int DIK_8 = 0x09;
constexpr int DIK_9 = 0x0A;
constexpr int DIK_0 = 0x0B;
constexpr int DIK_MINUS = 0x0C;
constexpr int DIK_EQUALS = 0x0D;
constexpr int DIK_BACK = 0x0E;
constexpr int DIK_TAB = 0x0F;
constexpr int DIK_Q = 0x10;
constexpr int DIK_W = 0x11;
constexpr int DIK_E = 0x12;
constexpr int DIK_R = 0x13;
constexpr int DIK_T = 0x14;
constexpr int DIK_Y = 0x15;
constexpr int DIK_U = 0x16;
constexpr int DIK_I = 0x17;
constexpr int DIK_O = 0x18;
constexpr int DIK_P = 0x19;
constexpr int DIK_LBRACKET = 0x1A;
constexpr int DIK_RBRACKET = 0x1B;
constexpr int DIK_RETURN = 0x1C;
constexpr int DIK_LCONTROL = 0x1D;
constexpr int DIK_A = 0x1E;
constexpr int DIK_S = 0x1F;
constexpr int DIK_D = 0x20;
constexpr int DIK_F = 0x21;
constexpr int DIK_G = 0x22;
constexpr int DIK_H = 0x23;
constexpr int DIK_J = 0x24;
constexpr int DIK_K = 0x25;
constexpr int DIK_L = 0x26;
constexpr int DIK_SEMICOLON = 0x27;
constexpr int DIK_APOSTROPHE = 0x28;
constexpr int DIK_GRAVE = 0x29;
constexpr int DIK_LSHIFT = 0x2A;
constexpr int DIK_BACKSLASH = 0x2B;
constexpr int DIK_Z = 0x2C;
constexpr int DIK_X = 0x2D;
constexpr int DIK_C = 0x2E;
constexpr int DIK_V = 0x2F;
constexpr int DIK_B = 0x30;
constexpr int DIK_N = 0x31;
constexpr int DIK_M = 0x32;
constexpr int DIK_COMMA = 0x33;
constexpr int DIK_PERIOD = 0x34;
constexpr int DIK_SLASH = 0x35;
constexpr int DIK_RSHIFT = 0x36;
constexpr int DIK_MULTIPLY = 0x37;
constexpr int DIK_LMENU = 0x38;
constexpr int DIK_SPACE = 0x39;
constexpr int DIK_CAPITAL = 0x3A;
constexpr int DIK_F1 = 0x3B;
constexpr int DIK_F2 = 0x3C;
constexpr int DIK_F3 = 0x3D;
constexpr int DIK_F4 = 0x3E;
constexpr int DIK_F5 = 0x3F;
constexpr int DIK_F6 = 0x40;
constexpr int DIK_F7 = 0x41;
constexpr int DIK_F8 = 0x42;
constexpr int DIK_F9 = 0x43;
constexpr int DIK_F10 = 0x44;
constexpr int DIK_F11 = 0x57;
constexpr int DIK_F12 = 0x58;
constexpr int DIK_NUMPADENTER = 0x9C;
constexpr int DIK_RCONTROL = 0x9D;
constexpr int DIK_RMENU = 0xB8;
constexpr int DIK_HOME = 0xC7;
constexpr int DIK_UP = 0xC8;
constexpr int DIK_PRIOR = 0xC9;
constexpr int DIK_LEFT = 0xCB;
constexpr int DIK_RIGHT = 0xCD;
constexpr int DIK_END = 0xCF;
constexpr int DIK_DOWN = 0xD0;
constexpr int DIK_NEXT = 0xD1;
constexpr int DIK_INSERT = 0xD2;
constexpr int DIK_DELETE = 0xD3;

// --- interfaces ------------------------------------------------------------------
class IDirectInputDevice8W : public IUnknown
{
public:
    // Must be c_dfDIKeyboard for the keyboard. Fails while acquired.
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    // flags: exactly one of DISCL_EXCLUSIVE / DISCL_NONEXCLUSIVE and one of
    // DISCL_FOREGROUND / DISCL_BACKGROUND. Fails while acquired.
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    // Fails with DIERR_OTHERAPPHASPRIO while the key source is not active.
    // DI_NOEFFECT when already acquired.
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    // Copies the snapshot (size must be the data format's size). Not
    // acquired: DIERR_NOTACQUIRED. The source became inactive: the device
    // loses its acquisition and the call fails with DIERR_INPUTLOST.
    virtual HRESULT GetDeviceState(DWORD size, void* data) = 0;
};
using LPDIRECTINPUTDEVICE8W = IDirectInputDevice8W*;
using LPDIRECTINPUTDEVICE8 = IDirectInputDevice8W*;
using IDirectInputDevice8 = IDirectInputDevice8W;

class IDirectInput8W : public IUnknown
{
public:
    // Only GUID_SysKeyboard exists; it fails with DIERR_DEVICENOTREG while no
    // key source is installed. The device keeps the source installed now.
    virtual HRESULT CreateDevice(REFGUID device, IDirectInputDevice8W** out, IUnknown* outer) = 0;
};
using LPDIRECTINPUT8W = IDirectInput8W*;
using LPDIRECTINPUT8 = IDirectInput8W*;
using IDirectInput8 = IDirectInput8W;

// Creates the DirectInput object (one reference) into *out. riid must be
// IID_IDirectInput8W, version DIRECTINPUT_VERSION, outer null.
HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, void** out, IUnknown* outer);
