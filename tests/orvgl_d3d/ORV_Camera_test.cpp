#include "ORV_Camera.h"
#include "D3DTestSupport.h"

// Each gesture is a drag: Begin* anchors it at the mouse, *To follows it.
TEST(ORV_Camera, DragsRotateTrackAndZoomTheWayTheMouseMoves)
{
    ORV_Camera camera;
    camera.BeginRotate(10, 10);
    camera.RotateTo(15, 30);
    EXPECT_EQ(camera.m_RotationX, 20.0f);  // from the vertical motion
    EXPECT_EQ(camera.m_RotationY, 5.0f);   // from the horizontal
    camera.RotateTo(12, 10);               // the anchor stays: back to the start, less 3
    EXPECT_EQ(camera.m_RotationX, 0.0f);
    EXPECT_EQ(camera.m_RotationY, 2.0f);
    camera.RotateTo(15, 30);
    camera.BeginRotate(100, 100);  // a new drag continues from the last angles
    camera.RotateTo(130, 100);
    EXPECT_EQ(camera.m_RotationY, 35.0f);
    EXPECT_EQ(camera.m_RotationX, 20.0f);
    // Track: eye and look-at move together, right and along the camera's up
    // (device y grows upwards), and the anchor follows.
    ORV_Camera track;
    track.SetPosition(0, 0, -10);
    track.BeginTrack(0, 0);
    track.TrackTo(10, 0);
    EXPECT_TRUE(Near(track.GetPosition(), {1, 0, -10}));
    EXPECT_TRUE(Near(track.GetLookAt(), {1, 0, 0}));
    track.TrackTo(10, 0);
    EXPECT_TRUE(Near(track.GetLookAt(), {1, 0, 0}));
    track.TrackTo(10, 20);
    EXPECT_TRUE(Near(track.GetPosition(), {1, -2, -10}));
    // Zoom: rightwards backs away; the eye can pass through the look-at
    // point to its far side, where it then looks back.
    ORV_Camera zoom;
    zoom.SetPosition(0, 0, -10);
    zoom.BeginZoom(0);
    zoom.ZoomTo(20);
    EXPECT_TRUE(Near(zoom.GetPosition(), {0, 0, -12}));
    zoom.ZoomTo(-100);  // 12 - 12 in one step: onto the point
    EXPECT_TRUE(Near(zoom.GetPosition(), {0, 0, 0}));
    zoom.ZoomTo(-110);
    EXPECT_TRUE(Near(zoom.GetPosition(), {0, 0, 1}));
    zoom.ZoomTo(-100);  // right: away along the new view
    EXPECT_TRUE(Near(zoom.GetPosition(), {0, 0, 2}));
}
