#include "XFileTextTokenizer.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}

bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// For text out of even a double's range: true when its magnitude is huge
// rather than tiny, judged from where its first significant digit lies.
bool IsHuge(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    long long position = 0;  // decimal exponent of the first significant digit, plus one
    bool seenPoint = false;
    bool seenDigit = false;
    long long integerDigits = 0;
    long long leadingFractionZeros = 0;
    for (; i < text.size() && (IsDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            seenPoint = true;
        } else if (!seenDigit && text[i] == '0') {
            if (seenPoint)
                ++leadingFractionZeros;
        } else {
            if (!seenDigit && seenPoint)
                position = -leadingFractionZeros;
            seenDigit = true;
            if (!seenPoint)
                ++integerDigits;
        }
    }
    if (integerDigits > 0)
        position = integerDigits;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            if (exponent < 1000000)
                exponent = exponent * 10 + (text[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    return position + exponent > 0;
}

}  // namespace

XFileTextTokenizer::XFileTextTokenizer(std::string_view text, std::size_t start, int firstLine)
    : m_Input(text), m_Pos(start < text.size() ? start : text.size()), m_Line(firstLine), m_TokenLine(firstLine)
{}

void XFileTextTokenizer::SkipSpaceAndComments()
{
    while (m_Pos < m_Input.size()) {
        const char c = m_Input[m_Pos];
        if (IsSpace(c)) {
            if (c == '\n')
                ++m_Line;
            ++m_Pos;
        } else if (c == '#' || (c == '/' && m_Pos + 1 < m_Input.size() && m_Input[m_Pos + 1] == '/')) {
            while (m_Pos < m_Input.size() && m_Input[m_Pos] != '\n')
                ++m_Pos;
        } else {
            return;
        }
    }
}

XToken XFileTextTokenizer::Next()
{
    SkipSpaceAndComments();
    m_TokenLine = m_Line;
    if (m_Pos >= m_Input.size()) {
        m_Text = {};
        return m_Kind = XToken::End;
    }
    const std::size_t start = m_Pos;
    const char c = m_Input[m_Pos];

    auto delimited = [&](char close, XToken kind, const char* broken) {
        const std::size_t end = m_Input.find(close, start + 1);
        if (end == std::string_view::npos) {
            m_Pos = m_Input.size();
            m_Text = m_Input.substr(start + 1);
            m_Broken = broken;
            return m_Kind = XToken::Broken;
        }
        for (std::size_t i = start + 1; i < end; ++i)
            if (m_Input[i] == '\n')
                ++m_Line;
        m_Pos = end + 1;
        m_Text = m_Input.substr(start + 1, end - start - 1);
        return m_Kind = kind;
    };

    if (c == '"')
        return delimited('"', XToken::String, "an unterminated string");
    if (c == '<')
        return delimited('>', XToken::Guid, "an unterminated GUID");

    auto run = [&](bool (*member)(char), XToken kind) {
        while (m_Pos < m_Input.size() && member(m_Input[m_Pos]))
            ++m_Pos;
        m_Text = m_Input.substr(start, m_Pos - start);
        return m_Kind = kind;
    };
    if (IsNumberChar(c) && c != 'e' && c != 'E') {
        run(IsNumberChar, XToken::Number);
        // Some writers print a NaN or an infinity as "1.#QNAN0" or "-1.#INF00":
        // that `#` starts no comment but ends the number.
        if (m_Text.back() == '.' && m_Pos < m_Input.size() && m_Input[m_Pos] == '#') {
            ++m_Pos;
            while (m_Pos < m_Input.size() && IsNameChar(m_Input[m_Pos]))
                ++m_Pos;
            m_Text = m_Input.substr(start, m_Pos - start);
        }
        return m_Kind;
    }
    if (IsNameStart(c))
        return run(IsNameChar, XToken::Name);

    ++m_Pos;
    m_Text = m_Input.substr(start, 1);
    switch (c) {
    case '{': return m_Kind = XToken::LBrace;
    case '}': return m_Kind = XToken::RBrace;
    case ';': return m_Kind = XToken::Semicolon;
    case ',': return m_Kind = XToken::Comma;
    default: return m_Kind = XToken::Other;
    }
}

XNumber XFileTextTokenizer::ToFloat(float* value) const
{
    std::string_view text = m_Text;
    if (text.find('#') != std::string_view::npos)
        return XNumber::NotFinite;
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    // Straight to float where it fits, so that every number a float can
    // hold reads back to exactly that float.
    auto res = std::from_chars(text.data(), end, *value);
    if (res.ec == std::errc() && res.ptr == end)
        return XNumber::Ok;
    if (res.ec != std::errc::result_out_of_range || res.ptr != end)
        return XNumber::Malformed;
    // Too small or too large for a float: tiny values read as zero (or the
    // nearest subnormal), large ones are refused.
    double wide = 0.0;
    res = std::from_chars(text.data(), end, wide);
    if (res.ec == std::errc::result_out_of_range) {
        if (IsHuge(text))
            return XNumber::Overflow;
        *value = text[0] == '-' ? -0.0f : 0.0f;
        return XNumber::Ok;
    }
    if (res.ec != std::errc() || res.ptr != end)
        return XNumber::Malformed;
    if (std::fabs(wide) > std::numeric_limits<float>::max())
        return XNumber::Overflow;
    *value = static_cast<float>(wide);
    return XNumber::Ok;
}

XNumber XFileTextTokenizer::ToUInt(std::uint32_t* value) const
{
    const char* end = m_Text.data() + m_Text.size();
    const auto res = std::from_chars(m_Text.data(), end, *value);
    if (res.ec == std::errc::result_out_of_range)
        return XNumber::TooLarge;
    if (res.ec != std::errc() || res.ptr != end)
        return XNumber::NotWhole;
    return XNumber::Ok;
}
