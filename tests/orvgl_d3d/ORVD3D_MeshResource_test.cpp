#include <filesystem>

#include "D3DTestSupport.h"

using MeshResourceTest = HeadlessContextTest;
using Names = std::vector<std::string>;

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
    EXPECT_EQ(m_Problems, (Names{"MeshFiles/nowhere.png: not found (a texture of MeshFiles/plane.x)",
                                 "MeshFiles/zero.png: not a regular file (a texture of MeshFiles/plane.x)"}));
    EXPECT_EQ(System().GetTextureTable().Count(), 0);  // the mesh's own textures
    // A mesh path without a folder takes the texture name as it stands.
    ORVD3D_MeshResource* flat = System().GetMeshResource(L"flat.x");
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(WidthOf(flat->GetSubsetTexture(0)), 4u);
}

TEST_F(MeshResourceTest, RenderSendsEachSubsetsOwnMaterialInOrder)
{
    WriteTestImage("MeshFiles/skin.png", 2, 2);
    WriteTestMesh("MeshFiles/two.x", MakeSquareMesh({"skin.png", ""}));
    ORVD3D_MeshResource* mesh = System().GetMeshResource(L"two.x");
    ASSERT_NE(mesh, nullptr);
    HeadlessDevice* device = Device();
    device->BeginScene();
    device->ClearCalls();
    mesh->Render(false, false, ORV_Color());
    ASSERT_EQ(device->CallNames(), (Names{"SetMaterial", "DrawMeshSubsetEXT", "SetMaterial", "DrawMeshSubsetEXT"}));
    const D3DMATERIAL9 own[2] = {device->Calls()[0].material, device->Calls()[2].material};
    EXPECT_EQ(device->Calls()[3].Arg(0), 1u);
    EXPECT_FLOAT_EQ(own[0].Diffuse.r, 0.2f);
    EXPECT_FLOAT_EQ(own[1].Diffuse.r, 0.4f);
    device->EndScene();
}
