// libFuzzer entry for the .x reader: a failure says why in one short line, a
// success holds only in-range indices and finite numbers, and compressed input
// reads exactly as uncompressed, failure message included.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "XFileTestFiles.h"
#include "xfile.h"

namespace {

void Check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

template <class T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool Finite(const std::vector<D3DXVECTOR3>& v)
{
    return std::all_of(v.begin(), v.end(), [](const D3DXVECTOR3& p) {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    });
}

void CheckConsistent(const XFileMesh& m)
{
    const std::size_t nv = m.positions.size();
    Check(m.normals.empty() || m.normals.size() == nv, "normal count");
    Check(m.faceMaterials.empty() || m.faceMaterials.size() == m.faces.size(), "face material count");
    for (const auto& face : m.faces)
        Check(std::all_of(face.begin(), face.end(), [&](std::uint32_t i) { return i < nv; }),
              "face index out of range");
    for (std::uint32_t material : m.faceMaterials)
        Check(material < m.materials.size(), "face material out of range");
    Check(Finite(m.positions) && Finite(m.normals), "non-finite position or normal");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    XFileMesh mesh;
    std::string error;
    const bool read = ParseXFile(text, &mesh, &error);
    if (read) {
        CheckConsistent(mesh);
    } else {
        // Names and tokens are quoted to 80 bytes; a message quotes two at most.
        Check(!error.empty() && error.size() <= 1000 &&
                  std::all_of(error.begin(), error.end(), [](unsigned char c) { return c >= 0x20 && c < 0x7F; }),
              "failure without a short printable message");
    }

    if (size >= 16 && (text.substr(8, 4) == "txt " || text.substr(8, 4) == "bin ")) {
        XFileMesh unpacked;
        std::string unpackedError;
        const bool readPacked = ParseXFile(PackXFile(text, 1 + size % 4096), &unpacked, &unpackedError);
        Check(readPacked == read && unpackedError == (read ? std::string() : error),
              "compressed input reads otherwise than uncompressed");
        Check(!read || (unpacked.faces == mesh.faces && SameBytes(unpacked.positions, mesh.positions)),
              "compressed input reads other numbers than uncompressed");
    }
    return 0;
}
