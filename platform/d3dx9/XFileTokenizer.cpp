#include "XFileTokenizer.h"

std::string XFileTokenizer::Describe() const
{
    switch (m_Kind) {
    case XToken::End: return "end of file";
    case XToken::String: return "a quoted string";
    case XToken::Guid: return "a GUID";
    case XToken::LBrace: return "'{'";
    case XToken::RBrace: return "'}'";
    case XToken::Semicolon: return "';'";
    case XToken::Comma: return "','";
    case XToken::Broken: return std::string(m_Broken);
    default: return XFileQuote(m_Text);
    }
}

std::string XFileQuote(std::string_view bytes)
{
    static const char kHex[] = "0123456789abcdef";
    std::string quoted = "'";
    const std::size_t shown = bytes.size() < kXFileQuoteMax ? bytes.size() : kXFileQuoteMax;
    for (std::size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x20 || c >= 0x7F || c == '\\' || c == '\'') {
            quoted += "\\x";
            quoted += kHex[c >> 4];
            quoted += kHex[c & 15];
        } else {
            quoted += static_cast<char>(c);
        }
    }
    if (shown < bytes.size())
        quoted += "...";
    return quoted + "'";
}
