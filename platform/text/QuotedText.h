// Text from outside the program (a file name, a word of a data file, a
// reader's message) made fit to quote in a one-line message: cut short,
// "..." where it was cut, and every unit that is not printable spelt out as
// \xNN (or \u{NNNN} past U+00FF), so a message can neither break its line
// nor drive the terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Longest part of a name that a message quotes.
constexpr std::size_t kQuotedNameLength = 80;
// Longest reason (a reader's message) that a message quotes; the readers'
// own messages are far shorter, so only a runaway one is cut.
constexpr std::size_t kQuotedReasonLength = 300;

// The first maxCharacters characters of text, with control characters (C0,
// DEL, C1), line and paragraph separators and lone surrogates spelt out.
std::wstring QuoteText(std::wstring_view text, std::size_t maxCharacters = kQuotedNameLength);

// The same for UTF-8 text; an invalid byte sequence shows as U+FFFD.
std::string QuoteUtf8(std::string_view text, std::size_t maxCharacters = kQuotedNameLength);

// Bytes of no known encoding (a word of a data file), each byte one unit:
// the first maxBytes, with every byte outside printable ASCII, and the quote
// mark and backslash, spelt out, so the result can stand between quotes.
std::string QuoteBytes(std::string_view bytes, std::size_t maxBytes = kQuotedNameLength);
