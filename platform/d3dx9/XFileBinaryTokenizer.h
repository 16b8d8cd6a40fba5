// Splits the body of a binary .x file into tokens. Each token is a 16-bit
// code, little-endian like everything in the file; names, strings, GUIDs and
// lists of integers or floats (32- or 64-bit, as the header says) carry their
// data after the code. A list becomes one Number token per item. Offsets in
// messages count from the start of the file, header included.
#pragma once

#include "XFileTokenizer.h"

class XFileBinaryTokenizer final : public XFileTokenizer
{
public:
    // data holds the body; offsetBase is the file offset of its first byte.
    XFileBinaryTokenizer(std::string_view data, std::size_t offsetBase, bool doubles);

    XToken Next() override;
    XNumber ToFloat(float* value) const override;
    XNumber ToUInt(std::uint32_t* value) const override;
    std::string Where() const override { return "byte " + std::to_string(m_OffsetBase + m_TokenPos); }
    // Each number takes at least four bytes.
    std::size_t NumbersLeft() const override { return (m_Input.size() - m_Pos) / 4; }
    std::string Describe() const override;

private:
    XToken Break(const char* why);
    bool Take(std::size_t n, std::string_view* bytes);
    bool TakeWord(std::uint16_t* value);
    bool TakeDword(std::uint32_t* value);
    XToken NextListItem();

    std::string_view m_Input;
    std::size_t m_OffsetBase;
    bool m_Doubles;
    std::size_t m_Pos = 0;
    std::size_t m_TokenPos = 0;
    std::uint32_t m_ListLeft = 0;  // items of the current list not yet read
    bool m_ListOfFloats = false;
    bool m_IsInteger = true;  // the current Number: an integer or a float
    std::uint32_t m_Integer = 0;
    double m_Real = 0.0;
};
