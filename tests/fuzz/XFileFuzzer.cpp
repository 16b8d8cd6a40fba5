// libFuzzer entry for the .x reader. Beyond "no crash, no overrun" it checks
// what callers rely on: a failure always says why, a success holds only
// in-range indices, and what was read writes out and reads back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

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
    if (!ParseXFile(text, &mesh, &error)) {
        if (error.empty() || error.find('\n') != std::string::npos)
            Broken("failure without a one-line message");
        return 0;
    }
    CheckConsistent(mesh);

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
