// Translation of wxWidgets key codes to DirectInput key codes (DIK_), so
// that key events of the toolkit can stand behind the DirectInput keyboard.
#pragma once

// The DIK_ code of a wx key code (WXK_ value, or the upper-case character
// of a letter or digit key as key-down and key-up events carry it); -1 for a
// key the keyboard does not report.
int WxKeyCodeToDIK(int wxKeyCode);
