#include "MeshCheck.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <tuple>
#include <utility>

namespace meshcheck {

namespace {

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Welded index of every vertex: positions equal to 1e-5 share one id.
std::vector<std::size_t> Weld(const XFileMesh& mesh)
{
    std::map<std::tuple<long, long, long>, std::size_t> ids;
    std::vector<std::size_t> out;
    for (const auto& p : mesh.positions) {
        const auto key = std::make_tuple(std::lround(p.x * 1e5), std::lround(p.y * 1e5), std::lround(p.z * 1e5));
        out.push_back(ids.emplace(key, ids.size()).first->second);
    }
    return out;
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

bool IsClosedAndConsistent(const XFileMesh& mesh)
{
    const std::vector<std::size_t> id = Weld(mesh);
    std::map<std::pair<std::size_t, std::size_t>, int> directed;
    for (const auto& f : mesh.faces)
        for (int i = 0; i < 3; ++i)
            ++directed[{id[f[static_cast<std::size_t>(i)]], id[f[static_cast<std::size_t>((i + 1) % 3)]]}];
    for (const auto& [edge, count] : directed) {
        const auto back = directed.find({edge.second, edge.first});
        if (count != 1 || back == directed.end() || back->second != 1)
            return false;
    }
    return !directed.empty();
}

std::vector<double> PartVolumes(const XFileMesh& mesh)
{
    const std::vector<std::size_t> id = Weld(mesh);
    // Union-find over faces joined by a shared welded edge.
    std::vector<std::size_t> parent(mesh.faces.size());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    auto find = [&](std::size_t x) {
        while (parent[x] != x)
            x = parent[x] = parent[parent[x]];
        return x;
    };
    std::map<std::pair<std::size_t, std::size_t>, std::size_t> firstFace;
    for (std::size_t f = 0; f < mesh.faces.size(); ++f)
        for (int i = 0; i < 3; ++i) {
            std::size_t a = id[mesh.faces[f][static_cast<std::size_t>(i)]];
            std::size_t b = id[mesh.faces[f][static_cast<std::size_t>((i + 1) % 3)]];
            const auto [it, fresh] = firstFace.emplace(std::minmax(a, b), f);
            if (!fresh)
                parent[find(f)] = find(it->second);
        }
    std::map<std::size_t, double> volume;
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const auto& a = mesh.positions[mesh.faces[f][0]];
        const auto& b = mesh.positions[mesh.faces[f][1]];
        const auto& c = mesh.positions[mesh.faces[f][2]];
        const D3DXVECTOR3 bc = Cross(b, c);
        volume[find(f)] += (static_cast<double>(a.x) * bc.x + static_cast<double>(a.y) * bc.y +
                            static_cast<double>(a.z) * bc.z) / 6.0;
    }
    std::vector<double> out;
    for (const auto& [root, v] : volume)
        out.push_back(v);
    return out;
}

std::size_t FacesAgainstNormals(const XFileMesh& mesh)
{
    std::size_t bad = 0;
    for (const auto& f : mesh.faces) {
        const auto& a = mesh.positions[f[0]];
        const D3DXVECTOR3 n = Cross(mesh.positions[f[1]] - a, mesh.positions[f[2]] - a);
        const D3DXVECTOR3 s = mesh.normals[f[0]] + mesh.normals[f[1]] + mesh.normals[f[2]];
        if (n.x * s.x + n.y * s.y + n.z * s.z <= 0.0f)
            ++bad;
    }
    return bad;
}

}  // namespace meshcheck
