#include <algorithm>
#include <cmath>
#include <set>

#include <gtest/gtest.h>

#include "AssetSailplane.h"
#include "AssetStockMeshes.h"
#include "MeshCheck.h"

namespace {

using namespace assets;
using meshcheck::BoundsOf;

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// What every generated mesh must satisfy to load and light correctly.
void ExpectWellFormed(const XFileMesh& m, const char* name)
{
    SCOPED_TRACE(name);
    ASSERT_FALSE(m.faces.empty());
    ASSERT_EQ(m.normals.size(), m.positions.size());
    ASSERT_EQ(m.texcoords.size(), m.positions.size());
    ASSERT_EQ(m.faceMaterials.size(), m.faces.size());
    ASSERT_FALSE(m.materials.empty());
    std::vector<bool> used(m.positions.size(), false);
    for (const auto& f : m.faces)
        for (auto i : f) {
            ASSERT_LT(i, m.positions.size());
            used[i] = true;
        }
    // A vertex no face uses has a normal no loader can keep.
    EXPECT_EQ(std::count(used.begin(), used.end(), false), 0);
    for (auto mat : m.faceMaterials)
        ASSERT_LT(mat, m.materials.size());
    for (const auto& n : m.normals)
        ASSERT_NEAR(Dot(n, n), 1.0f, 1e-4f);
    for (const auto& t : m.texcoords) {
        ASSERT_GE(t[0], 0.0f);
        ASSERT_LE(t[0], 1.0f);
        ASSERT_GE(t[1], 0.0f);
        ASSERT_LE(t[1], 1.0f);
    }
    for (const auto& x : m.materials) {
        EXPECT_EQ(x.material.Diffuse.a, 1.0f);
        EXPECT_GT(x.material.Power, 0.0f);
        EXPECT_LT(x.material.Emissive.r, 0.2f);
    }
    // Closed, consistently wound, outward (positive volume) and the file's
    // normals on the same side as the winding.
    EXPECT_TRUE(meshcheck::IsClosedAndConsistent(m));
    EXPECT_EQ(meshcheck::FacesAgainstNormals(m), 0u);
    for (double v : meshcheck::PartVolumes(m))
        EXPECT_GT(v, 0.0);
}

// For shapes that are convex about the origin: every normal points away from it.
void ExpectNormalsOutward(const XFileMesh& m)
{
    for (std::size_t i = 0; i < m.positions.size(); ++i)
        ASSERT_GT(Dot(m.normals[i], m.positions[i]), 0.0f) << "vertex " << i;
}

TEST(StockMeshes, AreClosedOutwardAndOfTheirStatedSize)
{
    const XFileMesh box = MakeBoxMesh();
    ExpectWellFormed(box, "box");
    ExpectNormalsOutward(box);
    const auto bb = BoundsOf(box);
    EXPECT_EQ(bb.lo, D3DXVECTOR3(-0.5f, -0.5f, -0.5f));
    EXPECT_EQ(bb.hi, D3DXVECTOR3(0.5f, 0.5f, 0.5f));
    // Flat faces: each normal is the axis its face lies across.
    for (std::size_t i = 0; i < box.positions.size(); ++i)
        EXPECT_FLOAT_EQ(Dot(box.normals[i], box.positions[i]), 0.5f);

    const XFileMesh sphere = MakeSphereMesh();
    ExpectWellFormed(sphere, "sphere");
    ExpectNormalsOutward(sphere);
    for (std::size_t i = 0; i < sphere.positions.size(); ++i) {
        EXPECT_NEAR(Dot(sphere.positions[i], sphere.positions[i]), 1.0f, 1e-5f);
        EXPECT_GT(Dot(sphere.normals[i], sphere.positions[i]), 0.99f);
    }

    const XFileMesh cylinder = MakeCylinderMesh();
    ExpectWellFormed(cylinder, "cylinder");
    ExpectNormalsOutward(cylinder);
    const auto cb = BoundsOf(cylinder);
    EXPECT_FLOAT_EQ(cb.lo.z, -1.5f);
    EXPECT_FLOAT_EQ(cb.hi.z, 1.5f);
    EXPECT_NEAR(cb.lo.x, -1.0f, 1e-6f);
    EXPECT_NEAR(cb.hi.y, 1.0f, 1e-3f);
    for (const auto& p : cylinder.positions)
        EXPECT_LE(std::hypot(p.x, p.y), 1.0f + 1e-6f);

    const XFileMesh cone = MakeConeMesh();
    ExpectWellFormed(cone, "cone");
    ExpectNormalsOutward(cone);
    const auto kb = BoundsOf(cone);
    EXPECT_FLOAT_EQ(kb.lo.z, -1.0f);
    EXPECT_FLOAT_EQ(kb.hi.z, 1.0f);
    for (const auto& p : cone.positions) {
        const float r = std::hypot(p.x, p.y);
        // The side narrows toward -Z: the apex is the point at z = -1.
        EXPECT_LE(r, (p.z + 1.0f) * 0.5f + 1e-5f);
        if (p.z < -0.999f) {
            EXPECT_LT(r, 1e-6f);
        }
    }
}

TEST(Sailplane, IsWellFormedWithSeveralMaterials)
{
    const XFileMesh plane = MakeSailplaneMesh();
    ExpectWellFormed(plane, "sailplane");
    ASSERT_GE(plane.materials.size(), 2u);
    std::set<unsigned> used(plane.faceMaterials.begin(), plane.faceMaterials.end());
    EXPECT_EQ(used.size(), plane.materials.size()) << "every material colours some faces";
    const auto& white = plane.materials[kAirframe].material.Diffuse;
    const auto& trim = plane.materials[kTrim].material.Diffuse;
    EXPECT_GT(std::fabs(white.g - trim.g) + std::fabs(white.b - trim.b), 0.5f);
    // Fuselage, canopy, wing, fin and tailplane are separate closed bodies.
    EXPECT_EQ(meshcheck::PartVolumes(plane).size(), 5u);
}

TEST(Sailplane, HasItsShapeAndOrientation)
{
    const XFileMesh plane = MakeSailplaneMesh();
    const auto b = BoundsOf(plane);
    const float span = b.hi.x - b.lo.x;
    EXPECT_GT(span, 2.8f);
    EXPECT_LT(span, 3.2f);
    EXPECT_NEAR(b.lo.x, -b.hi.x, 1e-5f) << "left and right wings alike";
    EXPECT_LT(b.hi.z - b.lo.z, span * 0.6f) << "long high-aspect wings, short fuselage";
    EXPECT_LT(b.hi.y - b.lo.y, span * 0.2f);

    D3DXVECTOR3 nose = plane.positions[0];
    D3DXVECTOR3 tip = plane.positions[0];
    D3DXVECTOR3 top = plane.positions[0];
    for (const auto& p : plane.positions) {
        if (p.z < nose.z)
            nose = p;
        if (p.x > tip.x)
            tip = p;
        if (p.y > top.y)
            top = p;
    }
    // The nose is the foremost point, on the centre line, toward -Z, ahead of
    // the wing tips.
    EXPECT_LT(nose.z, -0.4f);
    EXPECT_LT(std::fabs(nose.x), 0.01f);
    EXPECT_LT(nose.z, tip.z - 0.3f);
    // Dihedral: the tips stand above the wing root.
    float rootTop = -1.0f;
    for (const auto& p : plane.positions)
        if (std::fabs(p.x) < 0.15f && std::fabs(p.x) > 0.1f && p.z < 0.1f)
            rootTop = std::max(rootTop, p.y);
    EXPECT_GT(tip.y, rootTop);
    // T-tail: the highest part is at the back, and what is up there spreads
    // sideways (the tailplane on top of the fin).
    EXPECT_GT(top.z, 0.5f);
    float highSpan = 0.0f;
    for (const auto& p : plane.positions)
        if (p.y > top.y - 0.02f)
            highSpan = std::max(highSpan, std::fabs(p.x));
    EXPECT_GT(highSpan, 0.2f);
}

}  // namespace
