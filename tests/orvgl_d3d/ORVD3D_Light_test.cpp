#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "D3DTestSupport.h"
#include "ORVD3D_DirectionalLight.h"
#include "ORVD3D_PointLight.h"
#include "ORVD3D_SpotLight.h"
#include "ORV_XformInfo.h"

namespace {

using LightTest = HeadlessContextTest;

bool SameRecord(const D3DLIGHT9& a, const D3DLIGHT9& b)
{
    return std::memcmp(&a, &b, sizeof(D3DLIGHT9)) == 0;
}

// The turn of a quaternion applied to a vector, through the transform's
// own matrix (row-vector convention).
D3DXVECTOR3 Turn(const ORV_Quaternion& q, const D3DXVECTOR3& v)
{
    ORV_XformInfo xform;
    xform.SetRotation(q);
    const D3DXMATRIX3X3 m = xform.GetRotationMatrix();
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0], v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

std::vector<RecordedDraw> DrawLightOnce(ORVD3D_Light& light)
{
    ORVD3D_DrawHelper helper;
    helper.InitializeModelTransform();
    HeadlessContextTest::Device()->ClearCalls();
    light.DrawLight(helper);
    return DrawsIn(HeadlessContextTest::Device()->Calls());
}

}  // namespace

TEST_F(LightTest, ApplyEnablesWithTheFullRecordOnlyWhenOn)
{
    ORVD3D_PointLight point(1);
    ORVD3D_SpotLight spot(3);

    // A new light only disables its index.
    Device()->ClearCalls();
    spot.Apply();
    ASSERT_EQ(Device()->CallNames(), (std::vector<std::string>{"LightEnable"}));
    EXPECT_EQ(Device()->Calls()[0].args, (std::vector<DWORD>{3, FALSE}));

    point.TurnOn();
    point.SetPosition(-60, 60, -60);
    Device()->ClearCalls();
    point.Apply();
    ASSERT_EQ(Device()->CallNames(), (std::vector<std::string>{"SetLight", "LightEnable"}));
    const HeadlessCall& set = Device()->Calls()[0];
    EXPECT_EQ(set.Arg(0), 1u);
    EXPECT_TRUE(SameRecord(set.light, point.GetLightRecord()));
    EXPECT_EQ(Device()->Calls()[1].args, (std::vector<DWORD>{1, TRUE}));

    // Off again: the index is disabled, the record in the device untouched.
    point.TurnOff();
    point.SetPosition(1, 2, 3);
    Device()->ClearCalls();
    point.Apply();
    ASSERT_EQ(Device()->CallNames(), (std::vector<std::string>{"LightEnable"}));
    EXPECT_EQ(Device()->Calls()[0].args, (std::vector<DWORD>{1, FALSE}));
    D3DLIGHT9 kept{};
    Device()->GetLight(1, &kept);
    EXPECT_EQ(kept.Position.x, -60.0f);

    // No index, or no device: nothing at all.
    ORVD3D_PointLight none(-1);
    none.TurnOn();
    Device()->ClearCalls();
    none.Apply();
    EXPECT_TRUE(Device()->Calls().empty());
    System().ReleaseGraphicsContext();
    point.TurnOn();
    point.Apply();  // must not reach for a device
}

TEST_F(LightTest, DirectionalMarkerTurnsTheArrowOntoTheDirection)
{
    ORVD3D_DirectionalLight light(2);
    const float h = std::sqrt(0.5f);

    light.SetDirection(0, -1, 0);
    ORV_Quaternion q = light.GetMarkerRotation();
    EXPECT_NEAR(q.x, 0.0f, 1e-6f);
    EXPECT_NEAR(q.y, 0.0f, 1e-6f);
    EXPECT_NEAR(q.z, -h, 1e-6f);  // 90 degrees about (0, 0, -1)
    EXPECT_NEAR(q.w, h, 1e-6f);
    const ORV_Quaternion down = q;

    light.SetDirection(0, -5, 0);  // normalised first
    q = light.GetMarkerRotation();
    EXPECT_NEAR(q.z, down.z, 1e-6f);
    EXPECT_NEAR(q.w, down.w, 1e-6f);

    // Along -X the arrow must turn about a perpendicular axis to point back.
    for (const D3DXVECTOR3& d : {D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(-1, 0, 0), D3DXVECTOR3(-1, 0.02f, 0.03f),
                                 D3DXVECTOR3(0.3f, 0.4f, -0.5f)}) {
        light.SetDirection(d);
        D3DXVECTOR3 unit;
        D3DXVec3Normalize(&unit, &d);
        EXPECT_TRUE(Near(Turn(light.GetMarkerRotation(), {1, 0, 0}), unit, 1e-4f));
    }
}

TEST_F(LightTest, MarkersAreDrawnOnlyWhenOnAndShownAtTheLightInItsColour)
{
    WriteShapeMeshes();
    ORVD3D_DirectionalLight directional(2);
    directional.SetPosition(2, 3, 4);
    directional.SetDirection(-1, 0, 0);
    directional.SetDiffuse(0.5f, 1.0f, 0.8f, 1.0f);

    directional.ShowMarker();
    EXPECT_TRUE(DrawLightOnce(directional).empty());  // off
    EXPECT_TRUE(Device()->Calls().empty());
    directional.TurnOn();
    directional.HideMarker();
    EXPECT_TRUE(DrawLightOnce(directional).empty());
    EXPECT_TRUE(Device()->Calls().empty());

    directional.ShowMarker();
    std::vector<RecordedDraw> draws = DrawLightOnce(directional);
    ASSERT_EQ(draws.size(), 2u);
    // The arrow's tip, 1.2 units out after the marker's scale, points to -X.
    EXPECT_TRUE(Near(Apply(draws[1].world, {0, 0, -1}), {2 - 1.2f, 3, 4}, 1e-4f));
    EXPECT_TRUE(Near(Apply(draws[0].world, {0, 0, 1.5f}), {2, 3, 4}, 1e-4f));
    for (const RecordedDraw& draw : draws)
        EXPECT_EQ(EmissiveOf(draw.material), ORV_Color(0.5f, 1.0f, 0.8f, 1.0f));

    ORVD3D_PointLight point(1);
    point.SetPosition(-6, 6, -6);
    point.SetDiffuse(ORV_Color(10, 20, 30, 255));
    point.TurnOn();
    point.ShowMarker();
    draws = DrawLightOnce(point);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(Near(Apply(draws[0].world, {0, 0, 0}), {-6, 6, -6}));
    EXPECT_TRUE(Near(Apply(draws[0].world, {1, 0, 0}), {-6 + 0.3f, 6, -6}));
    EXPECT_EQ(EmissiveOf(draws[0].material), ORV_Color(10, 20, 30, 255));
    EXPECT_EQ(Device()->RenderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
}
