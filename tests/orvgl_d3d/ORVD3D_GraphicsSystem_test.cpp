#include "D3DTestSupport.h"

using GraphicsSystemTest = HeadlessContextTest;

TEST_F(GraphicsSystemTest, ContextTakesTheAdaptersFormatAndTheWindowsSizeAndIsMadeOnce)
{
    HeadlessOptions options;
    options.displayMode.Format = D3DFMT_A8R8G8B8;  // must come from the adapter
    ASSERT_TRUE(CreateContext(options));
    HeadlessDevice* device = Device();
    // Depth testing on, no culling: what the scene needs.
    EXPECT_EQ(device->RenderState(D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
    EXPECT_EQ(device->RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
    EXPECT_EQ(device->PresentParameters().BackBufferFormat, D3DFMT_A8R8G8B8);
    EXPECT_EQ(device->PresentParameters().BackBufferWidth, 320u);  // 0 asked: the window's client size
    EXPECT_EQ(device->FocusWindow(), HWND(m_Window));
    // A second creation, even for another window, keeps what exists.
    const std::size_t calls = device->Calls().size();
    auto other = std::make_shared<HeadlessWindow>(10, 10);
    EXPECT_TRUE(System().CreateGraphicsContext(HWND(other)));
    EXPECT_EQ(System().GetD3DDevice(), device);
    EXPECT_EQ(m_Counters->devicesCreated + m_Counters->direct3DCreated, 2);
    EXPECT_EQ(device->Calls().size(), calls);
}

TEST_F(GraphicsSystemTest, DeviceFailureIsReportedByOneBoxPerAttemptWithoutLeaking)
{
    HeadlessOptions options;
    options.failCreateDevice = true;
    EXPECT_FALSE(CreateContext(options));
    EXPECT_EQ(System().GetD3DDevice(), nullptr);
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_FALSE(m_Boxes[0].hadOwner);
    EXPECT_EQ(m_Boxes[0].text, L"D3D Creation Failed during CreateDevice");
    // Trying again reports again; the failed attempt's interface is not leaked.
    EXPECT_FALSE(System().CreateGraphicsContext(HWND(m_Window)));
    EXPECT_EQ(m_Boxes.size(), 2u);
    EXPECT_EQ(m_Counters->direct3DAlive, 1);
    // With no Direct3D at all, creation fails quietly.
    System().ReleaseGraphicsContext();
    SetDirect3DFactory({});
    EXPECT_FALSE(System().CreateGraphicsContext(HWND(m_Window)));
    EXPECT_EQ(m_Boxes.size(), 2u);
}
