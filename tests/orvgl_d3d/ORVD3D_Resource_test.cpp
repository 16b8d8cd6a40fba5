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
    const std::vector<std::wstring> names = {L"t5.png", L"a.png", L"t1.png", L"Textures/z.png", L"t8.png",
                                             L"B.png",  L"t3.png", L"t0.png", L"t7.png", L"t2.png"};
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
    for (const wchar_t* absent : {L"0.png", L"t4.png", L"zz.png", L"A.png"})
        EXPECT_EQ(System().GetTextureResource(absent, false), nullptr);

    // A table of one finds its name and nothing else; the same file under
    // another folder spelling is another key.
    WriteTestMesh("MeshFiles/shusui.x", MakeSquareMesh({""}));
    ORVD3D_MeshResource* plain = System().GetMeshResource(L"shusui.x");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(System().GetMeshResource(L"shusui.x", false), plain);
    EXPECT_EQ(System().GetMeshResource(L"a.x", false), nullptr);
    EXPECT_EQ(System().GetMeshResource(L"z.x", false), nullptr);
    ORVD3D_MeshResource* qualified = System().GetMeshResource(L"./MeshFiles/shusui.x");
    ASSERT_NE(qualified, nullptr);
    EXPECT_NE(qualified, plain);
    EXPECT_TRUE(m_Status->texts.empty());
}

TEST_F(ResourceTableTest, EveryBadFileIsReportedOnEachRequestButToldAndReadOnce)
{
    std::filesystem::create_directories("MeshFiles");
    std::filesystem::create_directories("Textures");
    WriteJunk("MeshFiles/bad.png");
    WriteJunk("MeshFiles/bad.x");
    std::filesystem::create_symlink("/dev/zero", "MeshFiles/zero.x");
    std::filesystem::create_symlink("/dev/zero", "Textures/zero.png");
    ASSERT_EQ(mkfifo("MeshFiles/pipe.x", 0600), 0);  // opening it would wait for a writer
    // Sparse: the size is checked before a byte is read or written.
    std::filesystem::resize_file(WriteFile("MeshFiles/big.x", "xof 0303txt 0032\n"), (64u << 20) + 1);
    WriteTestMesh("MeshFiles/huge.x", HugeSquare());
    WriteFile("MeshFiles/nan.x", "xof 0303txt 0032\nMesh {\n3;\n0;0;0;,\n1;0;0;,\n0;nan;0;;\n1;\n3;0,1,2;;\n}\n");
    // A name quoted in a message: cut to 80 characters, control characters
    // spelt out, so the message stays one short line.
    const std::wstring longName = L"a\nb\x1b[31m" + std::wstring(1 << 20, L'x');
    const std::wstring longQuoted = L"a\\x0Ab\\x1B[31m" + std::wstring(72, L'x') + L"...";

    struct Case
    {
        bool mesh;
        std::wstring name;
        std::wstring status;   // what slot 0 gets on every request
        std::string problem;   // the start of the one line told
    };
    const Case cases[] = {
        {false, L"nope.png", L"**ERROR** [nope.png]: file not found!",
         "nope.png: not found (looked in the working folder, Textures and MeshFiles)"},
        {true, L"Sub/nope.x", L"**ERROR** [Sub/nope.x]: file not found!", "Sub/nope.x: not found"},
        {false, L"bad.png", L"**ERROR** [bad.png]: open for loading failed!", "MeshFiles/bad.png: "},
        {true, L"bad.x", L"**ERROR** [bad.x]: open for loading failed!", "MeshFiles/bad.x: line "},
        {true, L"zero.x", L"**ERROR** [zero.x]: open for loading failed!", "MeshFiles/zero.x: not a regular file"},
        {false, L"zero.png", L"**ERROR** [zero.png]: open for loading failed!",
         "Textures/zero.png: not a regular file"},
        {true, L"pipe.x", L"**ERROR** [pipe.x]: open for loading failed!", "MeshFiles/pipe.x: not a regular file"},
        {true, L"big.x", L"**ERROR** [big.x]: open for loading failed!",
         "MeshFiles/big.x: larger than 64 MB (67108865 bytes)"},
        {true, L"huge.x", L"**ERROR** [huge.x]: open for loading failed!",
         "MeshFiles/huge.x: the mesh's size is not a finite number"},
        // Refused by the reader or the loader, whichever sees it first.
        {true, L"nan.x", L"**ERROR** [nan.x]: open for loading failed!", "MeshFiles/nan.x: "},
        {true, longName, L"**ERROR** [" + longQuoted + L"]: file not found!",
         WideToUtf8(longQuoted) + ": not found"},
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

    // A new context starts with nothing remembered.
    WriteJunk("MeshFiles/gone.x");
    EXPECT_EQ(System().GetMeshResource(L"gone.x"), nullptr);
    ASSERT_TRUE(CreateContext());
    EXPECT_EQ(System().GetMeshResource(L"gone.x"), nullptr);
    EXPECT_EQ(m_Problems->lines.size(), 8u);
}

TEST_F(ResourceTableTest, SearchTakesTheFirstCandidateThatOpens)
{
    WriteTestImage("Textures/t.png", 2, 2);
    WriteTestImage("MeshFiles/t.png", 4, 4);
    WriteTestImage("u.png", 3, 3);
    WriteTestImage("Textures/u.png", 2, 2);
    WriteTestMesh("Textures/m.x", MakeSquareMesh({""}));
    WriteTestImage("Textures/caf\xc3\xa9.png", 5, 5);
    std::filesystem::create_directory("v.png");  // a folder is not a file
    WriteTestImage("MeshFiles/v.png", 6, 6);

    std::wstring found;
    EXPECT_TRUE(ORVD3D_Resource::LocateFile(L"t.png", found));
    EXPECT_EQ(found, L"./Textures/t.png");
    EXPECT_EQ(WidthOf(System().GetTextureResource(L"t.png", true)), 2u);
    EXPECT_EQ(WidthOf(System().GetTextureResource(L"u.png", true)), 3u);
    EXPECT_EQ(WidthOf(System().GetTextureResource(L"v.png", true)), 6u);
    EXPECT_FALSE(ORVD3D_Resource::LocateFile(L"w.png", found));
    EXPECT_TRUE(found.empty());
    // Meshes and textures share the folders; names reach the disk as UTF-8.
    EXPECT_NE(System().GetMeshResource(L"m.x"), nullptr);
    EXPECT_EQ(WidthOf(System().GetTextureResource(L"caf\u00e9.png", true)), 5u);
}

TEST_F(ResourceTableTest, ActivateBindsTheTextureAndAMissingOneChangesNothing)
{
    WriteTestImage("Textures/a.png", 2, 2);
    HeadlessDevice* device = Device();
    ASSERT_TRUE(System().ActivateTexture(L"a.png", 1));
    IDirect3DTexture9* texture = System().GetTextureResource(L"a.png", false)->GetD3DTexture();
    const std::vector<HeadlessCall> calls(device->Calls().end() - 3, device->Calls().end());
    EXPECT_EQ(calls[0].args, (std::vector<DWORD>{1, D3DTSS_COLOROP, D3DTOP_SELECTARG1}));
    EXPECT_EQ(calls[1].args, (std::vector<DWORD>{1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1}));
    EXPECT_EQ(calls[2].name, "SetTexture");
    EXPECT_EQ(calls[2].object, texture);

    device->ClearCalls();
    EXPECT_FALSE(System().ActivateTexture(L"missing.png", 1));
    EXPECT_TRUE(device->Calls().empty());
    EXPECT_EQ(device->TextureAt(1), texture);

    // Off: texture first, then the colour operation; alpha is left alone.
    System().DeactivateTexture(1);
    ASSERT_EQ(device->CallNames(), (std::vector<std::string>{"SetTexture", "SetTextureStageState"}));
    EXPECT_EQ(device->Calls()[0].object, nullptr);
    EXPECT_EQ(device->Calls()[1].args, (std::vector<DWORD>{1, D3DTSS_COLOROP, D3DTOP_DISABLE}));
    EXPECT_EQ(device->TextureStageState(1, D3DTSS_ALPHAOP), DWORD(D3DTOP_SELECTARG1));
}
