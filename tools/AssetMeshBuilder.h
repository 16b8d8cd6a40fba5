// Collects the vertices, triangles and materials of a mesh being generated and
// hands them over as an XFileMesh. Owns only its own arrays.
//
// Winding rule for every triangle it makes: cross(b - a, c - a) points out of
// the solid, which is the side the vertex normals point to as well. The game
// draws without culling, so this matters only for normals computed from the
// faces, but those must agree with the normals written in the file.
#pragma once

#include <cstdint>
#include <vector>

#include "xfile.h"

namespace assets {

// A material for fixed-function lighting: diffuse with alpha 1, a white-ish
// specular highlight of the given strength and sharpness, a faint emissive lift.
XFileMaterial MakeMaterial(float r, float g, float b, float specular, float power, float emissive);

class AssetMeshBuilder
{
public:
    std::uint32_t AddMaterial(const XFileMaterial& material);
    std::uint32_t AddVertex(const D3DXVECTOR3& position, const D3DXVECTOR3& normal, float u, float v);

    // Adds the triangle as given.
    void AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t material);
    // Adds the triangle turned so that its face normal agrees with the sum of
    // its vertex normals; degenerate triangles are dropped.
    void AddTriangleFacing(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t material);

    // A closed tube through rings of equal point count (each ring a closed
    // loop), capped flat at both ends. Side normals are smooth (averaged over
    // the faces around a point), cap normals flat. The winding is chosen from
    // the sign of the enclosed volume, so the rings may run either way round.
    // segmentMaterials[k] colours the faces between ring k and ring k + 1; the
    // caps take the material of the segment they close. With creaseAtSeam,
    // ring point 0 is a sharp edge (a trailing edge): the faces on its two
    // sides do not share normals there.
    void AddLoft(const std::vector<std::vector<D3DXVECTOR3>>& rings, const std::vector<std::uint32_t>& segmentMaterials,
                 bool creaseAtSeam = false);

    // A surface of revolution about the Z axis: profile points (radius, z)
    // with their outward normals (radial part, z part), swept through
    // `slices` steps of angle. The seam repeats its vertices so u runs 0..1;
    // v follows the profile from 0 to 1.
    struct ProfilePoint
    {
        float radius;
        float z;
        float normalRadial;
        float normalZ;
    };
    void AddLathe(const std::vector<ProfilePoint>& profile, int slices, std::uint32_t material);

    // A flat disc at height z about the Z axis facing +Z (facing > 0) or -Z.
    void AddDisc(float z, float radius, int slices, float facing, std::uint32_t material);

    // Hands the mesh over, without vertices that no face uses, and starts afresh.
    XFileMesh Take();

private:
    XFileMesh m_Mesh;
};

}  // namespace assets
