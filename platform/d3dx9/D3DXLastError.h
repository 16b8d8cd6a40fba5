// The per-thread text behind D3DXGetLastErrorEXT: every failing D3DX call of
// this library records one line here before it returns its error code.
#pragma once

#include <string>

#include "wintypes.h"

// Records message as the last error of this thread and returns hr, so a
// failing call can end with `return D3DXFail(hr, "...")`.
HRESULT D3DXFail(HRESULT hr, std::string message);
