#include <cmath>

#include "D3DTestSupport.h"

using WindowHandlerTest = HeadlessContextTest;

TEST_F(WindowHandlerTest, InitializeTakesADeviceReferenceAndASwapChainPerWindow)
{
    // As at start-up: no view has asked for a swap chain yet.
    System().ResetForTestingEXT();
    ASSERT_TRUE(CreateContext());
    auto mapWindow = std::make_shared<HeadlessWindow>(200, 100);
    TestViewHandler chase, map;
    ASSERT_TRUE(chase.Initialize(HWND(m_Window)));
    EXPECT_EQ(chase.GetSwapChain(), Device()->ImplicitSwapChain());
    ASSERT_TRUE(map.Initialize(HWND(mapWindow)));
    ASSERT_TRUE(map.Initialize(HWND(mapWindow)));  // replaces, never adds
    EXPECT_EQ(m_Counters->swapChainsAlive, 1);
    // Shutting down mid-frame still lets every reference go.
    map.BeginDraw();
    map.ShutDown();
    EXPECT_FALSE(map.IsGraphicsReady());
    EXPECT_EQ(m_Counters->swapChainsAlive, 0);
    map.EndDraw();  // nothing left to end or present
    // A gone window fails and hands out no chain.
    const int chainsHandedOut = System().GetSwapChainCount();
    const HWND gone(mapWindow);
    mapWindow.reset();
    EXPECT_FALSE(map.Initialize(gone));
    EXPECT_EQ(System().GetSwapChainCount(), chainsHandedOut);
    // A handler holding the device keeps it alive past the context, until
    // it is re-initialised without one.
    System().ReleaseGraphicsContext();
    EXPECT_EQ(m_Counters->devicesAlive, 1);
    chase.DrawGraphics();
    EXPECT_FALSE(chase.Initialize(HWND(m_Window)));
    EXPECT_EQ(m_Counters->devicesAlive, 0);
    chase.DrawGraphics();
}

TEST_F(WindowHandlerTest, ViewOrbitsTheSceneAndPickingRaysRunFromTheEye)
{
    auto window = std::make_shared<HeadlessWindow>(200, 100);
    TestViewHandler handler;
    ASSERT_TRUE(handler.Initialize(HWND(window)));
    ORV_Camera* camera = handler.GetCamera();
    camera->SetPosition(0, 0, -10);
    D3DXMATRIX lookAt, view;
    D3DXMatrixLookAtRH(&lookAt, &camera->m_Position, &camera->m_LookAt, &camera->m_UpVector);
    handler.ComputeViewMatrix(&view);
    EXPECT_TRUE(view == lookAt);
    // The middle, and the top-right corner in device coordinates: the
    // camera looks along +Z, so its right is world -X.
    const float t = std::tan(45.0f * 0.0174532924f / 2);
    D3DXVECTOR3 origin, direction;
    handler.DeviceToWorld(100, 50, &origin, &direction);
    EXPECT_TRUE(Near(origin, {0, 0, -10}));
    EXPECT_TRUE(Near(direction, {0, 0, 1}));
    handler.DeviceToWorld(200, 100, &origin, &direction);
    EXPECT_TRUE(Near(direction, {-2 * t, t, 1}));
    handler.DeviceToWorld(0, 0, &origin, &direction);
    EXPECT_TRUE(Near(direction, {2 * t, -t, 1}));
    // Ninety pixels right: the eye circles a quarter turn about world Y and
    // still looks at the origin.
    camera->BeginRotate(0, 0);
    camera->RotateTo(90, 0);
    handler.ComputeViewMatrix(&view);
    EXPECT_TRUE(Near(Apply(view, {0, 0, 0}), {0, 0, -10}, 1e-4f));
    handler.DeviceToWorld(100, 50, &origin, &direction);
    EXPECT_TRUE(Near(origin, {10, 0, 0}, 1e-4f));
    // With a vertical turn too, the turn about Y applies first.
    camera->RotateTo(90, 90);
    handler.DeviceToWorld(100, 50, &origin, &direction);
    EXPECT_TRUE(Near(origin, {0, -10, 0}, 1e-4f));
    camera->ResetRotation();
    handler.ComputeViewMatrix(&view);
    EXPECT_TRUE(view == lookAt);
}
