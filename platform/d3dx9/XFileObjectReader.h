// What every part of the .x walker reads with: numbers (`;` and `,` taken
// leniently between them, as exporters differ), counts checked against
// their caps and against what the rest of the input can hold, object
// openings, and objects skipped by counting braces (iteratively, so deep
// nesting costs no stack). The first failure is kept as the one-line
// message the reader returns, after where it happened ("line 12: ").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "XFileTokenizer.h"
#include "d3dx9math.h"

class XFileObjectReader
{
protected:
    // Failures are recorded in error, which outlives this reader.
    XFileObjectReader(XFileTokenizer& tokens, std::string& error) : m_Tok(tokens), m_Error(error) {}

    // Records message (once) with the current token's place; returns false.
    bool Fail(const std::string& message);
    bool Unexpected(const std::string& where);
    // The input ended or broke inside an object opened at `opened`.
    bool CutShort(const std::string& object, const std::string& opened);

    // The next number, skipping `;` and `,`; what names it in messages.
    bool NextNumber(const char* what);
    bool ReadFloat(float* value, const char* what);
    bool ReadUInt(std::uint32_t* value, const char* what);
    // A count of items of numbersPerItem numbers each, at most cap.
    bool ReadCount(std::uint32_t* count, const char* what, std::size_t cap, std::size_t numbersPerItem);
    bool ReadVector(D3DXVECTOR3* v, const char* what);
    // A count (at most cap, named countWhat) and that many vectors.
    bool ReadVectors(std::vector<D3DXVECTOR3>* vectors, std::uint32_t* count, const char* countWhat, std::size_t cap,
                     const char* what);

    // After the type name: an optional name, an optional GUID, then `{`.
    bool OpenObject(const std::string& type, std::string* name = nullptr);
    // The rest of an object whose `{` was just read.
    bool SkipBody(const std::string& type, const std::string& opened);
    // An object the game does not use, from its type name on.
    bool SkipObject();
    // A `template`, from its keyword on.
    bool SkipTemplate();
    // The children of an object read no further, up to its `}`.
    bool SkipChildren(const char* type, const std::string& opened);

    // The children of an object whose `{` was read, up to its `}`: each
    // named one goes to readNamed(type) (false stops the walk), references
    // and stray separators are passed over. object names the object when
    // the input ends inside it; where says where a token does not belong.
    // With no object (the top level) the walk runs to the end of the input.
    template <typename ReadNamed>
    bool ReadChildren(const char* object, const std::string& opened, const std::string& where, ReadNamed readNamed)
    {
        for (;;) {
            switch (m_Tok.Next()) {
            case XToken::RBrace: return object ? true : Unexpected(where);
            case XToken::Semicolon:
            case XToken::Comma: break;
            case XToken::Name:
                if (!readNamed(m_Tok.Text()))
                    return false;
                break;
            case XToken::LBrace:
                if (!SkipBody("a reference", m_Tok.Where()))
                    return false;
                break;
            case XToken::End:
            case XToken::Broken:
                if (!object)
                    return m_Tok.Kind() == XToken::End || Fail(m_Tok.Describe());
                return CutShort(object, opened);
            default: return Unexpected(where);
            }
        }
    }

    XFileTokenizer& m_Tok;
    std::string& m_Error;
};
