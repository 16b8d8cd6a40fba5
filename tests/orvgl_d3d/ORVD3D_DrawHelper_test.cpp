#include "D3DTestSupport.h"

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
