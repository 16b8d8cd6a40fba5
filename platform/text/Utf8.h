// File names and messages are wide strings inside the program; they become
// UTF-8 only where they leave it (a file is opened, a line is written), and
// names read from data files come in as UTF-8. These are the program's one
// conversion between the two, with one rule for what is not a character.
//
// wchar_t holds whole code points on Linux, but text may still arrive as
// UTF-16 from a 16-bit source: a well-formed surrogate pair is joined into
// its character. A lone surrogate, a value past U+10FFFF and an invalid
// UTF-8 sequence are not characters and become U+FFFD, so what comes out is
// always valid.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Encodes wide text as UTF-8 (for messages: nothing is lost but what was
// not text).
std::string WideToUtf8(std::wstring_view text);

// The same for a file name: none when anything had to be replaced, since
// the replacement would name another file.
std::optional<std::string> WideToUtf8Exactly(std::wstring_view text);

// Decodes UTF-8 bytes; each invalid, truncated, overlong or surrogate
// sequence becomes one U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
