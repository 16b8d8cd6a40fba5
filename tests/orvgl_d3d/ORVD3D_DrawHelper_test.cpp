#include <gtest/gtest.h>

#include <cmath>

#include "D3DTestSupport.h"
#include "ORVD3D_DrawHelper.h"
#include "TestScene.h"

namespace {

using DrawHelperTest = HeadlessContextTest;

// Offsets within the 36-byte shape vertex.
constexpr UINT kNormal = 12;
constexpr UINT kColor = 24;
constexpr UINT kU = 28;

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected)
{
    EXPECT_TRUE(Near(actual, expected));
}

D3DXVECTOR3 Mapped(ORVD3D_DrawHelper& helper, D3DXVECTOR3 point)
{
    EXPECT_TRUE(helper.TransformPoint(&point));
    return point;
}

// point under the world transform the device holds now.
D3DXVECTOR3 ByWorld(HeadlessDevice* device, D3DXVECTOR3 point)
{
    return Apply(D3DXMATRIX(device->Transform(D3DTS_WORLD)), point);
}

// What was sent between the draw before `draw` (or the start) and `draw`,
// with the arguments of the state calls.
std::vector<std::string> CallsBefore(const std::vector<HeadlessCall>& calls, const HeadlessCall* draw)
{
    const HeadlessCall* first = draw;
    while (first > calls.data() && first[-1].name.rfind("Draw", 0) != 0)
        --first;
    std::vector<std::string> out;
    for (; first < draw; ++first) {
        out.push_back(first->name);
        if (first->name == "SetRenderState" || first->name == "SetTextureStageState" ||
            first->name == "SetTexture" || first->name == "SetTransform")
            for (DWORD arg : first->args)
                out.back() += " " + std::to_string(arg);
    }
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
    D3DXVECTOR3 point(1, 2, 3);
    EXPECT_FALSE(helper.TransformPoint(&point));
    EXPECT_EQ(point, D3DXVECTOR3(1, 2, 3));
    EXPECT_FALSE(helper.DrawCircle({0, 0, 0}, 1));
    EXPECT_TRUE(helper.EnableLighting(true));
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
    helper.SetFillMode(0);
    EXPECT_EQ(device->RenderState(D3DRS_FILLMODE), DWORD(D3DFILL_POINT));

    // Blending off after on leaves the blend factors.
    EXPECT_TRUE(helper.EnableBlending(true));
    device->ClearCalls();
    EXPECT_TRUE(helper.EnableBlending(false));
    ASSERT_EQ(device->Calls().size(), 1u);
    EXPECT_EQ(device->Calls()[0].args, (std::vector<DWORD>{D3DRS_ALPHABLENDENABLE, FALSE}));
    EXPECT_EQ(device->RenderState(D3DRS_SRCBLEND), DWORD(D3DBLEND_SRCALPHA));

    ORV_Material material;
    material.SetDiffuse(ORV_Color(255, 0, 51, 255));
    helper.SetMaterial(material);
    device->ClearCalls();
    EXPECT_TRUE(helper.EnableLighting(true));
    ASSERT_EQ(device->CallNames(), (std::vector<std::string>{"SetRenderState", "SetMaterial"}));
    EXPECT_FLOAT_EQ(device->Material().Diffuse.b, 0.2f);

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

TEST_F(DrawHelperTest, SceneSendsEachPrimitivesAttributesThenItsShapeUnderItsNodes)
{
    WriteShapeMeshes();
    TestScene scene;
    const SceneScope inScene(Device());
    Device()->ClearCalls();
    scene.Draw();
    const std::vector<HeadlessCall>& calls = Device()->Calls();

    const std::vector<RecordedDraw> shapes = DrawsIn(calls, "DrawPrimitiveUP");
    const std::vector<RecordedDraw> meshes = DrawsIn(calls);
    ASSERT_EQ(shapes.size(), 1u);          // the ground
    ASSERT_EQ(meshes.size(), 1u + 6 + 7);  // box, axis, cloud
    EXPECT_LT(shapes[0].call, meshes[0].call);

    // The light goes in first; then the ground: unlit, flat, solid, at
    // y = 0 in the root's frame.
    EXPECT_EQ(CallsBefore(calls, shapes[0].call),
              (std::vector<std::string>{
                  "SetLight", "LightEnable",
                  "SetTransform 256", "SetTransform 256", "SetTransform 256",   // new stack, push, root
                  "SetTransform 256", "SetTransform 256",                       // push, ground node
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",  // reset
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",  // own
                  "SetRenderState 137 0",                                       // unlit
                  "SetRenderState 9 1", "SetRenderState 8 3",                   // flat, solid
                  "SetFVF"}));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&shapes[0].world));
    EXPECT_EQ(shapes[0].call->Arg(0), static_cast<DWORD>(D3DPT_TRIANGLEFAN));
    EXPECT_EQ(shapes[0].call->VertexDword(1, 24), ORV_Color(60, 140, 70, 255).GetARGB());

    // Box: lit with its own material, gouraud and solid, then the mesh.
    EXPECT_EQ(CallsBefore(calls, meshes[0].call),
              (std::vector<std::string>{
                  "SetTransform 256", "SetTransform 256", "SetTransform 256",   // pop ground, push, box
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",
                  "SetRenderState 137 1", "SetMaterial",
                  "SetRenderState 9 2", "SetRenderState 8 3",
                  "SetMaterial"}));
    EXPECT_EQ(meshes[0].lighting, static_cast<DWORD>(TRUE));
    EXPECT_EQ(ORV_Color(meshes[0].material.Diffuse.r, meshes[0].material.Diffuse.g, meshes[0].material.Diffuse.b,
                        meshes[0].material.Diffuse.a),
              ORV_Color(220, 40, 30, 255));
    // Turned 30 degrees about Y, lifted by 0.5: the corner (0.5, -0.5, 0.5)
    // rests on the ground.
    const float c = std::cos(30.0f * 3.14159265f / 180.0f);
    const float sn = std::sin(30.0f * 3.14159265f / 180.0f);
    EXPECT_TRUE(Near(Apply(meshes[0].world, {0.5f, -0.5f, 0.5f}), {0.5f * c + 0.5f * sn, 0, -0.5f * sn + 0.5f * c},
                     1e-5f));

    // Axis: a child of the box, so it turns with it; its Y arrow stands up.
    EXPECT_TRUE(Near(Apply(meshes[4].world, {0, 0, -1}), {0, 0.5f + 0.55f + 1.2f, 0}, 1e-4f));
    EXPECT_TRUE(Near(Apply(meshes[2].world, {0, 0, -1}), {1.2f * c, 1.05f, -1.2f * sn}, 1e-4f));

    // Cloud: seven puffs about its node, unlit in its colour.
    for (size_t i = 7; i < meshes.size(); ++i)
        EXPECT_EQ(EmissiveOf(meshes[i].material), ORV_Color(240, 240, 255, 255));
    EXPECT_TRUE(Near(Apply(meshes[7].world, {0, 0, 0}), {-1.5f, 2.2f, 1.0f}, 1e-5f));
    EXPECT_TRUE(Near(Apply(meshes[8].world, {0, 0, 0}), {-1.5f + 0.6f, 2.2f, 1.0f}, 1e-5f));

    // Every push was popped: the world transform is the root's again.
    const D3DXMATRIX world(Device()->Transform(D3DTS_WORLD));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&world));
}
