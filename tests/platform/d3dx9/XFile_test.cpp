#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>
#include <filesystem>
#include <string>

#include "xfile.h"

namespace {

constexpr const char* kHeader = "xof 0303txt 0032\n";

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

void ExpectSameBits(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    EXPECT_EQ(Bits(a.x), Bits(b.x));
    EXPECT_EQ(Bits(a.y), Bits(b.y));
    EXPECT_EQ(Bits(a.z), Bits(b.z));
}

XFileMesh TrickyMesh()
{
    XFileMesh m;
    // Values whose shortest decimal form is long, tiny, signed zero,
    // subnormal, huge: all must come back bit for bit.
    m.positions = {{0.1f, -0.0f, 1e-7f}, {3.4028235e38f, 1e-45f, -2.5f}, {1.0f / 3.0f, 2.0f, 100000000.0f},
                   {-1.0f, 0.0f, 7.0f}};
    m.normals = {{0, 1, 0}, {0.6f, 0.8f, 0}, {0, 0, -1}, {0.57735026f, 0.57735026f, 0.57735026f}};
    m.texcoords = {{0.0f, 1.0f}, {0.25f, 0.125f}, {1.0f / 7.0f, 2.0f / 3.0f}, {-3.5f, 12.0f}};
    m.colors = {0xFF00FF00u, 0x00000000u, 0x80FF8001u, 0xFFFFFFFFu};
    m.faces = {{0, 1, 2}, {2, 1, 3}, {3, 0, 2}};
    m.faceMaterials = {1, 0, 1};
    XFileMaterial plain;
    plain.material.Diffuse = {0.2f, 0.4f, 0.6f, 0.8f};
    plain.material.Power = 12.5f;
    plain.material.Specular = {0.1f, 0.2f, 0.3f, 1.0f};
    plain.material.Emissive = {0.0f, 0.05f, 1.0f, 1.0f};
    XFileMaterial textured = plain;
    textured.material.Diffuse.a = 1.0f;
    textured.textureFilename = "Textures/wing #1 // not a comment.jpg";
    m.materials = {plain, textured};
    return m;
}

void ExpectSameMesh(const XFileMesh& a, const XFileMesh& b)
{
    ASSERT_EQ(a.positions.size(), b.positions.size());
    ASSERT_EQ(a.normals.size(), b.normals.size());
    ASSERT_EQ(a.texcoords.size(), b.texcoords.size());
    for (std::size_t i = 0; i < a.positions.size(); ++i) {
        ExpectSameBits(a.positions[i], b.positions[i]);
        if (!a.normals.empty())
            ExpectSameBits(a.normals[i], b.normals[i]);
        if (!a.texcoords.empty()) {
            EXPECT_EQ(Bits(a.texcoords[i][0]), Bits(b.texcoords[i][0]));
            EXPECT_EQ(Bits(a.texcoords[i][1]), Bits(b.texcoords[i][1]));
        }
    }
    EXPECT_EQ(a.colors, b.colors);
    EXPECT_EQ(a.faces, b.faces);
    EXPECT_EQ(a.faceMaterials, b.faceMaterials);
    ASSERT_EQ(a.materials.size(), b.materials.size());
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        const D3DMATERIAL9& x = a.materials[i].material;
        const D3DMATERIAL9& y = b.materials[i].material;
        EXPECT_EQ(0, std::memcmp(&x.Diffuse, &y.Diffuse, sizeof x.Diffuse)) << "material " << i;
        EXPECT_EQ(0, std::memcmp(&x.Specular, &y.Specular, sizeof x.Specular)) << "material " << i;
        EXPECT_EQ(0, std::memcmp(&x.Emissive, &y.Emissive, sizeof x.Emissive)) << "material " << i;
        EXPECT_EQ(Bits(x.Power), Bits(y.Power));
        EXPECT_EQ(a.materials[i].textureFilename, b.materials[i].textureFilename);
    }
}

// Parses text expecting failure; returns the message.
std::string ParseError(const std::string& text)
{
    XFileMesh mesh;
    std::string error;
    EXPECT_FALSE(ParseXFile(text, &mesh, &error)) << text.substr(0, 200);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    return error;
}

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("d3dx9_tests_") + name)).string();
}

}  // namespace

TEST(XFile, WrittenMeshReadsBackBitForBit)
{
    const XFileMesh original = TrickyMesh();
    const std::string path = TempPath("roundtrip.x");
    std::string error;
    ASSERT_TRUE(WriteXFile(path, original, &error)) << error;
    XFileMesh back;
    ASSERT_TRUE(ReadXFile(path, &back, &error)) << error;
    ExpectSameMesh(original, back);
    std::remove(path.c_str());

    // Without normals, texture coordinates or materials the file says so, and
    // a second pass through writer and reader changes nothing.
    XFileMesh bare;
    bare.positions = original.positions;
    bare.faces = original.faces;
    std::string text;
    ASSERT_TRUE(FormatXFile(bare, &text, &error)) << error;
    EXPECT_EQ(text.find("MeshNormals"), std::string::npos);
    EXPECT_EQ(text.find("MeshMaterialList"), std::string::npos);
    ASSERT_TRUE(ParseXFile(text, &back, &error)) << error;
    ExpectSameMesh(bare, back);
}

TEST(XFile, WriterRefusesWhatCouldNotBeReadBack)
{
    std::string text;
    std::string error;
    XFileMesh m = TrickyMesh();
    m.faces[1][2] = 4;  // one past the last vertex
    EXPECT_FALSE(FormatXFile(m, &text, &error));
    EXPECT_NE(error.find("vertex 4"), std::string::npos) << error;

    m = TrickyMesh();
    m.positions[0].y = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(FormatXFile(m, &text, &error));

    m = TrickyMesh();
    m.materials[1].textureFilename = "say \"cheese\".jpg";
    EXPECT_FALSE(FormatXFile(m, &text, &error));

    EXPECT_FALSE(WriteXFile("/nonexistent-folder/out.x", TrickyMesh(), &error));
    EXPECT_NE(error.find("/nonexistent-folder/out.x"), std::string::npos) << error;
}

TEST(XFile, ReadsWhatOtherWritersWrite)
{
    const std::string text = R"(xof 0302txt 0032
// a comment with { an open brace
# a comment with "an open quote
template Mesh {
 <3D82AB44-62DA-11cf-AB39-0020AF71E433>
 DWORD nVertices;
 array Vector vertices[nVertices];
 [...]
}

Material Shiny {
 1.0;0.5;0.25;1.0;;
 8.0;
 0.1;0.2;0.3;;
 0.0;0.0;0.0;;
 TextureFileName { "Tex\wing.jpg"; }
}

Header { 1; 0; 1; }

Unknown thing {
  "a string with } and { and // and # inside";
  Nested { { } Deeper { "}" } }
}

Mesh Fan {
 6;
 0.0;0.0;0.0;,
 1.0;0.0;0.0;,
 1.0;1.0;0.0;,
 0.0;1.0;0.0;,
 -1.0;0.5;0.0;,
 5.0;5.0;5.0;;
 3;
 5;0,1,2,3,4;,
 3;1,0,3;,
 3;2 3 4;;
 MeshNormals {
  2;
  0.0;0.0;1.0;,
  0.0;0.0;-1.0;;
  3;
  5;0,0,0,0,0;,
  3;1,1,0;,
  3;0,0,0;;
 }
 MeshTextureCoords {
  6;
  0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;, 0.5;0.5;, 9 9;;
 }
 VertexDuplicationIndices { 6; 6; 0,1,2,3,4,5;; }
 MeshMaterialList {
  2;
  2;
  0,
  1;;
  Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; }
  { Shiny }
 }
}
)";
    XFileMesh m;
    std::string error;
    ASSERT_TRUE(ParseXFile(text, &m, &error)) << error;

    // The pentagon is fanned from its first corner; the second face's
    // corners at vertices 1 and 0 carry the other normal, so those two
    // vertices are copied to the end, in the order met.
    const std::vector<std::array<std::uint32_t, 3>> faces = {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {6, 7, 3}, {2, 3, 4}};
    EXPECT_EQ(m.faces, faces);
    ASSERT_EQ(m.positions.size(), 8u);
    EXPECT_EQ(m.positions[4], D3DXVECTOR3(-1.0f, 0.5f, 0.0f));
    EXPECT_EQ(m.positions[6], m.positions[1]);
    EXPECT_EQ(m.positions[7], m.positions[0]);
    ASSERT_EQ(m.normals.size(), 8u);
    for (int v : {0, 1, 2, 3, 4})
        EXPECT_EQ(m.normals[v], D3DXVECTOR3(0, 0, 1)) << v;
    EXPECT_EQ(m.normals[5], D3DXVECTOR3(0, 0, 0));  // used by no face
    EXPECT_EQ(m.normals[6], D3DXVECTOR3(0, 0, -1));
    EXPECT_EQ(m.normals[7], D3DXVECTOR3(0, 0, -1));
    ASSERT_EQ(m.texcoords.size(), 8u);
    EXPECT_EQ(m.texcoords[5], (std::array<float, 2>{9, 9}));
    EXPECT_EQ(m.texcoords[6], m.texcoords[1]);
    EXPECT_EQ(m.texcoords[7], m.texcoords[0]);

    // Two material indices for three faces: the last one repeats, and the
    // pentagon's three triangles share its index.
    EXPECT_EQ(m.faceMaterials, (std::vector<std::uint32_t>{0, 0, 0, 1, 1}));
    ASSERT_EQ(m.materials.size(), 2u);
    EXPECT_EQ(m.materials[0].material.Diffuse.g, 1.0f);
    EXPECT_TRUE(m.materials[0].textureFilename.empty());
    const D3DMATERIAL9& shiny = m.materials[1].material;
    EXPECT_EQ(shiny.Diffuse.g, 0.5f);
    EXPECT_EQ(shiny.Power, 8.0f);
    EXPECT_EQ(shiny.Specular.b, 0.3f);
    EXPECT_EQ(m.materials[1].textureFilename, "Tex/wing.jpg");
}

TEST(XFile, VertexColoursDefaultToWhiteAndNameRealVertices)
{
    const std::string head = std::string(kHeader) + "Mesh {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n";
    XFileMesh mesh;
    std::string error;
    // Only vertex 2 is listed; channels outside 0..1 are clamped.
    ASSERT_TRUE(ParseXFile(head + "MeshVertexColors {\n1;\n2;1.0;0.5;0.0;2.0;;;\n}\n}\n", &mesh, &error)) << error;
    EXPECT_EQ(mesh.colors, (std::vector<DWORD>{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFF8000u}));
    EXPECT_NE(ParseError(head + "MeshVertexColors {\n1;\n3;1;1;1;1;;;\n}\n}\n").find("names vertex 3"),
              std::string::npos);
    EXPECT_NE(ParseError(head + "MeshVertexColors {\n4;\n0;1;1;1;1;;;\n}\n}\n").find("vertex colour count"),
              std::string::npos);
}

TEST(XFile, BadFilesFailWithTheLineNamed)
{
    auto expect = [](const std::string& text, const std::string& part, int line) {
        const std::string error = ParseError(text);
        EXPECT_NE(error.find(part), std::string::npos) << "got: " << error;
        EXPECT_NE(error.find("line " + std::to_string(line) + ":"), std::string::npos) << "got: " << error;
    };
    const std::string h = kHeader;
    const std::string tri = "Mesh {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n";

    expect("", "not a .x file", 1);
    expect("PK\x03\x04 garbage", "not a .x file", 1);
    expect("xof 0303", "cut short", 1);
    expect("xof 0303bin 0032\x01\x02", "binary", 1);
    expect("xof 0303tzip0032", "compressed", 1);
    expect("xof 0303bzip0032", "compressed", 1);
    expect("xof 0201txt 0032\n", "version", 1);
    expect(h, "no Mesh", 2);
    expect(h + "Frame {\n" + tri + "}\n}\n", "no Mesh", 12);

    // Counts: beyond the caps, beyond the input, beyond 32 bits.
    expect(h + "Mesh {\n 4000000000;\n", "exceeds the limit", 3);
    expect(h + "Mesh {\n 99999999999;\n", "too large", 3);
    expect(h + "Mesh {\n 100000;\n 0;0;0;;\n", "more than the rest", 3);
    expect(h + "Mesh {\n -3;\n", "whole number", 3);
    expect(h + "Mesh {\n 3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n 9999;\n 3;0,1,2;;\n}", "more than the rest", 7);

    // Truncated, bad numbers, bad indices.
    expect(h + "Mesh {\n 3;\n0;0;0;,\n1;0;0;", "expected a vertex position, found end of file", 5);
    expect(h + "Mesh {\n 1;\n 1.0.0;0;0;;\n", "bad number", 4);
    expect(h + "Mesh {\n 1;\n 1e999;0;0;;\n", "bad number", 4);
    expect(h + "Mesh {\n 1;\n nan;0;0;;\n", "expected a vertex position", 4);
    expect(h + "Mesh {\n 1;\n 0;0;0;;\n 1;\n 3;0,0,1;;\n}\n", "uses vertex 1 of 1", 6);
    expect(h + "Mesh {\n 2;\n 0;0;0;, 1;1;1;;\n 1;\n 2;0,1;;\n}\n", "at least 3", 6);
    expect(h + "Mesh {\n 1;\n 0;0;0;;\n 1;\n 3;0,0,0;;\n", "file ends inside the Mesh opened at line 2", 7);
    expect(h + "Mesh\n 1;\n", "expected '{'", 3);
    expect(h + "Mesh {\n 1;\n 0;0;0;;\n 1;\n 3;0,0,0;;\n @\n}", "unexpected '@' in Mesh", 7);

    // Children that do not fit the mesh.
    expect(h + tri + "MeshNormals {\n1;\n0;0;1;;\n2;\n3;0,0,0;,\n3;0,0,0;;\n}\n}", "2 faces, the Mesh 1", 12);
    expect(h + tri + "MeshNormals {\n1;\n0;0;1;;\n1;\n4;0,0,0,0;;\n}\n}", "4 corners", 13);
    expect(h + tri + "MeshNormals {\n1;\n0;0;1;;\n1;\n3;0,1,0;;\n}\n}", "uses normal 1 of 1", 13);
    expect(h + tri + "MeshTextureCoords {\n2;\n0;0;,\n1;1;;\n}\n}", "2 entries for 3 vertices", 10);
    expect(h + tri + "MeshMaterialList {\n1;\n1;\n1;;\n}\n}", "uses material 1 of 1", 12);
    expect(h + tri + "MeshMaterialList {\n1;\n2;\n0,0;;\n}\n}", "2 face materials for 1 faces", 11);
    expect(h + tri + "MeshMaterialList {\n2;\n1;\n0;;\n{ Nowhere }\n}\n}", "unknown material 'Nowhere'", 13);
    expect(h + tri + "MeshMaterialList {\n2;\n1;\n0;;\n}\n}", "announces 2 materials but gives 0", 13);
    expect(h + tri + "MeshMaterialList {\n1;\n1;\n0;;\nMaterial {1;1;1;1;;0;0;0;0;;0;0;0;;}\n"
                     "Material {1;1;1;1;;0;0;0;0;;0;0;0;;}\n}\n}",
           "more than the 1 materials", 14);
    expect(h + tri + "MeshMaterialList {\n1;\n1;\n0;;\nMaterial {1;1;1;1;;0;0;0;0;;0;0;0;;\n"
                     "TextureFilename { \"open\n}}}\n",
           "unterminated string", 14);
    expect(h + tri + "}\n" + tri + "}\n", "second Mesh", 10);
    expect(h + "Material M {1;1;1;1;;0;0;0;0;;0;0;0;;\nTextureFilename { \"" + std::string(1025, 'a') + "\"; }}\n",
           "longer than 1024", 3);

    // Deep nesting is skipped without recursion; unclosed, it is reported.
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "A{";
    expect(h + deep, "file ends inside A", 2);
    std::string closed = h + deep + std::string(200000, '}') + "\n" + tri + "}\n";
    XFileMesh m;
    std::string error;
    EXPECT_TRUE(ParseXFile(closed, &m, &error)) << error;
}

TEST(XFile, EveryTruncationOfAGoodFileFails)
{
    std::string text;
    std::string error;
    ASSERT_TRUE(FormatXFile(TrickyMesh(), &text, &error)) << error;
    // The last byte is the final newline; every shorter prefix lacks the
    // closing brace of the Mesh at least.
    for (std::size_t n = 0; n + 1 < text.size(); ++n) {
        XFileMesh m;
        ASSERT_FALSE(ParseXFile(std::string_view(text).substr(0, n), &m, &error)) << "prefix of " << n;
    }
}

TEST(XFile, ReadErrorsNameTheFile)
{
    XFileMesh m;
    std::string error;
    EXPECT_FALSE(ReadXFile(TempPath("missing.x"), &m, &error));
    EXPECT_NE(error.find("d3dx9_tests_missing.x"), std::string::npos) << error;

    const std::string path = TempPath("bad.x");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("xof 0303txt 0032\nMesh {\n 1;\n oops;\n", f);
    std::fclose(f);
    EXPECT_FALSE(ReadXFile(path, &m, &error));
    EXPECT_NE(error.find(path + ": line 4:"), std::string::npos) << error;
    std::remove(path.c_str());
}
