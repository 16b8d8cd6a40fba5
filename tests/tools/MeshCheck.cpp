#include "MeshCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <tuple>
#include <utility>
#include <vector>

namespace meshcheck {

namespace {

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

Bounds BoundsOf(const XFileMesh& mesh)
{
    Bounds b{mesh.positions.at(0), mesh.positions.at(0)};
    for (const auto& p : mesh.positions) {
        b.lo = {std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z)};
        b.hi = {std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z)};
    }
    return b;
}

std::size_t ExpectWellFormed(const XFileMesh& m)
{
    EXPECT_TRUE(!m.faces.empty() && m.normals.size() == m.positions.size() &&
                m.texcoords.size() == m.positions.size() && m.faceMaterials.size() == m.faces.size());
    for (auto material : m.faceMaterials)
        EXPECT_LT(material, m.materials.size());
    for (const auto& x : m.materials)
        EXPECT_TRUE(x.material.Diffuse.a == 1.0f && x.material.Power > 0.0f && x.material.Emissive.r < 0.2f);
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        EXPECT_NEAR(Dot(m.normals.at(i), m.normals[i]), 1.0f, 1e-4f) << "vertex " << i;
        for (float t : m.texcoords.at(i))
            EXPECT_TRUE(t >= 0.0f && t <= 1.0f) << "vertex " << i;
    }
    // Corners welded by position; every welded edge used once each way.
    std::map<std::tuple<long, long, long>, std::size_t> ids;
    std::vector<std::size_t> id;
    for (const auto& p : m.positions)
        id.push_back(
            ids.emplace(std::make_tuple(std::lround(p.x * 1e5), std::lround(p.y * 1e5), std::lround(p.z * 1e5)),
                        ids.size())
                .first->second);
    std::vector<bool> used(m.positions.size(), false);
    std::map<std::pair<std::size_t, std::size_t>, int> directed;
    std::map<std::pair<std::size_t, std::size_t>, std::size_t> firstFace;
    std::vector<std::size_t> parent(m.faces.size());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    auto find = [&](std::size_t x) {
        while (parent[x] != x)
            x = parent[x] = parent[parent[x]];
        return x;
    };
    std::size_t facesAgainstNormals = 0;
    for (std::size_t f = 0; f < m.faces.size(); ++f) {
        const auto& face = m.faces[f];
        if (std::any_of(face.begin(), face.end(), [&](auto i) { return i >= m.positions.size(); })) {
            ADD_FAILURE() << "face " << f << " out of range";
            return 0;
        }
        for (std::size_t i = 0; i < 3; ++i) {
            used[face[i]] = true;
            const std::size_t a = id[face[i]], b = id[face[(i + 1) % 3]];
            ++directed[{a, b}];
            const auto [it, fresh] = firstFace.emplace(std::minmax(a, b), f);
            if (!fresh)
                parent[find(f)] = find(it->second);
        }
        const auto& p = m.positions[face[0]];
        const D3DXVECTOR3 n = Cross(m.positions[face[1]] - p, m.positions[face[2]] - p);
        if (Dot(n, m.normals[face[0]] + m.normals[face[1]] + m.normals[face[2]]) <= 0.0f)
            ++facesAgainstNormals;
    }
    EXPECT_EQ(std::count(used.begin(), used.end(), false), 0) << "a vertex no face uses";
    EXPECT_EQ(facesAgainstNormals, 0u);
    EXPECT_TRUE(std::all_of(directed.begin(), directed.end(), [&](const auto& edge) {
        const auto back = directed.find({edge.first.second, edge.first.first});
        return edge.second == 1 && back != directed.end() && back->second == 1;
    })) << "an open or badly wound edge";
    // Signed volume of each connected part: positive when it winds outward.
    std::map<std::size_t, double> volume;
    for (std::size_t f = 0; f < m.faces.size(); ++f) {
        const auto& face = m.faces[f];
        const D3DXVECTOR3 bc = Cross(m.positions[face[1]], m.positions[face[2]]);
        volume[find(f)] += static_cast<double>(Dot(m.positions[face[0]], bc)) / 6.0;
    }
    for (const auto& [root, v] : volume)
        EXPECT_GT(v, 0.0);
    return volume.size();
}

}  // namespace meshcheck
