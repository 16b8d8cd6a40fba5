#include <gtest/gtest.h>

#include "ORV_BoundingBox.h"
#include "RecordingDrawHelper.h"
#include "TestSupport.h"

namespace {

// A volume of another kind, which boxes must ignore.
class Sphere : public ORV_BoundingVolume
{
public:
    int GetType() const override { return 1; }
    D3DXVECTOR3 GetCenter() const override { return {}; }
    void Add(const ORV_BoundingVolume*) override {}
    bool Intersects(const ORV_BoundingVolume*) const override { return true; }
    bool ContainsPoint(float, float, float) const override { return true; }
};

TEST(ORV_BoundingBox, DefaultIsAPointAndEmptyIsDistinct)
{
    ORV_BoundingBox box;
    EXPECT_TRUE(box.IsValid());
    ExpectBox(box, {0, 0, 0}, {0, 0, 0});
    EXPECT_TRUE(box.ContainsPoint(0, 0, 0));

    box.MakeInvalid();
    EXPECT_FALSE(box.IsValid());
    ExpectBox(box, {1, 1, 1}, {-1, -1, -1});
}

TEST(ORV_BoundingBox, ConstructionOrdersCornersAndCentresSizes)
{
    ORV_BoundingBox box;
    box.Set(3, -1, 5, -2, 4, 0);
    ExpectBox(box, {-2, -1, 0}, {3, 4, 5});
    ExpectBox(ORV_BoundingBox({1, 2, -3}, {-1, -2, 3}), {-1, -2, -3}, {1, 2, 3});

    ORV_BoundingBox sized(0, 0, 0, 2, 4, 6);
    ExpectBox(sized, {-1, -2, -3}, {1, 2, 3});
    EXPECT_FLOAT_EQ(sized.Width(), 2);
    EXPECT_FLOAT_EQ(sized.Height(), 4);
    EXPECT_FLOAT_EQ(sized.Depth(), 6);

    sized.SetCenter(10, -5, 1);
    ExpectNear(sized.GetCenter(), {10, -5, 1});
    EXPECT_FLOAT_EQ(sized.Width(), 2);
    EXPECT_FLOAT_EQ(sized.Height(), 4);
    EXPECT_FLOAT_EQ(sized.Depth(), 6);
    EXPECT_EQ(sized.GetType(), 0);
}

TEST(ORV_BoundingBox, AddCopiesIntoEmptyIgnoresEmptyAndUnites)
{
    const ORV_BoundingBox a({0, 0, 0}, {1, 1, 1});
    ORV_BoundingBox empty;
    empty.MakeInvalid();

    ORV_BoundingBox box;
    box.MakeInvalid();
    box.Add(a);
    ExpectBox(box, {0, 0, 0}, {1, 1, 1});
    box.Add(empty);  // never shrinks or moves
    ExpectBox(box, {0, 0, 0}, {1, 1, 1});
    box.Add(ORV_BoundingBox({-2, 0.5f, 0.5f}, {0.5f, 3, 0.5f}));
    ExpectBox(box, {-2, 0, 0}, {1, 3, 1});

    // The default point box is valid, so adding to it unites with the origin.
    ORV_BoundingBox origin;
    origin.Add(ORV_BoundingBox({2, 2, 2}, {3, 3, 3}));
    ExpectBox(origin, {0, 0, 0}, {3, 3, 3});

    // Through the base pointer: boxes count, other kinds and null do not.
    Sphere sphere;
    ORV_BoundingBox viaBase;
    viaBase.MakeInvalid();
    viaBase.Add(static_cast<const ORV_BoundingVolume*>(&a));
    viaBase.Add(&sphere);
    viaBase.Add(static_cast<const ORV_BoundingVolume*>(nullptr));
    ExpectBox(viaBase, {0, 0, 0}, {1, 1, 1});
}

TEST(ORV_BoundingBox, IntersectsWhenTouchingAndNotWhenApartOnAnyAxis)
{
    const ORV_BoundingBox a({0, 0, 0}, {1, 1, 1});
    EXPECT_TRUE(a.Intersects(&a));
    const ORV_BoundingBox inside({0.2f, 0.2f, 0.2f}, {0.3f, 0.3f, 0.3f});
    EXPECT_TRUE(a.Intersects(&inside));
    EXPECT_TRUE(inside.Intersects(&a));

    for (int axis = 0; axis < 3; ++axis)
    {
        D3DXVECTOR3 shift(0, 0, 0);
        (&shift.x)[axis] = 1.0f;  // shares a face
        ORV_BoundingBox touching({shift.x, shift.y, shift.z},
                                 {1 + shift.x, 1 + shift.y, 1 + shift.z});
        EXPECT_TRUE(a.Intersects(&touching)) << axis;
        EXPECT_TRUE(touching.Intersects(&a)) << axis;  // touching from below
        (&shift.x)[axis] = 1.001f;  // apart by a hair
        ORV_BoundingBox after({shift.x, shift.y, shift.z}, {1 + shift.x, 1 + shift.y, 1 + shift.z});
        EXPECT_FALSE(a.Intersects(&after)) << axis;
        (&shift.x)[axis] = -1.001f;
        ORV_BoundingBox before({shift.x, shift.y, shift.z},
                               {1 + shift.x, 1 + shift.y, 1 + shift.z});
        EXPECT_FALSE(a.Intersects(&before)) << axis;
    }

    Sphere sphere;
    EXPECT_FALSE(a.Intersects(&sphere));
    EXPECT_FALSE(a.Intersects(nullptr));
}

TEST(ORV_BoundingBox, ContainsItsSurfaceOnly)
{
    const ORV_BoundingBox a({-1, -2, -3}, {1, 2, 3});
    EXPECT_TRUE(a.ContainsPoint(1, 2, 3));
    EXPECT_TRUE(a.ContainsPoint(-1, -2, -3));
    EXPECT_TRUE(a.ContainsPoint(0, 2, 0));
    EXPECT_FALSE(a.ContainsPoint(1.01f, 0, 0));
    EXPECT_FALSE(a.ContainsPoint(0, -2.01f, 0));
    EXPECT_FALSE(a.ContainsPoint(0, 0, 3.01f));
}

TEST(ORV_BoundingBox, DrawsTwelveEdgesInOrder)
{
    const ORV_BoundingBox a({0, 0, 0}, {1, 2, 3});
    a.Draw(nullptr);  // no helper: nothing, and no crash

    RecordingDrawHelper h;
    a.Draw(&h);
    const D3DXVECTOR3 expected[12][2] = {
        {{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {1, 2, 0}}, {{1, 2, 0}, {0, 2, 0}},
        {{0, 2, 0}, {0, 0, 0}}, {{1, 2, 3}, {0, 2, 3}}, {{0, 2, 3}, {0, 0, 3}},
        {{0, 0, 3}, {1, 0, 3}}, {{1, 0, 3}, {1, 2, 3}}, {{1, 2, 3}, {1, 2, 0}},
        {{1, 0, 3}, {1, 0, 0}}, {{0, 0, 3}, {0, 0, 0}}, {{0, 2, 3}, {0, 2, 0}},
    };
    ASSERT_EQ(h.shapes.size(), 12u);
    for (int i = 0; i < 12; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(h.shapes[i].op, "line");
        ExpectNear(h.shapes[i].local[0], expected[i][0]);
        ExpectNear(h.shapes[i].local[1], expected[i][1]);
    }
    // It draws with whatever attributes the caller set and touches none.
    EXPECT_EQ(h.log.size(), 12u);
}

}  // namespace
