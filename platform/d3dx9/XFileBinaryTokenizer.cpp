#include "XFileBinaryTokenizer.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The token codes of the binary encoding.
enum : std::uint16_t {
    kName = 1,
    kString = 2,
    kInteger = 3,
    kGuid = 5,
    kIntegerList = 6,
    kFloatList = 7,
    kOpenBrace = 10,
    kCloseBrace = 11,
    kOpenParen = 12,
    kDot = 18,
    kComma = 19,
    kSemicolon = 20,
    kTemplate = 31,
    kWord = 40,
    kArray = 52,
};

// Type keywords of template bodies, by code from kWord on.
constexpr std::string_view kKeywords[] = {"WORD",   "DWORD", "FLOAT",  "DOUBLE",  "CHAR",    "UCHAR", "SWORD",
                                          "SDWORD", "void",  "string", "unicode", "cstring", "array"};

}  // namespace

XFileBinaryTokenizer::XFileBinaryTokenizer(std::string_view data, std::size_t offsetBase, bool doubles)
    : m_Input(data), m_OffsetBase(offsetBase), m_Doubles(doubles)
{}

XToken XFileBinaryTokenizer::Break(const char* why)
{
    m_Pos = m_Input.size();
    m_ListLeft = 0;
    m_Text = {};
    m_Broken = why;
    return m_Kind = XToken::Broken;
}

bool XFileBinaryTokenizer::Take(std::size_t n, std::string_view* bytes)
{
    if (n > m_Input.size() - m_Pos)
        return false;
    *bytes = m_Input.substr(m_Pos, n);
    m_Pos += n;
    return true;
}

bool XFileBinaryTokenizer::TakeWord(std::uint16_t* value)
{
    std::string_view b;
    if (!Take(2, &b))
        return false;
    *value = static_cast<std::uint16_t>(static_cast<unsigned char>(b[0]) | static_cast<unsigned char>(b[1]) << 8);
    return true;
}

bool XFileBinaryTokenizer::TakeDword(std::uint32_t* value)
{
    std::string_view b;
    if (!Take(4, &b))
        return false;
    *value = 0;
    for (int i = 3; i >= 0; --i)
        *value = *value << 8 | static_cast<unsigned char>(b[static_cast<std::size_t>(i)]);
    return true;
}

XToken XFileBinaryTokenizer::NextListItem()
{
    --m_ListLeft;
    m_IsInteger = !m_ListOfFloats;
    m_Text = {};
    if (m_IsInteger) {
        TakeDword(&m_Integer);  // the list's size was checked against the input
    } else if (m_Doubles) {
        std::string_view b;
        Take(8, &b);
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = bits << 8 | static_cast<unsigned char>(b[static_cast<std::size_t>(i)]);
        std::memcpy(&m_Real, &bits, 8);
    } else {
        std::uint32_t bits = 0;
        TakeDword(&bits);
        float f;
        std::memcpy(&f, &bits, 4);
        m_Real = f;
    }
    return m_Kind = XToken::Number;
}

XToken XFileBinaryTokenizer::Next()
{
    m_TokenPos = m_Pos;
    if (m_ListLeft > 0)
        return NextListItem();
    m_Text = {};
    if (m_Pos == m_Input.size())
        return m_Kind = XToken::End;
    std::uint16_t code;
    if (!TakeWord(&code))
        return Break("a token cut short by the end of the data");
    // Empty lists hold no token: step over them (in a loop, not by
    // recursion, however many there are).
    while (code == kIntegerList || code == kFloatList) {
        std::uint32_t count;
        if (!TakeDword(&count))
            return Break("a list cut short by the end of the data");
        m_ListOfFloats = code == kFloatList;
        const std::size_t itemSize = m_ListOfFloats && m_Doubles ? 8 : 4;
        if (count > (m_Input.size() - m_Pos) / itemSize)
            return Break("a list longer than the rest of the data");
        if (count > 0) {
            m_ListLeft = count;
            return NextListItem();
        }
        m_TokenPos = m_Pos;
        if (m_Pos == m_Input.size())
            return m_Kind = XToken::End;
        if (!TakeWord(&code))
            return Break("a token cut short by the end of the data");
    }
    switch (code) {
    case kName:
    case kString: {
        std::uint32_t length;
        if (!TakeDword(&length) || !Take(length, &m_Text))
            return Break(code == kName ? "a name cut short by the end of the data"
                                       : "a string cut short by the end of the data");
        // A string's terminator (`;` or `,`) follows as a token of its own.
        return m_Kind = code == kName ? XToken::Name : XToken::String;
    }
    case kInteger:
        if (!TakeDword(&m_Integer))
            return Break("an integer cut short by the end of the data");
        m_IsInteger = true;
        return m_Kind = XToken::Number;
    case kGuid:
        if (!Take(16, &m_Text))
            return Break("a GUID cut short by the end of the data");
        return m_Kind = XToken::Guid;
    case kOpenBrace: return m_Kind = XToken::LBrace;
    case kCloseBrace: return m_Kind = XToken::RBrace;
    case kComma: return m_Kind = XToken::Comma;
    case kSemicolon: return m_Kind = XToken::Semicolon;
    case kTemplate: m_Text = "template"; return m_Kind = XToken::Name;
    default: break;
    }
    if (code >= kWord && code <= kArray) {
        m_Text = kKeywords[code - kWord];
        return m_Kind = XToken::Name;
    }
    // Brackets, parentheses, angle brackets and the dot of template bodies.
    if (code >= kOpenParen && code <= kDot)
        return m_Kind = XToken::Other;
    return Break("an unknown binary token");
}

XNumber XFileBinaryTokenizer::ToFloat(float* value) const
{
    if (m_IsInteger) {
        *value = static_cast<float>(m_Integer);
        return XNumber::Ok;
    }
    if (!std::isfinite(m_Real))
        return XNumber::NotFinite;
    if (std::fabs(m_Real) > std::numeric_limits<float>::max())
        return XNumber::Overflow;
    *value = static_cast<float>(m_Real);
    return XNumber::Ok;
}

XNumber XFileBinaryTokenizer::ToUInt(std::uint32_t* value) const
{
    if (!m_IsInteger)
        return XNumber::NotWhole;
    *value = m_Integer;
    return XNumber::Ok;
}

std::string XFileBinaryTokenizer::Describe() const
{
    if (m_Kind != XToken::Number)
        return XFileTokenizer::Describe();
    if (m_IsInteger)
        return std::to_string(m_Integer);
    if (std::isnan(m_Real))
        return "NaN";
    if (std::isinf(m_Real))
        return m_Real < 0 ? "-infinity" : "infinity";
    char buffer[32];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, m_Real);
    return std::string(buffer, res.ptr);
}
