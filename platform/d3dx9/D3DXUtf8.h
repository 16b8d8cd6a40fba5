// File names arrive as wide strings at the D3DX calls; the file system wants
// UTF-8. The conversion happens only where a file is opened.
#pragma once

#include <string>

// Encodes a wide (UTF-32) string as UTF-8. False for a null pointer or a
// code point that is not a Unicode scalar value (surrogates, > U+10FFFF).
bool WideToUtf8(const wchar_t* wide, std::string* utf8);
