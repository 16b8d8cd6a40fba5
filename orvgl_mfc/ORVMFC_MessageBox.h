// The library's message boxes (ORV_MessageBox) shown as wx message boxes.
// The game shell installs this at start-up; tests leave their recorder in.
#pragma once

#include "Window.h"
#include "wintypes.h"

// Makes ORV_MessageBox show ShowWxMessageBox.
void InstallMessageBoxHandler();

// A modal wx message box with text, titled caption (the application's name
// when empty), centred on the top-level window of owner (a handle made by
// this library; otherwise wx picks the parent). Only the OK button exists;
// the icon follows the MB_ICON flag of type. Returns IDOK.
int ShowWxMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
