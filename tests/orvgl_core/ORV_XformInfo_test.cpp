#include <numbers>

#include <gtest/gtest.h>

#include "ORV_XformInfo.h"
#include "RecordingDrawHelper.h"
#include "TestSupport.h"

namespace {

// Maps a local point through the transform as the drawing interface would.
D3DXVECTOR3 Map(const ORV_XformInfo& xform, D3DXVECTOR3 p)
{
    RecordingDrawHelper h;
    h.PushModelTransform();
    EXPECT_TRUE(xform.SetUpModelTransform(h));
    h.TransformPoint(&p);
    h.PopModelTransform();
    return p;
}

void ExpectMatrixNear(const D3DXMATRIX3X3& a, const D3DXMATRIX3X3& b, float tol = 1e-5f)
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(a.m[r][c], b.m[r][c], tol) << r << "," << c;
}

TEST(ORV_XformInfo, ComposesScaleAndRotationAboutThePivotThenTranslates)
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
    ExpectNear(Map(y, {1, 0, 0}), {0, 3, 0});
    ExpectNear(Map(y, {0, 1, 0}), {-1, 0, 0});
}

TEST(ORV_XformInfo, OwnAxisTurnsAndParentAxisTurnsCompose)
{
    // Own-axis turns: the second acts about the already turned axis.
    ORV_XformInfo zx;
    zx.RotateZDegrees(90);
    zx.RotateXDegrees(90);
    ORV_XformInfo xz;
    xz.RotateXDegrees(90);
    xz.RotateZDegrees(90);
    ExpectNear(Map(xz, {0, 1, 0}), {-1, 0, 0});
    ExpectNear(Map(zx, {0, 1, 0}), {0, 0, 1});
    ExpectNear(Map(zx, {1, 0, 0}), {0, 1, 0});

    // Rotate puts the turn on the left: it acts about the parent's axes.
    ORV_XformInfo parent;
    parent.RotateXDegrees(90);
    parent.Rotate(ORV_Quaternion::FromAxisAngleDegrees({0, 0, 1}, 90));
    ExpectNear(Map(parent, {0, 1, 0}), {0, 0, 1});
    ExpectNear(Map(parent, {0, 0, 1}), {1, 0, 0});

    // Positive angles turn counter-clockwise seen from the axis' tip.
    ORV_XformInfo y;
    y.RotateYDegrees(90);
    ExpectNear(Map(y, {0, 0, 1}), {1, 0, 0});
    ORV_XformInfo x;
    x.RotateXDegrees(90);
    ExpectNear(Map(x, {0, 1, 0}), {0, 0, 1});
    ORV_XformInfo rad;
    rad.RotateZ(std::numbers::pi_v<float> / 2);
    ExpectNear(Map(rad, {1, 0, 0}), {0, 1, 0});
}

TEST(ORV_XformInfo, SetRotationMatrixRoundTripsInEveryBranch)
{
    struct Case
    {
        D3DXVECTOR3 axis;
        float degrees;
    } cases[] = {
        {{1, 2, 3}, 40},
        {{1, 0, 0}, 180},
        {{0, 1, 0}, 180},
        {{0, 0, 1}, 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        ORV_XformInfo source;
        source.SetRotation(ORV_Quaternion::FromAxisAngleDegrees(c.axis, c.degrees));
        const D3DXMATRIX3X3 m = source.GetRotationMatrix();
        ORV_XformInfo copy;
        copy.SetRotationMatrix(m);
        ExpectMatrixNear(copy.GetRotationMatrix(), m, 2e-5f);
        EXPECT_NEAR(copy.GetRotation().Length(), 1.0f, 1e-5f);
    }
}

}  // namespace
