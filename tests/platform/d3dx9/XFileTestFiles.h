// Makes .x files in the shapes other writers give them, for the reader's
// tests and the fuzzer: binary files token by token, and compressed files
// (MSZIP blocks deflated by zlib, each block's history the output before it).
// Also the temporary folder every test of this folder writes into.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "xfile.h"

// A folder of its own for one test, removed with everything in it.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "d3dx9_test_XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_Path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_Path.empty())
            std::filesystem::remove_all(m_Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return m_Path; }
    std::string operator/(const char* name) const { return (m_Path / name).string(); }

private:
    std::filesystem::path m_Path;
};

void WriteFile(const std::string& path, std::string_view bytes);

// Writes binary .x tokens, little-endian, after a header of the given float
// size ("0032" or "0064").
class XBinaryWriter
{
public:
    explicit XBinaryWriter(bool doubles = false);

    XBinaryWriter& Name(std::string_view name);
    XBinaryWriter& String(std::string_view text);  // with its `;` terminator
    XBinaryWriter& Integers(std::initializer_list<std::uint32_t> values);
    XBinaryWriter& Floats(std::initializer_list<double> values);
    XBinaryWriter& Open() { return Token(10); }   // `{`
    XBinaryWriter& Close() { return Token(11); }  // `}`
    XBinaryWriter& Token(std::uint16_t code) { return Little(code, 2); }
    XBinaryWriter& Dword(std::uint32_t value) { return Little(value, 4); }
    XBinaryWriter& Little(std::uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            m_Bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        return *this;
    }

    const std::string& Bytes() const { return m_Bytes; }

private:
    bool m_Doubles;
    std::string m_Bytes;
};

// A text ("txt ") or binary ("bin ") file compressed ("tzip", "bzip") in
// blocks of blockSize bytes at most. The file must have a whole header.
std::string PackXFile(std::string_view file, std::size_t blockSize = 32768);
