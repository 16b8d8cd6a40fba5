// The tokens of a .x file body, as the object-tree walker sees them whether
// the file is text or binary: each tokenizer turns its own encoding into this
// one stream, and says where a token lies in the terms of its encoding (a
// line of text, a byte offset of binary data).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class XToken {
    End,     // end of input
    Name,    // identifier (binary: a name or a keyword token)
    Number,  // one number (binary: one item of an integer or float list)
    String,  // quoted text, quotes removed
    Guid,    // <...>, brackets removed
    LBrace,
    RBrace,
    Semicolon,
    Comma,
    Other,   // any other single byte or token, [ and ] included
    Broken,  // input that ends or breaks inside a token; Describe() says how
};

// How a number token converts to what the walker asks for.
enum class XNumber {
    Ok,
    Malformed,  // not a number at all ("1.0.0")
    NotFinite,  // an infinity or NaN ("1.#QNAN0")
    Overflow,   // beyond the range of a float ("1e39")
    NotWhole,   // a fraction or a sign where a whole number >= 0 belongs
    TooLarge,   // a whole number beyond 32 bits
};

class XFileTokenizer
{
public:
    virtual ~XFileTokenizer() = default;

    // Reads the next token; Kind/Text/Where then describe it. After End or
    // Broken every further call returns End.
    virtual XToken Next() = 0;

    XToken Kind() const { return m_Kind; }
    // The bytes of a Name, String or Guid (text numbers too).
    std::string_view Text() const { return m_Text; }

    // The current Number token as a float (finite) or a 32-bit count.
    virtual XNumber ToFloat(float* value) const = 0;
    virtual XNumber ToUInt(std::uint32_t* value) const = 0;

    // Where the current token lies: "line 12" or "byte 40".
    virtual std::string Where() const = 0;
    // An upper bound on how many numbers can still follow.
    virtual std::size_t NumbersLeft() const = 0;

    // The current token for a message: "end of file", "'Mesh'", ...
    virtual std::string Describe() const;

protected:
    XToken m_Kind = XToken::End;
    std::string_view m_Text;
    std::string_view m_Broken;  // why the input broke, for Broken tokens
};

// Bytes from a file quoted for a one-line message, between single quotes
// (QuoteBytes: cut short, non-printable bytes spelt out).
std::string XFileQuote(std::string_view bytes);
