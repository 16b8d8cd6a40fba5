// Text from outside the program (a file name, a word of a data file, a
// reader's message) made fit to quote in a one-line message: cut short,
// with everything that is not printable spelt out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Longest part of a name that a message quotes.
constexpr std::size_t ORV_QUOTED_NAME_LENGTH = 80;
// Longest reason (a reader's message) that a message quotes; the reader's
// own messages are far shorter, so only a runaway one is cut.
constexpr std::size_t ORV_QUOTED_REASON_LENGTH = 300;

// The first maxCharacters characters of text ("..." appended when cut),
// with control characters (C0, DEL, C1), line and paragraph separators and
// lone surrogates written as \xNN or \u{NNNN}.
std::wstring ORV_QuoteText(std::wstring_view text, std::size_t maxCharacters = ORV_QUOTED_NAME_LENGTH);

// The same for UTF-8 text; an invalid byte sequence shows as U+FFFD.
std::string ORV_QuoteTextUtf8(std::string_view text, std::size_t maxCharacters = ORV_QUOTED_NAME_LENGTH);
