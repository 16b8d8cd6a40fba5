#include "ORV_QuotedText.h"

#include <cwchar>

#include "ORV_Utf8.h"

namespace {

bool IsPrintable(char32_t c)
{
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return false;
    if (c == 0x2028 || c == 0x2029)
        return false;
    return !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}

void AppendEscaped(std::wstring& out, char32_t c)
{
    wchar_t escape[16];
    if (c < 0x100)
        std::swprintf(escape, sizeof escape / sizeof escape[0], L"\\x%02X", static_cast<unsigned>(c));
    else
        std::swprintf(escape, sizeof escape / sizeof escape[0], L"\\u{%04X}", static_cast<unsigned>(c));
    out += escape;
}

}  // namespace

std::wstring ORV_QuoteText(std::wstring_view text, std::size_t maxCharacters)
{
    const bool cut = text.size() > maxCharacters;
    if (cut)
        text = text.substr(0, maxCharacters);
    std::wstring out;
    out.reserve(text.size() + 3);
    for (const wchar_t character : text) {
        const auto c = static_cast<char32_t>(character);
        if (IsPrintable(c))
            out += character;
        else
            AppendEscaped(out, c);
    }
    if (cut)
        out += L"...";
    return out;
}

std::string ORV_QuoteTextUtf8(std::string_view text, std::size_t maxCharacters)
{
    // Decoding a huge text only to keep its start would cost for nothing. No
    // character takes more than four bytes, so the bytes kept still decode
    // to more than maxCharacters characters whenever the text is cut.
    const std::size_t enough = maxCharacters < text.size() / 4 ? maxCharacters * 4 + 4 : text.size();
    return ORV_ToUtf8(ORV_QuoteText(ORV_FromUtf8(text.substr(0, enough)), maxCharacters));
}
