#include <gtest/gtest.h>

#include <cmath>

#include "D3DTestSupport.h"
#include "MeshDrawLog.h"
#include "ORVD3D_DrawHelper.h"

namespace {

using DrawHelperTest = HeadlessContextTest;

// Offsets within the 36-byte shape vertex.
constexpr UINT kNormal = 12;
constexpr UINT kColor = 24;
constexpr UINT kU = 28;

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

D3DXVECTOR3 Mapped(ORVD3D_DrawHelper& helper, D3DXVECTOR3 point)
{
    EXPECT_TRUE(helper.TransformPoint(&point));
    return point;
}

// point under the world transform the device holds now.
D3DXVECTOR3 ByWorld(HeadlessDevice* device, D3DXVECTOR3 point)
{
    const D3DXMATRIX world(device->Transform(D3DTS_WORLD));
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &point, &world);
    return out;
}

const HeadlessCall& LastDraw(HeadlessDevice* device)
{
    EXPECT_EQ(device->Calls().back().name, "DrawPrimitiveUP");
    return device->Calls().back();
}

}  // namespace

TEST_F(DrawHelperTest, StackComposesNodeTransformsAndKeepsTheWorldTransformOnTop)
{
    HeadlessDevice* device = Device();
    ORVD3D_DrawHelper helper;
    D3DXVECTOR3 untouched(1, 2, 3);
    EXPECT_FALSE(helper.TransformPoint(&untouched));  // no stack yet: nothing applies
    EXPECT_EQ(untouched, D3DXVECTOR3(1, 2, 3));

    D3DXMATRIX junk;
    device->SetTransform(D3DTS_WORLD, D3DXMatrixTranslation(&junk, 7, 7, 7));
    ASSERT_TRUE(helper.PushModelTransform());
    ExpectNear(ByWorld(device, {4, 5, 6}), {4, 5, 6});

    const D3DXMATRIX3X3 identity;
    ASSERT_TRUE(helper.AccumulateModelTransform({1, 2, 3}, {1, 1, 1}, identity, {0, 0, 0}));
    ExpectNear(Mapped(helper, {0, 0, 0}), {1, 2, 3});
    // A child applies before its parent: scale 2 about the pivot (1, 0, 0).
    ASSERT_TRUE(helper.PushModelTransform());
    ASSERT_TRUE(helper.AccumulateModelTransform({0, 0, 0}, {2, 2, 2}, identity, {1, 0, 0}));
    ExpectNear(Mapped(helper, {2, 0, 0}), {4, 2, 3});
    ExpectNear(ByWorld(device, {1, 0, 0}), {2, 2, 3});
    ASSERT_TRUE(helper.PopModelTransform());
    ExpectNear(ByWorld(device, {0, 0, 0}), {1, 2, 3});
    ASSERT_TRUE(helper.PopModelTransform());
    ExpectNear(ByWorld(device, {0, 0, 0}), {0, 0, 0});

    // Scale, then the rotation rows as given (x onto y), then translation.
    D3DXMATRIX3X3 quarterTurn;
    quarterTurn.m[0][0] = quarterTurn.m[1][1] = 0;
    quarterTurn.m[0][1] = 1;
    quarterTurn.m[1][0] = -1;
    ASSERT_TRUE(helper.InitializeModelTransform());
    ASSERT_TRUE(helper.AccumulateModelTransform({0, 0, 5}, {2, 1, 1}, quarterTurn, {0, 0, 0}));
    ExpectNear(Mapped(helper, {1, 0, 0}), {0, 2, 5});
    ExpectNear(ByWorld(device, {0, 1, 0}), {-1, 0, 5});
}

TEST_F(DrawHelperTest, WithoutDeviceNothingIsSent)
{
    System().ReleaseGraphicsContext();
    ORVD3D_DrawHelper helper;
    EXPECT_FALSE(helper.PushModelTransform());
    EXPECT_FALSE(helper.AccumulateModelTransform({1, 0, 0}, {1, 1, 1}, D3DXMATRIX3X3{}, {0, 0, 0}));
    D3DXVECTOR3 point(1, 2, 3);
    EXPECT_FALSE(helper.TransformPoint(&point));
    EXPECT_EQ(point, D3DXVECTOR3(1, 2, 3));
    EXPECT_FALSE(helper.DrawPoint({0, 0, 0}));
    EXPECT_FALSE(helper.DrawCircle({0, 0, 0}, 1));
    EXPECT_FALSE(helper.DrawRectangleXZ({0, 0, 0}, {1, 1, 1}));
    EXPECT_TRUE(helper.EnableLighting(true));
    EXPECT_TRUE(helper.EnableBlending(true));
    EXPECT_TRUE(helper.EnableTexture(false));
}

TEST_F(DrawHelperTest, CircleCountsFollowLodAndTheFanCloses)
{
    HeadlessDevice* device = Device();
    const SceneScope scene(device);
    ORVD3D_DrawHelper helper;
    helper.SetColor(ORV_Color(255, 0, 0, 255));
    helper.SetShadeColor(ORV_Color(0, 0, 255, 255));
    for (const auto& [lod, vertices] : {std::pair{0, 10}, {1, 20}, {2, 40}, {-1, 40}}) {
        helper.SetLod(lod);
        ASSERT_TRUE(helper.DrawCircle({0, 0, 0}, 1));
        EXPECT_EQ(LastDraw(device).args, (std::vector<DWORD>{D3DPT_TRIANGLEFAN, DWORD(vertices - 2), 36}));
        EXPECT_EQ(LastDraw(device).vertexCount, UINT(vertices));
    }
    // Lod 0 about (1, 2, 3), radius 2: rim points 45 degrees apart.
    helper.SetLod(0);
    ASSERT_TRUE(helper.DrawCircle({1, 2, 3}, 2));
    const HeadlessCall& draw = LastDraw(device);
    EXPECT_EQ(draw.VertexDword(0, kColor), 0xFF0000FFu);  // gouraud: the centre takes the shade colour
    EXPECT_EQ(draw.VertexDword(1, kColor), 0xFFFF0000u);
    ExpectNear(draw.VertexVector3(1, 0), {3, 2, 3});
    ExpectNear(draw.VertexVector3(3, 0), {1, 4, 3});
    EXPECT_NEAR(draw.VertexFloat(3, kU), 0.5f, 1e-6f);
    EXPECT_NEAR(draw.VertexFloat(3, kU + 4), 0.0f, 1e-6f);
    for (UINT offset = 0; offset < 36; offset += 4)
        EXPECT_EQ(draw.VertexDword(9, offset), draw.VertexDword(1, offset));

    const int draws = device->DrawCallCount();
    EXPECT_FALSE(helper.DrawCircle({0, 0, 0}, 0));
    EXPECT_FALSE(helper.DrawCircle({0, 0, 0}, std::nanf("")));
    EXPECT_EQ(device->DrawCallCount(), draws);
}

TEST_F(DrawHelperTest, LinesPointsAndRectanglesSendTheirVertices)
{
    HeadlessDevice* device = Device();
    const SceneScope scene(device);
    ORVD3D_DrawHelper helper;
    helper.SetColor(ORV_Color(10, 20, 30, 255));
    helper.SetShadeColor(ORV_Color(40, 50, 60, 255));

    // Only a line rising to the upper right gets the XY perpendicular.
    const std::pair<D3DXVECTOR3, D3DXVECTOR3> lines[] = {
        {{1, 1, 0}, {-1, 1, 0}}, {{2, 3, 5}, {-3, 2, 0}}, {{0, 1, 0}, {1, 0, 0}}, {{-1, -1, 0}, {1, 0, 0}}};
    for (const auto& [end, normal] : lines) {
        ASSERT_TRUE(helper.DrawLine({0, 0, 0}, end));
        EXPECT_EQ(LastDraw(device).args, (std::vector<DWORD>{D3DPT_LINELIST, 1, 36}));
        ExpectNear(LastDraw(device).VertexVector3(1, kNormal), normal);
    }
    EXPECT_EQ(LastDraw(device).VertexDword(0, kColor), 0xFF0A141Eu);
    EXPECT_EQ(LastDraw(device).VertexDword(1, kColor), 0xFF28323Cu);  // gouraud end

    helper.SetPointSize(7.0f);
    ASSERT_TRUE(helper.DrawPoint({1, 2, 3}));
    EXPECT_EQ(device->RenderState(D3DRS_POINTSPRITEENABLE), DWORD(TRUE));
    EXPECT_EQ(device->FVF(), 0x72u);
    EXPECT_EQ(LastDraw(device).args, (std::vector<DWORD>{D3DPT_POINTLIST, 1, 32}));
    EXPECT_FLOAT_EQ(LastDraw(device).VertexFloat(0, 24), 7.0f);
    EXPECT_EQ(LastDraw(device).VertexDword(0, 28), 0xFF0A141Eu);

    // Fans about the centre at the plane's zero, whatever the third coordinate.
    const float uv[6][2] = {{0.5f, 0.5f}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}};
    ASSERT_TRUE(helper.DrawRectangleXY({3, 4, 9}, {1, -2, 9}));
    const D3DXVECTOR3 xy[6] = {{2, 1, 0}, {1, 4, 0}, {1, -2, 0}, {3, -2, 0}, {3, 4, 0}, {1, 4, 0}};
    for (UINT i = 0; i < 6; ++i) {
        ExpectNear(LastDraw(device).VertexVector3(i, 0), xy[i]);
        EXPECT_FLOAT_EQ(LastDraw(device).VertexFloat(i, kU), uv[i][0]);
        EXPECT_FLOAT_EQ(LastDraw(device).VertexFloat(i, kU + 4), uv[i][1]);
    }
    EXPECT_EQ(LastDraw(device).VertexDword(0, kColor), 0xFF28323Cu);

    helper.SetShadeMode(0);
    ASSERT_TRUE(helper.DrawRectangleXZ({1, 5, 1}, {-1, 5, -1}));
    EXPECT_EQ(LastDraw(device).args, (std::vector<DWORD>{D3DPT_TRIANGLEFAN, 4, 36}));
    const D3DXVECTOR3 xz[6] = {{0, 0, 0}, {-1, 0, 1}, {-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
    for (UINT i = 0; i < 6; ++i)
        ExpectNear(LastDraw(device).VertexVector3(i, 0), xz[i]);
    ExpectNear(LastDraw(device).VertexVector3(0, kNormal), {0, 1, 0});
    EXPECT_EQ(LastDraw(device).VertexDword(0, kColor), 0xFF0A141Eu);  // flat: the colour
    ASSERT_TRUE(helper.DrawLine({0, 0, 0}, {1, 1, 1}));
    EXPECT_EQ(LastDraw(device).VertexDword(1, kColor), 0xFF0A141Eu);
}

TEST_F(DrawHelperTest, AttributesBecomeDeviceStates)
{
    HeadlessDevice* device = Device();
    ORVD3D_DrawHelper helper;
    helper.SetFillMode(1);
    EXPECT_EQ(device->RenderState(D3DRS_FILLMODE), DWORD(D3DFILL_WIREFRAME));
    helper.SetFillMode(0);
    EXPECT_EQ(device->RenderState(D3DRS_FILLMODE), DWORD(D3DFILL_POINT));

    // Blending off after on leaves the blend factors.
    EXPECT_TRUE(helper.EnableBlending(true));
    device->ClearCalls();
    EXPECT_TRUE(helper.EnableBlending(false));
    ASSERT_EQ(device->Calls().size(), 1u);
    EXPECT_EQ(device->Calls()[0].args, (std::vector<DWORD>{D3DRS_ALPHABLENDENABLE, FALSE}));
    EXPECT_EQ(device->RenderState(D3DRS_SRCBLEND), DWORD(D3DBLEND_SRCALPHA));
    EXPECT_EQ(device->RenderState(D3DRS_DESTBLEND), DWORD(D3DBLEND_INVSRCALPHA));
    EXPECT_EQ(device->RenderState(D3DRS_BLENDOP), DWORD(D3DBLENDOP_ADD));

    ORV_Material material;
    material.SetDiffuse(ORV_Color(255, 0, 51, 255));
    helper.SetMaterial(material);
    device->ClearCalls();
    EXPECT_TRUE(helper.EnableLighting(true));
    ASSERT_EQ(device->CallNames(), (std::vector<std::string>{"SetRenderState", "SetMaterial"}));
    EXPECT_FLOAT_EQ(device->Material().Diffuse.b, 0.2f);
    EXPECT_FLOAT_EQ(device->Material().Ambient.r, 33 / 255.0f);

    // A missing texture leaves stage 0 as it was; off unbinds it.
    WriteTestImage("Textures/t.png", 2, 2);
    helper.SetTextureFileName(L"t.png");
    EXPECT_TRUE(helper.EnableTexture(true));
    IDirect3DBaseTexture9* bound = device->TextureAt(0);
    ASSERT_NE(bound, nullptr);
    helper.SetTextureFileName(L"missing.png");
    EXPECT_TRUE(helper.EnableTexture(true));
    EXPECT_EQ(device->TextureAt(0), bound);
    EXPECT_EQ(device->TextureStageState(0, D3DTSS_COLOROP), DWORD(D3DTOP_SELECTARG1));
    EXPECT_TRUE(helper.EnableTexture(false));
    EXPECT_EQ(device->TextureAt(0), nullptr);
}
