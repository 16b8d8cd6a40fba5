#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>

#include "D3DTestSupport.h"
#include "QuotedText.h"
#include "Utf8.h"

namespace {

using ResourceTableTest = HeadlessContextTest;

UINT WidthOf(ORVD3D_TextureResource* resource)
{
    D3DSURFACE_DESC desc{};
    if (resource == nullptr || FAILED(resource->GetD3DTexture()->GetLevelDesc(0, &desc)))
        return 0;
    return desc.Width;
}

void WriteJunk(const char* path)
{
    std::FILE* file = std::fopen(path, "w");
    std::fputs("xof 0303txt 0032\nMesh { 9;", file);
    std::fclose(file);
}

std::string WriteFile(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fputs(text.c_str(), file);
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
    const std::vector<std::wstring> names = {L"t5.png", L"a.png",  L"t1.png", L"Textures/z.png",
                                             L"B.png",  L"t3.png", L"t0.png"};
    std::vector<ORVD3D_TextureResource*> loaded;
    for (const std::wstring& name : names) {
        WriteTestImage("Textures/" + std::filesystem::path(name).filename().string(), 1, 1);
        loaded.push_back(System().GetTextureResource(name.c_str(), true));
        ASSERT_NE(loaded.back(), nullptr);
    }
    std::vector<std::wstring> sorted = names;
    std::sort(sorted.begin(), sorted.end(),
              [](const std::wstring& a, const std::wstring& b) { return std::wcscmp(a.c_str(), b.c_str()) < 0; });
    const auto& table = System().GetTextureTable();
    ASSERT_EQ(table.Count(), static_cast<int>(names.size()));
    for (int i = 0; i < table.Count(); ++i)
        EXPECT_EQ(table[i]->GetFileName(), sorted[static_cast<std::size_t>(i)]);

    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(System().GetTextureResource(names[i].c_str(), false), loaded[i]);
        EXPECT_EQ(System().GetTextureResource(names[i].c_str(), true), loaded[i]);
    }
    EXPECT_EQ(m_Counters->texturesCreated, static_cast<int>(names.size()));
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
    std::filesystem::resize_file(WriteFile("MeshFiles/big.x", "xof 0303txt 0032\n"), (64u << 20) + 1);
    WriteTestMesh("MeshFiles/huge.x", HugeSquare());
    // A name quoted in a message: cut to 80 characters, control characters
    // spelt out, so the message stays one short line.
    const std::wstring longName = L"a\nb\x1b[31m" + std::wstring(1 << 20, L'x');
    const std::wstring longQuoted = L"a\\x0Ab\\x1B[31m" + std::wstring(72, L'x') + L"...";

    struct Case
    {
        bool mesh;
        std::wstring name;
        std::wstring status;  // what slot 0 gets on every request
        std::string problem;  // the start of the one line told
    };
    const Case cases[] = {
        {false, L"nope.png", L"**ERROR** [nope.png]: file not found!",
         "nope.png: not found (looked in the working folder, Textures and MeshFiles)"},
        {true, L"bad.x", L"**ERROR** [bad.x]: open for loading failed!", "MeshFiles/bad.x: line "},
        {true, L"zero.x", L"**ERROR** [zero.x]: open for loading failed!", "MeshFiles/zero.x: not a regular file"},
        {true, L"pipe.x", L"**ERROR** [pipe.x]: open for loading failed!", "MeshFiles/pipe.x: not a regular file"},
        {true, L"big.x", L"**ERROR** [big.x]: open for loading failed!",
         "MeshFiles/big.x: larger than 64 MB (67108865 bytes)"},
        {true, L"huge.x", L"**ERROR** [huge.x]: open for loading failed!",
         "MeshFiles/huge.x: the mesh's size is not a finite number"},
        {true, longName, L"**ERROR** [" + longQuoted + L"]: file not found!", WideToUtf8(longQuoted) + ": not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(QuoteText(c.name, 20)));
        const std::size_t told = m_Problems->lines.size();
        for (int request = 0; request < 3; ++request) {
            m_Status->texts.clear();
            const void* got = c.mesh ? static_cast<void*>(System().GetMeshResource(c.name.c_str()))
                                     : static_cast<void*>(System().GetTextureResource(c.name.c_str(), true));
            EXPECT_EQ(got, nullptr);
            EXPECT_EQ(m_Status->texts, std::vector<std::wstring>{c.status});
        }
        ASSERT_EQ(m_Problems->lines.size(), told + 1);
        const std::string& line = m_Problems->lines.back();
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
    EXPECT_EQ(m_Problems->lines.size(), 2u);

    // Mended in place, or written where the search looks first: taken up
    // at the next request, and told nothing more.
    WriteTestMesh("MeshFiles/bad.x", MakeSquareMesh({""}));
    EXPECT_NE(System().GetMeshResource(L"bad.x"), nullptr);
    WriteTestImage("later.png", 3, 3);
    EXPECT_EQ(WidthOf(System().GetTextureResource(L"later.png", true)), 3u);
    WriteJunk("MeshFiles/moved.x");
    EXPECT_EQ(System().GetMeshResource(L"moved.x"), nullptr);
    WriteTestMesh("Textures/moved.x", MakeSquareMesh({""}));
    EXPECT_NE(System().GetMeshResource(L"moved.x"), nullptr);
    EXPECT_EQ(m_Problems->lines.size(), 3u);

    // A file that breaks again is told again: it is another file now.
    WriteJunk("MeshFiles/twice.x");
    EXPECT_EQ(System().GetMeshResource(L"twice.x"), nullptr);
    WriteTestMesh("MeshFiles/twice.x", HugeSquare());
    EXPECT_EQ(System().GetMeshResource(L"twice.x"), nullptr);
    ASSERT_EQ(m_Problems->lines.size(), 5u);
    EXPECT_NE(m_Problems->lines[4].find("not a finite number"), std::string::npos);

    // Between two looks at the disk nothing is touched: a change is seen
    // only once the interval has passed, or the file is known to be new.
    System().SetFailureRecheckIntervalEXT(std::chrono::hours(1));
    WriteJunk("MeshFiles/slow.x");
    EXPECT_EQ(System().GetMeshResource(L"slow.x"), nullptr);
    WriteTestMesh("MeshFiles/slow.x", MakeSquareMesh({""}));
    m_Status->texts.clear();
    EXPECT_EQ(System().GetMeshResource(L"slow.x"), nullptr);
    EXPECT_EQ(m_Status->texts, std::vector<std::wstring>{L"**ERROR** [slow.x]: open for loading failed!"});
    System().ForgetFailedLoad(L"slow.x");
    EXPECT_NE(System().GetMeshResource(L"slow.x"), nullptr);
    EXPECT_EQ(m_Problems->lines.size(), 6u);
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

    EXPECT_EQ(WidthOf(System().GetTextureResource(L"t.png", true)), 2u);
    EXPECT_EQ(WidthOf(System().GetTextureResource(L"u.png", true)), 3u);
    EXPECT_EQ(WidthOf(System().GetTextureResource(L"v.png", true)), 6u);
    EXPECT_NE(System().GetMeshResource(L"m.x"), nullptr);  // meshes share the folders
}
