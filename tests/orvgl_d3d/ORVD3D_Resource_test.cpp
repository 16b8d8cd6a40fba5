#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>

#include "D3DTestSupport.h"
#include "QuotedText.h"
#include "Utf8.h"

namespace {

using ResourceTableTest = HeadlessContextTest;

UINT TextureWidth(const wchar_t* name)
{
    ORVD3D_TextureResource* resource = HeadlessContextTest::System().GetTextureResource(name, true);
    return resource != nullptr ? WidthOf(resource->GetD3DTexture()) : 0;
}

std::string WriteJunk(const std::string& path, const char* text = "xof 0303txt 0032\nMesh { 9;")
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fputs(text, file);
    std::fclose(file);
    return path;
}

// A square whose corners lie so far apart that its size overflows.
XFileMesh HugeSquare()
{
    XFileMesh mesh = MakeSquareMesh({""});
    mesh.positions[0] = {-3.4e38f, -3.4e38f, 0.0f};
    mesh.positions[2] = {3.4e38f, 3.4e38f, 0.0f};
    return mesh;
}

}  // namespace

TEST_F(ResourceTableTest, NamesAreKeptSortedFoundAgainAndLoadedOnce)
{
    // wcscmp puts upper case and "Textures/..." before lower case.
    const wchar_t* names[] = {L"t5.png", L"a.png", L"t1.png", L"Textures/z.png", L"B.png", L"t3.png", L"t0.png"};
    std::vector<ORVD3D_TextureResource*> loaded;
    for (const wchar_t* name : names) {
        WriteTestImage("Textures/" + std::filesystem::path(name).filename().string(), 1, 1);
        loaded.push_back(System().GetTextureResource(name, true));
    }
    const auto& table = System().GetTextureTable();
    ASSERT_EQ(table.Count(), 7);
    for (int i = 1; i < table.Count(); ++i)
        EXPECT_LT(std::wcscmp(table[i - 1]->GetFileName(), table[i]->GetFileName()), 0) << i;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        EXPECT_NE(loaded[i], nullptr);
        EXPECT_EQ(System().GetTextureResource(names[i], false), loaded[i]);
        EXPECT_EQ(System().GetTextureResource(names[i], true), loaded[i]);
    }
    EXPECT_EQ(m_Counters->texturesCreated, 7);
    for (const wchar_t* absent : {L"0.png", L"t4.png", L"zz.png"})
        EXPECT_EQ(System().GetTextureResource(absent, false), nullptr);
    EXPECT_TRUE(m_Status->texts.empty());
}

TEST_F(ResourceTableTest, EveryBadFileIsReportedOnEachRequestButToldAndReadOnce)
{
    std::filesystem::create_directories("MeshFiles");
    WriteJunk("MeshFiles/bad.x");
    std::filesystem::create_symlink("/dev/zero", "MeshFiles/zero.x");
    ASSERT_EQ(mkfifo("MeshFiles/pipe.x", 0600), 0);  // opening it would wait for a writer
    // Sparse: the size is checked before a byte is read or written.
    std::filesystem::resize_file(WriteJunk("MeshFiles/big.x", "xof 0303txt 0032\n"), (64u << 20) + 1);
    WriteTestMesh("MeshFiles/huge.x", HugeSquare());
    // A name quoted in a message: cut to 80 characters, control characters
    // spelt out, so the message stays one short line.
    const std::wstring longName = L"a\nb\x1b[31m" + std::wstring(1 << 20, L'x');
    const std::wstring longQuoted = L"a\\x0Ab\\x1B[31m" + std::wstring(72, L'x') + L"...";
    const struct
    {
        bool mesh;
        std::wstring name;
        std::string problem;  // the start of the one line told
    } cases[] = {
        {false, L"nope.png", "nope.png: not found (looked in the working folder, Textures and MeshFiles)"},
        {true, L"bad.x", "MeshFiles/bad.x: line "},
        {true, L"zero.x", "MeshFiles/zero.x: not a regular file"},
        {true, L"pipe.x", "MeshFiles/pipe.x: not a regular file"},
        {true, L"big.x", "MeshFiles/big.x: larger than 64 MB (67108865 bytes)"},
        {true, L"huge.x", "MeshFiles/huge.x: the mesh's size is not a finite number"},
        {false, longName, WideToUtf8(longQuoted) + ": not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(QuoteText(c.name, 20)));
        const std::size_t told = m_Problems.size();
        for (int request = 0; request < 3; ++request) {
            m_Status->texts.clear();
            const void* got = c.mesh ? static_cast<void*>(System().GetMeshResource(c.name.c_str()))
                                     : static_cast<void*>(System().GetTextureResource(c.name.c_str(), true));
            EXPECT_EQ(got, nullptr);
            EXPECT_EQ(m_Status->texts,
                      std::vector<std::wstring>{L"**ERROR** [" + (c.name == longName ? longQuoted : c.name) +
                                                (c.mesh ? L"]: open for loading failed!" : L"]: file not found!")});
        }
        ASSERT_EQ(m_Problems.size(), told + 1);
        const std::string& line = m_Problems.back();
        EXPECT_EQ(line.rfind(c.problem, 0), 0u) << line;
        EXPECT_LT(line.size(), 500u);
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
    // Quiet misses: an empty name, or a lookup that may not load.
    m_Status->texts.clear();
    EXPECT_EQ(System().GetTextureResource(L"", true), nullptr);
    EXPECT_EQ(System().GetTextureResource(nullptr, true), nullptr);
    EXPECT_EQ(System().GetTextureResource(L"nope.png", false), nullptr);
    EXPECT_TRUE(m_Status->texts.empty());
    EXPECT_EQ(System().GetTextureTable().Count(), 0);
    EXPECT_EQ(System().GetMeshTable().Count(), 0);
}

TEST_F(ResourceTableTest, AFailedLoadIsRememberedUntilItsFileChanges)
{
    std::filesystem::create_directories("MeshFiles");
    WriteJunk("MeshFiles/bad.x");
    EXPECT_EQ(System().GetMeshResource(L"bad.x"), nullptr);
    EXPECT_EQ(System().GetTextureResource(L"later.png", true), nullptr);
    EXPECT_EQ(m_Problems.size(), 2u);
    // Mended in place, or written where the search looks first: taken up
    // at the next request, and told nothing more.
    WriteTestMesh("MeshFiles/bad.x", MakeSquareMesh({""}));
    EXPECT_NE(System().GetMeshResource(L"bad.x"), nullptr);
    WriteTestImage("later.png", 3, 3);
    EXPECT_EQ(TextureWidth(L"later.png"), 3u);
    WriteJunk("MeshFiles/moved.x");
    EXPECT_EQ(System().GetMeshResource(L"moved.x"), nullptr);
    WriteTestMesh("Textures/moved.x", MakeSquareMesh({""}));
    EXPECT_NE(System().GetMeshResource(L"moved.x"), nullptr);
    EXPECT_EQ(m_Problems.size(), 3u);
    // A file that breaks again is told again: it is another file now.
    WriteJunk("MeshFiles/twice.x");
    EXPECT_EQ(System().GetMeshResource(L"twice.x"), nullptr);
    WriteTestMesh("MeshFiles/twice.x", HugeSquare());
    EXPECT_EQ(System().GetMeshResource(L"twice.x"), nullptr);
    ASSERT_EQ(m_Problems.size(), 5u);
    EXPECT_NE(m_Problems[4].find("not a finite number"), std::string::npos);
    // Between two looks at the disk nothing is touched: a change is seen
    // only once the interval has passed, or the file is known to be new.
    System().SetFailureRecheckIntervalEXT(std::chrono::hours(1));
    WriteJunk("MeshFiles/slow.x");
    EXPECT_EQ(System().GetMeshResource(L"slow.x"), nullptr);
    WriteTestMesh("MeshFiles/slow.x", MakeSquareMesh({""}));
    EXPECT_EQ(System().GetMeshResource(L"slow.x"), nullptr);
    System().ForgetFailedLoad(L"slow.x");
    EXPECT_NE(System().GetMeshResource(L"slow.x"), nullptr);
    EXPECT_EQ(m_Problems.size(), 6u);
}

TEST_F(ResourceTableTest, SearchTakesTheFirstCandidateThatOpens)
{
    WriteTestImage("Textures/t.png", 2, 2);
    WriteTestImage("MeshFiles/t.png", 4, 4);
    WriteTestImage("u.png", 3, 3);
    WriteTestImage("Textures/u.png", 2, 2);
    WriteTestMesh("Textures/m.x", MakeSquareMesh({""}));
    std::filesystem::create_directory("v.png");  // a folder is not a file
    WriteTestImage("MeshFiles/v.png", 6, 6);
    EXPECT_EQ(TextureWidth(L"t.png"), 2u);
    EXPECT_EQ(TextureWidth(L"u.png"), 3u);
    EXPECT_EQ(TextureWidth(L"v.png"), 6u);
    EXPECT_NE(System().GetMeshResource(L"m.x"), nullptr);  // meshes share the folders
}
