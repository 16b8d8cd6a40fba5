// Splits the body of a text .x file (after its 16-byte header) into tokens.
// Comments (`//` and `#` to the end of the line, never inside a quoted
// string) and white space are dropped. Numbers are kept as their raw text:
// the parser converts them where it expects one, so odd text inside an
// object that is being skipped (template ellipses, GUIDs) does no harm.
#pragma once

#include <cstddef>
#include <string_view>

enum class XToken
{
    End,        // end of input
    Name,       // identifier
    Number,     // run of digits, signs, dots and exponents
    String,     // quoted text, quotes removed
    Guid,       // <...>, brackets removed
    LBrace,
    RBrace,
    Semicolon,
    Comma,
    Other,      // any other single byte, [ and ] included
    Unterminated,  // a string or GUID that the input ends inside
};

class XFileLexer
{
public:
    XFileLexer(std::string_view text, std::size_t start, int firstLine);

    // Reads the next token; Kind/Text/Line then describe it.
    XToken Next();

    XToken Kind() const { return m_Kind; }
    std::string_view Text() const { return m_Text; }
    int Line() const { return m_TokenLine; }
    // Bytes not yet read: an upper bound on how many numbers can follow.
    std::size_t Remaining() const { return m_Input.size() - m_Pos; }

private:
    void SkipSpaceAndComments();

    std::string_view m_Input;
    std::size_t m_Pos;
    int m_Line;
    XToken m_Kind = XToken::End;
    std::string_view m_Text;
    int m_TokenLine;
};
