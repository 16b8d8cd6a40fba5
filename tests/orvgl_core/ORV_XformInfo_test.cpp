#include <numbers>

#include "ORV_XformInfo.h"
#include "TestSupport.h"

namespace {

// Maps a local point through the transform as the drawing interface would.
D3DXVECTOR3 Map(const ORV_XformInfo& xform, D3DXVECTOR3 p)
{
    RecordingDrawHelper h;
    EXPECT_TRUE(xform.SetUpModelTransform(h));
    h.TransformPoint(&p);
    return p;
}

TEST(ORV_XformInfo, ComposesScalePivotAndTurnsInTheirOrder)
{
    ORV_XformInfo x;
    x.SetTranslation(5, 0, 0);
    x.SetPivot(1, 0, 0);
    x.SetScale(2, 2, 2);
    x.RotateZDegrees(90);
    ExpectNear(Map(x, {1, 0, 0}), {6, 0, 0});  // the pivot stays put
    ExpectNear(Map(x, {2, 0, 0}), {6, 2, 0});
    // Non-uniform scale acts before the rotation, along the local axes.
    ORV_XformInfo y;
    y.SetScale(3, 1, 1);
    y.RotateZDegrees(90);
    ExpectNear(Map(y, {0, 1, 0}), {-1, 0, 0});
    ExpectNear(Map(y, {1, 0, 0}), {0, 3, 0});
    // Own-axis turns: the second acts about the already turned axis;
    // Rotate puts the turn on the left, about the parent's axes. Positive
    // angles turn counter-clockwise seen from the axis' tip.
    ORV_XformInfo zx, xz, parent, turnY, turnX, rad;
    zx.RotateZDegrees(90);
    zx.RotateXDegrees(90);
    xz.RotateXDegrees(90);
    xz.RotateZDegrees(90);
    parent.RotateXDegrees(90);
    parent.Rotate(ORV_Quaternion::FromAxisAngleDegrees({0, 0, 1}, 90));
    turnY.RotateYDegrees(90);
    turnX.RotateXDegrees(90);
    rad.RotateZ(std::numbers::pi_v<float> / 2);
    const struct
    {
        ORV_XformInfo* xform;
        D3DXVECTOR3 in, out;
    } cases[] = {
        {&xz, {0, 1, 0}, {-1, 0, 0}},    {&zx, {0, 1, 0}, {0, 0, 1}},     {&zx, {1, 0, 0}, {0, 1, 0}},
        {&parent, {0, 1, 0}, {0, 0, 1}}, {&parent, {0, 0, 1}, {1, 0, 0}}, {&turnY, {0, 0, 1}, {1, 0, 0}},
        {&turnX, {0, 1, 0}, {0, 0, 1}},  {&rad, {1, 0, 0}, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ExpectNear(Map(*c.xform, c.in), c.out);
    }
}

TEST(ORV_XformInfo, SetRotationMatrixRoundTripsInEveryBranch)
{
    const struct
    {
        D3DXVECTOR3 axis;
        float degrees;
    } cases[] = {{{1, 2, 3}, 40}, {{1, 0, 0}, 180}, {{0, 1, 0}, 180}, {{0, 0, 1}, 180}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        ORV_XformInfo source, copy;
        source.SetRotation(ORV_Quaternion::FromAxisAngleDegrees(c.axis, c.degrees));
        const D3DXMATRIX3X3 m = source.GetRotationMatrix();
        copy.SetRotationMatrix(m);
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR(copy.GetRotationMatrix().m[i / 3][i % 3], m.m[i / 3][i % 3], 2e-5f) << i;
        EXPECT_NEAR(copy.GetRotation().Length(), 1.0f, 1e-5f);
    }
}

}  // namespace
