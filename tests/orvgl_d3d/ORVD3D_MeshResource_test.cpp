#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "D3DTestSupport.h"

namespace {

using MeshResourceTest = HeadlessContextTest;

UINT WidthOf(IDirect3DTexture9* texture)
{
    D3DSURFACE_DESC desc{};
    if (texture == nullptr || FAILED(texture->GetLevelDesc(0, &desc)))
        return 0;
    return desc.Width;
}

bool Same(const D3DMATERIAL9& a, const D3DMATERIAL9& b)
{
    return std::memcmp(&a, &b, sizeof(D3DMATERIAL9)) == 0;
}

using Names = std::vector<std::string>;

}  // namespace

TEST_F(MeshResourceTest, LoadsMaterialsBoxAndTexturesFromBesideTheMesh)
{
    WriteTestImage("MeshFiles/wing.png", 2, 2);
    WriteTestImage("wing.png", 4, 4);
    WriteTestImage("Textures/wing.png", 8, 8);
    WriteTestMesh("MeshFiles/plane.x", MakeSquareMesh({"wing.png", "", "nowhere.png", "zero.png"}));
    std::filesystem::create_symlink("/dev/zero", "MeshFiles/zero.png");
    WriteTestMesh("flat.x", MakeSquareMesh({"wing.png"}));

    ORVD3D_MeshResource* plane = System().GetMeshResource(L"plane.x");
    ASSERT_NE(plane, nullptr);
    ASSERT_EQ(plane->GetSubsetCount(), 4);
    EXPECT_EQ(WidthOf(plane->GetSubsetTexture(0)), 2u);  // ./MeshFiles/wing.png
    EXPECT_EQ(plane->GetSubsetTexture(1), nullptr);
    EXPECT_EQ(plane->GetSubsetTexture(2), nullptr);  // untextured; the status slot hears nothing
    EXPECT_EQ(plane->GetSubsetTexture(3), nullptr);  // an endless file is not read
    EXPECT_TRUE(m_Status->texts.empty());
    EXPECT_EQ(m_Problems->lines, (Names{"MeshFiles/nowhere.png: not found (a texture of MeshFiles/plane.x)",
                                        "MeshFiles/zero.png: not a regular file (a texture of MeshFiles/plane.x)"}));
    EXPECT_EQ(System().GetTextureTable().Count(), 0);  // the mesh's own textures
    EXPECT_EQ(plane->GetBoundingBox()->GetMax(), D3DXVECTOR3(1, 1, 0));
    EXPECT_EQ(plane->GetMaterial().GetDiffuse(), ORV_Color(0.2f, 0.5f, 0.25f, 1.0f));

    // A mesh path without a folder takes the texture name as it stands.
    ORVD3D_MeshResource* flat = System().GetMeshResource(L"flat.x");
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(WidthOf(flat->GetSubsetTexture(0)), 4u);
}

TEST_F(MeshResourceTest, SubsetTexturePathsLongerThanTheLimitAreRefused)
{
    // Found as "MeshFiles/long.x": the path is "MeshFiles/" (10) + the name.
    const std::string fits = std::string(245, 'a') + ".png";     // 259 in all
    const std::string tooLong = std::string(246, 'b') + ".png";  // 260
    WriteTestImage("MeshFiles/" + fits, 1, 1);
    WriteTestImage("MeshFiles/" + tooLong, 1, 1);
    WriteTestMesh("MeshFiles/long.x", MakeSquareMesh({fits, tooLong, std::string(1000, 'c')}));

    ORVD3D_MeshResource* mesh = System().GetMeshResource(L"MeshFiles/long.x");
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetSubsetCount(), 3);
    EXPECT_NE(mesh->GetSubsetTexture(0), nullptr);
    EXPECT_EQ(mesh->GetSubsetTexture(1), nullptr);
    EXPECT_EQ(mesh->GetSubsetTexture(2), nullptr);
    // Told, with each name cut to 80 characters.
    ASSERT_EQ(m_Problems->lines.size(), 2u);
    EXPECT_EQ(m_Problems->lines[0], "MeshFiles/" + std::string(70, 'b') +
                                        "...: the path is longer than 259 characters (a texture of MeshFiles/long.x)");
}

TEST_F(MeshResourceTest, RenderSendsMaterialsTexturesAndLightingInOrder)
{
    WriteTestImage("MeshFiles/skin.png", 2, 2);
    WriteTestMesh("MeshFiles/two.x", MakeSquareMesh({"skin.png", ""}));
    ORVD3D_MeshResource* mesh = System().GetMeshResource(L"two.x");
    ASSERT_NE(mesh, nullptr);
    HeadlessDevice* device = Device();
    device->ClearCalls();
    mesh->Render(false, false, ORV_Color());
    ASSERT_EQ(device->CallNames(), (Names{"SetMaterial", "DrawMeshSubsetEXT", "SetMaterial", "DrawMeshSubsetEXT"}));
    const D3DMATERIAL9 own[2] = {device->Calls()[0].material, device->Calls()[2].material};
    EXPECT_EQ(device->Calls()[3].Arg(0), 1u);
    EXPECT_FLOAT_EQ(own[0].Diffuse.r, 0.2f);
    EXPECT_FLOAT_EQ(own[1].Diffuse.r, 0.4f);

    // Texturing: the textured subset sets up stage 0; the other keeps it.
    device->ClearCalls();
    mesh->Render(true, false, ORV_Color());
    ASSERT_EQ(device->CallNames(), (Names{"SetMaterial", "SetTextureStageState", "SetTextureStageState", "SetTexture",
                                          "DrawMeshSubsetEXT", "SetMaterial", "DrawMeshSubsetEXT"}));
    EXPECT_EQ(device->Calls()[1].args, (std::vector<DWORD>{0, D3DTSS_COLORARG1, D3DTA_TEXTURE}));
    EXPECT_EQ(device->Calls()[2].args, (std::vector<DWORD>{0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}));
    EXPECT_EQ(device->Calls()[3].object, mesh->GetSubsetTexture(0));

    // Override colour: one emissive-only material for every subset, with
    // lighting forced on and then put back as it was.
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->ClearCalls();
    mesh->Render(false, true, ORV_Color(255, 51, 0, 102));
    ASSERT_EQ(device->CallNames(), (Names{"GetRenderState", "SetRenderState", "SetMaterial", "DrawMeshSubsetEXT",
                                          "SetMaterial", "DrawMeshSubsetEXT", "SetRenderState"}));
    EXPECT_EQ(device->Calls()[1].args, (std::vector<DWORD>{D3DRS_LIGHTING, TRUE}));
    D3DMATERIAL9 emissive{};
    emissive.Emissive = {1.0f, 0.2f, 0.0f, 0.4f};
    EXPECT_TRUE(Same(device->Calls()[2].material, emissive));
    EXPECT_TRUE(Same(device->Calls()[4].material, emissive));
    EXPECT_EQ(device->Calls()[6].args, (std::vector<DWORD>{D3DRS_LIGHTING, FALSE}));

    // Override with texturing: the mesh's own look, lighting still forced.
    device->ClearCalls();
    mesh->Render(true, true, ORV_Color(255, 0, 0, 255));
    ASSERT_EQ(device->Calls().size(), 10u);
    EXPECT_TRUE(Same(device->Calls()[2].material, own[0]));
    EXPECT_EQ(device->Calls()[5].object, mesh->GetSubsetTexture(0));
    EXPECT_TRUE(Same(device->Calls()[7].material, own[1]));
}

TEST_F(MeshResourceTest, AMeshBuiltInMemoryJoinsTheTableUnderItsName)
{
    ID3DXMesh* built = nullptr;
    ASSERT_TRUE(SUCCEEDED(D3DXCreateMeshFVF(2, 4, D3DXMESH_SYSTEMMEM, D3DFVF_XYZ | D3DFVF_NORMAL,
                                            System().GetD3DDevice(), &built)));
    float* vertices = nullptr;
    ASSERT_TRUE(SUCCEEDED(built->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices))));
    vertices[0] = -1;  // vertex 0 at (-1, 0, 0), vertex 3 at (0, 2, -3)
    vertices[18 + 1] = 2;
    vertices[18 + 2] = -3;
    built->UnlockVertexBuffer();

    WriteTestMesh("MeshFiles/taken.x", MakeSquareMesh({""}));
    ORVD3D_MeshResource* taken = System().GetMeshResource(L"MeshFiles/taken.x");
    EXPECT_EQ(System().AdoptMeshResource(L"MeshFiles/taken.x", built), taken);  // the table's wins
    EXPECT_EQ(System().AdoptMeshResource(L"", built), nullptr);

    ORVD3D_MeshResource* adopted = System().AdoptMeshResource(L"MeshFiles/Land.x", built);
    built->Release();  // the table holds its own reference
    ASSERT_NE(adopted, nullptr);
    EXPECT_EQ(System().GetMeshResource(L"MeshFiles/Land.x", false), adopted);
    EXPECT_EQ(System().GetMeshTable()[0], adopted);  // 'L' sorts before 't'
    EXPECT_EQ(adopted->GetBoundingBox()->GetMin(), D3DXVECTOR3(-1, 0, -3));
    EXPECT_EQ(adopted->GetBoundingBox()->GetMax(), D3DXVECTOR3(0, 2, 0));
    Device()->ClearCalls();
    adopted->Render(false, false, ORV_Color());
    EXPECT_EQ(Device()->CallNames(), (Names{"SetMaterial", "DrawMeshSubsetEXT"}));
}
