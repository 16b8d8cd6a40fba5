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

TEST(ORV_BoundingBox, CornersAreOrderedAndAddUnitesWithoutShrinking)
{
    ORV_BoundingBox box;
    box.Set(3, -1, 5, -2, 4, 0);
    ExpectBox(box, {-2, -1, 0}, {3, 4, 5});
    ExpectBox(ORV_BoundingBox(0, 0, 0, 2, 4, 6), {-1, -2, -3}, {1, 2, 3});  // centre and size

    const ORV_BoundingBox a({0, 0, 0}, {1, 1, 1});
    ORV_BoundingBox empty;
    empty.MakeInvalid();
    box.MakeInvalid();
    box.Add(a);  // into an empty box: a copy
    box.Add(empty);
    ExpectBox(box, {0, 0, 0}, {1, 1, 1});
    box.Add(ORV_BoundingBox({-2, 0.5f, 0.5f}, {0.5f, 3, 0.5f}));
    ExpectBox(box, {-2, 0, 0}, {1, 3, 1});

    // The default point box is valid: adding to it unites with the origin.
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

TEST(ORV_BoundingBox, IntersectsAndContainsUpToTheSurfaceOnEveryAxis)
{
    const ORV_BoundingBox a({0, 0, 0}, {1, 1, 1});
    const ORV_BoundingBox inside({0.2f, 0.2f, 0.2f}, {0.3f, 0.3f, 0.3f});
    EXPECT_TRUE(a.Intersects(&inside));
    EXPECT_TRUE(inside.Intersects(&a));
    // Shifted along one axis by a face (touching), or a hair more either way.
    const struct
    {
        float shift;
        bool overlaps;
    } shifts[] = {{1.0f, true}, {-1.0f, true}, {1.001f, false}, {-1.001f, false}};
    for (int axis = 0; axis < 3; ++axis)
    {
        for (const auto& s : shifts)
        {
            D3DXVECTOR3 lo(0, 0, 0);
            (&lo.x)[axis] = s.shift;
            const ORV_BoundingBox other(lo, lo + D3DXVECTOR3(1, 1, 1));
            EXPECT_EQ(a.Intersects(&other), s.overlaps) << axis << " " << s.shift;
            EXPECT_EQ(other.Intersects(&a), s.overlaps) << axis << " " << s.shift;
            D3DXVECTOR3 p(0.5f, 0.5f, 0.5f);
            (&p.x)[axis] = s.shift > 0 ? s.shift : s.shift + 1.0f;
            EXPECT_EQ(a.ContainsPoint(p.x, p.y, p.z), s.overlaps) << axis << " " << s.shift;
        }
    }
    Sphere sphere;
    EXPECT_FALSE(a.Intersects(&sphere));
    EXPECT_FALSE(a.Intersects(nullptr));
}

TEST(ORV_BoundingBox, DrawsItsTwelveEdges)
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
        ExpectNear(h.shapes[i].local[0], expected[i][0]);
        ExpectNear(h.shapes[i].local[1], expected[i][1]);
    }
    EXPECT_EQ(h.log.size(), 12u);  // lines only: it touches no attribute
}

}  // namespace
