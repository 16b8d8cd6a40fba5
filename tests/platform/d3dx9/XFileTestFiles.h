// Makes .x files in the shapes other writers give them, for the reader's
// tests and the fuzzer: binary files token by token, and compressed files
// (MSZIP blocks deflated by zlib, each block's history the output before it).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "xfile.h"

// Writes binary .x tokens, little-endian, after a header of the given float
// size ("0032" or "0064").
class XBinaryWriter
{
public:
    explicit XBinaryWriter(bool doubles = false);

    XBinaryWriter& Name(std::string_view name);
    XBinaryWriter& String(std::string_view text);  // with its `;` terminator
    XBinaryWriter& Integers(std::initializer_list<std::uint32_t> values);
    XBinaryWriter& Integer(std::uint32_t value);  // a lone integer token
    XBinaryWriter& Floats(std::initializer_list<double> values);
    XBinaryWriter& Guid();
    XBinaryWriter& Open();   // `{`
    XBinaryWriter& Close();  // `}`
    XBinaryWriter& Token(std::uint16_t code);
    XBinaryWriter& Dword(std::uint32_t value);
    XBinaryWriter& Float(double value);  // one item of a float list begun by the caller

    const std::string& Bytes() const { return m_Bytes; }

private:
    bool m_Doubles;
    std::string m_Bytes;
};

// The mesh as a binary .x file, holding what FormatXFile writes as text:
// a template, then the Mesh with its normals, texture coordinates, colours
// and materials.
std::string BinaryXFile(const XFileMesh& mesh, bool doubles);

// A text ("txt ") or binary ("bin ") file compressed ("tzip", "bzip") in
// blocks of blockSize bytes at most. The file must have a whole header.
std::string PackXFile(std::string_view file, std::size_t blockSize = 32768);
