#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "AssetStockMeshes.h"
#include "MeshCheck.h"

// Each is one closed body, convex about the origin (every normal points away
// from it), and of the size its callers scale it by.
TEST(StockMeshes, AreClosedOutwardAndOfTheirStatedSize)
{
    const struct
    {
        const char* name;
        XFileMesh mesh;
        float halfLength;  // along z
    } cases[] = {{"box", assets::MakeBoxMesh(), 0.5f},
                 {"sphere", assets::MakeSphereMesh(), 1.0f},
                 {"cylinder", assets::MakeCylinderMesh(), 1.5f},
                 {"cone", assets::MakeConeMesh(), 1.0f}};
    for (const auto& [name, m, halfLength] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(meshcheck::ExpectWellFormed(m), 1u);
        const meshcheck::Bounds b = meshcheck::BoundsOf(m);
        EXPECT_FLOAT_EQ(b.lo.z, -halfLength);
        EXPECT_FLOAT_EQ(b.hi.z, halfLength);
        for (std::size_t i = 0; i < m.positions.size(); ++i) {
            const D3DXVECTOR3& p = m.positions[i];
            ASSERT_GT(D3DXVec3Dot(&m.normals[i], &p), 0.0f) << "vertex " << i;
            const float r = std::hypot(p.x, p.y);
            if (name == std::string_view("box")) {
                EXPECT_FLOAT_EQ(D3DXVec3Dot(&m.normals[i], &p), 0.5f);  // flat faces, each normal the axis across it
                EXPECT_LE(std::max(std::fabs(p.x), std::fabs(p.y)), 0.5f);
            } else if (name == std::string_view("sphere")) {
                EXPECT_NEAR(D3DXVec3Dot(&p, &p), 1.0f, 1e-5f);
            } else if (name == std::string_view("cylinder")) {
                EXPECT_LE(r, 1.0f + 1e-6f);
            } else {
                EXPECT_LE(r, (p.z + 1.0f) * 0.5f + 1e-5f);  // narrowing toward the apex at z = -1
            }
        }
    }
}
