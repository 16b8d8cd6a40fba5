#include "ORV_BoundingBox.h"
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

TEST(ORV_BoundingBox, CornersAreOrderedWhateverOrderTheyAreGivenIn)
{
    ORV_BoundingBox box;
    box.Set(3, -1, 5, -2, 4, 0);
    ExpectBox(box, {-2, -1, 0}, {3, 4, 5});
    ExpectBox(ORV_BoundingBox(0, 0, 0, 2, 4, 6), {-1, -2, -3}, {1, 2, 3});  // centre and size
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
    for (int axis = 0; axis < 3; ++axis) {
        for (const auto& s : shifts) {
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
    // Each axis against its own extent: a tall box meets one high above x's.
    const ORV_BoundingBox tall({0, 0, 0}, {1, 3, 1});
    const ORV_BoundingBox high({0, 2, 0}, {1, 2.5f, 1});
    EXPECT_TRUE(tall.Intersects(&high));
    Sphere sphere;
    EXPECT_FALSE(a.Intersects(&sphere));
    EXPECT_FALSE(a.Intersects(nullptr));
}

}  // namespace
