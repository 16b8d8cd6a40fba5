#include "XFileMeshCollector.h"

#include <bit>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

constexpr std::uint32_t kNoMaterial = 0xFFFFFFFFu;

// Gives each vertex one normal: the first corner that uses a vertex gives
// it its normal; a later corner with another normal gets a copy of the
// vertex appended at the end, so the vertices as written keep their order.
// roomLeft bounds how many vertices the mesh may end with.
bool SplitByNormals(XFileRawMesh& mesh, std::size_t roomLeft, std::vector<D3DXVECTOR3>* split, std::string* error)
{
    struct Key
    {
        std::uint32_t vertex, x, y, z;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash
    {
        std::size_t operator()(const Key& k) const
        {
            std::size_t h = k.vertex;
            for (std::uint32_t w : {k.x, k.y, k.z})
                h = h * 1000003u ^ w;
            return h;
        }
    };
    auto key = [](std::uint32_t vertex, const D3DXVECTOR3& n) {
        return Key{vertex, std::bit_cast<std::uint32_t>(n.x), std::bit_cast<std::uint32_t>(n.y),
                   std::bit_cast<std::uint32_t>(n.z)};
    };

    const std::size_t original = mesh.positions.size();
    std::vector<D3DXVECTOR3> vertexNormals(original);
    std::vector<bool> assigned(original, false);
    std::unordered_map<Key, std::uint32_t, KeyHash> copies;
    for (std::size_t k = 0; k < mesh.corners.size(); ++k) {
        const std::uint32_t v = mesh.corners[k];
        const D3DXVECTOR3 n = mesh.normals[mesh.normalCorners[k]];
        if (!assigned[v]) {
            assigned[v] = true;
            vertexNormals[v] = n;
            continue;
        }
        if (key(v, vertexNormals[v]) == key(v, n))
            continue;
        const auto [it, inserted] = copies.try_emplace(key(v, n), 0);
        if (inserted) {
            if (mesh.positions.size() >= roomLeft) {
                *error = "more than " + std::to_string(kXFileMaxVertices) + " vertices after splitting by normals";
                return false;
            }
            it->second = static_cast<std::uint32_t>(mesh.positions.size());
            const D3DXVECTOR3 position = mesh.positions[v];
            mesh.positions.push_back(position);
            if (mesh.hasTexcoords) {
                const std::array<float, 2> uv = mesh.texcoords[v];
                mesh.texcoords.push_back(uv);
            }
            if (mesh.hasColors) {
                const DWORD color = mesh.colors[v];
                mesh.colors.push_back(color);
            }
            vertexNormals.push_back(n);
        }
        mesh.corners[k] = it->second;
    }
    *split = std::move(vertexNormals);
    return true;
}

// Appends one mesh's per-vertex values; a mesh without them gets `fill`,
// and so do the meshes before the first one that has them.
template <typename T>
void Merge(std::vector<T>& all, bool* any, std::size_t base, bool has, std::vector<T>&& mine, std::size_t count,
           const T& fill)
{
    if (has) {
        if (!*any) {
            all.assign(base, fill);
            *any = true;
        }
        all.insert(all.end(), mine.begin(), mine.end());
    } else if (*any) {
        all.resize(all.size() + count, fill);
    }
}

bool Representable(double v)
{
    return std::fabs(v) <= std::numeric_limits<float>::max();
}

}  // namespace

XFileMaterial XFilePlainMaterial()
{
    XFileMaterial m;
    m.material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    return m;
}

bool XFileMeshCollector::Add(XFileRawMesh& mesh, std::size_t frame, std::string* error)
{
    const std::size_t base = m_Result.positions.size();
    if (mesh.positions.size() > kXFileMaxVertices - base) {
        *error = "more than " + std::to_string(kXFileMaxVertices) + " vertices in all";
        return false;
    }
    std::vector<D3DXVECTOR3> normals;
    if (mesh.hasNormals && !SplitByNormals(mesh, kXFileMaxVertices - base, &normals, error))
        return false;
    const std::size_t count = mesh.positions.size();

    std::size_t triangles = 0;
    for (std::size_t p = 0; p < mesh.PolygonCount(); ++p)
        triangles += mesh.polygonStart[p + 1] - mesh.polygonStart[p] - 2;
    if (triangles > kXFileMaxFaces - m_Result.faces.size()) {
        *error = "more than " + std::to_string(kXFileMaxFaces) + " triangles in all";
        return false;
    }
    const std::size_t materialBase = m_Result.materials.size();
    if (mesh.hasMaterialList && mesh.materials.size() > kXFileMaxMaterials - materialBase) {
        *error = "more than " + std::to_string(kXFileMaxMaterials) + " materials in all";
        return false;
    }

    m_Result.positions.insert(m_Result.positions.end(), mesh.positions.begin(), mesh.positions.end());
    Merge(m_Result.normals, &m_AnyNormals, base, mesh.hasNormals, std::move(normals), count, D3DXVECTOR3{});
    Merge(m_Result.texcoords, &m_AnyTexcoords, base, mesh.hasTexcoords, std::move(mesh.texcoords), count,
          std::array<float, 2>{});
    Merge(m_Result.colors, &m_AnyColors, base, mesh.hasColors, std::move(mesh.colors), count, DWORD{0xFFFFFFFFu});

    if (!mesh.hasMaterialList && !m_AnyWithoutList) {
        m_AnyWithoutList = true;
        m_PlainMaterialAt = materialBase;
    }
    m_AnyMaterialList = m_AnyMaterialList || mesh.hasMaterialList;

    // Fan each polygon into (0, i, i + 1); each triangle keeps its
    // polygon's material.
    const std::vector<std::uint32_t>& corners = mesh.corners;
    m_Result.faces.reserve(m_Result.faces.size() + triangles);
    m_Result.faceMaterials.reserve(m_Result.faces.size() + triangles);
    const auto offset = static_cast<std::uint32_t>(base);
    for (std::size_t p = 0; p < mesh.PolygonCount(); ++p) {
        const std::uint32_t begin = mesh.polygonStart[p];
        const std::uint32_t end = mesh.polygonStart[p + 1];
        const std::uint32_t material =
            mesh.hasMaterialList ? static_cast<std::uint32_t>(materialBase) + mesh.polygonMaterials[p] : kNoMaterial;
        for (std::uint32_t k = begin + 1; k + 1 < end; ++k) {
            m_Result.faces.push_back({offset + corners[begin], offset + corners[k], offset + corners[k + 1]});
            m_Result.faceMaterials.push_back(material);
        }
    }
    if (mesh.hasMaterialList)
        m_Result.materials.insert(m_Result.materials.end(), std::make_move_iterator(mesh.materials.begin()),
                                  std::make_move_iterator(mesh.materials.end()));

    if (count > 0) {
        if (!m_Spans.empty() && m_Spans.back().frame == frame)
            m_Spans.back().end = base + count;
        else
            m_Spans.push_back({base, base + count, frame});
    }
    ++m_Meshes;
    return true;
}

bool XFileMeshCollector::Finish(const std::vector<XFileWorld>& worlds, XFileMesh* out, std::string* error)
{
    XFileMesh& r = m_Result;
    for (const Span& span : m_Spans) {
        const XFileWorld& world = worlds[span.frame];
        if (world.identity)
            continue;
        const D3DXMATRIX& m = world.matrix;
        for (std::size_t v = span.begin; v < span.end; ++v) {
            D3DXVECTOR3& p = r.positions[v];
            const double x = double{p.x} * m._11 + double{p.y} * m._21 + double{p.z} * m._31 + m._41;
            const double y = double{p.x} * m._12 + double{p.y} * m._22 + double{p.z} * m._32 + m._42;
            const double z = double{p.x} * m._13 + double{p.y} * m._23 + double{p.z} * m._33 + m._43;
            if (!Representable(x) || !Representable(y) || !Representable(z)) {
                *error = "a frame transform moves vertex " + std::to_string(v) + " beyond the range of a float";
                return false;
            }
            p = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
        }
        if (!m_AnyNormals)
            continue;
        // Normals go by the inverse transpose; the cofactor matrix is that
        // times the determinant, so only the determinant's sign matters
        // before normalising.
        const double a[3][3] = {{m._11, m._12, m._13}, {m._21, m._22, m._23}, {m._31, m._32, m._33}};
        double c[3][3];
        for (int i = 0; i < 3; ++i) {
            const double* u = a[(i + 1) % 3];
            const double* w = a[(i + 2) % 3];
            c[i][0] = u[1] * w[2] - u[2] * w[1];
            c[i][1] = u[2] * w[0] - u[0] * w[2];
            c[i][2] = u[0] * w[1] - u[1] * w[0];
        }
        const double det = a[0][0] * c[0][0] + a[0][1] * c[0][1] + a[0][2] * c[0][2];
        const double sign = det < 0 ? -1.0 : 1.0;
        for (std::size_t v = span.begin; v < span.end; ++v) {
            D3DXVECTOR3& n = r.normals[v];
            double t[3];
            for (int j = 0; j < 3; ++j)
                t[j] = sign * (double{n.x} * c[0][j] + double{n.y} * c[1][j] + double{n.z} * c[2][j]);
            const double length = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);
            if (!std::isfinite(length)) {
                *error = "a frame transform makes the normal of vertex " + std::to_string(v) + " non-finite";
                return false;
            }
            // A normal the transform flattens to nothing stays zero.
            if (length > 0)
                n = {static_cast<float>(t[0] / length), static_cast<float>(t[1] / length),
                     static_cast<float>(t[2] / length)};
        }
    }

    if (!m_AnyMaterialList) {
        r.materials.clear();
        r.faceMaterials.clear();
    } else if (m_AnyWithoutList) {
        if (r.materials.size() >= kXFileMaxMaterials) {
            *error = "more than " + std::to_string(kXFileMaxMaterials) + " materials in all";
            return false;
        }
        const auto at = static_cast<std::uint32_t>(m_PlainMaterialAt);
        // As a file would give it: the format has no alpha for these two.
        XFileMaterial plain = XFilePlainMaterial();
        plain.material.Specular.a = 1.0f;
        plain.material.Emissive.a = 1.0f;
        r.materials.insert(r.materials.begin() + static_cast<std::ptrdiff_t>(at), std::move(plain));
        for (std::uint32_t& material : r.faceMaterials)
            material = material == kNoMaterial ? at : material >= at ? material + 1 : material;
    }
    *out = std::move(r);
    return true;
}
