#include <gtest/gtest.h>

#include <filesystem>

#include "D3DTestSupport.h"
#include "ORVD3D_Cloud.h"
#include "ORVD3D_DrawHelper.h"
#include "ORVD3D_PrimitiveMesh.h"
#include "ORVD3D_PrimitiveMeshArrow.h"
#include "ORVD3D_PrimitiveMeshAxis.h"

namespace {

using PrimitiveMeshTest = HeadlessContextTest;

D3DCOLORVALUE Floats(ORV_Color c)
{
    return {c.GetRf(), c.GetGf(), c.GetBf(), c.GetAf()};
}

bool SameColor(const D3DCOLORVALUE& a, const D3DCOLORVALUE& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool IsZero(const D3DCOLORVALUE& c)
{
    return c.r == 0 && c.g == 0 && c.b == 0 && c.a == 0;
}

}  // namespace

TEST_F(PrimitiveMeshTest, LitMeshDrawsWithThePrimitivesMaterialUnlitInItsFlatColour)
{
    WriteTestMesh("plane.x", MakeSquareMesh({""}));
    ORVD3D_PrimitiveMesh mesh(L"plane.x");
    ORVD3D_MeshResource* resource = System().GetMeshResource(L"plane.x", false);
    ASSERT_NE(resource, nullptr);
    // The primitive starts with the file's material.
    EXPECT_EQ(mesh.GetMaterial().GetDiffuse(), ORV_Color(0.2f, 0.5f, 0.25f, 1.0f));

    ORV_Material own;
    own.SetDiffuse(ORV_Color(10, 20, 30, 255));
    own.SetEmissive(ORV_Color(1, 2, 3, 4));
    mesh.SetMaterial(own);
    mesh.SetFillMode(1);
    mesh.SetColor(ORV_Color(200, 100, 50, 255));

    std::vector<RecordedDraw> draws = DrawOnce(mesh);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].lighting, static_cast<DWORD>(TRUE));
    EXPECT_TRUE(SameColor(draws[0].material.Diffuse, Floats(own.GetDiffuse())));
    EXPECT_TRUE(SameColor(draws[0].material.Emissive, Floats(own.GetEmissive())));
    // The shared mesh keeps the material of the primitive that drew it last.
    EXPECT_EQ(resource->GetMaterial(), own);
    EXPECT_EQ(Device()->RenderState(D3DRS_FILLMODE), static_cast<DWORD>(D3DFILL_WIREFRAME));

    // Unlit: one flat emissive colour, lighting forced on for the draw only.
    mesh.SetLighting(false);
    draws = DrawOnce(mesh);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].lighting, static_cast<DWORD>(TRUE));
    EXPECT_TRUE(IsZero(draws[0].material.Diffuse));
    EXPECT_EQ(EmissiveOf(draws[0].material), ORV_Color(200, 100, 50, 255));
    EXPECT_EQ(Device()->RenderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
}

TEST_F(PrimitiveMeshTest, MissingMeshDrawsNothingUntilItCanBeLoaded)
{
    ORVD3D_PrimitiveMesh mesh(L"later.x");
    ASSERT_EQ(m_Status->texts.size(), 1u);
    EXPECT_EQ(m_Status->texts[0], L"**ERROR** [later.x]: file not found!");
    EXPECT_EQ(mesh.GetMaterial(), ORV_Material());
    EXPECT_EQ(mesh.GetBoundingVolume(0), nullptr);
    EXPECT_TRUE(DrawOnce(mesh).empty());
    EXPECT_GE(m_Status->texts.size(), 3u);  // every lookup reports again

    WriteTestMesh("later.x", MakeSquareMesh({""}));
    EXPECT_EQ(DrawOnce(mesh).size(), 1u);
    EXPECT_NE(mesh.GetBoundingVolume(0), nullptr);
}
