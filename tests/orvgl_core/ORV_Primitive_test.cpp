#include <cmath>

#include <gtest/gtest.h>

#include "ORV_Primitive.h"
#include "ORV_PrimitiveAxisFrame.h"
#include "ORV_PrimitiveLine.h"
#include "ORV_PrimitivePoint.h"
#include "ORV_PrimitiveRectangleXY.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "RecordingDrawHelper.h"
#include "TestSupport.h"

namespace {

// A primitive whose location can be placed, for MoveAwayFrom.
class Placed : public CountedPrimitive
{
public:
    explicit Placed(D3DXVECTOR3 at) : CountedPrimitive({0, 0, 0}, {1, 1, 1}), m_At(at) {}
    D3DXVECTOR3 GetLocation() override { return m_At; }

private:
    D3DXVECTOR3 m_At;
};

const ORV_BoundingBox& Box(ORV_Primitive& p)
{
    return *static_cast<ORV_BoundingBox*>(p.GetBoundingVolume(0));
}

TEST(ORV_Primitive, DrawResetsThenSendsItsAttributesInOrderAndNothingWhenHidden)
{
    CountedPrimitive p;
    p.SetColor(ORV_Color(10, 20, 30, 40));
    p.SetBlending(true);
    p.SetTexturing(true);
    p.SetLighting(false);
    p.SetTextureFileName(L"updraft.png");
    p.SetFillMode(0);  // not passed by the base
    RecordingDrawHelper h;
    EXPECT_TRUE(h.log.empty());  // the base constructor's reset cannot reach it
    h.SetShadeColor(ORV_Color(5, 6, 7, 8));
    h.SetPointSize(9.0f);
    h.SetShadeMode(0);
    h.log.clear();
    p.Draw(2, h);
    EXPECT_EQ(p.drawn, 1);
    EXPECT_EQ(h.log, (std::vector<std::string>{"ResetAttributes", "EnableBlending 0", "EnableTexture 0",
                                               "EnableBlending 1", "SetTextureFileName", "EnableTexture 1",
                                               "EnableLighting 0"}));
    EXPECT_EQ(h.GetColor(), ORV_Color(10, 20, 30, 40));  // set after the reset
    EXPECT_EQ(h.GetShadeColor(), ORV_Color(255, 255, 255, 255));
    EXPECT_FLOAT_EQ(h.GetPointSize(), 1.0f);
    EXPECT_EQ(h.GetShadeMode(), 0);  // the reset leaves the modes
    EXPECT_EQ(h.GetFillMode(), 2);
    EXPECT_STREQ(h.GetTextureFileName(), L"updraft.png");

    p.SetVisible(false);
    h.log.clear();
    p.Draw(2, h);
    EXPECT_TRUE(h.log.empty());
    EXPECT_EQ(p.drawn, 1);

    // The bounding volume on display: red, flat, wireframe; none, no box.
    CountedPrimitive boxed({0, 0, 0}, {1, 1, 1});
    boxed.SetDrawBoundingVolume(true);
    RecordingDrawHelper hb;
    boxed.Draw(2, hb);
    EXPECT_EQ(boxed.drawn, 1);
    ASSERT_EQ(hb.shapes.size(), 12u);
    EXPECT_EQ(hb.shapes[0].color, ORV_Color(255, 0, 0, 255));
    EXPECT_EQ(hb.shapes[0].fillMode, 1);
    CountedPrimitive bare(false);
    bare.SetDrawBoundingVolume(true);
    RecordingDrawHelper h2;
    bare.Draw(2, h2);
    EXPECT_TRUE(h2.shapes.empty());
}

TEST(ORV_Primitive, StationaryUpToOneNanoUnitAndMoveAwayKeepsTheSpeed)
{
    CountedPrimitive p;
    p.SetVelocity(1e-9f, -1e-9f, 0);
    EXPECT_TRUE(p.IsStationary());
    p.SetVelocity(0, 0, std::nextafter(1e-9f, 1.0f));
    EXPECT_FALSE(p.IsStationary());

    Placed q({2, 2, 0});
    q.SetVelocity(0, 0, 5);
    q.MoveAwayFrom(123, {2, 5, 0});  // the point lies above: move down
    ExpectNear(q.GetVelocity(), {0, -5, 0});
    q.MoveAwayFrom(0, {-1, 2, 0});
    ExpectNear(q.GetVelocity(), {5, 0, 0});
    // At the point itself there is no direction: zero rather than NaN.
    q.MoveAwayFrom(0, {2, 2, 0});
    EXPECT_EQ(q.GetVelocity(), D3DXVECTOR3(0, 0, 0));
}

TEST(ORV_Primitive, ShapesKeepTheirBoxWithEveryMoveAndDrawInTheirPlane)
{
    ORV_PrimitivePoint point(1, 2, 3);
    point.SetVelocity(1, 0, -1);
    point.Update(2.0f);
    ExpectBox(Box(point), {3, 2, 1}, {3, 2, 1});
    point.MouseMoveVertex(-1, -2);
    ExpectBox(Box(point), {-1, -2, 0}, {-1, -2, 0});

    ORV_PrimitiveLine line;
    line.SetStartPoint(0, 0, 0);
    line.SetEndPoint(2, -2, 4);
    ExpectBox(Box(line), {0, -2, 0}, {2, 0, 4});
    line.MouseDownVertex(0, 1, 1);  // a fresh placement collapses both ends
    line.MouseDownVertex(1, 3, -1);  // continuing stretches the end
    line.MouseMoveVertex(3, -1);  // only the end moves
    EXPECT_EQ(line.GetStartPoint(), D3DXVECTOR3(1, 1, 0));
    ExpectBox(Box(line), {1, -1, 0}, {3, 1, 0});

    ORV_PrimitiveRectangleXY xy;
    xy.MouseDownVertex(0, 2, 3);
    xy.MouseDownVertex(1, -1, 5);
    ExpectBox(Box(xy), {-1, 3, 0}, {2, 5, 0});
    xy.MouseDownVertex(1, 4, 0);  // still stretched from the first anchor
    ExpectBox(Box(xy), {2, 0, 0}, {4, 3, 0});
    xy.MouseMoveVertex(10, 10);  // centred on the mouse
    ExpectBox(Box(xy), {9, 8.5f, 0}, {11, 11.5f, 0});

    // A rectangle is drawn in its plane at 0, its box keeps the height.
    ORV_PrimitiveRectangleXZ ocean;
    ocean.SetCorners(-200, 5, 200, 200, 5, -200);
    ocean.SetVelocity(1, 0, 0);
    ocean.Update(3);
    ExpectBox(Box(ocean), {-197, 5, -200}, {203, 5, 200});
    RecordingDrawHelper h;
    ocean.Draw(2, h);
    ASSERT_EQ(h.shapes.size(), 1u);
    EXPECT_EQ(h.shapes[0].op, "rectXZ");
    ExpectNear(h.shapes[0].local[0], {-197, 0, -200});
    ExpectNear(h.shapes[0].local[1], {203, 0, 200});
}

TEST(ORV_Primitive, AxisFrameDrawsRedGreenBlueFlat)
{
    ORV_PrimitiveAxisFrame axes;
    axes.SetSize(-3);  // a negative size counts by its length
    RecordingDrawHelper h;
    axes.Draw(2, h);
    ASSERT_EQ(h.shapes.size(), 3u);
    const ORV_Color colors[3] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    const D3DXVECTOR3 tips[3] = {{3, 0, 0}, {0, 3, 0}, {0, 0, 3}};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(h.shapes[i].color, colors[i]);
        EXPECT_EQ(h.shapes[i].shadeMode, 0);
        ExpectNear(h.shapes[i].local[1], tips[i]);
    }
}

}  // namespace
