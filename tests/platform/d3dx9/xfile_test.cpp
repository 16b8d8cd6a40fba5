#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <regex>
#include <string>

#include "XFileTestFiles.h"
#include "xfile.h"

namespace {

constexpr const char* kHeader = "xof 0303txt 0032\n";
const std::string kTriangle = "Mesh {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n";

using Faces = std::vector<std::array<std::uint32_t, 3>>;

XFileMesh TrickyMesh()
{
    XFileMesh m;
    // Long, tiny, signed-zero, subnormal and huge values: all come back bit for bit.
    m.positions = {{0.1f, -0.0f, 1e-7f}, {3.4028235e38f, 1e-45f, -2.5f}, {1.0f / 3.0f, 2.0f, 1e8f}, {-1, 0, 7}};
    m.normals = {{0, 1, 0}, {0.6f, 0.8f, 0}, {0, 0, -1}, {0.57735026f, 0.57735026f, 0.57735026f}};
    m.texcoords = {{0.0f, 1.0f}, {0.25f, 0.125f}, {1.0f / 7.0f, 2.0f / 3.0f}, {-3.5f, 12.0f}};
    m.colors = {0xFF00FF00u, 0x00000000u, 0x80FF8001u, 0xFFFFFFFFu};
    m.faces = {{0, 1, 2}, {2, 1, 3}, {3, 0, 2}};
    m.faceMaterials = {1, 0, 1};
    m.materials.resize(2);
    m.materials[0].material = {{0.2f, 0.4f, 0.6f, 0.8f}, {}, {0.1f, 0.2f, 0.3f, 1}, {0, 0.05f, 1, 1}, 12.5f};
    m.materials[1] = {m.materials[0].material, "Textures/wing #1 // not a comment.jpg"};
    m.materials[1].material.Diffuse.a = 1.0f;
    return m;
}

void ExpectSameMesh(const XFileMesh& a, const XFileMesh& b)
{
    auto same = [](const auto& x, const auto& y) {
        return x.size() == y.size() && (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof x[0]) == 0);
    };
    EXPECT_TRUE(same(a.positions, b.positions) && same(a.normals, b.normals) && same(a.texcoords, b.texcoords));
    EXPECT_TRUE(a.colors == b.colors && a.faces == b.faces && a.faceMaterials == b.faceMaterials);
    ASSERT_EQ(a.materials.size(), b.materials.size());
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        D3DMATERIAL9 x = a.materials[i].material, y = b.materials[i].material;
        x.Ambient = y.Ambient = {};  // not part of the file
        EXPECT_TRUE(std::memcmp(&x, &y, sizeof x) == 0 &&
                    a.materials[i].textureFilename == b.materials[i].textureFilename)
            << "material " << i;
    }
}

XFileMesh Parse(std::string_view file)
{
    XFileMesh mesh;
    std::string error;
    EXPECT_TRUE(ParseXFile(file, &mesh, &error)) << error;
    return mesh;
}

// Parses expecting failure; returns the one-line message.
std::string ParseError(std::string_view file)
{
    XFileMesh mesh;
    std::string error;
    EXPECT_FALSE(ParseXFile(file, &mesh, &error)) << file.substr(0, 200);
    EXPECT_TRUE(!error.empty() && error.find('\n') == std::string::npos) << error;
    return error;
}

void ExpectNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want, std::size_t i)
{
    const D3DXVECTOR3 d = got - want;
    EXPECT_LT(D3DXVec3Length(&d), 1e-5f) << i << ": " << got.x << " " << got.y << " " << got.z;
}

}  // namespace

TEST(XFile, WrittenMeshReadsBackBitForBitAndWhatCannotIsRefused)
{
    const XFileMesh original = TrickyMesh();
    const TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteXFile(dir / "roundtrip.x", original, &error)) << error;
    XFileMesh back;
    ASSERT_TRUE(ReadXFile(dir / "roundtrip.x", &back, &error)) << error;
    ExpectSameMesh(original, back);

    std::string text;
    XFileMesh badIndex = original, nan = original;
    badIndex.faces[1][2] = 4;  // one past the last vertex
    nan.positions[0].y = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(FormatXFile(badIndex, &text, &error));
    EXPECT_NE(error.find("vertex 4"), std::string::npos) << error;
    EXPECT_FALSE(FormatXFile(nan, &text, &error));
    EXPECT_FALSE(WriteXFile("/nonexistent-folder/out.x", original, &error));

    // Refused at once, without waiting or reading: a FIFO with no writer, a link
    // to an endless device, a folder, a (sparse) file over the cap.
    ASSERT_EQ(mkfifo((dir / "fifo.x").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.x");
    std::filesystem::create_directory(dir / "folder.x");
    WriteFile(dir / "huge.x", kHeader);
    std::filesystem::resize_file(dir / "huge.x", kXFileMaxBytes + 1);
    const char* names[] = {"missing.x", "fifo.x", "zero.x", "folder.x", "huge.x"};
    const char* reasons[] = {"cannot open: No such file", "not a regular file", "not a regular file",
                             "a folder, not a file", "larger than the 64 MB"};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(ReadXFile(dir / names[i], &back, &error)) << names[i];
        EXPECT_NE(error.find(reasons[i]), std::string::npos) << error;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// Comments, templates, unknown objects, polygons, materials by reference,
// normals indexed per corner: what other writers put in a file.
TEST(XFile, ReadsWhatOtherWritersWrite)
{
    const std::string text = R"(xof 0302txt 0032
// a comment with { an open brace
# a comment with "an open quote
template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; array Vector vertices[nVertices]; [...] }
Material Shiny { 1.0;0.5;0.25;1.0;; 8.0; 0.1;0.2;0.3;; 0.0;0.0;0.0;; TextureFileName { "Tex\wing.jpg"; } }
Header { 1; 0; 1; }
Unknown thing { "a string with } and { and // and # inside"; Nested { { } Deeper { "}" } } }
Mesh Fan {
 6; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;, -1.0;0.5;0.0;, 5.0;5.0;5.0;;
 3; 5;0,1,2,3,4;, 3;1,0,3;, 3;2 3 4;;
 MeshNormals { 2; 0.0;0.0;1.0;, 0.0;0.0;-1.0;; 3; 5;0,0,0,0,0;, 3;1,1,0;, 3;0,0,0;; }
 MeshTextureCoords { 6; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;, 0.5;0.5;, 9 9;; }
 VertexDuplicationIndices { 6; 6; 0,1,2,3,4,5;; }
 MeshVertexColors { 1; 4;1.0;0.5;0.0;2.0;;; }
 MeshMaterialList { 2; 2; 0, 1;; Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; } { Shiny } }
}
)";
    const XFileMesh m = Parse(text);
    // The pentagon is fanned from its first corner; vertices 1 and 0 carry the
    // other normal in the second face, so are copied to the end in that order.
    EXPECT_EQ(m.faces, (Faces{{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {6, 7, 3}, {2, 3, 4}}));
    EXPECT_TRUE(m.positions[6] == D3DXVECTOR3(1, 0, 0) && m.positions.back() == D3DXVECTOR3(0, 0, 0));
    const D3DXVECTOR3 front(0, 0, 1), back(0, 0, -1), none(0, 0, 0);  // vertex 5 is used by no face
    EXPECT_EQ(m.normals, (std::vector<D3DXVECTOR3>{front, front, front, front, front, none, back, back}));
    EXPECT_EQ(m.texcoords[6], (std::array<float, 2>{1, 0}));
    // Unlisted vertices are white; channels outside 0..1 are clamped.
    EXPECT_EQ(m.colors, (std::vector<DWORD>{~0u, ~0u, ~0u, ~0u, 0xFFFF8000u, ~0u, ~0u, ~0u}));

    // Two material indices for three faces: the last repeats; the pentagon's triangles share one.
    EXPECT_EQ(m.faceMaterials, (std::vector<std::uint32_t>{0, 0, 0, 1, 1}));
    ASSERT_EQ(m.materials.size(), 2u);
    EXPECT_TRUE(m.materials[1].material.Specular.b == 0.3f && m.materials[1].textureFilename == "Tex/wing.jpg");
}

TEST(XFile, BadFilesFailWithTheLineNamed)
{
    auto expect = [](const std::string& text, const std::string& part, int line) {
        const std::string error = ParseError(text);
        EXPECT_NE(error.find(part), std::string::npos) << error;
        EXPECT_TRUE(line > 0 ? error.rfind("line " + std::to_string(line) + ": ", 0) == 0
                             : error.find("line ") == std::string::npos)
            << error;
    };
    const std::string h = kHeader;
    const std::string& tri = kTriangle;
    const std::string two = "Mesh {\n2;\n0;0;0;,\n1;0;0;;\n1;\n3;0,1,1;;\n";

    expect("", "not a .x file", 1);
    expect(h + "Frame {\n" + "Header { 1; 0; 1; }\n}\n", "no Mesh", 5);
    expect(h + "Mesh {\n 4000000000;\n", "exceeds the limit", 3);
    expect(h + "Mesh {\n 100000;\n 0;0;0;;\n", "more than the rest", 3);
    expect(h + "Mesh {\n 1;\n 1e999;0;0;;\n", "number '1e999' for a vertex position is too large", 4);
    expect(h + tri + "MeshNormals {\n1;\n0;1.#QNAN0;1;;\n", "non-finite number '1.#QNAN0'", 11);
    expect(h + "Frame {\n FrameTransformMatrix {\n 1,0,0,0,0,1,0,0,0,0,1,0,1e40,0,0,1;;\n", "'1e40'", 4);
    expect(h + "Mesh {\n 1;\n 0;0;0;;\n 1;\n 3;0,0,1;;\n}\n", "uses vertex 1 of 1", 6);
    expect(h + "Mesh {\n 1;\n 0;0;0;;\n 1;\n 3;0,0,0;;\n", "file ends inside the Mesh opened at line 2", 7);
    expect(h + tri + "MeshTextureCoords {\n2;\n0;0;,\n1;1;;\n}\n}", "2 entries for 3 vertices", 10);
    expect(h + tri + "MeshMaterialList {\n2;\n1;\n0;;\n{ Nowhere }\n}\n}", "unknown material 'Nowhere'", 13);
    expect(h + tri + "MeshNormals {\n1;\n0;0;1;;\n1;\n3;0,0,0;;\n}\nMeshNormals {", "normals twice", 15);
    expect(h + two + "DeclData { 1; 2;0;3;0;; 6; 0,0,0,2143289344,0,0; }\n}\n", "non-finite normal", 8);
    // Frames nest as deep as skeletons do, not without end.
    auto repeat = [](const char* s, int n) {
        std::string out;
        while (n-- > 0)
            out += s;
        return out;
    };
    expect(h + repeat("Frame {\n", 300), "Frames nested deeper than 256", 258);
    // Transforms finite alone but not together, or carrying a vertex out of range.
    const std::string big = "FrameTransformMatrix {1e30,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;}\n";
    expect(h + "Frame {\n" + big + "Frame {\n" + big + tri + "}\n}\n}\n", "non-finite matrix", 4);
    expect(h + "Frame {\n" + big + "Mesh {\n1;\n1e10;0;0;;\n1;\n3;0,0,0;;\n}\n}\n", "beyond the range of a float", -1);

    // Names and tokens are quoted escaped.
    expect(h + "Gr\xc3\xbc\x7f", "to open 'Gr\\xC3\\xBC', found '\\x7F'", 2);

    // Deep nesting is skipped without recursion; unclosed, it is reported.
    const std::string deep = repeat("A{", 200000);
    expect(h + deep, "file ends inside 'A' opened at line 2", 2);
    Parse(h + deep + std::string(200000, '}') + "\n" + tri + "}\n");

    // Every prefix of a good file lacks at least the Mesh's closing brace.
    std::string text;
    std::string error;
    ASSERT_TRUE(FormatXFile(TrickyMesh(), &text, &error)) << error;
    for (std::size_t n = 0; n + 1 < text.size(); ++n) {
        XFileMesh m;
        ASSERT_FALSE(ParseXFile(std::string_view(text).substr(0, n), &m, &error)) << "prefix of " << n;
    }
}

// Meshes in a two-level frame hierarchy land where their frames put them, normals
// turned (and renormalised) with them, materials and subsets in file order.
TEST(XFile, FramesCollapseIntoOneMeshWithTheirTransforms)
{
    const std::string text = std::string(kHeader) + R"(
Material Red { 1;0;0;1;; 5; 1;1;1;; 0;0;0;; }
Frame Root {
 FrameTransformMatrix { 0,1,0,0, -1,0,0,0, 0,0,1,0, 10,0,0,1;; }  // a quarter turn about z, then 10 along x
 Frame Wing {
  FrameTransformMatrix { 2,0,0,0, 0,1,0,0, 0,0,1,0, 0,5,0,1;; }
  Mesh WingMesh { 3; 1;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;;
   MeshNormals { 1; 1;1;0;; 1; 3;0,0,0;; } MeshMaterialList { 1; 1; 0;; { Red } } }
 }
 Mesh Body { 3; 0;0;0;, 1;0;0;, 0;0;1;; 2; 3;0,1,2;, 3;2,1,0;;
  MeshNormals { 2; 1;0;0;, 0;0;1;; 2; 3;0,0,0;, 3;1,1,1;; } }
}
Mesh Loose { 3; 7;7;7;, 8;7;7;, 7;8;7;; 1; 3;0,1,2;;
 MeshMaterialList { 2; 1; 1;; { Red } Material Blue { 0;0;1;1;; 0; 0;0;0;; 0;0;0;; } } }
)";
    // Wing: scaled by 2 along x and raised 5 (inner frame first), then turned and
    // moved by the outer frame. The body's second face's vertices were copied.
    const XFileMesh m = Parse(text);
    ASSERT_EQ(m.positions.size(), 3u + 6u + 3u);
    const D3DXVECTOR3 want[] = {{5, 2, 0},  {4, 0, 0},  {5, 0, 1},  {10, 0, 0}, {10, 1, 0}, {10, 0, 1},
                                {10, 0, 1}, {10, 1, 0}, {10, 0, 0}, {7, 7, 7},  {8, 7, 7},  {7, 8, 7}};
    for (std::size_t i = 0; i < 12; ++i)
        ExpectNear(m.positions[i], want[i], i);
    // The wing's normal (1,1,0) under scale 2 along x is (0.5,1,0), turned
    // (-1,0.5,0), normalised; the loose mesh has none and gets zero normals.
    const float k = 1.0f / std::sqrt(1.25f);
    ExpectNear(m.normals[0], {-k, 0.5f * k, 0}, 0);
    ExpectNear(m.normals[3], {0, 1, 0}, 3);
    ExpectNear(m.normals[6], {0, 0, 1}, 6);
    EXPECT_EQ(m.normals[9], D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(m.faces, (Faces{{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, 10, 11}}));
    // The wing's Red, a plain one for the body's missing list, the loose mesh's Red and Blue.
    EXPECT_TRUE(m.materials.size() == 4 && m.materials[3].material.Diffuse.b == 1.0f);
    EXPECT_EQ(m.faceMaterials, (std::vector<std::uint32_t>{0, 1, 1, 3}));

    // A mirroring frame turns normals the right way round.
    const XFileMesh mirrored = Parse(std::string(kHeader) +
                                     "Frame { FrameTransformMatrix {1,0,0,0,0,1,0,0,0,0,-1,0,0,0,0,1;;}\n"
                                     "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
                                     "MeshNormals { 1; 0;0;3;; 1; 3;0,0,0;; } } }");
    ExpectNear(mirrored.normals[0], {0, 0, -1}, 0);
}

// What exporters write around a mesh (skinning, animation, declared vertex data,
// long exponents), and the same mesh in every encoding, load alike bit for bit.
TEST(XFile, ExportersFilesLoadAlikeInEveryEncoding)
{
    std::string text = R"(xof 0303txt 0064
template XSkinMeshHeader { <3CF169CE-FF7C-44ab-93C0-F78F62D172E2> WORD nMaxSkinWeightsPerVertex; WORD nBones; }
AnimTicksPerSecond { 4800; }
Frame Scene_Root {
 FrameTransformMatrix { 1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,
  0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;; }
 Frame Bone01 { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; } }
 Frame Body { Mesh {
   4; 0.000000e+000;0.000000e+000;0.000000e+000;, 1.000000e+000;0.000000e+000;1e-50;,
   1.000000e+000;1.000000e+000;0.0000000000000000000000000000000000000000000000000001;,
   0.000000e+000;1.000000e+000;-1.5e-60;;
   1;
   4;0,1,2,3;;
   VertexDuplicationIndices { 4; 4; 0,1,2,3;; } XSkinMeshHeader { 1; 3; 1; }
   SkinWeights { "Bone01"; 4; 0,1,2,3; 1.000000,1.000000,1.000000,1.000000; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }
   DeclData { 3; 2;0;3;0;, 1;0;5;0;, 4;0;10;0;; 24;
    0,0,1065353216, 0,1056964608, 4278190335, 0,0,1065353216, 1065353216,1056964608, 4278255360,
    0,0,1065353216, 1065353216,0, 4294901760, 0,0,1065353216, 0,0, 4294967295; }
   MeshMaterialList { 1; 1; 0;; Material { 0.8;0.8;0.8;1.0;; 9.0; 0;0;0;; 0;0;0;;
    EffectInstance { "skin.fx"; EffectParamDWord { "x"; 1; } } TextureFilename { "Maps\skin.png"; } } }
 } }
}
AnimationSet Walk {
 Animation { { Bone01 } AnimationKey { 4; 2; 0;16;1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;, 4800;16;1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;; } }
}
)";
    const XFileMesh m = Parse(text);
    // Tiny numbers read as (signed) zero.
    EXPECT_TRUE(m.positions == (std::vector<D3DXVECTOR3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, -0.0f}}) &&
                std::signbit(m.positions[3].z));
    EXPECT_EQ(m.faces, (Faces{{0, 1, 2}, {0, 2, 3}}));
    EXPECT_EQ(m.normals, std::vector<D3DXVECTOR3>(4, D3DXVECTOR3(0, 0, 1)));
    EXPECT_EQ(m.texcoords, (std::vector<std::array<float, 2>>{{0, 0.5f}, {1, 0.5f}, {1, 0}, {0, 0}}));
    EXPECT_EQ(m.colors, (std::vector<DWORD>{0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu}));
    EXPECT_TRUE(m.materials.size() == 1 && m.materials[0].textureFilename == "Maps/skin.png");

    // Binary as exporters write it: a count alone, then one list of many; a
    // colour's index and channels in lists of their own, vertex 3 unlisted.
    auto binary = [](bool doubles) {
        XBinaryWriter w(doubles);
        w.Name("Mesh").Open().Integers({4}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, -0.0});
        w.Integers({1, 4, 0, 1, 2, 3}).Name("MeshNormals").Open().Integers({1}).Floats({0, 0, 1});
        w.Integers({1, 4, 0, 0, 0, 0}).Close().Name("MeshTextureCoords").Open().Integers({4});
        w.Floats({0, 0.5, 1, 0.5, 1, 0, 0, 0}).Close().Name("MeshVertexColors").Open().Integers({3, 0});
        w.Floats({0, 0, 1, 1}).Integers({1}).Floats({0, 1, 0, 1}).Integers({2}).Floats({1, 0, 0, 1}).Close();
        w.Name("MeshMaterialList").Open().Integers({1, 1, 0}).Name("Material").Open();
        w.Floats({0.8, 0.8, 0.8, 1, 9, 0, 0, 0, 0, 0, 0}).Name("TextureFilename").Open().String("Maps\\skin.png");
        return w.Close().Close().Close().Close().Bytes();
    };
    std::string crlf = std::regex_replace(text, std::regex("\n"), "\r\n");
    const std::pair<const char*, std::string> encodings[] = {{"text, Windows line ends", crlf},
                                                             {"binary", binary(false)},
                                                             {"binary, 64-bit floats", binary(true)},
                                                             {"text compressed", PackXFile(text, 300)},
                                                             {"binary compressed", PackXFile(binary(true), 20)}};
    for (const auto& [what, file] : encodings) {
        SCOPED_TRACE(what);
        ExpectSameMesh(m, Parse(file));
    }
    // A line error in the CRLF file counts lines as the text shows them.
    const std::string broken = crlf.replace(crlf.find("4;0,1,2,3;;"), 11, "4;0,1,2,9;;");
    EXPECT_EQ(ParseError(broken).rfind("line 13: face 0 uses vertex 9 of 4", 0), 0u) << ParseError(broken);
}

// A large mesh compressed in full blocks, and in small ones referring back into
// each other, loads bit for bit; damaged files are refused with a reason.
TEST(XFile, CompressedFilesLoadLikeTheirTextFormAndDamagedOnesAreRefused)
{
    XFileMesh original = TrickyMesh();
    // Enough vertices that compressed blocks of 32 KB are several.
    for (int i = 0; i < 3000; ++i) {
        original.positions.push_back({float(i) * 0.37f, -float(i) / 7.0f, 1.0f / float(i + 1)});
        original.normals.push_back({0, 1, 0});
        original.texcoords.push_back({float(i % 17) / 16.0f, 0.5f});
        original.colors.push_back(0xFF000000u | static_cast<DWORD>(i * 2654435761u >> 8));
        original.faces.push_back({static_cast<std::uint32_t>(i + 4), 0, 1});
        original.faceMaterials.push_back(static_cast<std::uint32_t>(i % 2));
    }
    std::string text;
    std::string error;
    ASSERT_TRUE(FormatXFile(original, &text, &error)) << error;
    ASSERT_GT(text.size(), 100000u);
    ExpectSameMesh(original, Parse(PackXFile(text)));
    ExpectSameMesh(original, Parse(PackXFile(text, 1000)));

    // Errors in a binary file name the byte; packed, they read the same.
    XBinaryWriter nan;
    nan.Name("Mesh").Open().Integers({1}).Floats({0.0, std::nan(""), 0.0}).Integers({1, 3, 0, 0, 0}).Close();
    EXPECT_NE(ParseError(nan.Bytes()).find("non-finite number NaN"), std::string::npos);
    const std::string cut = nan.Bytes().substr(0, nan.Bytes().size() / 2), cutError = ParseError(cut);
    EXPECT_EQ(cutError.rfind("byte ", 0), 0u) << cutError;
    EXPECT_EQ(ParseError(PackXFile(cut)), cutError);

    // Damaged compressed files are refused with a reason, never read wrong.
    const std::string packed = PackXFile(text);
    std::string badSignature = packed, badData = packed, bomb = packed;
    badSignature[24] = 'X';
    EXPECT_NE(ParseError(badSignature).find("no \"CK\" signature"), std::string::npos);
    for (std::size_t i = 40; i < 60; ++i)
        badData[i] = static_cast<char>(~badData[i]);
    EXPECT_NE(ParseError(badData).find("compressed block 0"), std::string::npos) << ParseError(badData);
    bomb.replace(16, 4, "\xff\xff\xff\x7f");
    EXPECT_NE(ParseError(bomb).find("more than the 64 MB"), std::string::npos) << ParseError(bomb);
}
