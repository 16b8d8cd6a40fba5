#include "XFileLexer.h"

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

}  // namespace

XFileLexer::XFileLexer(std::string_view text, std::size_t start, int firstLine)
    : m_Input(text), m_Pos(start < text.size() ? start : text.size()), m_Line(firstLine), m_TokenLine(firstLine)
{
}

void XFileLexer::SkipSpaceAndComments()
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

XToken XFileLexer::Next()
{
    SkipSpaceAndComments();
    m_TokenLine = m_Line;
    if (m_Pos >= m_Input.size()) {
        m_Text = {};
        return m_Kind = XToken::End;
    }
    const std::size_t start = m_Pos;
    const char c = m_Input[m_Pos];

    auto delimited = [&](char close, XToken kind) {
        const std::size_t end = m_Input.find(close, start + 1);
        if (end == std::string_view::npos) {
            m_Pos = m_Input.size();
            m_Text = m_Input.substr(start + 1);
            return m_Kind = XToken::Unterminated;
        }
        for (std::size_t i = start + 1; i < end; ++i)
            if (m_Input[i] == '\n')
                ++m_Line;
        m_Pos = end + 1;
        m_Text = m_Input.substr(start + 1, end - start - 1);
        return m_Kind = kind;
    };

    if (c == '"')
        return delimited('"', XToken::String);
    if (c == '<')
        return delimited('>', XToken::Guid);

    auto run = [&](bool (*member)(char), XToken kind) {
        while (m_Pos < m_Input.size() && member(m_Input[m_Pos]))
            ++m_Pos;
        m_Text = m_Input.substr(start, m_Pos - start);
        return m_Kind = kind;
    };
    if (IsNumberChar(c) && c != 'e' && c != 'E')
        return run(IsNumberChar, XToken::Number);
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
