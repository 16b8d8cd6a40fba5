#include <gtest/gtest.h>

#include <cmath>

#include "D3DTestSupport.h"
#include "ORVD3D_DrawHelper.h"
#include "ORVD3D_WindowHandler.h"

namespace {

using WindowHandlerTest = HeadlessContextTest;

// The Direct3D handler with something to draw: a clear, as the game's views.
class TestHandler : public ORVD3D_WindowHandler
{
public:
    void DrawGraphics() override
    {
        if (m_pDevice == nullptr)
            return;
        BeginDraw();
        SetupViewTransform();
        SetupProjection();
        m_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x7F99B2B2u, 1.0f, 0);
        EndDraw();
    }
};

bool SameMatrix(const D3DXMATRIX& a, const D3DXMATRIX& b, float tolerance = 1e-5f)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::abs(a.m[r][c] - b.m[r][c]) > tolerance)
                return false;
    return true;
}

}  // namespace

TEST_F(WindowHandlerTest, InitializeTakesADeviceReferenceAndASwapChainPerWindow)
{
    // As at start-up: no view has asked for a swap chain yet.
    System().ResetForTestingEXT();
    ASSERT_TRUE(CreateContext());
    auto mapWindow = std::make_shared<HeadlessWindow>(200, 100);
    TestHandler chase;
    TestHandler map;
    Device()->ClearCalls();
    ASSERT_TRUE(chase.Initialize(HWND(m_Window)));
    EXPECT_TRUE(chase.IsGraphicsReady());
    EXPECT_EQ(chase.GetSwapChain(), Device()->ImplicitSwapChain());
    ASSERT_TRUE(map.Initialize(HWND(mapWindow)));
    EXPECT_EQ(m_Counters->swapChainsAlive, 1);
    // Binding again replaces, never adds.
    ASSERT_TRUE(map.Initialize(HWND(mapWindow)));
    EXPECT_EQ(m_Counters->swapChainsAlive, 1);

    // Shutting down mid-frame still lets every reference go.
    map.BeginDraw();
    map.ShutDown();
    EXPECT_FALSE(map.IsGraphicsReady());
    EXPECT_EQ(m_Counters->swapChainsAlive, 0);
    map.EndDraw();  // nothing left to end or present
    chase.ShutDown();
    System().ReleaseGraphicsContext();
    EXPECT_EQ(m_Counters->devicesAlive, 0);
}

TEST_F(WindowHandlerTest, InitializeFailsForAGoneWindowOrWithoutDevice)
{
    TestHandler handler;
    auto window = std::make_shared<HeadlessWindow>(50, 50);
    const HWND handle(window);
    window.reset();
    const int chainsHandedOut = System().GetSwapChainCount();
    EXPECT_FALSE(handler.Initialize(handle));
    EXPECT_FALSE(handler.IsGraphicsReady());
    EXPECT_EQ(System().GetSwapChainCount(), chainsHandedOut);

    // A handler holding the device keeps it alive past the context...
    ASSERT_TRUE(handler.Initialize(HWND(m_Window)));
    System().ReleaseGraphicsContext();
    EXPECT_EQ(m_Counters->devicesAlive, 1);
    handler.DrawGraphics();
    // ...until it is re-initialised without one.
    EXPECT_FALSE(handler.Initialize(HWND(m_Window)));
    EXPECT_EQ(m_Counters->devicesAlive, 0);
    handler.DrawGraphics();
}

TEST_F(WindowHandlerTest, ViewMatrixOrbitsTheSceneAndResetGivesThePlainLookAt)
{
    TestHandler handler;
    ASSERT_TRUE(handler.Initialize(HWND(m_Window)));
    ORV_Camera* camera = handler.GetCamera();
    camera->SetPosition(0, 0, -10);
    D3DXMATRIX lookAt;
    D3DXMatrixLookAtRH(&lookAt, &camera->m_Position, &camera->m_LookAt, &camera->m_UpVector);
    D3DXMATRIX view;
    handler.ComputeViewMatrix(&view);
    EXPECT_TRUE(SameMatrix(view, lookAt));

    // Ninety pixels right: the eye circles a quarter turn about world Y and
    // still looks at the origin.
    camera->BeginRotate(0, 0);
    camera->RotateTo(90, 0);
    handler.ComputeViewMatrix(&view);
    EXPECT_TRUE(Near(Apply(view, {0, 0, 0}), {0, 0, -10}, 1e-4f));
    D3DXVECTOR3 origin;
    D3DXVECTOR3 direction;
    handler.DeviceToWorld(160, 120, &origin, &direction);
    EXPECT_TRUE(Near(origin, {10, 0, 0}, 1e-4f));
    // With a vertical turn too, the turn about Y applies first.
    camera->RotateTo(90, 90);
    handler.DeviceToWorld(160, 120, &origin, &direction);
    EXPECT_TRUE(Near(origin, {0, -10, 0}, 1e-4f));

    camera->ResetRotation();
    handler.ComputeViewMatrix(&view);
    EXPECT_TRUE(view == lookAt);
}

TEST_F(WindowHandlerTest, PickingRayRunsFromTheEyeThroughThePoint)
{
    auto window = std::make_shared<HeadlessWindow>(200, 100);
    TestHandler handler;
    ASSERT_TRUE(handler.Initialize(HWND(window)));
    handler.GetCamera()->SetPosition(0, 0, -10);
    const float t = std::tan(45.0f * 0.0174532924f / 2);

    D3DXVECTOR3 origin;
    D3DXVECTOR3 direction;
    handler.DeviceToWorld(100, 50, &origin, &direction);
    EXPECT_TRUE(Near(origin, {0, 0, -10}));
    EXPECT_TRUE(Near(direction, {0, 0, 1}));
    // The top-right corner in device coordinates: the camera looks along +Z,
    // so its right is world -X.
    handler.DeviceToWorld(200, 100, &origin, &direction);
    EXPECT_TRUE(Near(direction, {-2 * t, t, 1}));
    handler.DeviceToWorld(0, 0, &origin, &direction);
    EXPECT_TRUE(Near(direction, {2 * t, -t, 1}));
}
