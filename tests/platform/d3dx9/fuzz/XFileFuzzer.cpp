// libFuzzer entry for the .x reader, over text, binary and compressed input
// alike. Beyond "no crash, no overrun" it checks what callers rely on: a
// failure always says why, in one short line; a success holds only in-range
// indices and finite numbers; what was read writes out (as text and as
// binary) and reads back unchanged; and a text or binary input, compressed,
// reads exactly as it does uncompressed, failure message included.
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

[[noreturn]] void Broken(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void CheckConsistent(const XFileMesh& m)
{
    const std::size_t nv = m.positions.size();
    if (nv > kXFileMaxVertices || m.faces.size() > kXFileMaxFaces || m.materials.size() > kXFileMaxMaterials)
        Broken("caps exceeded");
    if (!m.normals.empty() && m.normals.size() != nv)
        Broken("normal count");
    if (!m.texcoords.empty() && m.texcoords.size() != nv)
        Broken("texture coordinate count");
    for (const auto& face : m.faces)
        for (std::uint32_t index : face)
            if (index >= nv)
                Broken("face index out of range");
    if (!m.faceMaterials.empty() && m.faceMaterials.size() != m.faces.size())
        Broken("face material count");
    for (std::uint32_t material : m.faceMaterials)
        if (material >= m.materials.size())
            Broken("face material out of range");
    for (std::size_t i = 0; i < nv; ++i) {
        const D3DXVECTOR3& p = m.positions[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            Broken("non-finite position");
        if (!m.normals.empty() &&
            (!std::isfinite(m.normals[i].x) || !std::isfinite(m.normals[i].y) || !std::isfinite(m.normals[i].z)))
            Broken("non-finite normal");
    }
}

void CheckMessage(const std::string& error)
{
    // Names and tokens are quoted to 80 bytes, escaped to four bytes each;
    // a message quotes two at most.
    if (error.empty() || error.size() > 1000)
        Broken("failure without a short message");
    for (unsigned char c : error)
        if (c < 0x20 || c >= 0x7F)
            Broken("a message holds a raw control or non-ASCII byte");
}

bool SameBytes(const void* a, const void* b, std::size_t n)
{
    return n == 0 || std::memcmp(a, b, n) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    XFileMesh mesh;
    std::string error;
    const bool read = ParseXFile(text, &mesh, &error);
    if (!read)
        CheckMessage(error);
    else
        CheckConsistent(mesh);

    if (size >= 16 && (text.substr(8, 4) == "txt " || text.substr(8, 4) == "bin ")) {
        XFileMesh unpacked;
        std::string unpackedError;
        const bool readPacked = ParseXFile(PackXFile(text, 1 + size % 4096), &unpacked, &unpackedError);
        if (readPacked != read || unpackedError != (read ? std::string() : error))
            Broken("compressed input reads otherwise than uncompressed");
        if (read && (unpacked.faces != mesh.faces || unpacked.positions.size() != mesh.positions.size() ||
                     !SameBytes(unpacked.positions.data(), mesh.positions.data(),
                                mesh.positions.size() * sizeof(D3DXVECTOR3))))
            Broken("compressed input reads other numbers than uncompressed");
    }
    if (!read)
        return 0;

    XFileMesh fromBinary;
    if (!ParseXFile(BinaryXFile(mesh, size % 2 == 1), &fromBinary, &error))
        Broken("a mesh that was read cannot be read back from binary");
    if (fromBinary.faces != mesh.faces || fromBinary.faceMaterials != mesh.faceMaterials ||
        fromBinary.positions.size() != mesh.positions.size() || fromBinary.colors != mesh.colors ||
        !SameBytes(fromBinary.positions.data(), mesh.positions.data(), mesh.positions.size() * sizeof(D3DXVECTOR3)))
        Broken("binary round trip changed the mesh");

    // Binary strings may hold a quote, which text cannot.
    for (const XFileMaterial& m : mesh.materials)
        if (m.textureFilename.find('"') != std::string::npos)
            return 0;
    std::string written;
    if (!FormatXFile(mesh, &written, &error))
        Broken("a mesh that was read cannot be written");
    XFileMesh again;
    if (!ParseXFile(written, &again, &error))
        Broken("a written mesh cannot be read back");
    if (again.positions.size() != mesh.positions.size() || again.normals.size() != mesh.normals.size() ||
        again.texcoords.size() != mesh.texcoords.size() || again.faces != mesh.faces ||
        again.faceMaterials != mesh.faceMaterials || again.materials.size() != mesh.materials.size())
        Broken("round trip changed the mesh's shape");
    if (!SameBytes(again.positions.data(), mesh.positions.data(), mesh.positions.size() * sizeof(D3DXVECTOR3)) ||
        !SameBytes(again.normals.data(), mesh.normals.data(), mesh.normals.size() * sizeof(D3DXVECTOR3)) ||
        !SameBytes(again.texcoords.data(), mesh.texcoords.data(), mesh.texcoords.size() * sizeof(float) * 2))
        Broken("round trip changed a number");
    for (std::size_t i = 0; i < mesh.materials.size(); ++i)
        if (!SameBytes(&again.materials[i].material, &mesh.materials[i].material, sizeof(D3DMATERIAL9)) ||
            again.materials[i].textureFilename != mesh.materials[i].textureFilename)
            Broken("round trip changed a material");
    return 0;
}
