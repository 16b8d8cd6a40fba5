// Reading text .x files: a recursive-descent parser over XFileLexer whose
// depth is fixed by the grammar (Mesh > MeshMaterialList > Material >
// TextureFilename), never by the input; unknown objects are skipped by
// counting braces. Every count is checked against its cap and against the
// bytes left before anything is reserved, and every index against what it
// indexes.
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <unordered_map>

#include "XFileLexer.h"
#include "xfile.h"

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kMaxNormals = 3 * kXFileMaxFaces;

// A Mesh object as written: polygons not yet fanned, normals still per corner.
struct RawMesh
{
    std::vector<D3DXVECTOR3> positions;
    std::vector<std::uint32_t> polygonStart;  // one per polygon, plus the end
    std::vector<std::uint32_t> corners;       // vertex index of each corner
    bool hasNormals = false;
    std::vector<D3DXVECTOR3> normals;
    std::vector<std::uint32_t> normalCorners;  // normal index of each corner
    bool hasTexcoords = false;
    std::vector<std::array<float, 2>> texcoords;
    bool hasColors = false;
    std::vector<DWORD> colors;  // packed ARGB; vertices the file leaves out are white
    bool hasMaterialList = false;
    std::vector<std::uint32_t> polygonMaterials;
    std::vector<XFileMaterial> materials;

    std::size_t PolygonCount() const { return polygonStart.empty() ? 0 : polygonStart.size() - 1; }
};

class XFileParser
{
public:
    explicit XFileParser(std::string_view text) : m_Text(text), m_Lex(text, kHeaderSize, 1) {}

    bool Parse(XFileMesh* out, std::string* error)
    {
        const bool ok = ParseHeader() && ParseTopLevel() && Build(out);
        if (!ok && error)
            *error = m_Error;
        return ok;
    }

private:
    // --- errors -----------------------------------------------------------
    bool Fail(const std::string& message)
    {
        if (m_Error.empty())
            m_Error = "line " + std::to_string(m_Lex.Line()) + ": " + message;
        return false;
    }

    std::string Describe() const
    {
        switch (m_Lex.Kind()) {
        case XToken::End: return "end of file";
        case XToken::String: return "a quoted string";
        case XToken::Guid: return "a GUID";
        case XToken::Unterminated: return "an unterminated string";
        default: break;
        }
        std::string text(m_Lex.Text().substr(0, 32));
        for (char& c : text)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
                c = '?';
        return "'" + text + "'";
    }

    bool Unexpected(const char* where) { return Fail(std::string("unexpected ") + Describe() + " " + where); }

    // --- numbers ----------------------------------------------------------
    // `;` and `,` are taken leniently between numbers: exporters differ.
    bool NextNumber(const char* what)
    {
        XToken t;
        do
            t = m_Lex.Next();
        while (t == XToken::Semicolon || t == XToken::Comma);
        if (t != XToken::Number)
            return Fail(std::string("expected ") + what + ", found " + Describe());
        return true;
    }

    bool ReadFloat(float* value, const char* what)
    {
        if (!NextNumber(what))
            return false;
        std::string_view text = m_Lex.Text();
        if (text.size() > 1 && text[0] == '+' && text[1] != '-')
            text.remove_prefix(1);
        const auto res = std::from_chars(text.data(), text.data() + text.size(), *value);
        if (res.ec != std::errc() || res.ptr != text.data() + text.size())
            return Fail(std::string("bad number ") + Describe() + " for " + what);
        return true;
    }

    bool ReadUInt(std::uint32_t* value, const char* what)
    {
        if (!NextNumber(what))
            return false;
        const std::string_view text = m_Lex.Text();
        const auto res = std::from_chars(text.data(), text.data() + text.size(), *value);
        if (res.ec == std::errc::result_out_of_range)
            return Fail(std::string("number ") + Describe() + " too large for " + what);
        if (res.ec != std::errc() || res.ptr != text.data() + text.size())
            return Fail(std::string("expected a whole number >= 0 for ") + what + ", found " + Describe());
        return true;
    }

    // A count of items of numbersPerItem numbers each: each number takes at
    // least one byte, so a count the rest of the input cannot hold is a lie.
    bool ReadCount(std::uint32_t* count, const char* what, std::size_t cap, std::size_t numbersPerItem)
    {
        if (!ReadUInt(count, what))
            return false;
        if (*count > cap)
            return Fail(std::string(what) + " " + std::to_string(*count) + " exceeds the limit of " +
                        std::to_string(cap));
        if (std::size_t{*count} * numbersPerItem > m_Lex.Remaining())
            return Fail(std::string(what) + " " + std::to_string(*count) + " is more than the rest of the file holds");
        return true;
    }

    bool ReadVector(D3DXVECTOR3* v, const char* what)
    {
        return ReadFloat(&v->x, what) && ReadFloat(&v->y, what) && ReadFloat(&v->z, what);
    }

    // --- objects ----------------------------------------------------------
    // After the type name: an optional name, an optional GUID, then `{`.
    bool OpenObject(std::string_view type, std::string* name = nullptr)
    {
        const std::string typeName(type);
        XToken t = m_Lex.Next();
        if (t == XToken::Name) {
            if (name)
                *name = std::string(m_Lex.Text());
            t = m_Lex.Next();
        }
        if (t == XToken::Guid)
            t = m_Lex.Next();
        if (t != XToken::LBrace)
            return Fail("expected '{' to open " + typeName + ", found " + Describe());
        return true;
    }

    // The rest of an object whose `{` was just read; string-aware through the
    // lexer, and iterative, so deep nesting costs no stack.
    bool SkipBody(std::string_view type, int openLine)
    {
        std::size_t depth = 1;
        for (;;) {
            switch (m_Lex.Next()) {
            case XToken::LBrace: ++depth; break;
            case XToken::RBrace:
                if (--depth == 0)
                    return true;
                break;
            case XToken::End:
            case XToken::Unterminated:
                return Fail("file ends inside " + std::string(type) + " opened at line " + std::to_string(openLine));
            default: break;
            }
        }
    }

    bool SkipObject(std::string_view type)
    {
        const std::string typeName(type);
        const int line = m_Lex.Line();
        return OpenObject(typeName) && SkipBody(typeName, line);
    }

    // Children of an object we read no further: skip them up to its `}`.
    bool SkipChildren(const char* type, int openLine)
    {
        for (;;) {
            switch (m_Lex.Next()) {
            case XToken::RBrace: return true;
            case XToken::Semicolon:
            case XToken::Comma: break;
            case XToken::Name:
                if (!SkipObject(m_Lex.Text()))
                    return false;
                break;
            case XToken::LBrace:
                if (!SkipBody("a reference", m_Lex.Line()))
                    return false;
                break;
            case XToken::End:
            case XToken::Unterminated:
                return Fail(std::string("file ends inside ") + type + " opened at line " + std::to_string(openLine));
            default: return Unexpected((std::string("in ") + type).c_str());
            }
        }
    }

    // --- header and top level ------------------------------------------------
    bool ParseHeader()
    {
        if (m_Text.size() < 4 || m_Text.substr(0, 4) != "xof ")
            return Fail("not a .x file (no \"xof \" header)");
        if (m_Text.size() < kHeaderSize)
            return Fail("the .x header is cut short");
        const std::string_view version = m_Text.substr(4, 4);
        const std::string_view format = m_Text.substr(8, 4);
        const std::string_view floatSize = m_Text.substr(12, 4);
        if (format == "bin ")
            return Fail("binary .x files are not supported, only text (txt)");
        if (format == "tzip" || format == "bzip")
            return Fail("compressed .x files are not supported, only text (txt)");
        if (format != "txt ")
            return Fail("unknown .x format in the header");
        if (version != "0302" && version != "0303")
            return Fail("unsupported .x version in the header");
        if (floatSize != "0032" && floatSize != "0064")
            return Fail("bad float size in the .x header");
        return true;
    }

    bool ParseTopLevel()
    {
        for (;;) {
            switch (m_Lex.Next()) {
            case XToken::End:
                if (!m_HaveMesh)
                    return Fail("no Mesh object at the top level of the file");
                return true;
            case XToken::Semicolon:
            case XToken::Comma: break;
            case XToken::Name: {
                const std::string_view name = m_Lex.Text();
                if (name == "template") {
                    const int line = m_Lex.Line();
                    if (m_Lex.Next() != XToken::Name)
                        return Fail("expected a template name, found " + Describe());
                    if (m_Lex.Next() != XToken::LBrace)
                        return Fail("expected '{' to open a template, found " + Describe());
                    if (!SkipBody("template", line))
                        return false;
                } else if (name == "Mesh") {
                    if (m_HaveMesh)
                        return Fail("a second Mesh object (one per file is supported)");
                    m_HaveMesh = true;
                    if (!ParseMesh())
                        return false;
                } else if (name == "Material") {
                    XFileMaterial material;
                    std::string materialName;
                    if (!ParseMaterial(&material, &materialName))
                        return false;
                    if (!materialName.empty())
                        m_NamedMaterials[materialName] = std::move(material);
                } else if (!SkipObject(name)) {
                    return false;
                }
                break;
            }
            case XToken::LBrace:
                if (!SkipBody("a reference", m_Lex.Line()))
                    return false;
                break;
            default: return Unexpected("at the top level");
            }
        }
    }

    // --- Mesh -----------------------------------------------------------------
    bool ParseMesh()
    {
        const int openLine = m_Lex.Line();
        if (!OpenObject("Mesh"))
            return false;
        RawMesh& mesh = m_Mesh;

        std::uint32_t numVertices;
        if (!ReadCount(&numVertices, "vertex count", kXFileMaxVertices, 3))
            return false;
        mesh.positions.resize(numVertices);
        for (D3DXVECTOR3& p : mesh.positions)
            if (!ReadVector(&p, "a vertex position"))
                return false;

        std::uint32_t numFaces;
        if (!ReadCount(&numFaces, "face count", kXFileMaxFaces, 4))
            return false;
        mesh.polygonStart.reserve(std::size_t{numFaces} + 1);
        mesh.corners.reserve(std::size_t{numFaces} * 3);
        std::size_t triangles = 0;
        for (std::uint32_t f = 0; f < numFaces; ++f) {
            std::uint32_t n;
            if (!ReadUInt(&n, "a face's corner count"))
                return false;
            if (n < 3)
                return Fail("face " + std::to_string(f) + " has " + std::to_string(n) + " corners; at least 3 needed");
            if (n > kXFileMaxPolygonCorners || n > m_Lex.Remaining())
                return Fail("face " + std::to_string(f) + " has too many corners (" + std::to_string(n) + ")");
            triangles += n - 2;
            if (triangles > kXFileMaxFaces || mesh.corners.size() + n > 3 * kXFileMaxFaces)
                return Fail("more than " + std::to_string(kXFileMaxFaces) + " triangles");
            mesh.polygonStart.push_back(static_cast<std::uint32_t>(mesh.corners.size()));
            for (std::uint32_t k = 0; k < n; ++k) {
                std::uint32_t index;
                if (!ReadUInt(&index, "a vertex index"))
                    return false;
                if (index >= numVertices)
                    return Fail("face " + std::to_string(f) + " uses vertex " + std::to_string(index) + " of " +
                                std::to_string(numVertices));
                mesh.corners.push_back(index);
            }
        }
        mesh.polygonStart.push_back(static_cast<std::uint32_t>(mesh.corners.size()));

        for (;;) {
            switch (m_Lex.Next()) {
            case XToken::RBrace: return true;
            case XToken::Semicolon:
            case XToken::Comma: break;
            case XToken::Name: {
                const std::string_view name = m_Lex.Text();
                bool ok;
                if (name == "MeshNormals")
                    ok = !mesh.hasNormals ? ParseNormals() : Fail("a second MeshNormals in one Mesh");
                else if (name == "MeshTextureCoords")
                    ok = !mesh.hasTexcoords ? ParseTexcoords() : Fail("a second MeshTextureCoords in one Mesh");
                else if (name == "MeshVertexColors")
                    ok = !mesh.hasColors ? ParseVertexColors() : Fail("a second MeshVertexColors in one Mesh");
                else if (name == "MeshMaterialList")
                    ok = !m_HaveMaterialList ? ParseMaterialList() : Fail("a second MeshMaterialList in one Mesh");
                else
                    ok = SkipObject(name);
                if (!ok)
                    return false;
                break;
            }
            case XToken::LBrace:
                if (!SkipBody("a reference", m_Lex.Line()))
                    return false;
                break;
            case XToken::End:
            case XToken::Unterminated:
                return Fail("file ends inside the Mesh opened at line " + std::to_string(openLine));
            default: return Unexpected("in Mesh");
            }
        }
    }

    bool ParseNormals()
    {
        const int openLine = m_Lex.Line();
        if (!OpenObject("MeshNormals"))
            return false;
        RawMesh& mesh = m_Mesh;
        std::uint32_t numNormals;
        if (!ReadCount(&numNormals, "normal count", kMaxNormals, 3))
            return false;
        mesh.normals.resize(numNormals);
        for (D3DXVECTOR3& n : mesh.normals)
            if (!ReadVector(&n, "a normal"))
                return false;

        std::uint32_t numFaces;
        if (!ReadUInt(&numFaces, "the normals' face count"))
            return false;
        if (numFaces != mesh.PolygonCount())
            return Fail("MeshNormals has " + std::to_string(numFaces) + " faces, the Mesh " +
                        std::to_string(mesh.PolygonCount()));
        mesh.normalCorners.reserve(mesh.corners.size());
        for (std::uint32_t f = 0; f < numFaces; ++f) {
            const std::uint32_t expected = mesh.polygonStart[f + 1] - mesh.polygonStart[f];
            std::uint32_t n;
            if (!ReadUInt(&n, "a face's normal count"))
                return false;
            if (n != expected)
                return Fail("normal face " + std::to_string(f) + " has " + std::to_string(n) + " corners, the face " +
                            std::to_string(expected));
            for (std::uint32_t k = 0; k < n; ++k) {
                std::uint32_t index;
                if (!ReadUInt(&index, "a normal index"))
                    return false;
                if (index >= numNormals)
                    return Fail("normal face " + std::to_string(f) + " uses normal " + std::to_string(index) + " of " +
                                std::to_string(numNormals));
                mesh.normalCorners.push_back(index);
            }
        }
        mesh.hasNormals = true;
        return SkipChildren("MeshNormals", openLine);
    }

    bool ParseTexcoords()
    {
        const int openLine = m_Lex.Line();
        if (!OpenObject("MeshTextureCoords"))
            return false;
        RawMesh& mesh = m_Mesh;
        std::uint32_t count;
        if (!ReadCount(&count, "texture coordinate count", kXFileMaxVertices, 2))
            return false;
        if (count != mesh.positions.size())
            return Fail("MeshTextureCoords has " + std::to_string(count) + " entries for " +
                        std::to_string(mesh.positions.size()) + " vertices");
        mesh.texcoords.resize(count);
        for (auto& uv : mesh.texcoords)
            if (!ReadFloat(&uv[0], "a texture coordinate") || !ReadFloat(&uv[1], "a texture coordinate"))
                return false;
        mesh.hasTexcoords = true;
        return SkipChildren("MeshTextureCoords", openLine);
    }

    bool ParseVertexColors()
    {
        const int openLine = m_Lex.Line();
        if (!OpenObject("MeshVertexColors"))
            return false;
        RawMesh& mesh = m_Mesh;
        std::uint32_t count;
        if (!ReadCount(&count, "vertex colour count", kXFileMaxVertices, 5))
            return false;
        if (count > mesh.positions.size())
            return Fail("MeshVertexColors has " + std::to_string(count) + " entries for " +
                        std::to_string(mesh.positions.size()) + " vertices");
        mesh.colors.assign(mesh.positions.size(), 0xFFFFFFFFu);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t index;
            if (!ReadUInt(&index, "a vertex colour's index"))
                return false;
            if (index >= mesh.positions.size())
                return Fail("vertex colour " + std::to_string(i) + " names vertex " + std::to_string(index) + " of " +
                            std::to_string(mesh.positions.size()));
            float rgba[4];
            for (float& channel : rgba)
                if (!ReadFloat(&channel, "a vertex colour channel"))
                    return false;
            mesh.colors[index] = PackColor(rgba);
        }
        mesh.hasColors = true;
        return SkipChildren("MeshVertexColors", openLine);
    }

    // Channels 0..1 (clamped; NaN reads as 0) to a packed ARGB word.
    static DWORD PackColor(const float rgba[4])
    {
        auto byte = [](float v) -> DWORD {
            if (!(v > 0.0f))
                return 0;
            if (v >= 1.0f)
                return 255;
            return static_cast<DWORD>(v * 255.0f + 0.5f);
        };
        return (byte(rgba[3]) << 24) | (byte(rgba[0]) << 16) | (byte(rgba[1]) << 8) | byte(rgba[2]);
    }

    bool ParseMaterialList()
    {
        const int openLine = m_Lex.Line();
        if (!OpenObject("MeshMaterialList"))
            return false;
        m_HaveMaterialList = true;
        RawMesh& mesh = m_Mesh;
        const std::size_t numPolygons = mesh.PolygonCount();

        std::uint32_t numMaterials;
        if (!ReadCount(&numMaterials, "material count", kXFileMaxMaterials, 1))
            return false;
        std::uint32_t numIndices;
        if (!ReadCount(&numIndices, "face material count", kXFileMaxFaces, 1))
            return false;
        if (numIndices > numPolygons)
            return Fail(std::to_string(numIndices) + " face materials for " + std::to_string(numPolygons) + " faces");
        mesh.polygonMaterials.reserve(numPolygons);
        for (std::uint32_t i = 0; i < numIndices; ++i) {
            std::uint32_t index;
            if (!ReadUInt(&index, "a face material index"))
                return false;
            if (index >= numMaterials)
                return Fail("face " + std::to_string(i) + " uses material " + std::to_string(index) + " of " +
                            std::to_string(numMaterials));
            mesh.polygonMaterials.push_back(index);
        }
        // A shorter list repeats its last index for the remaining faces.
        const std::uint32_t last = numIndices ? mesh.polygonMaterials.back() : 0;
        mesh.polygonMaterials.resize(numPolygons, last);

        for (;;) {
            switch (m_Lex.Next()) {
            case XToken::RBrace:
                if (mesh.materials.size() != numMaterials)
                    return Fail("MeshMaterialList announces " + std::to_string(numMaterials) + " materials but gives " +
                                std::to_string(mesh.materials.size()));
                mesh.hasMaterialList = numMaterials > 0;
                return true;
            case XToken::Semicolon:
            case XToken::Comma: break;
            case XToken::Name: {
                const std::string_view name = m_Lex.Text();
                if (name == "Material") {
                    if (mesh.materials.size() == numMaterials)
                        return Fail("MeshMaterialList gives more than the " + std::to_string(numMaterials) +
                                    " materials it announces");
                    XFileMaterial material;
                    std::string materialName;
                    if (!ParseMaterial(&material, &materialName))
                        return false;
                    if (!materialName.empty())
                        m_NamedMaterials[materialName] = material;
                    mesh.materials.push_back(std::move(material));
                } else if (!SkipObject(name)) {
                    return false;
                }
                break;
            }
            case XToken::LBrace: {
                if (mesh.materials.size() == numMaterials)
                    return Fail("MeshMaterialList gives more than the " + std::to_string(numMaterials) +
                                " materials it announces");
                // `{ Name }` or `{ Name <GUID> }`: a Material given earlier.
                if (m_Lex.Next() != XToken::Name)
                    return Fail("expected a material name in a reference, found " + Describe());
                const std::string name(m_Lex.Text());
                XToken t = m_Lex.Next();
                if (t == XToken::Guid)
                    t = m_Lex.Next();
                if (t != XToken::RBrace)
                    return Fail("expected '}' to close the reference to " + name + ", found " + Describe());
                const auto it = m_NamedMaterials.find(name);
                if (it == m_NamedMaterials.end())
                    return Fail("reference to unknown material '" + name.substr(0, 32) + "'");
                mesh.materials.push_back(it->second);
                break;
            }
            case XToken::End:
            case XToken::Unterminated:
                return Fail("file ends inside the MeshMaterialList opened at line " + std::to_string(openLine));
            default: return Unexpected("in MeshMaterialList");
            }
        }
    }

    bool ParseMaterial(XFileMaterial* out, std::string* name)
    {
        const int openLine = m_Lex.Line();
        if (!OpenObject("Material", name))
            return false;
        D3DMATERIAL9& m = out->material;
        m = D3DMATERIAL9{};
        if (!ReadFloat(&m.Diffuse.r, "faceColor") || !ReadFloat(&m.Diffuse.g, "faceColor") ||
            !ReadFloat(&m.Diffuse.b, "faceColor") || !ReadFloat(&m.Diffuse.a, "faceColor") ||
            !ReadFloat(&m.Power, "power") || !ReadFloat(&m.Specular.r, "specularColor") ||
            !ReadFloat(&m.Specular.g, "specularColor") || !ReadFloat(&m.Specular.b, "specularColor") ||
            !ReadFloat(&m.Emissive.r, "emissiveColor") || !ReadFloat(&m.Emissive.g, "emissiveColor") ||
            !ReadFloat(&m.Emissive.b, "emissiveColor"))
            return false;
        // The file gives these two without alpha.
        m.Specular.a = 1.0f;
        m.Emissive.a = 1.0f;

        bool haveTexture = false;
        for (;;) {
            switch (m_Lex.Next()) {
            case XToken::RBrace: return true;
            case XToken::Semicolon:
            case XToken::Comma: break;
            case XToken::Name: {
                const std::string_view type = m_Lex.Text();
                if (type == "TextureFilename" || type == "TextureFileName") {
                    const int line = m_Lex.Line();
                    if (!OpenObject("TextureFilename"))
                        return false;
                    XToken t;
                    do
                        t = m_Lex.Next();
                    while (t == XToken::Semicolon || t == XToken::Comma);
                    if (t != XToken::String)
                        return Fail("expected a quoted file name in TextureFilename, found " + Describe());
                    if (!haveTexture && !SetTextureName(m_Lex.Text(), &out->textureFilename))
                        return false;
                    haveTexture = true;
                    if (!SkipChildren("TextureFilename", line))
                        return false;
                } else if (!SkipObject(type)) {
                    return false;
                }
                break;
            }
            case XToken::LBrace:
                if (!SkipBody("a reference", m_Lex.Line()))
                    return false;
                break;
            case XToken::End:
            case XToken::Unterminated:
                return Fail("file ends inside the Material opened at line " + std::to_string(openLine));
            default: return Unexpected("in Material");
            }
        }
    }

    bool SetTextureName(std::string_view text, std::string* out)
    {
        // Each `{ Name }` reference copies the material: a long name repeated
        // by thousands of references would be a cheap way to exhaust memory.
        if (text.size() > kXFileMaxTextureName)
            return Fail("texture file name longer than " + std::to_string(kXFileMaxTextureName) + " bytes");
        for (unsigned char c : text)
            if (c < 0x20 || c == 0x7F)
                return Fail("texture file name holds a control character");
        out->assign(text);
        // Files written on Windows name folders with backslashes.
        for (char& c : *out)
            if (c == '\\')
                c = '/';
        return true;
    }

    // --- result ---------------------------------------------------------------
    bool Build(XFileMesh* out)
    {
        RawMesh& mesh = m_Mesh;
        std::vector<std::uint32_t>& corners = mesh.corners;
        if (mesh.hasNormals && !SplitByNormals())
            return false;

        out->positions = std::move(mesh.positions);
        out->normals = mesh.hasNormals ? std::move(m_SplitNormals) : std::vector<D3DXVECTOR3>{};
        out->texcoords = mesh.hasTexcoords ? std::move(mesh.texcoords) : std::vector<std::array<float, 2>>{};
        out->colors = mesh.hasColors ? std::move(mesh.colors) : std::vector<DWORD>{};
        out->faces.clear();
        out->faceMaterials.clear();
        const std::size_t numPolygons = mesh.PolygonCount();
        // Fan each polygon into (0, i, i + 1); each triangle keeps its
        // polygon's material.
        out->faces.reserve(corners.size() - 2 * numPolygons);
        for (std::size_t p = 0; p < numPolygons; ++p) {
            const std::uint32_t begin = mesh.polygonStart[p];
            const std::uint32_t end = mesh.polygonStart[p + 1];
            for (std::uint32_t k = begin + 1; k + 1 < end; ++k) {
                out->faces.push_back({corners[begin], corners[k], corners[k + 1]});
                if (mesh.hasMaterialList)
                    out->faceMaterials.push_back(mesh.polygonMaterials[p]);
            }
        }
        out->materials = mesh.hasMaterialList ? std::move(mesh.materials) : std::vector<XFileMaterial>{};
        return true;
    }

    // Gives each vertex one normal: the first corner that uses a vertex gives
    // it its normal; a later corner with another normal gets a copy of the
    // vertex appended at the end, so the vertices as written keep their order.
    bool SplitByNormals()
    {
        RawMesh& mesh = m_Mesh;
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
                if (mesh.positions.size() >= kXFileMaxVertices)
                    return Fail("more than " + std::to_string(kXFileMaxVertices) +
                                " vertices after splitting by normals");
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
        m_SplitNormals = std::move(vertexNormals);
        return true;
    }

    std::string_view m_Text;
    XFileLexer m_Lex;
    std::string m_Error;
    bool m_HaveMesh = false;
    bool m_HaveMaterialList = false;
    RawMesh m_Mesh;
    std::map<std::string, XFileMaterial, std::less<>> m_NamedMaterials;
    std::vector<D3DXVECTOR3> m_SplitNormals;
};

}  // namespace

bool ParseXFile(std::string_view text, XFileMesh* out, std::string* error)
{
    if (!out) {
        if (error)
            *error = "no mesh to parse into";
        return false;
    }
    try {
        XFileParser parser(text);
        return parser.Parse(out, error);
    } catch (const std::bad_alloc&) {
        if (error)
            *error = "out of memory";
        return false;
    }
}

bool ReadXFile(const std::string& path, XFileMesh* out, std::string* error)
{
    std::string ignored;
    if (!error)
        error = &ignored;
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        *error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (text.size() + got > kXFileMaxBytes) {
            *error = path + ": larger than " + std::to_string(kXFileMaxBytes) + " bytes";
            return false;
        }
        try {
            text.append(buffer, got);
        } catch (const std::bad_alloc&) {
            *error = path + ": out of memory";
            return false;
        }
    }
    if (std::ferror(file.get())) {
        *error = path + ": read error";
        return false;
    }
    if (!ParseXFile(text, out, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}
