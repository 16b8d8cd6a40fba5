#include "XFileMeshReader.h"

#include <bit>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr std::size_t kMaxNormals = 3 * kXFileMaxFaces;
// Vertex declarations end at 64 elements of at most four words each.
constexpr std::size_t kMaxDeclElements = 64;
constexpr std::size_t kMaxDeclWords = kXFileMaxVertices * 4 * kMaxDeclElements;

// D3DDECLTYPE sizes in 32-bit words, and the usages and types read.
constexpr std::uint32_t kDeclTypeWords[] = {1, 2, 3, 4, 1, 1, 1, 2, 1, 1, 2, 1, 2, 1, 1, 1, 2};
constexpr std::uint32_t kDeclFloat1 = 0, kDeclFloat3 = 2, kDeclFloat4 = 3, kDeclColor = 4, kDeclHalf2 = 15;
constexpr std::uint32_t kUsageNormal = 3, kUsageTexcoord = 5, kUsageColor = 10;

float HalfToFloat(std::uint16_t h)
{
    const int exponent = (h >> 10) & 0x1F;
    const int mantissa = h & 0x3FF;
    float magnitude;
    if (exponent == 0)
        magnitude = std::ldexp(static_cast<float>(mantissa), -24);
    else if (exponent == 31)
        magnitude = mantissa ? std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::infinity();
    else
        magnitude = std::ldexp(static_cast<float>(mantissa | 0x400), exponent - 25);
    return (h & 0x8000) ? -magnitude : magnitude;
}

}  // namespace

// What one face list is called in messages: a Mesh's own, or its normals'.
struct XFileMeshReader::FaceListWords
{
    const char* face;         // "face"
    const char* cornerCount;  // "a face's corner count"
    const char* index;        // "a vertex index"
    const char* item;         // "vertex"
};

bool XFileMeshReader::ReadMesh(XFileRawMesh* out)
{
    const std::string opened = m_Tok.Where();
    if (!OpenObject("Mesh"))
        return false;
    XFileRawMesh& mesh = *out;

    std::uint32_t numVertices;
    if (!ReadVectors(&mesh.positions, &numVertices, "vertex count", kXFileMaxVertices, "a vertex position"))
        return false;

    std::uint32_t numFaces;
    if (!ReadCount(&numFaces, "face count", kXFileMaxFaces, 4))
        return false;
    static constexpr FaceListWords kWords{"face", "a face's corner count", "a vertex index", "vertex"};
    if (!ReadFaceList(numFaces, numVertices, kWords, nullptr, &mesh.polygonStart, &mesh.corners))
        return false;

    return ReadChildren("the Mesh", opened, "in Mesh", [&](std::string_view type) {
        if (type == "MeshNormals")
            return ParseNormals(mesh);
        if (type == "MeshTextureCoords")
            return ParseTexcoords(mesh);
        if (type == "MeshVertexColors")
            return ParseVertexColors(mesh);
        if (type == "MeshMaterialList")
            return ParseMaterialList(mesh);
        if (type == "DeclData")
            return ParseDeclData(mesh);
        return SkipObject();
    });
}

// numFaces polygons, each a corner count and that many indices below
// limit. Without shape (a Mesh's own list) each polygon needs three
// corners or more and the list gives polygonStart; with it (the normals'
// list) each polygon must have the corners of the same face in shape.
bool XFileMeshReader::ReadFaceList(std::uint32_t numFaces, std::uint32_t limit, const FaceListWords& words,
                                   const std::vector<std::uint32_t>* shape, std::vector<std::uint32_t>* polygonStart,
                                   std::vector<std::uint32_t>* corners)
{
    if (polygonStart)
        polygonStart->reserve(std::size_t{numFaces} + 1);
    corners->reserve(shape ? shape->back() : std::size_t{numFaces} * 3);
    std::size_t triangles = 0;
    for (std::uint32_t f = 0; f < numFaces; ++f) {
        auto face = [&] { return std::string(words.face) + " " + std::to_string(f); };
        std::uint32_t n;
        if (!ReadUInt(&n, words.cornerCount))
            return false;
        if (shape) {
            const std::uint32_t expected = (*shape)[f + 1] - (*shape)[f];
            if (n != expected)
                return Fail(face() + " has " + std::to_string(n) + " corners, the face " + std::to_string(expected));
        } else {
            if (n < 3)
                return Fail(face() + " has " + std::to_string(n) + " corners; at least 3 needed");
            if (n > kXFileMaxPolygonCorners || n > m_Tok.NumbersLeft())
                return Fail(face() + " has too many corners (" + std::to_string(n) + ")");
            triangles += n - 2;
            if (triangles > kXFileMaxFaces || corners->size() + n > 3 * kXFileMaxFaces)
                return Fail("more than " + std::to_string(kXFileMaxFaces) + " triangles");
        }
        if (polygonStart)
            polygonStart->push_back(static_cast<std::uint32_t>(corners->size()));
        for (std::uint32_t k = 0; k < n; ++k) {
            std::uint32_t index;
            if (!ReadUInt(&index, words.index))
                return false;
            if (index >= limit)
                return Fail(face() + " uses " + words.item + " " + std::to_string(index) + " of " +
                            std::to_string(limit));
            corners->push_back(index);
        }
    }
    if (polygonStart)
        polygonStart->push_back(static_cast<std::uint32_t>(corners->size()));
    return true;
}

template <typename ReadBody>
bool XFileMeshReader::ReadOnce(const char* type, const char* what, bool* given, ReadBody readBody)
{
    const std::string opened = m_Tok.Where();
    if (*given)
        return Fail(std::string("a Mesh gives its ") + what + " twice");
    if (!OpenObject(type) || !readBody())
        return false;
    *given = true;
    return SkipChildren(type, opened);
}

bool XFileMeshReader::ParseNormals(XFileRawMesh& mesh)
{
    return ReadOnce("MeshNormals", "normals", &mesh.hasNormals, [&] {
        std::uint32_t numNormals;
        if (!ReadVectors(&mesh.normals, &numNormals, "normal count", kMaxNormals, "a normal"))
            return false;

        std::uint32_t numFaces;
        if (!ReadUInt(&numFaces, "the normals' face count"))
            return false;
        if (numFaces != mesh.PolygonCount())
            return Fail("MeshNormals has " + std::to_string(numFaces) + " faces, the Mesh " +
                        std::to_string(mesh.PolygonCount()));
        static constexpr FaceListWords kWords{"normal face", "a face's normal count", "a normal index", "normal"};
        return ReadFaceList(numFaces, numNormals, kWords, &mesh.polygonStart, nullptr, &mesh.normalCorners);
    });
}

bool XFileMeshReader::ParseTexcoords(XFileRawMesh& mesh)
{
    return ReadOnce("MeshTextureCoords", "texture coordinates", &mesh.hasTexcoords, [&] {
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
        return true;
    });
}

bool XFileMeshReader::ParseVertexColors(XFileRawMesh& mesh)
{
    return ReadOnce("MeshVertexColors", "vertex colours", &mesh.hasColors, [&] {
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
        return true;
    });
}

// Channels 0..1 (clamped) to a packed ARGB word.
DWORD XFileMeshReader::PackColor(const float rgba[4])
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

// Per-vertex data in a vertex declaration's layout: the first normal,
// texture coordinates and colour it carries are read, the rest skipped.
bool XFileMeshReader::ParseDeclData(XFileRawMesh& mesh)
{
    const std::string opened = m_Tok.Where();
    if (!OpenObject("DeclData"))
        return false;
    struct Element
    {
        std::uint32_t type, usage, usageIndex, offset;
    };
    std::uint32_t numElements;
    if (!ReadCount(&numElements, "DeclData element count", kMaxDeclElements, 4))
        return false;
    std::vector<Element> elements(numElements);
    std::uint32_t stride = 0;
    for (std::uint32_t i = 0; i < numElements; ++i) {
        Element& e = elements[i];
        std::uint32_t method;
        if (!ReadUInt(&e.type, "a DeclData element's type") || !ReadUInt(&method, "a DeclData element's method") ||
            !ReadUInt(&e.usage, "a DeclData element's usage") ||
            !ReadUInt(&e.usageIndex, "a DeclData element's usage index"))
            return false;
        if (e.type >= std::size(kDeclTypeWords))
            return Fail("DeclData element " + std::to_string(i) + " has unknown type " + std::to_string(e.type));
        e.offset = stride;
        stride += kDeclTypeWords[e.type];
    }
    std::uint32_t numWords;
    if (!ReadCount(&numWords, "DeclData word count", kMaxDeclWords, 1))
        return false;
    const std::size_t vertices = mesh.positions.size();
    if (numWords != vertices * stride)
        return Fail("DeclData holds " + std::to_string(numWords) + " words, not " + std::to_string(stride) +
                    " for each of " + std::to_string(vertices) + " vertices");
    std::vector<std::uint32_t> words(numWords);
    for (std::uint32_t& w : words)
        if (!ReadUInt(&w, "a DeclData word"))
            return false;

    auto word = [&](std::size_t v, const Element& e, std::uint32_t k) { return words[v * stride + e.offset + k]; };
    auto real = [&](std::size_t v, const Element& e, std::uint32_t k) {
        return k < kDeclTypeWords[e.type] ? std::bit_cast<float>(word(v, e, k)) : 0.0f;
    };
    for (const Element& e : elements) {
        if (e.usageIndex != 0)
            continue;
        if (e.usage == kUsageNormal && e.type == kDeclFloat3) {
            if (mesh.hasNormals)
                return Fail("a Mesh gives its normals twice");
            mesh.normals.resize(vertices);
            for (std::size_t v = 0; v < vertices; ++v) {
                mesh.normals[v] = {real(v, e, 0), real(v, e, 1), real(v, e, 2)};
                if (!std::isfinite(mesh.normals[v].x) || !std::isfinite(mesh.normals[v].y) ||
                    !std::isfinite(mesh.normals[v].z))
                    return Fail("non-finite normal in DeclData for vertex " + std::to_string(v));
            }
            mesh.normalCorners = mesh.corners;
            mesh.hasNormals = true;
        } else if (e.usage == kUsageTexcoord && (e.type <= kDeclFloat4 || e.type == kDeclHalf2)) {
            if (mesh.hasTexcoords)
                return Fail("a Mesh gives its texture coordinates twice");
            mesh.texcoords.resize(vertices);
            for (std::size_t v = 0; v < vertices; ++v) {
                auto& uv = mesh.texcoords[v];
                if (e.type == kDeclHalf2) {
                    const std::uint32_t w = word(v, e, 0);
                    uv = {HalfToFloat(static_cast<std::uint16_t>(w)), HalfToFloat(static_cast<std::uint16_t>(w >> 16))};
                } else {
                    uv = {real(v, e, 0), e.type == kDeclFloat1 ? 0.0f : real(v, e, 1)};
                }
                if (!std::isfinite(uv[0]) || !std::isfinite(uv[1]))
                    return Fail("non-finite texture coordinate in DeclData for vertex " + std::to_string(v));
            }
            mesh.hasTexcoords = true;
        } else if (e.usage == kUsageColor && e.type == kDeclColor) {
            if (mesh.hasColors)
                return Fail("a Mesh gives its vertex colours twice");
            mesh.colors.resize(vertices);
            for (std::size_t v = 0; v < vertices; ++v)
                mesh.colors[v] = word(v, e, 0);
            mesh.hasColors = true;
        }
    }
    return SkipChildren("DeclData", opened);
}

bool XFileMeshReader::ParseMaterialList(XFileRawMesh& mesh)
{
    const std::string opened = m_Tok.Where();
    if (mesh.materialListRead)
        return Fail("a second MeshMaterialList in one Mesh");
    mesh.materialListRead = true;
    if (!OpenObject("MeshMaterialList"))
        return false;
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

    auto tooMany = [&] {
        return Fail("MeshMaterialList gives more than the " + std::to_string(numMaterials) + " materials it announces");
    };
    for (;;) {
        switch (m_Tok.Next()) {
        case XToken::RBrace:
            if (mesh.materials.size() != numMaterials)
                return Fail("MeshMaterialList announces " + std::to_string(numMaterials) + " materials but gives " +
                            std::to_string(mesh.materials.size()));
            mesh.hasMaterialList = numMaterials > 0;
            return true;
        case XToken::Semicolon:
        case XToken::Comma: break;
        case XToken::Name: {
            if (m_Tok.Text() != "Material") {
                if (!SkipObject())
                    return false;
                break;
            }
            if (mesh.materials.size() == numMaterials)
                return tooMany();
            XFileMaterial material;
            std::string name;
            if (!ReadMaterial(&material, &name))
                return false;
            if (!name.empty())
                m_Named[name] = material;
            mesh.materials.push_back(std::move(material));
            break;
        }
        case XToken::LBrace: {
            if (mesh.materials.size() == numMaterials)
                return tooMany();
            // `{ Name }` or `{ Name <GUID> }`: a Material given earlier.
            if (m_Tok.Next() != XToken::Name)
                return Fail("expected a material name in a reference, found " + m_Tok.Describe());
            const std::string name(m_Tok.Text());
            XToken t = m_Tok.Next();
            if (t == XToken::Guid)
                t = m_Tok.Next();
            if (t != XToken::RBrace)
                return Fail("expected '}' to close the reference to " + XFileQuote(name) + ", found " +
                            m_Tok.Describe());
            const auto it = m_Named.find(name);
            if (it == m_Named.end())
                return Fail("reference to unknown material " + XFileQuote(name));
            mesh.materials.push_back(it->second);
            break;
        }
        case XToken::End:
        case XToken::Broken: return CutShort("the MeshMaterialList", opened);
        default: return Unexpected("in MeshMaterialList");
        }
    }
}

bool XFileMeshReader::ReadMaterial(XFileMaterial* out, std::string* name)
{
    const std::string opened = m_Tok.Where();
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
    return ReadChildren("the Material", opened, "in Material", [&](std::string_view type) {
        if (type != "TextureFilename" && type != "TextureFileName")
            return SkipObject();
        const std::string textureOpened = m_Tok.Where();
        if (!OpenObject("TextureFilename"))
            return false;
        XToken t;
        do
            t = m_Tok.Next();
        while (t == XToken::Semicolon || t == XToken::Comma);
        if (t != XToken::String)
            return Fail("expected a quoted file name in TextureFilename, found " + m_Tok.Describe());
        if (!haveTexture && !SetTextureName(m_Tok.Text(), &out->textureFilename))
            return false;
        haveTexture = true;
        return SkipChildren("TextureFilename", textureOpened);
    });
}

bool XFileMeshReader::SetTextureName(std::string_view text, std::string* out)
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
