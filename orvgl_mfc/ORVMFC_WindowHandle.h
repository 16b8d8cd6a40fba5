// Window handles (HWND) of wx windows, for the graphics layer and the
// library's message boxes: the main window hands its handle to the graphics
// system, and a message box finds the wx window that owns it.
#pragma once

#include "Window.h"

class wxWindow;

// The handle of window: a view canvas's own, or for any other window one
// made on first request that lives as long as the window (the same handle
// every time). A null window gives a null handle.
HWND GetWindowHandle(wxWindow* window);

// The wx window behind a handle made by this library, or null (a null or
// expired handle, or a window the library did not make).
wxWindow* WindowFromHandle(const HWND& handle);
