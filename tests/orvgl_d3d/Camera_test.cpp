#include <gtest/gtest.h>

#include "MeshDrawLog.h"
#include "ORV_Camera.h"

namespace {

float Distance(const ORV_Camera& camera)
{
    const D3DXVECTOR3 view = camera.GetLookAt() - camera.GetPosition();
    return D3DXVec3Length(&view);
}

}  // namespace

TEST(Camera, StartsAtMinusZLookingAtTheOrigin)
{
    const ORV_Camera camera;
    EXPECT_EQ(camera.GetPosition(), D3DXVECTOR3(0, 0, -1));
    EXPECT_EQ(camera.GetLookAt(), D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(camera.GetUpVector(), D3DXVECTOR3(0, 1, 0));
    float fov = 0;
    float nearPlane = 0;
    float farPlane = 0;
    camera.GetPerspective(&fov, &nearPlane, &farPlane);
    EXPECT_EQ(fov, 45.0f);
    EXPECT_EQ(nearPlane, 0.1f);
    EXPECT_EQ(farPlane, 100.0f);
    EXPECT_EQ(camera.GetFovRadians(), 45.0f * 0.0174532924f);
    EXPECT_EQ(camera.m_RotationX, 0.0f);
    EXPECT_EQ(camera.m_RotationY, 0.0f);
    EXPECT_EQ(camera.m_SavedRotationX, 0.0f);
    EXPECT_EQ(camera.m_SavedRotationY, 0.0f);
}

TEST(Camera, RotateFollowsTheWholeDragAndContinuesFromTheSavedAngles)
{
    ORV_Camera camera;
    camera.BeginRotate(10, 10);
    camera.RotateTo(15, 30);
    EXPECT_EQ(camera.m_RotationX, 20.0f);  // vertical motion
    EXPECT_EQ(camera.m_RotationY, 5.0f);   // horizontal motion
    camera.RotateTo(12, 10);  // the anchor stays: back to the start, less 3
    EXPECT_EQ(camera.m_RotationX, 0.0f);
    EXPECT_EQ(camera.m_RotationY, 2.0f);
    camera.RotateTo(15, 30);

    camera.BeginRotate(100, 100);
    EXPECT_EQ(camera.m_SavedRotationX, 20.0f);
    EXPECT_EQ(camera.m_SavedRotationY, 5.0f);
    camera.RotateTo(130, 100);
    EXPECT_EQ(camera.m_RotationY, 35.0f);

    float angleX = 0;
    float angleY = 0;
    D3DXVECTOR3 axisX;
    D3DXVECTOR3 axisY;
    camera.GetMouseRotation(&angleX, &axisX, &angleY, &axisY);
    EXPECT_EQ(angleX, 20.0f * 0.0174532924f);
    EXPECT_EQ(angleY, 35.0f * 0.0174532924f);
    EXPECT_TRUE(Near(axisX, {1, 0, 0}));  // up x view, normalised
    EXPECT_EQ(axisY, D3DXVECTOR3(0, 1, 0));

    camera.ResetRotation();
    EXPECT_EQ(camera.m_RotationX, 0.0f);
    EXPECT_EQ(camera.m_RotationY, 0.0f);
    EXPECT_EQ(camera.m_SavedRotationY, 5.0f);
    EXPECT_EQ(camera.m_MouseX, 100);
}

TEST(Camera, TrackMovesEyeAndLookAtTogetherIncrementally)
{
    ORV_Camera camera;
    camera.SetPosition(0, 0, -10);
    camera.BeginTrack(0, 0);
    camera.TrackTo(10, 0);
    EXPECT_TRUE(Near(camera.GetPosition(), {1, 0, -10}));
    EXPECT_TRUE(Near(camera.GetLookAt(), {1, 0, 0}));
    // The anchor followed: the same point again moves nothing.
    camera.TrackTo(10, 0);
    EXPECT_TRUE(Near(camera.GetLookAt(), {1, 0, 0}));
    // Upward drag moves along the camera's own up.
    camera.TrackTo(10, 20);
    EXPECT_TRUE(Near(camera.GetPosition(), {1, -2, -10}));
    EXPECT_TRUE(Near(camera.GetLookAt(), {1, -2, 0}));
}

TEST(Camera, ZoomChangesTheDistanceAndCarriesTheEyeThroughTheLookAtPoint)
{
    ORV_Camera camera;
    camera.SetPosition(0, 0, -10);
    camera.BeginZoom(0);
    camera.ZoomTo(20);
    EXPECT_NEAR(Distance(camera), 12.0f, 1e-5f);
    EXPECT_TRUE(Near(camera.GetPosition(), {0, 0, -12}));
    camera.ZoomTo(-100);  // 12 - 12 in one step: onto the point
    EXPECT_TRUE(Near(camera.GetPosition(), {0, 0, 0}));
    // From the point itself the eye still has a way out: further left
    // carries it through to the far side, where it now looks back.
    camera.ZoomTo(-110);
    EXPECT_TRUE(Near(camera.GetPosition(), {0, 0, 1}));
    camera.ZoomTo(-100);  // right: away along the new view
    EXPECT_TRUE(Near(camera.GetPosition(), {0, 0, 2}));
    camera.ZoomTo(-120);
    EXPECT_TRUE(Near(camera.GetPosition(), {0, 0, 0}));
    camera.ZoomTo(-130);
    EXPECT_TRUE(Near(camera.GetPosition(), {0, 0, -1}));

    // A long drag in one step passes straight through.
    ORV_Camera far;
    far.SetPosition(0, 3, 0);
    far.BeginTrack(7, 9);
    far.BeginZoom(50);
    far.ZoomTo(0);
    EXPECT_TRUE(Near(far.GetPosition(), {0, -2, 0}));
    EXPECT_EQ(far.m_MouseY, 9);  // zooming uses X only
}
