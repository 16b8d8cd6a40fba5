#include "XFileObjectReader.h"

bool XFileObjectReader::Fail(const std::string& message)
{
    if (m_Error.empty())
        m_Error = m_Tok.Where() + ": " + message;
    return false;
}

bool XFileObjectReader::Unexpected(const std::string& where)
{
    return Fail("unexpected " + m_Tok.Describe() + " " + where);
}

// The input ended or broke (Broken) inside an object.
bool XFileObjectReader::CutShort(const std::string& object, const std::string& opened)
{
    const std::string what = m_Tok.Kind() == XToken::End ? "file ends" : m_Tok.Describe();
    return Fail(what + " inside " + object + " opened at " + opened);
}

// `;` and `,` are taken leniently between numbers: exporters differ.
bool XFileObjectReader::NextNumber(const char* what)
{
    XToken t;
    do
        t = m_Tok.Next();
    while (t == XToken::Semicolon || t == XToken::Comma);
    if (t == XToken::Number)
        return true;
    if (t == XToken::Name) {
        std::string word(m_Tok.Text().substr(0, 9));
        for (char& c : word)
            c = static_cast<char>(c | 0x20);
        if (word == "nan" || word == "inf" || word == "infinity")
            return Fail("non-finite number " + m_Tok.Describe() + " for " + what);
    }
    return Fail(std::string("expected ") + what + ", found " + m_Tok.Describe());
}

bool XFileObjectReader::ReadFloat(float* value, const char* what)
{
    if (!NextNumber(what))
        return false;
    switch (m_Tok.ToFloat(value)) {
    case XNumber::Ok: return true;
    case XNumber::NotFinite: return Fail("non-finite number " + m_Tok.Describe() + " for " + what);
    case XNumber::Overflow: return Fail("number " + m_Tok.Describe() + " for " + what + " is too large for a float");
    default: return Fail("bad number " + m_Tok.Describe() + " for " + what);
    }
}

bool XFileObjectReader::ReadUInt(std::uint32_t* value, const char* what)
{
    if (!NextNumber(what))
        return false;
    switch (m_Tok.ToUInt(value)) {
    case XNumber::Ok: return true;
    case XNumber::TooLarge: return Fail("number " + m_Tok.Describe() + " too large for " + what);
    default: return Fail(std::string("expected a whole number >= 0 for ") + what + ", found " + m_Tok.Describe());
    }
}

// A count of items of numbersPerItem numbers each: a count the rest of
// the input cannot hold is a lie.
bool XFileObjectReader::ReadCount(std::uint32_t* count, const char* what, std::size_t cap, std::size_t numbersPerItem)
{
    if (!ReadUInt(count, what))
        return false;
    if (*count > cap)
        return Fail(std::string(what) + " " + std::to_string(*count) + " exceeds the limit of " + std::to_string(cap));
    if (std::size_t{*count} * numbersPerItem > m_Tok.NumbersLeft())
        return Fail(std::string(what) + " " + std::to_string(*count) + " is more than the rest of the file holds");
    return true;
}

bool XFileObjectReader::ReadVector(D3DXVECTOR3* v, const char* what)
{
    return ReadFloat(&v->x, what) && ReadFloat(&v->y, what) && ReadFloat(&v->z, what);
}

bool XFileObjectReader::ReadVectors(std::vector<D3DXVECTOR3>* vectors, std::uint32_t* count, const char* countWhat,
                                    std::size_t cap, const char* what)
{
    if (!ReadCount(count, countWhat, cap, 3))
        return false;
    vectors->resize(*count);
    for (D3DXVECTOR3& v : *vectors)
        if (!ReadVector(&v, what))
            return false;
    return true;
}

// After the type name: an optional name, an optional GUID, then `{`.
bool XFileObjectReader::OpenObject(const std::string& type, std::string* name)
{
    XToken t = m_Tok.Next();
    if (t == XToken::Name) {
        if (name)
            *name = std::string(m_Tok.Text());
        t = m_Tok.Next();
    }
    if (t == XToken::Guid)
        t = m_Tok.Next();
    if (t != XToken::LBrace)
        return Fail("expected '{' to open " + type + ", found " + m_Tok.Describe());
    return true;
}

// The rest of an object whose `{` was just read; iterative, so deep
// nesting costs no stack.
bool XFileObjectReader::SkipBody(const std::string& type, const std::string& opened)
{
    std::size_t depth = 1;
    for (;;) {
        switch (m_Tok.Next()) {
        case XToken::LBrace: ++depth; break;
        case XToken::RBrace:
            if (--depth == 0)
                return true;
            break;
        case XToken::End:
        case XToken::Broken: return CutShort(type, opened);
        default: break;
        }
    }
}

// An object the game does not use, from its type name on.
bool XFileObjectReader::SkipObject()
{
    const std::string type = XFileQuote(m_Tok.Text());
    const std::string opened = m_Tok.Where();
    return OpenObject(type) && SkipBody(type, opened);
}

// A `template` from its keyword on.
bool XFileObjectReader::SkipTemplate()
{
    const std::string opened = m_Tok.Where();
    if (m_Tok.Next() != XToken::Name)
        return Fail("expected a template name, found " + m_Tok.Describe());
    if (m_Tok.Next() != XToken::LBrace)
        return Fail("expected '{' to open a template, found " + m_Tok.Describe());
    return SkipBody("a template", opened);
}

// Children of an object we read no further: skip them up to its `}`.
bool XFileObjectReader::SkipChildren(const char* type, const std::string& opened)
{
    return ReadChildren(type, opened, std::string("in ") + type, [this](std::string_view) { return SkipObject(); });
}
