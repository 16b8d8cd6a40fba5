// Writing text .x files. Numbers go through std::to_chars, which prints the
// shortest text that reads back to the same float and ignores the locale.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "xfile.h"

namespace {

class XFileText
{
public:
    void Raw(const char* s) { m_Text += s; }

    void Float(float v)
    {
        char buf[32];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        m_Text.append(buf, res.ptr);
    }

    void UInt(std::uint64_t v)
    {
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        m_Text.append(buf, res.ptr);
    }

    // count items, one a line after indent, each written by writeItem(i):
    // "," between items and ";" after the last one; an empty list still
    // gets its closing ";" so the object stays well formed.
    template <typename WriteItem>
    void List(const char* indent, std::size_t count, WriteItem writeItem)
    {
        for (std::size_t i = 0; i < count; ++i) {
            Raw(indent);
            writeItem(i);
            m_Text += (i + 1 < count) ? ",\n" : ";\n";
        }
        if (count == 0)
            Raw(";\n");
    }

    void Vector(const D3DXVECTOR3& v)
    {
        Float(v.x);
        Raw(";");
        Float(v.y);
        Raw(";");
        Float(v.z);
        Raw(";");
    }

    void Color(const D3DCOLORVALUE& c, bool alpha)
    {
        Float(c.r);
        Raw(";");
        Float(c.g);
        Raw(";");
        Float(c.b);
        Raw(";");
        if (alpha) {
            Float(c.a);
            Raw(";");
        }
        Raw(";\n");
    }

    std::string& Text() { return m_Text; }

private:
    std::string m_Text;
};

bool Finite(const D3DXVECTOR3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool FiniteColor(const D3DCOLORVALUE& c)
{
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

// The reader must be able to read back whatever is written, so anything it
// would refuse is refused here already.
bool CheckMesh(const XFileMesh& mesh, std::string* error)
{
    const std::size_t nv = mesh.positions.size();
    if (nv > kXFileMaxVertices || mesh.faces.size() > kXFileMaxFaces || mesh.materials.size() > kXFileMaxMaterials) {
        *error = "mesh exceeds the size limits of the .x reader";
        return false;
    }
    if (!mesh.normals.empty() && mesh.normals.size() != nv) {
        *error = "mesh has " + std::to_string(mesh.normals.size()) + " normals for " + std::to_string(nv) + " vertices";
        return false;
    }
    if (!mesh.texcoords.empty() && mesh.texcoords.size() != nv) {
        *error = "mesh has " + std::to_string(mesh.texcoords.size()) + " texture coordinates for " +
                 std::to_string(nv) + " vertices";
        return false;
    }
    if (!mesh.colors.empty() && mesh.colors.size() != nv) {
        *error = "mesh has " + std::to_string(mesh.colors.size()) + " vertex colours for " + std::to_string(nv) +
                 " vertices";
        return false;
    }
    for (std::size_t i = 0; i < nv; ++i) {
        if (!Finite(mesh.positions[i]) || (!mesh.normals.empty() && !Finite(mesh.normals[i])) ||
            (!mesh.texcoords.empty() &&
             !(std::isfinite(mesh.texcoords[i][0]) && std::isfinite(mesh.texcoords[i][1])))) {
            *error = "vertex " + std::to_string(i) + " is not finite";
            return false;
        }
    }
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        for (std::uint32_t index : mesh.faces[f]) {
            if (index >= nv) {
                *error =
                    "face " + std::to_string(f) + " uses vertex " + std::to_string(index) + " of " + std::to_string(nv);
                return false;
            }
        }
    }
    if (!mesh.faceMaterials.empty()) {
        if (mesh.faceMaterials.size() != mesh.faces.size()) {
            *error = "mesh has " + std::to_string(mesh.faceMaterials.size()) + " face materials for " +
                     std::to_string(mesh.faces.size()) + " faces";
            return false;
        }
        for (std::size_t f = 0; f < mesh.faceMaterials.size(); ++f) {
            if (mesh.faceMaterials[f] >= mesh.materials.size()) {
                *error = "face " + std::to_string(f) + " uses material " + std::to_string(mesh.faceMaterials[f]) +
                         " of " + std::to_string(mesh.materials.size());
                return false;
            }
        }
    }
    for (std::size_t m = 0; m < mesh.materials.size(); ++m) {
        const D3DMATERIAL9& mat = mesh.materials[m].material;
        if (!FiniteColor(mat.Diffuse) || !FiniteColor(mat.Specular) || !FiniteColor(mat.Emissive) ||
            !std::isfinite(mat.Power)) {
            *error = "material " + std::to_string(m) + " is not finite";
            return false;
        }
        if (mesh.materials[m].textureFilename.size() > kXFileMaxTextureName) {
            *error = "material " + std::to_string(m) + " has a texture name longer than the reader accepts";
            return false;
        }
        // A .x string has no escapes: a quote or a line break cannot be written.
        for (unsigned char c : mesh.materials[m].textureFilename) {
            if (c == '"' || c < 0x20) {
                *error = "material " + std::to_string(m) + " has a texture name that cannot be written";
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool FormatXFile(const XFileMesh& mesh, std::string* text, std::string* error)
{
    std::string ignored;
    if (!error)
        error = &ignored;
    if (!CheckMesh(mesh, error))
        return false;

    const std::size_t nv = mesh.positions.size();
    const std::size_t nf = mesh.faces.size();
    XFileText out;
    out.Raw("xof 0303txt 0032\n\nMesh {\n ");
    out.UInt(nv);
    out.Raw(";\n");
    out.List(" ", nv, [&](std::size_t i) { out.Vector(mesh.positions[i]); });

    auto writeFaces = [&](const char* indent) {
        out.Raw(indent);
        out.UInt(nf);
        out.Raw(";\n");
        out.List(indent, nf, [&](std::size_t f) {
            out.Raw("3;");
            out.UInt(mesh.faces[f][0]);
            out.Raw(",");
            out.UInt(mesh.faces[f][1]);
            out.Raw(",");
            out.UInt(mesh.faces[f][2]);
            out.Raw(";");
        });
    };
    writeFaces(" ");

    if (!mesh.normals.empty()) {
        // One normal per vertex, and each face names its own vertices' normals,
        // so reading back splits nothing.
        out.Raw("\n MeshNormals {\n  ");
        out.UInt(nv);
        out.Raw(";\n");
        out.List("  ", nv, [&](std::size_t i) { out.Vector(mesh.normals[i]); });
        writeFaces("  ");
        out.Raw(" }\n");
    }

    if (!mesh.texcoords.empty()) {
        out.Raw("\n MeshTextureCoords {\n  ");
        out.UInt(nv);
        out.Raw(";\n");
        out.List("  ", nv, [&](std::size_t i) {
            out.Float(mesh.texcoords[i][0]);
            out.Raw(";");
            out.Float(mesh.texcoords[i][1]);
            out.Raw(";");
        });
        out.Raw(" }\n");
    }

    if (!mesh.colors.empty()) {
        // Each entry: vertex index, then red, green, blue, alpha in 0..1.
        out.Raw("\n MeshVertexColors {\n  ");
        out.UInt(nv);
        out.Raw(";\n");
        out.List("  ", nv, [&](std::size_t i) {
            out.UInt(i);
            out.Raw(";");
            for (const int shift : {16, 8, 0, 24}) {
                out.Float(static_cast<float>((mesh.colors[i] >> shift) & 0xFFu) / 255.0f);
                out.Raw(";");
            }
            out.Raw(";");
        });
        out.Raw(" }\n");
    }

    if (!mesh.materials.empty()) {
        out.Raw("\n MeshMaterialList {\n  ");
        out.UInt(mesh.materials.size());
        out.Raw(";\n  ");
        out.UInt(nf);
        out.Raw(";\n");
        out.List("  ", nf, [&](std::size_t f) { out.UInt(mesh.faceMaterials.empty() ? 0 : mesh.faceMaterials[f]); });
        for (const XFileMaterial& m : mesh.materials) {
            out.Raw("\n  Material {\n   ");
            out.Color(m.material.Diffuse, true);
            out.Raw("   ");
            out.Float(m.material.Power);
            out.Raw(";\n   ");
            out.Color(m.material.Specular, false);
            out.Raw("   ");
            out.Color(m.material.Emissive, false);
            if (!m.textureFilename.empty()) {
                out.Raw("\n   TextureFilename {\n    \"");
                out.Raw(m.textureFilename.c_str());
                out.Raw("\";\n   }\n");
            }
            out.Raw("  }\n");
        }
        out.Raw(" }\n");
    }
    out.Raw("}\n");
    *text = std::move(out.Text());
    return true;
}

bool WriteXFile(const std::string& path, const XFileMesh& mesh, std::string* error)
{
    std::string ignored;
    if (!error)
        error = &ignored;
    std::string text;
    if (!FormatXFile(mesh, &text, error)) {
        *error = path + ": " + *error;
        return false;
    }
    struct Closer
    {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        *error = path + ": cannot open for writing: " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        const int err = errno;
        // A cut-off file would only fail later with a confusing parse error.
        std::remove(path.c_str());
        *error = path + ": writing failed: " + std::strerror(err);
        return false;
    }
    return true;
}
