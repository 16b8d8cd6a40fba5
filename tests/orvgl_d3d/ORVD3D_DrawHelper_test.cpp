#include <gtest/gtest.h>

#include <cmath>

#include "D3DTestSupport.h"
#include "TestScene.h"

using DrawHelperTest = HeadlessContextTest;

TEST_F(DrawHelperTest, StackComposesNodeTransformsAndKeepsTheWorldTransformOnTop)
{
    HeadlessDevice* device = Device();
    ORVD3D_DrawHelper helper;
    D3DXVECTOR3 p(1, 2, 3);
    EXPECT_FALSE(helper.TransformPoint(&p));  // no stack yet: nothing applies
    EXPECT_EQ(p, D3DXVECTOR3(1, 2, 3));
    // point under the helper's stack, and under the device's world transform
    const auto mapped = [&helper](D3DXVECTOR3 point) {
        EXPECT_TRUE(helper.TransformPoint(&point));
        return point;
    };
    const auto byWorld = [device](D3DXVECTOR3 point) {
        return Apply(D3DXMATRIX(device->Transform(D3DTS_WORLD)), point);
    };

    D3DXMATRIX junk;
    device->SetTransform(D3DTS_WORLD, D3DXMatrixTranslation(&junk, 7, 7, 7));
    ASSERT_TRUE(helper.PushModelTransform());
    EXPECT_TRUE(Near(byWorld({4, 5, 6}), {4, 5, 6}));
    const D3DXMATRIX3X3 identity;
    ASSERT_TRUE(helper.AccumulateModelTransform({1, 2, 3}, {1, 1, 1}, identity, {0, 0, 0}));
    EXPECT_TRUE(Near(mapped({0, 0, 0}), {1, 2, 3}));
    // A child applies before its parent: scale 2 about the pivot (1, 0, 0).
    ASSERT_TRUE(helper.PushModelTransform());
    ASSERT_TRUE(helper.AccumulateModelTransform({0, 0, 0}, {2, 2, 2}, identity, {1, 0, 0}));
    EXPECT_TRUE(Near(mapped({2, 0, 0}), {4, 2, 3}));
    EXPECT_TRUE(Near(byWorld({1, 0, 0}), {2, 2, 3}));
    ASSERT_TRUE(helper.PopModelTransform());
    EXPECT_TRUE(Near(byWorld({0, 0, 0}), {1, 2, 3}));
    ASSERT_TRUE(helper.PopModelTransform());
    EXPECT_TRUE(Near(byWorld({0, 0, 0}), {0, 0, 0}));

    // Scale, then the rotation rows as given (x onto y), then translation.
    D3DXMATRIX3X3 quarterTurn;
    quarterTurn.m[0][0] = quarterTurn.m[1][1] = 0;
    quarterTurn.m[0][1] = 1;
    quarterTurn.m[1][0] = -1;
    ASSERT_TRUE(helper.InitializeModelTransform());
    ASSERT_TRUE(helper.AccumulateModelTransform({0, 0, 5}, {2, 1, 1}, quarterTurn, {0, 0, 0}));
    EXPECT_TRUE(Near(mapped({1, 0, 0}), {0, 2, 5}));
    EXPECT_TRUE(Near(byWorld({0, 1, 0}), {-1, 0, 5}));
}

TEST_F(DrawHelperTest, SceneSendsEachPrimitivesAttributesThenItsShapeUnderItsNodes)
{
    WriteShapeMeshes();
    TestScene scene;
    const SceneScope inScene(Device());
    Device()->ClearCalls();
    scene.Draw();
    const std::vector<RecordedDraw> shapes = DrawsIn(Device()->Calls(), "DrawPrimitiveUP");
    const std::vector<RecordedDraw> meshes = DrawsIn(Device()->Calls());
    ASSERT_EQ(shapes.size(), 1u);          // the ground
    ASSERT_EQ(meshes.size(), 1u + 6 + 7);  // box, axis, cloud
    EXPECT_LT(shapes[0].call, meshes[0].call);

    // The ground: unlit, in its own colour, at y = 0 in the root's frame.
    EXPECT_EQ(shapes[0].lighting, DWORD(FALSE));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&shapes[0].world));
    EXPECT_EQ(shapes[0].call->VertexDword(1, 24), ORV_Color(60, 140, 70, 255).GetARGB());

    // Box: lit with its own material, turned 30 degrees about Y and lifted
    // by 0.5: the corner (0.5, -0.5, 0.5) rests on the ground.
    EXPECT_EQ(meshes[0].lighting, DWORD(TRUE));
    EXPECT_EQ(ColorOf(meshes[0].material.Diffuse), ORV_Color(220, 40, 30, 255));
    const float c = std::cos(30.0f * 3.14159265f / 180.0f);
    const float sn = std::sin(30.0f * 3.14159265f / 180.0f);
    EXPECT_TRUE(Near(Apply(meshes[0].world, {0.5f, -0.5f, 0.5f}), {0.5f * c + 0.5f * sn, 0, -0.5f * sn + 0.5f * c}));
    // Axis: a child of the box, so it turns with it; its Y arrow stands up.
    EXPECT_TRUE(Near(Apply(meshes[4].world, {0, 0, -1}), {0, 0.5f + 0.55f + 1.2f, 0}, 1e-4f));
    EXPECT_TRUE(Near(Apply(meshes[2].world, {0, 0, -1}), {1.2f * c, 1.05f, -1.2f * sn}, 1e-4f));

    // Every push was popped: the world transform is the root's again.
    const D3DXMATRIX world(Device()->Transform(D3DTS_WORLD));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&world));
}
