#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "AssetSailplane.h"
#include "MeshCheck.h"

// Fuselage, canopy, wing, fin and tailplane: separate closed bodies, nose
// toward -Z on the centre line, wings about 3 across, the tail high at the back.
TEST(Sailplane, IsWellFormedWithItsShapeAndOrientation)
{
    using namespace assets;
    const XFileMesh plane = MakeSailplaneMesh();
    EXPECT_EQ(meshcheck::ExpectWellFormed(plane), 5u);
    const std::set<unsigned> used(plane.faceMaterials.begin(), plane.faceMaterials.end());
    EXPECT_EQ(used.size(), plane.materials.size()) << "every material colours some faces";

    const meshcheck::Bounds b = meshcheck::BoundsOf(plane);
    EXPECT_TRUE(b.hi.x - b.lo.x > 2.8f && b.hi.x - b.lo.x < 3.2f) << b.hi.x - b.lo.x;
    EXPECT_NEAR(b.lo.x, -b.hi.x, 1e-5f) << "left and right wings alike";
    D3DXVECTOR3 nose = plane.positions[0], top = nose;
    for (const auto& p : plane.positions) {
        nose = p.z < nose.z ? p : nose;
        top = p.y > top.y ? p : top;
    }
    EXPECT_TRUE(nose.z < -0.4f && std::fabs(nose.x) < 0.01f) << nose.x << " " << nose.z;
    EXPECT_GT(top.z, 0.5f);
}
