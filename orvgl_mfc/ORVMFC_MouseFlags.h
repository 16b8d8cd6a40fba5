// Key flags that come with every mouse button and move message a view window
// forwards to its handler (ORV_IWindowHandler), with Windows' values: which
// buttons are held and whether Shift or Control is down.
#pragma once

#include "wintypes.h"

constexpr UINT MK_LBUTTON = 0x0001u;
constexpr UINT MK_RBUTTON = 0x0002u;
constexpr UINT MK_SHIFT = 0x0004u;
constexpr UINT MK_CONTROL = 0x0008u;
constexpr UINT MK_MBUTTON = 0x0010u;
