#include "Utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

void AppendCodePoint(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The encoding of text into out; false when something was replaced.
bool Encode(std::wstring_view text, std::string& out)
{
    bool exact = true;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<char32_t>(text[i]);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
            const auto low = static_cast<char32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (IsSurrogate(cp) || cp > 0x10FFFF) {
            cp = kReplacement;
            exact = false;
        }
        AppendCodePoint(out, cp);
    }
    return exact;
}

}  // namespace

std::string WideToUtf8(std::wstring_view text)
{
    std::string out;
    Encode(text, out);
    return out;
}

std::optional<std::string> WideToUtf8Exactly(std::wstring_view text)
{
    std::string out;
    if (!Encode(text, out))
        return std::nullopt;
    return out;
}

std::wstring Utf8ToWide(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        int taken = 1;
        while (taken < length && i + static_cast<std::size_t>(taken) < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(taken)]);
            if ((next & 0xC0) != 0x80)
                break;
            cp = (cp << 6) | (next & 0x3F);
            ++taken;
        }
        // Truncated, overlong, surrogate or out-of-range sequences are not
        // characters: replace them rather than pass a forged name on.
        if (taken < length || cp < minimum || cp > 0x10FFFF || IsSurrogate(cp))
            out += static_cast<wchar_t>(kReplacement);
        else
            out += static_cast<wchar_t>(cp);
        i += static_cast<std::size_t>(taken);
    }
    return out;
}
