#include "AssetStockMeshes.h"

#include <array>
#include <cmath>

#include "AssetMeshBuilder.h"
#include "AssetVector.h"

namespace assets {

namespace {

constexpr int kSlices = 32;
// The clouds draw 49 spheres a frame, most a few pixels across: a coarser
// sphere than the columns keeps their triangle count low.
constexpr int kSphereSlices = 16;
constexpr int kStacks = 8;

}  // namespace

XFileMesh MakeBoxMesh()
{
    // Buildings stand on the island in this material: a light warm concrete.
    AssetMeshBuilder b;
    const std::uint32_t mat = b.AddMaterial(MakeMaterial(0.82f, 0.80f, 0.75f, 0.25f, 12.0f, 0.05f));
    struct Face
    {
        D3DXVECTOR3 normal, uAxis, vAxis;
    };
    // uAxis and vAxis span the face as seen from outside in right-handed world
    // coordinates (u to the right, v down the image, as texture rows run).
    const std::array<Face, 6> faces{{
        {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
        {{-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
        {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
        {{0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
    }};
    for (const Face& f : faces) {
        std::array<std::uint32_t, 4> idx{};
        const std::array<std::array<float, 2>, 4> corners{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
        for (std::size_t i = 0; i < 4; ++i) {
            const float u = corners[i][0];
            const float v = corners[i][1];
            const D3DXVECTOR3 p = f.normal * 0.5f + f.uAxis * (u - 0.5f) + f.vAxis * (v - 0.5f);
            idx[i] = b.AddVertex(p, f.normal, u, v);
        }
        b.AddTriangleFacing(idx[0], idx[1], idx[2], mat);
        b.AddTriangleFacing(idx[0], idx[2], idx[3], mat);
    }
    return b.Take();
}

XFileMesh MakeCylinderMesh()
{
    // Drawn as the translucent thermal columns (textured) and as arrow shafts
    // (flat colour), so the material is a plain bright white.
    AssetMeshBuilder b;
    const std::uint32_t mat = b.AddMaterial(MakeMaterial(0.95f, 0.95f, 0.95f, 0.3f, 16.0f, 0.05f));
    b.AddLathe({{1.0f, -1.5f, 1.0f, 0.0f}, {1.0f, 0.0f, 1.0f, 0.0f}, {1.0f, 1.5f, 1.0f, 0.0f}}, kSlices, mat);
    b.AddDisc(-1.5f, 1.0f, kSlices, -1.0f, mat);
    b.AddDisc(1.5f, 1.0f, kSlices, 1.0f, mat);
    return b.Take();
}

XFileMesh MakeConeMesh()
{
    // Radius grows from 0 at z = -1 to 1 at z = +1: the surface normal is
    // (2 cos a, 2 sin a, -1) / sqrt 5 everywhere along a side line.
    AssetMeshBuilder b;
    const std::uint32_t mat = b.AddMaterial(MakeMaterial(0.95f, 0.95f, 0.95f, 0.3f, 16.0f, 0.05f));
    const float nr = 2.0f / std::sqrt(5.0f);
    const float nz = -1.0f / std::sqrt(5.0f);
    b.AddLathe({{0.0f, -1.0f, nr, nz}, {0.5f, 0.0f, nr, nz}, {1.0f, 1.0f, nr, nz}}, kSlices, mat);
    b.AddDisc(1.0f, 1.0f, kSlices, 1.0f, mat);
    return b.Take();
}

XFileMesh MakeSphereMesh()
{
    AssetMeshBuilder b;
    const std::uint32_t mat = b.AddMaterial(MakeMaterial(0.95f, 0.95f, 0.97f, 0.3f, 16.0f, 0.05f));
    std::vector<AssetMeshBuilder::ProfilePoint> profile;
    for (int i = 0; i <= kStacks; ++i) {
        const float polar = kPi * static_cast<float>(i) / static_cast<float>(kStacks);
        // Exact zeros at the poles keep the pole vertices on the axis.
        const float r = (i == 0 || i == kStacks) ? 0.0f : std::sin(polar);
        const float z = i == 0 ? -1.0f : i == kStacks ? 1.0f : -std::cos(polar);
        profile.push_back({r, z, r, z});
    }
    b.AddLathe(profile, kSphereSlices, mat);
    return b.Take();
}

}  // namespace assets
