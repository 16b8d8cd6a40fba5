#include "XFileTestFiles.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>

void WriteFile(const std::string& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string PackXFile(std::string_view file, std::size_t blockSize)
{
    if (file.size() < 16 || blockSize == 0 || blockSize > 32768)
        throw std::invalid_argument("PackXFile: no whole header, or a bad block size");
    std::string packed(file.substr(0, 16));
    packed.replace(8, 4, file.substr(8, 4) == "bin " ? "bzip" : "tzip");
    auto little = [&](std::size_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            packed.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    little(file.size(), 4);
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
        little(input.size(), 2);
        little(block.size() + 2, 2);
        packed += "CK" + block;
    }
    deflateEnd(&z);
    return packed;
}
