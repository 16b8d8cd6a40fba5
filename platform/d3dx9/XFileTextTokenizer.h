// Splits the body of a text .x file into tokens. Comments (`//` and `#` to
// the end of the line, never inside a quoted string) and white space are
// dropped; `\r\n` line ends count as one line. Numbers are kept as their raw
// text and converted only where the walker expects one, so odd text inside
// an object that is being skipped (template ellipses, GUIDs) does no harm.
#pragma once

#include "XFileTokenizer.h"

class XFileTextTokenizer final : public XFileTokenizer
{
public:
    XFileTextTokenizer(std::string_view text, std::size_t start, int firstLine);

    XToken Next() override;
    XNumber ToFloat(float* value) const override;
    XNumber ToUInt(std::uint32_t* value) const override;
    std::string Where() const override { return "line " + std::to_string(m_TokenLine); }
    // Each number takes at least one byte.
    std::size_t NumbersLeft() const override { return m_Input.size() - m_Pos; }

private:
    void SkipSpaceAndComments();

    std::string_view m_Input;
    std::size_t m_Pos;
    int m_Line;
    int m_TokenLine;
};
