#include "QuotedText.h"

#include <cstdio>
#include <type_traits>

#include "Utf8.h"

namespace {

bool IsPrintable(char32_t c)
{
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return false;
    if (c == 0x2028 || c == 0x2029)
        return false;
    return !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}

bool IsPrintableByte(char32_t c)
{
    return c >= 0x20 && c < 0x7F && c != '\'' && c != '\\';
}

// The first maxUnits units of text, each kept or spelt out.
template <typename Char, typename Printable>
std::basic_string<Char> Quote(std::basic_string_view<Char> text, std::size_t maxUnits, Printable printable)
{
    const bool cut = text.size() > maxUnits;
    if (cut)
        text = text.substr(0, maxUnits);
    std::basic_string<Char> out;
    out.reserve(text.size() + 3);
    for (const Char unit : text) {
        const auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<Char>>(unit));
        if (printable(c)) {
            out += unit;
            continue;
        }
        char escape[16];
        if (c < 0x100)
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
        else
            std::snprintf(escape, sizeof escape, "\\u{%04X}", static_cast<unsigned>(c));
        for (const char* p = escape; *p; ++p)
            out += static_cast<Char>(*p);
    }
    if (cut)
        out.append(3, static_cast<Char>('.'));
    return out;
}

}  // namespace

std::wstring QuoteText(std::wstring_view text, std::size_t maxCharacters)
{
    return Quote(text, maxCharacters, IsPrintable);
}

std::string QuoteUtf8(std::string_view text, std::size_t maxCharacters)
{
    // Decoding a huge text only to keep its start would cost for nothing. No
    // character takes more than four bytes, so the bytes kept still decode
    // to more than maxCharacters characters whenever the text is cut.
    const std::size_t enough = maxCharacters < text.size() / 4 ? maxCharacters * 4 + 4 : text.size();
    return WideToUtf8(QuoteText(Utf8ToWide(text.substr(0, enough)), maxCharacters));
}

std::string QuoteBytes(std::string_view bytes, std::size_t maxBytes)
{
    return Quote(bytes, maxBytes, IsPrintableByte);
}
