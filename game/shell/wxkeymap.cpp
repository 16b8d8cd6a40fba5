#include "wxkeymap.h"

#include <wx/defs.h>

#include "dinput.h"

namespace {

// DirectInput numbers keys by their place on a US keyboard, not by letter,
// so the letters and digits need a table each.
constexpr int kLetters[26] = {
    DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I, DIK_J, DIK_K, DIK_L, DIK_M,
    DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R, DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z,
};
constexpr int kDigits[10] = {DIK_0, DIK_1, DIK_2, DIK_3, DIK_4, DIK_5, DIK_6, DIK_7, DIK_8, DIK_9};

struct KeyPair
{
    int wx;
    int dik;
};

constexpr KeyPair kOtherKeys[] = {
    {WXK_LEFT, DIK_LEFT},
    {WXK_RIGHT, DIK_RIGHT},
    {WXK_UP, DIK_UP},
    {WXK_DOWN, DIK_DOWN},
    // The keypad's arrows are the same keys to a player.
    {WXK_NUMPAD_LEFT, DIK_LEFT},
    {WXK_NUMPAD_RIGHT, DIK_RIGHT},
    {WXK_NUMPAD_UP, DIK_UP},
    {WXK_NUMPAD_DOWN, DIK_DOWN},
    {WXK_ESCAPE, DIK_ESCAPE},
    {WXK_RETURN, DIK_RETURN},
    {WXK_NUMPAD_ENTER, DIK_NUMPADENTER},
    {WXK_SPACE, DIK_SPACE},
    {WXK_TAB, DIK_TAB},
    {WXK_BACK, DIK_BACK},
    {WXK_SHIFT, DIK_LSHIFT},
    {WXK_CONTROL, DIK_LCONTROL},
    {WXK_ALT, DIK_LMENU},
    {WXK_HOME, DIK_HOME},
    {WXK_END, DIK_END},
    {WXK_PAGEUP, DIK_PRIOR},
    {WXK_PAGEDOWN, DIK_NEXT},
    {WXK_INSERT, DIK_INSERT},
    {WXK_DELETE, DIK_DELETE},
    {'-', DIK_MINUS},
    {'=', DIK_EQUALS},
    {'[', DIK_LBRACKET},
    {']', DIK_RBRACKET},
    {';', DIK_SEMICOLON},
    {'\'', DIK_APOSTROPHE},
    {'`', DIK_GRAVE},
    {'\\', DIK_BACKSLASH},
    {',', DIK_COMMA},
    {'.', DIK_PERIOD},
    {'/', DIK_SLASH},
    {WXK_F1, DIK_F1},
    {WXK_F2, DIK_F2},
    {WXK_F3, DIK_F3},
    {WXK_F4, DIK_F4},
    {WXK_F5, DIK_F5},
    {WXK_F6, DIK_F6},
    {WXK_F7, DIK_F7},
    {WXK_F8, DIK_F8},
    {WXK_F9, DIK_F9},
    {WXK_F10, DIK_F10},
    {WXK_F11, DIK_F11},
    {WXK_F12, DIK_F12},
};

}  // namespace

int WxKeyCodeToDIK(int wxKeyCode)
{
    // Key events report letters in upper case whatever the shift state; a
    // lower-case code (from a char event passed in by mistake) is the same
    // key.
    if (wxKeyCode >= 'a' && wxKeyCode <= 'z')
        wxKeyCode -= 'a' - 'A';
    if (wxKeyCode >= 'A' && wxKeyCode <= 'Z')
        return kLetters[wxKeyCode - 'A'];
    if (wxKeyCode >= '0' && wxKeyCode <= '9')
        return kDigits[wxKeyCode - '0'];
    if (wxKeyCode >= WXK_NUMPAD0 && wxKeyCode <= WXK_NUMPAD9)
        return kDigits[wxKeyCode - WXK_NUMPAD0];
    for (const KeyPair& pair : kOtherKeys)
        if (pair.wx == wxKeyCode)
            return pair.dik;
    return -1;
}
