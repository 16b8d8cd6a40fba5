// Modal message boxes of the library (failures it cannot report otherwise).
//
// The library does not know the toolkit: the game shell installs the handler
// that shows a real box, and tests install one that records the call. With no
// handler installed the message goes to stderr as one line.
#pragma once

#include <functional>

#include "Window.h"
#include "wintypes.h"

// Button and icon flags of the type argument, with Windows' values.
constexpr UINT MB_OK = 0x00000000u;
constexpr UINT MB_ICONERROR = 0x00000010u;

// Result of a box closed with its OK button.
constexpr int IDOK = 1;

// Shows text in a box titled caption, owned by owner (may be null). Returns
// the id of the button that closed the box.
using ORV_MessageBoxHandler = std::function<int(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)>;

// Installs handler (an empty one restores the stderr fallback) and returns
// the previous one, so a test can put it back.
ORV_MessageBoxHandler SetMessageBoxHandler(ORV_MessageBoxHandler handler);

int ORV_MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
