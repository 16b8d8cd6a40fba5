#include <string>

#include <wx/glcanvas.h>

#include "GLDevice.h"
#include "GLDirect3D9.h"
#include "MfcTestSupport.h"
#include "RefCounted.h"
#include "orvgl_mfcuiwindow1.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using CanvasDrawingTest = FrameTest;

// The colour at the middle of a view on screen, as #RRGGBB, straight from
// the X server on wx's own connection, so that everything wx and GL sent
// before is drawn first.
std::string MiddleOf(wxGLCanvas* canvas)
{
    const wxPoint middle =
        canvas->ClientToScreen(wxPoint(canvas->GetClientSize().x / 2, canvas->GetClientSize().y / 2));
    Display* display = wxGetX11Display();
    XImage* shot = XGetImage(display, DefaultRootWindow(display), middle.x, middle.y, 1, 1, AllPlanes, ZPixmap);
    if (shot == nullptr)
        return "none";
    const unsigned long pixel = XGetPixel(shot, 0, 0);
    const auto channel = [pixel](unsigned long mask) {
        return static_cast<unsigned char>((pixel & mask) * 255u / mask);
    };
    const wxColour colour(channel(shot->red_mask), channel(shot->green_mask), channel(shot->blue_mask));
    XDestroyImage(shot);
    return colour.GetAsString(wxC2S_HTML_SYNTAX).utf8_string();
}

// The OpenGL device draws into two views through their window handles, with
// a GL context for each, and each present lands in its own window.
TEST_F(CanvasDrawingTest, DevicePresentsIntoEachView)
{
    ORVMFC_UIWindow views[2]{ORVMFC_UIWindow(true), ORVMFC_UIWindow(true)};
    for (int i = 0; i < 2; ++i) {
        AddPlaceholder(m_Frame, 1000 + i, wxRect(10 + 190 * i, 10, 120, 100), wxBORDER_NONE);
        ASSERT_TRUE(views[i].ReplaceDialogControl(m_Frame, 1000 + i));
        ASSERT_TRUE(PumpUntil([&] { return views[i].GetCanvas()->IsShownOnScreen(); }));
    }
    Pump(50);
    ComPtr<IDirect3D9> d3d(CreateOpenGLDirect3D9());
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    ComPtr<IDirect3DDevice9> device;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, views[0].GetSafeHwnd(),
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, device.Out()),
              D3D_OK);
    params.hDeviceWindow = views[1].GetSafeHwnd();
    ComPtr<IDirect3DSwapChain9> chains[2];
    ASSERT_EQ(device->GetSwapChain(0, chains[0].Out()), D3D_OK);
    ASSERT_EQ(device->CreateAdditionalSwapChain(&params, chains[1].Out()), D3D_OK);
    const D3DCOLOR colours[2] = {0xFFFF0000, 0xFF0000FF};
    for (int i = 0; i < 2; ++i) {
        ComPtr<IDirect3DSurface9> buffer;
        ASSERT_EQ(chains[i]->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, buffer.Out()), D3D_OK);
        ASSERT_EQ(device->SetRenderTarget(0, buffer.Get()), D3D_OK);
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, colours[i], 1.0f, 0), D3D_OK);
        ASSERT_EQ(chains[i]->Present(nullptr, nullptr, HWND{}, nullptr, 0), D3D_OK);
    }
    EXPECT_EQ(MiddleOf(views[0].GetCanvas()), "#FF0000");
    EXPECT_EQ(MiddleOf(views[1].GetCanvas()), "#0000FF");
    EXPECT_EQ(static_cast<GLDevice*>(device.Get())->ContextCount(), 2u);
    // A view that is gone can no longer be presented into.
    views[1].GetCanvas()->Destroy();
    EXPECT_NE(chains[1]->Present(nullptr, nullptr, HWND{}, nullptr, 0), D3D_OK);
}

}  // namespace
