#include "XFileMszip.h"

#include <zlib.h>

#include <cstdint>

namespace {

constexpr std::size_t kBlockMax = 32768;
constexpr std::size_t kHeaderSize = 16;

std::uint32_t Little(std::string_view bytes)
{
    std::uint32_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

// Owns one raw-deflate inflater.
class Inflater
{
public:
    Inflater() { m_Ready = inflateInit2(&m_Stream, -MAX_WBITS) == Z_OK; }
    ~Inflater()
    {
        if (m_Ready)
            inflateEnd(&m_Stream);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool Ready() const { return m_Ready; }
    z_stream& Stream() { return m_Stream; }

private:
    z_stream m_Stream{};
    bool m_Ready = false;
};

}  // namespace

bool XFileInflateMszip(std::string_view packed, std::size_t maxBytes, std::string* body, std::string* error)
{
    body->clear();
    if (packed.size() < 4) {
        *error = "compressed .x file cut short before its size";
        return false;
    }
    const std::uint32_t declared = Little(packed.substr(0, 4));
    if (declared < kHeaderSize) {
        *error = "compressed .x file declares a size of " + std::to_string(declared) + " bytes";
        return false;
    }
    if (declared > maxBytes) {
        *error = "compressed .x file unpacks to " + std::to_string(declared) + " bytes, more than the " +
                 std::to_string(maxBytes >> 20) + " MB a data file may have";
        return false;
    }
    // The declared size counts the header; a size that leaves it out is
    // taken too, so the output may reach the declared size itself.
    const std::size_t expected = declared;
    body->resize(expected);

    Inflater inflater;
    if (!inflater.Ready()) {
        *error = "cannot start the inflater";
        return false;
    }
    z_stream& z = inflater.Stream();
    std::size_t pos = 4;
    std::size_t out = 0;
    for (int block = 0; pos < packed.size(); ++block) {
        const std::string where = "compressed block " + std::to_string(block) + ": ";
        if (packed.size() - pos < 6) {
            *error = where + "cut short before its header";
            return false;
        }
        const std::size_t unpackedSize = Little(packed.substr(pos, 2));
        const std::size_t packedSize = Little(packed.substr(pos + 2, 2));
        if (packed[pos + 4] != 'C' || packed[pos + 5] != 'K') {
            *error = where + "no \"CK\" signature";
            return false;
        }
        if (unpackedSize == 0 || unpackedSize > kBlockMax || unpackedSize > expected - out) {
            *error = where + "unpacks to " + std::to_string(unpackedSize) + " bytes, beyond the declared size";
            return false;
        }
        if (packedSize < 2 || packedSize - 2 > packed.size() - pos - 6) {
            *error = where + "packed size " + std::to_string(packedSize) + " runs past the end of the file";
            return false;
        }
        pos += 6;
        inflateReset(&z);
        // The history a block may refer back into: the output so far.
        const std::size_t history = out < kBlockMax ? out : kBlockMax;
        if (history > 0 && inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(body->data() + out - history),
                                                static_cast<uInt>(history)) != Z_OK) {
            *error = where + "cannot set the inflater's history";
            return false;
        }
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + pos));
        z.avail_in = static_cast<uInt>(packedSize - 2);
        z.next_out = reinterpret_cast<Bytef*>(body->data() + out);
        z.avail_out = static_cast<uInt>(unpackedSize);
        const int status = inflate(&z, Z_FINISH);
        if (status != Z_STREAM_END || z.avail_out != 0) {
            if (status == Z_STREAM_END)
                *error = where + "unpacks to less than its header says";
            else if (status == Z_BUF_ERROR && z.avail_out == 0)
                *error = where + "unpacks to more than its header says";
            else if (status == Z_BUF_ERROR)
                *error = where + "deflate data cut short";
            else if (status == Z_MEM_ERROR)
                *error = "out of memory";
            else
                *error = where + "bad deflate data";
            return false;
        }
        out += unpackedSize;
        pos += packedSize - 2;
    }
    if (out != declared - kHeaderSize && out != declared) {
        *error = "compressed .x file unpacks to " + std::to_string(out + kHeaderSize) + " bytes, not the " +
                 std::to_string(declared) + " it declares";
        return false;
    }
    body->resize(out);
    return true;
}
