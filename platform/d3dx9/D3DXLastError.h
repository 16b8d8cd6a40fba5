// The per-thread text behind D3DXGetLastErrorEXT: every failing D3DX call of
// this library records one line here before it returns its error code.
#pragma once

#include <optional>
#include <string>

#include "wintypes.h"

// Records message as the last error of this thread and returns hr, so a
// failing call can end with `return D3DXFail(hr, "...")`.
HRESULT D3DXFail(HRESULT hr, std::string message);

// The UTF-8 path of the file name given to call. None, with the failure
// recorded, when the name is missing or is not all characters (a
// replacement would name another file).
std::optional<std::string> D3DXFilePath(const wchar_t* name, const char* call);
