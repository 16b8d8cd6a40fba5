// .x files in the shapes other writers give them, for the reader's tests and
// the fuzzer, and the temporary folder every test of this folder writes into.
#pragma once

#include <stdlib.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "xfile.h"

// A folder of its own for one test, removed with everything in it.
struct TempDir
{
    std::filesystem::path path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "d3dx9_test_XXXXXX").string();
        return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
    }();
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string operator/(const char* name) const { return (path / name).string(); }
};

void WriteFile(const std::string& path, std::string_view bytes);

// Binary .x tokens, little-endian, after a header of 32- or 64-bit floats.
class XBinaryWriter
{
public:
    explicit XBinaryWriter(bool doubles = false)
        : m_Doubles(doubles), m_Bytes(doubles ? "xof 0303bin 0064" : "xof 0303bin 0032")
    {}

    XBinaryWriter& Name(std::string_view name) { return Token(1).Little(name.size(), 4).Append(name); }
    XBinaryWriter& String(std::string_view text) { return Token(2).Little(text.size(), 4).Append(text).Token(20); }
    XBinaryWriter& Integers(std::initializer_list<std::uint32_t> values)
    {
        Token(6).Little(values.size(), 4);
        for (std::uint32_t v : values)
            Little(v, 4);
        return *this;
    }
    XBinaryWriter& Floats(std::initializer_list<double> values)
    {
        Token(7).Little(values.size(), 4);
        for (double v : values)
            m_Doubles ? Little(std::bit_cast<std::uint64_t>(v), 8) : Little(std::bit_cast<std::uint32_t>(float(v)), 4);
        return *this;
    }
    XBinaryWriter& Open() { return Token(10); }
    XBinaryWriter& Close() { return Token(11); }
    XBinaryWriter& Token(std::uint16_t code) { return Little(code, 2); }
    XBinaryWriter& Little(std::uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            m_Bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        return *this;
    }
    const std::string& Bytes() const { return m_Bytes; }

private:
    XBinaryWriter& Append(std::string_view bytes) { return m_Bytes.append(bytes), *this; }

    bool m_Doubles;
    std::string m_Bytes;
};

// A text or binary file compressed in blocks of blockSize bytes at most, each
// deflated with the output before it as its history.
std::string PackXFile(std::string_view file, std::size_t blockSize = 32768);
