#include <string>

#include <gtest/gtest.h>
#include <wx/glcanvas.h>

#include "GLDevice.h"
#include "GLDirect3D9.h"
#include "MfcTestSupport.h"
#include "RefCounted.h"
#include "orvgl_mfcuiwindow1.h"

namespace {

class CanvasDrawingTest : public FrameTest
{
protected:
    // The colour at the middle of a view's client area on screen, as
    // #RRGGBB.
    static std::string MiddleOf(wxGLCanvas* canvas)
    {
        const wxSize size = canvas->GetClientSize();
        const wxPoint middle = canvas->ClientToScreen(wxPoint(size.x / 2, size.y / 2));
        const wxImage pixel = GrabScreen(wxRect(middle, wxSize(1, 1)));
        return wxColour(pixel.GetRed(0, 0), pixel.GetGreen(0, 0), pixel.GetBlue(0, 0))
            .GetAsString(wxC2S_HTML_SYNTAX)
            .utf8_string();
    }
};

// The OpenGL device draws into two views through their window handles: each
// view has a GL context of its own (objects shared), and each present lands
// in its own window.
TEST_F(CanvasDrawingTest, DevicePresentsIntoEachView)
{
    ORVMFC_UIWindow first(true);
    ORVMFC_UIWindow second(true);
    AddPlaceholder(m_Frame, 1000, wxRect(10, 10, 120, 100), wxBORDER_NONE);
    AddPlaceholder(m_Frame, 1010, wxRect(200, 10, 120, 100), wxBORDER_NONE);
    ASSERT_TRUE(first.ReplaceDialogControl(m_Frame, 1000));
    ASSERT_TRUE(second.ReplaceDialogControl(m_Frame, 1010));
    ASSERT_TRUE(
        PumpUntil([&] { return first.GetCanvas()->IsShownOnScreen() && second.GetCanvas()->IsShownOnScreen(); }));
    Pump(50);

    ComPtr<IDirect3D9> d3d(CreateOpenGLDirect3D9());
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    ComPtr<IDirect3DDevice9> device;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, first.GetSafeHwnd(),
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, device.Out()),
              D3D_OK);
    D3DPRESENT_PARAMETERS secondParams = params;
    secondParams.hDeviceWindow = second.GetSafeHwnd();
    secondParams.BackBufferWidth = 0;
    secondParams.BackBufferHeight = 0;
    ComPtr<IDirect3DSwapChain9> secondChain;
    ASSERT_EQ(device->CreateAdditionalSwapChain(&secondParams, secondChain.Out()), D3D_OK);
    ComPtr<IDirect3DSwapChain9> firstChain;
    ASSERT_EQ(device->GetSwapChain(0, firstChain.Out()), D3D_OK);

    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(firstChain->Present(nullptr, nullptr, HWND{}, nullptr, 0), D3D_OK);

    ComPtr<IDirect3DSurface9> secondBuffer;
    ASSERT_EQ(secondChain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, secondBuffer.Out()), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(0, secondBuffer.Get()), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    ASSERT_EQ(secondChain->Present(nullptr, nullptr, HWND{}, nullptr, 0), D3D_OK);

    EXPECT_EQ(MiddleOf(first.GetCanvas()), "#FF0000");
    EXPECT_EQ(MiddleOf(second.GetCanvas()), "#0000FF");
    const std::uint64_t firstContext = first.GetSafeHwnd().Lock()->GLContextId();
    const std::uint64_t secondContext = second.GetSafeHwnd().Lock()->GLContextId();
    EXPECT_NE(firstContext, 0u);
    EXPECT_NE(secondContext, 0u);
    EXPECT_NE(firstContext, secondContext);
    EXPECT_EQ(static_cast<GLDevice*>(device.Get())->ContextCount(), 2u);

    // A view that is gone can no longer be presented into.
    secondBuffer.Reset();
    second.GetCanvas()->Destroy();
    EXPECT_NE(secondChain->Present(nullptr, nullptr, HWND{}, nullptr, 0), D3D_OK);
}

}  // namespace
