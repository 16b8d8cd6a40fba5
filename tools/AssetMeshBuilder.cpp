#include "AssetMeshBuilder.h"

#include <array>
#include <cmath>
#include <utility>

#include "AssetVector.h"

namespace assets {

XFileMaterial MakeMaterial(float r, float g, float b, float specular, float power, float emissive)
{
    XFileMaterial m;
    m.material.Diffuse = {r, g, b, 1.0f};
    // The file has no ambient term; the loader decides it. Keep it zero here
    // so a mesh built in memory matches one read back.
    m.material.Ambient = {0.0f, 0.0f, 0.0f, 0.0f};
    m.material.Specular = {specular, specular, specular, 1.0f};
    m.material.Emissive = {r * emissive, g * emissive, b * emissive, 1.0f};
    m.material.Power = power;
    return m;
}

std::uint32_t AssetMeshBuilder::AddMaterial(const XFileMaterial& material)
{
    m_Mesh.materials.push_back(material);
    return static_cast<std::uint32_t>(m_Mesh.materials.size() - 1);
}

std::uint32_t AssetMeshBuilder::AddVertex(const D3DXVECTOR3& position, const D3DXVECTOR3& normal, float u, float v)
{
    m_Mesh.positions.push_back(position);
    m_Mesh.normals.push_back(Normalized(normal));
    m_Mesh.texcoords.push_back({u, v});
    return static_cast<std::uint32_t>(m_Mesh.positions.size() - 1);
}

void AssetMeshBuilder::AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t material)
{
    m_Mesh.faces.push_back({a, b, c});
    m_Mesh.faceMaterials.push_back(material);
}

void AssetMeshBuilder::AddTriangleFacing(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t material)
{
    const auto& p = m_Mesh.positions;
    const auto& n = m_Mesh.normals;
    const D3DXVECTOR3 face = Cross(p[b] - p[a], p[c] - p[a]);
    if (Length(face) < 1e-12f)
        return;
    if (Dot(face, n[a] + n[b] + n[c]) < 0.0f)
        std::swap(b, c);
    AddTriangle(a, b, c, material);
}

namespace {

D3DXVECTOR3 Centroid(const std::vector<D3DXVECTOR3>& ring)
{
    D3DXVECTOR3 sum;
    for (const auto& p : ring)
        sum += p;
    return sum / static_cast<float>(ring.size());
}

// Six times the signed volume of the tetrahedron (origin, a, b, c).
float SignedVolume6(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c)
{
    return Dot(a, Cross(b, c));
}

}  // namespace

void AssetMeshBuilder::AddLoft(const std::vector<std::vector<D3DXVECTOR3>>& rings,
                               const std::vector<std::uint32_t>& segmentMaterials, bool creaseAtSeam)
{
    const std::size_t K = rings.size();
    if (K < 2 || segmentMaterials.size() + 1 < K)
        return;
    const std::size_t M = rings[0].size();
    for (const auto& ring : rings)
        if (ring.size() != M || M < 3)
            return;

    const D3DXVECTOR3 startCentre = Centroid(rings.front());
    const D3DXVECTOR3 endCentre = Centroid(rings.back());

    // Side quad (k, j) has corners p00 = ring k point j, p01 = ring k point
    // j + 1, p11 = ring k + 1 point j + 1, p10 = ring k + 1 point j. It is
    // split along whichever diagonal folds it less, so twisted quads (thin
    // trailing edges between stations of different sweep) do not make a
    // triangle that faces away from its neighbours. Every split, and the cap
    // fans, traverse shared edges in opposite directions, so the surface is
    // consistently wound either way.
    auto at = [&](std::size_t k, std::size_t j) -> const D3DXVECTOR3& { return rings[k][j % M]; };
    struct Corner
    {
        std::size_t k, j;
    };
    using Tri = std::array<Corner, 3>;
    std::vector<Tri> sides;
    for (std::size_t k = 0; k + 1 < K; ++k)
        for (std::size_t j = 0; j < M; ++j) {
            const Corner c00{k, j}, c01{k, j + 1}, c11{k + 1, j + 1}, c10{k + 1, j};
            auto normal = [&](const Corner& a, const Corner& b, const Corner& c) {
                return Normalized(Cross(at(b.k, b.j) - at(a.k, a.j), at(c.k, c.j) - at(a.k, a.j)));
            };
            const float foldA = Dot(normal(c00, c01, c11), normal(c00, c11, c10));
            const float foldB = Dot(normal(c00, c01, c10), normal(c01, c11, c10));
            if (foldA >= foldB) {
                sides.push_back({c00, c01, c11});
                sides.push_back({c00, c11, c10});
            } else {
                sides.push_back({c00, c01, c10});
                sides.push_back({c01, c11, c10});
            }
        }
    auto pos = [&](const Corner& c) -> const D3DXVECTOR3& { return at(c.k, c.j); };
    float volume6 = 0.0f;
    for (const Tri& t : sides)
        volume6 += SignedVolume6(pos(t[0]), pos(t[1]), pos(t[2]));
    for (std::size_t j = 0; j < M; ++j) {
        volume6 += SignedVolume6(startCentre, at(0, j + 1), at(0, j));
        volume6 += SignedVolume6(endCentre, at(K - 1, j), at(K - 1, j + 1));
    }
    const float orient = volume6 < 0.0f ? -1.0f : 1.0f;

    // Smooth side normals: area-weighted face normals summed at each point.
    // A crease at the seam keeps the faces on either side of point 0 apart.
    std::vector<D3DXVECTOR3> normals(K * (M + 1));
    auto normalIndex = [&](std::size_t k, std::size_t j) { return k * (M + 1) + (creaseAtSeam ? j : j % M); };
    for (const Tri& t : sides) {
        const D3DXVECTOR3 n = Cross(pos(t[1]) - pos(t[0]), pos(t[2]) - pos(t[0])) * orient;
        for (const Corner& c : t)
            normals[normalIndex(c.k, c.j)] += n;
    }

    // The seam point is repeated so u can run from 0 to 1 around the ring.
    const auto base = static_cast<std::uint32_t>(m_Mesh.positions.size());
    for (std::size_t k = 0; k < K; ++k)
        for (std::size_t j = 0; j <= M; ++j)
            AddVertex(at(k, j), normals[normalIndex(k, j)], static_cast<float>(j) / static_cast<float>(M),
                      static_cast<float>(k) / static_cast<float>(K - 1));
    auto index = [&](std::size_t k, std::size_t j) { return base + static_cast<std::uint32_t>(k * (M + 1) + j); };
    auto emit = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t material) {
        const auto& p = m_Mesh.positions;
        if (Length(Cross(p[b] - p[a], p[c] - p[a])) < 1e-12f)
            return;  // a ring shrunk to a point leaves slivers of no area
        if (orient > 0.0f)
            AddTriangle(a, b, c, material);
        else
            AddTriangle(a, c, b, material);
    };
    for (const Tri& t : sides)
        emit(index(t[0].k, t[0].j), index(t[1].k, t[1].j), index(t[2].k, t[2].j), segmentMaterials[t[0].k]);

    auto cap = [&](std::size_t k, const D3DXVECTOR3& centre, bool start, std::uint32_t material) {
        D3DXVECTOR3 n;
        for (std::size_t j = 0; j < M; ++j) {
            const D3DXVECTOR3 a = at(k, start ? j + 1 : j) - centre;
            const D3DXVECTOR3 b = at(k, start ? j : j + 1) - centre;
            n += Cross(a, b);
        }
        n = n * orient;
        if (Length(n) < 1e-12f)
            return;  // the ring is a point: nothing to close
        const std::uint32_t c = AddVertex(centre, n, 0.5f, 0.5f);
        std::vector<std::uint32_t> ringIdx(M);
        for (std::size_t j = 0; j < M; ++j) {
            const float angle = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(M);
            ringIdx[j] = AddVertex(at(k, j), n, 0.5f + 0.5f * std::cos(angle), 0.5f + 0.5f * std::sin(angle));
        }
        for (std::size_t j = 0; j < M; ++j) {
            const std::uint32_t a = ringIdx[j];
            const std::uint32_t b = ringIdx[(j + 1) % M];
            if (start)
                emit(c, b, a, material);
            else
                emit(c, a, b, material);
        }
    };
    cap(0, startCentre, true, segmentMaterials[0]);
    cap(K - 1, endCentre, false, segmentMaterials[K - 2]);
}

void AssetMeshBuilder::AddLathe(const std::vector<ProfilePoint>& profile, int slices, std::uint32_t material)
{
    if (profile.size() < 2 || slices < 3)
        return;
    const auto base = static_cast<std::uint32_t>(m_Mesh.positions.size());
    const std::size_t rows = profile.size();
    const auto cols = static_cast<std::size_t>(slices) + 1;
    for (std::size_t i = 0; i < rows; ++i) {
        const ProfilePoint& pp = profile[i];
        for (std::size_t j = 0; j < cols; ++j) {
            // The last column repeats the first exactly, not through sin(2 pi).
            const std::size_t jj = j % static_cast<std::size_t>(slices);
            const float angle = 2.0f * kPi * static_cast<float>(jj) / static_cast<float>(slices);
            const float c = std::cos(angle);
            const float s = std::sin(angle);
            // A point on the axis gets the normal of the middle of its slice, so
            // the pole does not smear one direction over the whole fan.
            D3DXVECTOR3 normal{pp.normalRadial * c, pp.normalRadial * s, pp.normalZ};
            if (pp.radius == 0.0f) {
                const float mid = 2.0f * kPi * (static_cast<float>(j) + 0.5f) / static_cast<float>(slices);
                normal = {pp.normalRadial * std::cos(mid), pp.normalRadial * std::sin(mid), pp.normalZ};
            }
            AddVertex({pp.radius * c, pp.radius * s, pp.z}, normal, static_cast<float>(j) / static_cast<float>(slices),
                      static_cast<float>(i) / static_cast<float>(rows - 1));
        }
    }
    auto index = [&](std::size_t i, std::size_t j) { return base + static_cast<std::uint32_t>(i * cols + j); };
    for (std::size_t i = 0; i + 1 < rows; ++i)
        for (std::size_t j = 0; j + 1 < cols; ++j) {
            // On the axis one of the two triangles has no area and is dropped.
            AddTriangleFacing(index(i, j), index(i, j + 1), index(i + 1, j + 1), material);
            AddTriangleFacing(index(i, j), index(i + 1, j + 1), index(i + 1, j), material);
        }
}

void AssetMeshBuilder::AddDisc(float z, float radius, int slices, float facing, std::uint32_t material)
{
    const D3DXVECTOR3 normal{0.0f, 0.0f, facing > 0.0f ? 1.0f : -1.0f};
    const std::uint32_t centre = AddVertex({0.0f, 0.0f, z}, normal, 0.5f, 0.5f);
    std::vector<std::uint32_t> ring;
    for (int j = 0; j < slices; ++j) {
        const float angle = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(slices);
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        ring.push_back(AddVertex({radius * c, radius * s, z}, normal, 0.5f + 0.5f * c, 0.5f - 0.5f * s));
    }
    for (int j = 0; j < slices; ++j)
        AddTriangleFacing(centre, ring[static_cast<std::size_t>(j)], ring[static_cast<std::size_t>((j + 1) % slices)],
                          material);
}

XFileMesh AssetMeshBuilder::Take()
{
    XFileMesh in = std::move(m_Mesh);
    m_Mesh = XFileMesh{};
    // Drop vertices no face uses (seam copies at a pole, for instance): they
    // would carry normals that no face corner confirms.
    constexpr std::uint32_t kUnused = ~std::uint32_t{0};
    std::vector<std::uint32_t> remap(in.positions.size(), kUnused);
    for (const auto& f : in.faces)
        for (std::uint32_t i : f)
            remap[i] = 0;
    XFileMesh out;
    for (std::size_t i = 0; i < remap.size(); ++i) {
        if (remap[i] == kUnused)
            continue;
        remap[i] = static_cast<std::uint32_t>(out.positions.size());
        out.positions.push_back(in.positions[i]);
        out.normals.push_back(in.normals[i]);
        out.texcoords.push_back(in.texcoords[i]);
    }
    for (const auto& f : in.faces)
        out.faces.push_back({remap[f[0]], remap[f[1]], remap[f[2]]});
    out.faceMaterials = std::move(in.faceMaterials);
    out.materials = std::move(in.materials);
    return out;
}

}  // namespace assets
