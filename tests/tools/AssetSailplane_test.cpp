#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "AssetSailplane.h"
#include "MeshCheck.h"

// Fuselage, canopy, wing, fin and tailplane: separate closed bodies, nose
// toward -Z, wings about 3 across with dihedral, a T-tail.
TEST(Sailplane, IsWellFormedWithItsShapeAndOrientation)
{
    using namespace assets;
    const XFileMesh plane = MakeSailplaneMesh();
    EXPECT_EQ(meshcheck::ExpectWellFormed(plane), 5u);
    const std::set<unsigned> used(plane.faceMaterials.begin(), plane.faceMaterials.end());
    EXPECT_EQ(used.size(), plane.materials.size()) << "every material colours some faces";
    const auto& white = plane.materials.at(kAirframe).material.Diffuse;
    const auto& trim = plane.materials.at(kTrim).material.Diffuse;
    EXPECT_GT(std::fabs(white.g - trim.g) + std::fabs(white.b - trim.b), 0.5f);

    const meshcheck::Bounds b = meshcheck::BoundsOf(plane);
    const float span = b.hi.x - b.lo.x;
    EXPECT_TRUE(span > 2.8f && span < 3.2f) << span;
    EXPECT_NEAR(b.lo.x, -b.hi.x, 1e-5f) << "left and right wings alike";
    EXPECT_LT(b.hi.z - b.lo.z, span * 0.6f) << "long wings, short fuselage";
    EXPECT_LT(b.hi.y - b.lo.y, span * 0.2f);
    D3DXVECTOR3 nose = plane.positions[0], tip = nose, top = nose;
    float rootTop = -1.0f;
    for (const auto& p : plane.positions) {
        nose = p.z < nose.z ? p : nose;
        tip = p.x > tip.x ? p : tip;
        top = p.y > top.y ? p : top;
        if (std::fabs(p.x) < 0.15f && std::fabs(p.x) > 0.1f && p.z < 0.1f)
            rootTop = std::max(rootTop, p.y);
    }
    // The nose foremost, on the centre line, ahead of the wing tips; the
    // tips above the wing root.
    EXPECT_LT(nose.z, -0.4f);
    EXPECT_LT(std::fabs(nose.x), 0.01f);
    EXPECT_LT(nose.z, tip.z - 0.3f);
    EXPECT_GT(tip.y, rootTop);
    // T-tail: the highest part is at the back and spreads sideways.
    EXPECT_GT(top.z, 0.5f);
    float highSpan = 0.0f;
    for (const auto& p : plane.positions)
        if (p.y > top.y - 0.02f)
            highSpan = std::max(highSpan, std::fabs(p.x));
    EXPECT_GT(highSpan, 0.2f);
}
