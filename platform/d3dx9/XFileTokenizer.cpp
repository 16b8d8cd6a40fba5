#include "XFileTokenizer.h"

#include "QuotedText.h"

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
    return "'" + QuoteBytes(bytes) + "'";
}
