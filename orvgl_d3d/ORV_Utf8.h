// File names and messages are wide strings inside the library; they become
// UTF-8 only where they leave it (a file is opened, a line is written).
#pragma once

#include <string>
#include <string_view>

// Encodes text as UTF-8. A lone surrogate or a value past U+10FFFF becomes
// U+FFFD, so the result is always valid UTF-8.
std::string ORV_ToUtf8(std::wstring_view text);

// Decodes UTF-8 bytes (as names stored in data files are). An invalid
// sequence becomes U+FFFD.
std::wstring ORV_FromUtf8(std::string_view text);
