#include "XFileTestFiles.h"

#include <zlib.h>

#include <bit>
#include <fstream>
#include <stdexcept>

namespace {

enum : std::uint16_t {
    kName = 1,
    kString = 2,
    kIntegerList = 6,
    kFloatList = 7,
    kSemicolon = 20,
};

void PutLittle(std::string* out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void WriteFile(const std::string& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

XBinaryWriter::XBinaryWriter(bool doubles) : m_Doubles(doubles)
{
    m_Bytes = doubles ? "xof 0303bin 0064" : "xof 0303bin 0032";
}

XBinaryWriter& XBinaryWriter::Name(std::string_view name)
{
    Token(kName).Dword(static_cast<std::uint32_t>(name.size()));
    m_Bytes.append(name);
    return *this;
}

XBinaryWriter& XBinaryWriter::String(std::string_view text)
{
    Token(kString).Dword(static_cast<std::uint32_t>(text.size()));
    m_Bytes.append(text);
    return Token(kSemicolon);
}

XBinaryWriter& XBinaryWriter::Integers(std::initializer_list<std::uint32_t> values)
{
    Token(kIntegerList).Dword(static_cast<std::uint32_t>(values.size()));
    for (std::uint32_t v : values)
        Dword(v);
    return *this;
}

XBinaryWriter& XBinaryWriter::Floats(std::initializer_list<double> values)
{
    Token(kFloatList).Dword(static_cast<std::uint32_t>(values.size()));
    for (double v : values)
        m_Doubles ? Little(std::bit_cast<std::uint64_t>(v), 8) : Little(std::bit_cast<std::uint32_t>(float(v)), 4);
    return *this;
}

std::string PackXFile(std::string_view file, std::size_t blockSize)
{
    if (file.size() < 16 || blockSize == 0 || blockSize > 32768)
        throw std::invalid_argument("PackXFile: no whole header, or a bad block size");
    std::string packed(file.substr(0, 16));
    packed.replace(8, 4, file.substr(8, 4) == "bin " ? "bzip" : "tzip");
    PutLittle(&packed, file.size(), 4);
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("PackXFile: deflateInit2 failed");
    const std::string_view body = file.substr(16);
    std::string block;
    for (std::size_t pos = 0; pos < body.size(); pos += blockSize) {
        const std::string_view input = body.substr(pos, blockSize);
        deflateReset(&z);
        const std::size_t history = pos < 32768 ? pos : 32768;
        if (history > 0)
            deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(body.data() + pos - history),
                                 static_cast<uInt>(history));
        block.assign(deflateBound(&z, input.size()) + 16, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        z.avail_in = static_cast<uInt>(input.size());
        z.next_out = reinterpret_cast<Bytef*>(block.data());
        z.avail_out = static_cast<uInt>(block.size());
        if (deflate(&z, Z_FINISH) != Z_STREAM_END) {
            deflateEnd(&z);
            throw std::runtime_error("PackXFile: deflate failed");
        }
        block.resize(block.size() - z.avail_out);
        PutLittle(&packed, input.size(), 2);
        PutLittle(&packed, block.size() + 2, 2);
        packed += "CK";
        packed += block;
    }
    deflateEnd(&z);
    return packed;
}
