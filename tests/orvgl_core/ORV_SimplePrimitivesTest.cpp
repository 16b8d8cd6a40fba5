#include <algorithm>

#include <gtest/gtest.h>

#include "ORV_PrimitiveAxisFrame.h"
#include "ORV_PrimitiveLine.h"
#include "ORV_PrimitiveList.h"
#include "ORV_PrimitivePoint.h"
#include "ORV_PrimitiveRectangleXY.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "RecordingDrawHelper.h"
#include "TestSupport.h"

namespace {

const ORV_BoundingBox& Box(ORV_Primitive& p)
{
    ORV_BoundingVolume* v = p.GetBoundingVolume(0);
    EXPECT_NE(v, nullptr);
    EXPECT_EQ(v->GetType(), 0);
    return *static_cast<ORV_BoundingBox*>(v);
}

TEST(ORV_SimplePrimitives, NewShapesHaveAPointBoxAtTheOrigin)
{
    ORV_PrimitivePoint point;
    ORV_PrimitiveLine line;
    ORV_PrimitiveRectangleXY xy;
    ORV_PrimitiveRectangleXZ xz;
    for (ORV_Primitive* p : {static_cast<ORV_Primitive*>(&point), static_cast<ORV_Primitive*>(&line),
                             static_cast<ORV_Primitive*>(&xy), static_cast<ORV_Primitive*>(&xz)})
    {
        const ORV_BoundingBox& b = Box(*p);
        EXPECT_TRUE(b.IsValid());
        ExpectBox(b, {0, 0, 0}, {0, 0, 0});
    }
}

TEST(ORV_SimplePrimitives, PointBoxFollowsEveryMove)
{
    ORV_PrimitivePoint p(1, 2, 3);
    ExpectBox(Box(p), {1, 2, 3}, {1, 2, 3});
    p.SetVelocity(1, 0, -1);
    p.Update(2.0f);
    EXPECT_EQ(p.GetLocation(), D3DXVECTOR3(3, 2, 1));
    ExpectBox(Box(p), {3, 2, 1}, {3, 2, 1});
    p.MouseDownVertex(1, 5, 6);
    EXPECT_EQ(p.GetLocation(), D3DXVECTOR3(5, 6, 0));
    p.MouseMoveVertex(-1, -2);
    ExpectBox(Box(p), {-1, -2, 0}, {-1, -2, 0});

    p.SetPointSize(6.0f);
    p.SetShadeMode(0);
    RecordingDrawHelper h;
    p.Draw(2, h);
    ASSERT_EQ(h.shapes.size(), 1u);
    EXPECT_EQ(h.shapes[0].op, "point");
    EXPECT_FLOAT_EQ(h.shapes[0].pointSize, 6.0f);
    EXPECT_EQ(h.shapes[0].shadeMode, 1);  // a point does not send its shade mode
    ExpectNear(h.shapes[0].local[0], {-1, -2, 0});
}

TEST(ORV_SimplePrimitives, LineMovesEndsAndBoundsBoth)
{
    ORV_PrimitiveLine line;
    line.SetStartPoint(0, 0, 0);
    line.SetEndPoint(2, -2, 4);
    ExpectNear(line.GetLocation(), {1, -1, 2});
    ExpectBox(Box(line), {0, -2, 0}, {2, 0, 4});

    line.MouseMoveVertex(7, 8);  // only the end moves
    EXPECT_EQ(line.GetStartPoint(), D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(line.GetEndPoint(), D3DXVECTOR3(7, 8, 0));
    line.MouseDownVertex(0, 1, 1);  // a fresh placement collapses both ends
    EXPECT_EQ(line.GetStartPoint(), D3DXVECTOR3(1, 1, 0));
    EXPECT_EQ(line.GetEndPoint(), D3DXVECTOR3(1, 1, 0));
    line.MouseDownVertex(1, 3, -1);  // continuing stretches the end
    EXPECT_EQ(line.GetStartPoint(), D3DXVECTOR3(1, 1, 0));
    EXPECT_EQ(line.GetEndPoint(), D3DXVECTOR3(3, -1, 0));
    line.SetVelocity(0, 0, 1);
    line.Update(0.5f);
    EXPECT_EQ(line.GetStartPoint(), D3DXVECTOR3(1, 1, 0.5f));
    EXPECT_EQ(line.GetEndPoint(), D3DXVECTOR3(3, -1, 0.5f));

    line.SetShadeColor(ORV_Color(0, 255, 0, 255));
    line.SetShadeMode(0);
    line.SetFillMode(0);
    RecordingDrawHelper h;
    h.SetFillMode(1);
    line.Draw(2, h);
    ASSERT_EQ(h.shapes.size(), 1u);
    EXPECT_EQ(h.shapes[0].shadeColor, ORV_Color(0, 255, 0, 255));
    EXPECT_EQ(h.shapes[0].shadeMode, 0);
    EXPECT_EQ(h.shapes[0].fillMode, 1);  // a line leaves the fill mode alone
    ExpectNear(h.shapes[0].local[1], {3, -1, 0.5f});
}

TEST(ORV_SimplePrimitives, RectanglesPlaceAndMoveInTheirPlanes)
{
    ORV_PrimitiveRectangleXY xy;
    xy.MouseDownVertex(0, 2, 3);
    ExpectBox(Box(xy), {2, 3, 0}, {2, 3, 0});
    xy.MouseDownVertex(1, -1, 5);
    ExpectBox(Box(xy), {-1, 3, 0}, {2, 5, 0});
    xy.MouseDownVertex(1, 4, 0);  // still stretched from the first anchor
    ExpectBox(Box(xy), {2, 0, 0}, {4, 3, 0});

    ORV_PrimitiveRectangleXZ xz;
    xz.MouseDownVertex(0, 2, 3);
    xz.MouseDownVertex(1, -1, 5);
    ExpectBox(Box(xz), {-1, 0, 3}, {2, 0, 5});

    ORV_PrimitiveRectangleXY moved;
    moved.SetCorners(0, 0, 0, 2, 4, 0);
    moved.MouseMoveVertex(10, 10);
    ExpectBox(Box(moved), {9, 8, 0}, {11, 12, 0});
    ExpectNear(moved.GetLocation(), {10, 10, 0});

    ORV_PrimitiveRectangleXZ movedXZ;
    movedXZ.SetCorners(0, 1, 0, 2, 1, 4);
    movedXZ.MouseMoveVertex(10, 10);
    ExpectBox(Box(movedXZ), {9, 1, 8}, {11, 1, 12});

    movedXZ.SetVelocity(1, 0, 0);
    movedXZ.Update(3);
    ExpectBox(Box(movedXZ), {12, 1, 8}, {14, 1, 12});
}

TEST(ORV_SimplePrimitives, RectanglesSendFullAttributesAndTheirBoxCorners)
{
    ORV_PrimitiveRectangleXZ ocean;
    ocean.SetCorners(-200, 5, 200, 200, 5, -200);
    ocean.SetShadeMode(0);
    ocean.SetFillMode(1);
    ocean.SetShadeColor(ORV_Color(9, 9, 9, 9));
    RecordingDrawHelper h;
    ocean.Draw(2, h);
    ASSERT_EQ(h.shapes.size(), 1u);
    const auto& s = h.shapes[0];
    EXPECT_EQ(s.op, "rectXZ");
    EXPECT_EQ(s.shadeMode, 0);
    EXPECT_EQ(s.fillMode, 1);
    EXPECT_EQ(s.shadeColor, ORV_Color(9, 9, 9, 9));
    ExpectNear(s.local[0], {-200, 0, -200});  // drawn in the plane y = 0
    ExpectNear(s.local[1], {200, 0, 200});
    ExpectBox(Box(ocean), {-200, 5, -200}, {200, 5, 200});  // the box keeps y = 5

    ORV_PrimitiveRectangleXY wall;
    wall.SetCorners(1, 2, 3, 4, 5, 6);
    h.shapes.clear();
    wall.Draw(2, h);
    ASSERT_EQ(h.shapes.size(), 1u);
    EXPECT_EQ(h.shapes[0].op, "rectXY");
    ExpectNear(h.shapes[0].local[1], {4, 5, 0});
}

TEST(ORV_SimplePrimitives, AxisFrameDrawsRedGreenBlueFlat)
{
    ORV_PrimitiveAxisFrame axes;
    EXPECT_FLOAT_EQ(axes.GetSize(), 1.0f);
    axes.SetSize(-3);
    EXPECT_FLOAT_EQ(axes.GetSize(), 3.0f);
    EXPECT_EQ(axes.GetBoundingVolume(0), nullptr);

    RecordingDrawHelper h;
    axes.Draw(2, h);
    ASSERT_EQ(h.shapes.size(), 3u);
    const ORV_Color colors[3] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    const D3DXVECTOR3 tips[3] = {{3, 0, 0}, {0, 3, 0}, {0, 0, 3}};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(h.shapes[i].color, colors[i]);
        EXPECT_EQ(h.shapes[i].shadeMode, 0);
        ExpectNear(h.shapes[i].local[0], {0, 0, 0});
        ExpectNear(h.shapes[i].local[1], tips[i]);
    }
    ORV_DrawHelper plain;
    EXPECT_FALSE(axes.DrawPrimitive(2, plain));
}

TEST(ORV_SimplePrimitives, ListOwnsDrawsAndBoundsItsMembers)
{
    CountedPrimitive::s_Live = CountedPrimitive::s_Deleted = 0;
    {
        ORV_PrimitiveList list;
        EXPECT_EQ(list.GetBoundingVolume(0), nullptr);  // empty: no volume

        list.AddPrimitive(new CountedPrimitive(false));
        ORV_BoundingVolume* none = list.GetBoundingVolume(0);
        ASSERT_NE(none, nullptr);
        EXPECT_FALSE(static_cast<ORV_BoundingBox*>(none)->IsValid());

        auto* hidden = new CountedPrimitive({5, 5, 5}, {6, 6, 6});
        hidden->SetVisible(false);
        list.AddPrimitive(hidden);
        auto* shown = new CountedPrimitive({-1, 0, 0}, {0, 1, 1});
        shown->SetColor(ORV_Color(1, 2, 3, 4));
        list.AddPrimitive(shown);
        list.AddPrimitive(nullptr);  // null members are skipped everywhere
        ExpectBox(Box(list), {-1, 0, 0}, {6, 6, 6});

        list.SetColor(ORV_Color(200, 0, 0, 255));
        RecordingDrawHelper h;
        list.Draw(2, h);
        EXPECT_EQ(hidden->drawn, 0);
        EXPECT_EQ(shown->drawn, 1);
        // Only the members' attributes are sent; the list's own are not.
        EXPECT_EQ(h.GetColor(), ORV_Color(1, 2, 3, 4));
        EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "ResetAttributes"), 2);

        h.shapes.clear();
        list.DrawMembersBoundingVolumes(0, &h, ORV_Color(0, 255, 0, 255));
        EXPECT_EQ(h.shapes.size(), 24u);  // hidden or not, each box is drawn
        list.DrawMembersBoundingVolumes(0, nullptr, ORV_Color());

        list.Update(1.0f);
        EXPECT_EQ(list.NumPrimitives(), 4);
        EXPECT_EQ(list.GetPrimitive(4), nullptr);
        EXPECT_EQ(list.GetPrimitive(-1), nullptr);
        EXPECT_EQ(list.GetPrimitive(2), shown);
        const ORV_PrimitiveList& constList = list;
        EXPECT_EQ(constList.GetPrimitive(4), nullptr);

        list.RemovePrimitive(1);
        EXPECT_EQ(CountedPrimitive::s_Deleted, 1);
        EXPECT_EQ(list.GetPrimitive(1), shown);
    }
    EXPECT_EQ(CountedPrimitive::s_Live, 0);
    EXPECT_EQ(CountedPrimitive::s_Deleted, 3);
}

}  // namespace
