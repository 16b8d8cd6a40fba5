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
    EXPECT_TRUE(b.hi.z - b.lo.z < span * 0.6f && b.hi.y - b.lo.y < span * 0.2f) << "long wings, short fuselage";
    D3DXVECTOR3 nose = plane.positions[0], tip = nose, top = nose;
    float rootTop = -1.0f, highSpan = 0.0f;
    for (const auto& p : plane.positions) {
        nose = p.z < nose.z ? p : nose;
        tip = p.x > tip.x ? p : tip;
        top = p.y > top.y ? p : top;
        if (std::fabs(p.x) < 0.15f && std::fabs(p.x) > 0.1f && p.z < 0.1f)
            rootTop = std::max(rootTop, p.y);
    }
    for (const auto& p : plane.positions)
        highSpan = p.y > top.y - 0.02f ? std::max(highSpan, std::fabs(p.x)) : highSpan;
    // The nose foremost, on the centre line, ahead of the wing tips; the tips
    // above the wing root; a T-tail: the highest part at the back, spreading.
    EXPECT_TRUE(nose.z < -0.4f && std::fabs(nose.x) < 0.01f && nose.z < tip.z - 0.3f) << nose.x << " " << nose.z;
    EXPECT_GT(tip.y, rootTop);
    EXPECT_TRUE(top.z > 0.5f && highSpan > 0.2f) << top.z << " " << highSpan;
}
