#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>

#include "D3DTestSupport.h"

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

TEST_F(ResourceTableTest, FailuresAreReportedOncePerRequestAndNeverAdded)
{
    EXPECT_EQ(System().GetTextureResource(L"nope.png", true), nullptr);
    EXPECT_EQ(m_Status->texts, std::vector<std::wstring>{L"**ERROR** [nope.png]: file not found!"});
    EXPECT_EQ(System().GetMeshResource(L"Sub/nope.x"), nullptr);
    EXPECT_EQ(m_Status->texts.back(), L"**ERROR** [Sub/nope.x]: file not found!");

    std::filesystem::create_directories("MeshFiles");
    WriteJunk("MeshFiles/bad.png");
    WriteJunk("MeshFiles/bad.x");
    EXPECT_EQ(System().GetTextureResource(L"bad.png", true), nullptr);
    EXPECT_EQ(m_Status->texts.back(), L"**ERROR** [bad.png]: open for loading failed!");
    EXPECT_EQ(System().GetMeshResource(L"bad.x"), nullptr);
    EXPECT_EQ(m_Status->texts.back(), L"**ERROR** [bad.x]: open for loading failed!");
    // Failures are not remembered: asking again looks and reports again.
    EXPECT_EQ(System().GetMeshResource(L"bad.x"), nullptr);
    EXPECT_EQ(m_Status->texts.size(), 5u);

    // Quiet misses: an empty name, or a lookup that may not load.
    EXPECT_EQ(System().GetTextureResource(L"", true), nullptr);
    EXPECT_EQ(System().GetTextureResource(nullptr, true), nullptr);
    EXPECT_EQ(System().GetTextureResource(L"nope.png", false), nullptr);
    EXPECT_EQ(m_Status->texts.size(), 5u);
    EXPECT_EQ(System().GetTextureTable().Count(), 0);
    EXPECT_EQ(System().GetMeshTable().Count(), 0);
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
