#include "ORVD3D_PrimitiveMesh.h"
#include "D3DTestSupport.h"

using PrimitiveMeshTest = HeadlessContextTest;

TEST_F(PrimitiveMeshTest, LitMeshDrawsWithThePrimitivesMaterialUnlitInItsFlatColour)
{
    WriteTestMesh("plane.x", MakeSquareMesh({""}));
    ORVD3D_PrimitiveMesh mesh(L"plane.x");
    ORVD3D_MeshResource* resource = System().GetMeshResource(L"plane.x", false);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(mesh.GetMaterial().GetDiffuse(), ORV_Color(0.2f, 0.5f, 0.25f, 1.0f));  // the file's
    ORV_Material own;
    own.SetDiffuse(ORV_Color(10, 20, 30, 255));
    own.SetEmissive(ORV_Color(1, 2, 3, 4));
    mesh.SetMaterial(own);
    mesh.SetFillMode(1);
    mesh.SetColor(ORV_Color(200, 100, 50, 255));
    std::vector<RecordedDraw> draws = DrawOnce(mesh);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].lighting, DWORD(TRUE));
    EXPECT_EQ(ColorOf(draws[0].material.Diffuse), own.GetDiffuse());
    EXPECT_EQ(ColorOf(draws[0].material.Emissive), own.GetEmissive());
    // The shared mesh keeps the material of the primitive that drew it last.
    EXPECT_EQ(resource->GetMaterial(), own);
    EXPECT_EQ(Device()->RenderState(D3DRS_FILLMODE), DWORD(D3DFILL_WIREFRAME));
    // Unlit: one flat emissive colour, lighting forced on for the draw only.
    mesh.SetLighting(false);
    draws = DrawOnce(mesh);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].lighting, DWORD(TRUE));
    EXPECT_EQ(ColorOf(draws[0].material.Diffuse), ORV_Color(0, 0, 0, 0));
    EXPECT_EQ(ColorOf(draws[0].material.Emissive), ORV_Color(200, 100, 50, 255));
    EXPECT_EQ(Device()->RenderState(D3DRS_LIGHTING), DWORD(FALSE));
}

TEST_F(PrimitiveMeshTest, MissingMeshDrawsNothingUntilItCanBeLoaded)
{
    ORVD3D_PrimitiveMesh mesh(L"later.x");
    EXPECT_EQ(m_Status->texts, std::vector<std::wstring>{L"**ERROR** [later.x]: file not found!"});
    EXPECT_EQ(mesh.GetBoundingVolume(0), nullptr);
    EXPECT_TRUE(DrawOnce(mesh).empty());
    WriteTestMesh("later.x", MakeSquareMesh({""}));
    EXPECT_EQ(DrawOnce(mesh).size(), 1u);
    EXPECT_NE(mesh.GetBoundingVolume(0), nullptr);
}
