// Device rules that show in a few pixels: culling, depth writes, the
// top-left rule and viewports at every scale, presenting, point sizes,
// windows that cannot make the context current yet, and windows with
// contexts of their own.
#include "RenderTest.h"

namespace {

constexpr D3DCOLOR kBlue = 0xFF0000FF;

TEST_F(RenderTest, CullModesRemoveTheFacesDirect3DRemoves)
{
    SetIdentityTransforms();
    // Clockwise on screen: Direct3D's front face.
    const ColorVertex clockwise[3] = {
        {-0.5f, -0.5f, 0.5f, 0xFFFFFFFF}, {0.0f, 0.5f, 0.5f, 0xFFFFFFFF}, {0.5f, -0.5f, 0.5f, 0xFFFFFFFF}};
    const ColorVertex counterClockwise[3] = {clockwise[0], clockwise[2], clockwise[1]};
    const DWORD culls[] = {D3DCULL_CCW, D3DCULL_CCW, D3DCULL_CW, D3DCULL_CW, D3DCULL_NONE};
    for (int i = 0; i < 5; ++i) {
        const bool turned = i % 2 == 1 || i == 4;
        BeginFrame(kBlue);
        m_Device->SetRenderState(D3DRS_CULLMODE, culls[i]);
        DrawColored(D3DPT_TRIANGLELIST, turned ? counterClockwise : clockwise, 1);
        EXPECT_EQ(PixelNear(EndFrame(), 64, 70, 255, 255, 255, 0), i == 0 || i >= 3)
            << "cull mode " << culls[i] << (turned ? ", counter-clockwise" : ", clockwise");
    }
}

TEST_F(RenderTest, DepthWritesOffStillTestButLeaveTheDepthBufferAsItWas)
{
    SetIdentityTransforms();
    const auto farRed = Rectangle(-0.6f, 0.5f, 0.6f, -0.5f, 0.7f, 0xFFFF0000);
    BeginFrame(kBlue);
    DrawColored(D3DPT_TRIANGLESTRIP, farRed.data(), 2);
    m_Device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-1.0f, 0.5f, 0.0f, -0.5f, 0.3f, 0xFF00FF00).data(), 2);  // near
    m_Device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    // Behind the green, which wrote no depth, and in front of the red.
    DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-1.0f, 0.5f, 1.0f, -0.5f, 0.5f, 0xFFFFFFFF).data(), 2);
    EXPECT_EQ(CountPixels(EndFrame(), 255, 255, 255), 128 * 64);
    // With depth writes off a clear still resets the depth buffer, and
    // drawing is still tested.
    m_Device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    BeginFrame(kBlue);
    m_Device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    DrawColored(D3DPT_TRIANGLESTRIP, farRed.data(), 2);
    m_Device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-1.0f, 0.5f, 1.0f, -0.5f, 0.9f, 0xFF00FF00).data(), 2);  // behind
    const RgbaImage& second = EndFrame();
    EXPECT_TRUE(PixelNear(second, 64, 64, 255, 0, 0, 0));
    EXPECT_TRUE(PixelNear(second, 10, 64, 0, 255, 0, 0));
}

TEST_F(RenderTest, PresentStretchesTheBackBufferOverTheWindow)
{
    // The implicit chain took the window's 128x128; the window then grows.
    ASSERT_TRUE(m_Window->SetClientSize(256, 128));
    SetIdentityTransforms();
    BeginFrame(kBlue);
    DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-1.0f, 1.0f, 0.0f, -1.0f, 0.5f, 0xFFFF0000).data(), 2);
    const RgbaImage& stretched = EndFrame();
    ASSERT_EQ(stretched.width, 256);
    // 64 red columns become 128, the last blended with the blue.
    EXPECT_GE(CountPixels(stretched, 255, 0, 0), 127 * 128);
    EXPECT_TRUE(PixelNear(stretched, 136, 64, 0, 0, 255, 0));
    // Into another window: stretched over that one's client area.
    const auto other = NewWindow(64, 32);
    ComPtr<IDirect3DSwapChain9> chain;
    ASSERT_EQ(m_Device->GetSwapChain(0, chain.Out()), D3D_OK);
    ASSERT_EQ(chain->Present(nullptr, nullptr, HWND(std::static_pointer_cast<IWindowSurface>(other)), nullptr, 0),
              D3D_OK);
    EXPECT_EQ(CountPixels(other->LastFrame(), 255, 0, 0), 32 * 32);
    const RECT rect{0, 0, 10, 10};
    EXPECT_EQ(chain->Present(&rect, nullptr, HWND(), nullptr, 0), D3DERR_INVALIDCALL);
}

TEST_F(RenderTest, PointsTakeTheirSizeFromTheVertex)
{
    SetIdentityTransforms();
    const struct
    {
        float x, y, z, size;
        DWORD color;
    } sized[2] = {{0.0f, 0.0f, 0.5f, 9.0f, 0xFF00FF00}, {0.5f, -0.5f, 0.5f, 4.0f, 0xFFFFFFFF}};
    BeginFrame(kBlue);
    m_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_Device->SetFVF(D3DFVF_XYZ | D3DFVF_PSIZE | D3DFVF_DIFFUSE);
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_POINTLIST, 2, sized, sizeof sized[0]), D3D_OK);
    const RgbaImage& frame = EndFrame();
    EXPECT_EQ(CountPixels(frame, 0, 255, 0), 81);
    EXPECT_EQ(CountPixels(frame, 255, 255, 255), 16);
}

TEST_F(RenderTest, AWindowThatCannotMakeTheContextCurrentDefersAllGLWork)
{
    // Like a GL canvas before it is shown: state calls work, GL work waits.
    m_Window->SetRealised(false);
    ASSERT_EQ(m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
    EXPECT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3DERR_NOTAVAILABLE);
    ASSERT_EQ(m_Device->EndScene(), D3D_OK);
    ComPtr<IDirect3DSwapChain9> chain;
    ASSERT_EQ(m_Device->GetSwapChain(0, chain.Out()), D3D_OK);
    EXPECT_EQ(chain->Present(nullptr, nullptr, HWND(), nullptr, 0), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(m_Window->SwapCount(), 0);

    m_Window->SetRealised(true);
    BeginFrame(0xFFFF0000);
    EXPECT_EQ(CountPixels(EndFrame(), 255, 0, 0), kSize * kSize);
}

TEST_F(RenderTest, BackBuffersAreStoredAtTheDrawableSizeAndFollowAScaleChange)
{
    // The top-left quarter, and a point of size 4 at the centre of the right
    // half. Direct3D 9 samples pixels at integer positions, so clip-space
    // edges fall on pixel centres; its top-left rule keeps the top row and
    // left column and drops the bottom row and right column.
    const auto quarter = Rectangle(-1.0f, 1.0f, 0.0f, 0.0f, 0.5f, 0xFFFF0000);
    const ColorVertex point[1] = {{0.5f, 0.0f, 0.5f, 0xFFFFFFFF}};
    // Then a fractional scale, then the window moves to a screen of scale 2:
    // each frame gets storage of the drawable's size, the Direct3D size stays.
    for (const int scaled : {kSize, 192, 256}) {
        SCOPED_TRACE(scaled);
        EXPECT_TRUE(m_Window->SetScale(scaled / double{kSize}));
        SetIdentityTransforms();
        m_Device->SetRenderState(D3DRS_POINTSIZE, FloatBits(4.0f));
        BeginFrame(kBlue);
        DrawColored(D3DPT_TRIANGLESTRIP, quarter.data(), 2);
        DrawColored(D3DPT_POINTLIST, point, 1);
        const RgbaImage& frame = EndFrame();
        ASSERT_EQ(frame.width, scaled);
        ASSERT_EQ(frame.height, scaled);
        const int dot = 4 * scaled / kSize;
        EXPECT_EQ(CountPixels(frame, 255, 0, 0), scaled * scaled / 4);
        EXPECT_TRUE(PixelNear(frame, 0, 0, 255, 0, 0, 0));
        EXPECT_EQ(CountPixels(frame, 255, 255, 255), dot * dot);
        EXPECT_EQ(CountPixels(frame, 0, 0, 255), scaled * scaled * 3 / 4 - dot * dot);
    }
    // A viewport in Direct3D pixels, counted from the top, lands on the same
    // part of the window (the back buffer keeps its Direct3D size); a clear
    // and a draw stay inside it.
    const D3DVIEWPORT9 viewport{32, 16, 64, 32, 0.0f, 1.0f};
    BeginFrame(kBlue);
    ASSERT_EQ(m_Device->SetViewport(&viewport), D3D_OK);
    ASSERT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-1.0f, 0.0f, 1.0f, -1.0f, 0.5f, 0xFF00FF00).data(), 2);  // lower half
    const RgbaImage& inside = EndFrame();
    EXPECT_TRUE(PixelNear(inside, 80, 40, 255, 0, 0, 0));
    EXPECT_TRUE(PixelNear(inside, 80, 80, 0, 255, 0, 0));
    EXPECT_EQ(CountPixels(inside, 255, 0, 0) + CountPixels(inside, 0, 255, 0), 128 * 64);
}

TEST_F(RenderTest, WindowsWithContextsOfTheirOwnEachGetTheWholeState)
{
    const OwnContextChain other = NewOwnContextChain(64);
    ASSERT_TRUE(other.backBuffer);
    ComPtr<IDirect3DSwapChain9> implicit;
    ASSERT_EQ(m_Device->GetSwapChain(0, implicit.Out()), D3D_OK);
    ComPtr<IDirect3DSurface9> ownBuffer;
    ASSERT_EQ(implicit->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, ownBuffer.Out()), D3D_OK);
    // A lit textured quad, all state set once, drawn through the first
    // window's context and then, unchanged, through the second's: the second
    // context must be given every state and the program's values, and sees
    // the texture made in the first; back in the first nothing is sent again.
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(m_Device->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    *static_cast<DWORD*>(locked.pBits) = 0xFF00FF00;
    texture->UnlockRect(0);
    const float quad[4][5] = {{-1, 1, 0.5f, 0, 0}, {1, 1, 0.5f, 1, 0}, {-1, -1, 0.5f, 0, 1}, {1, -1, 0.5f, 1, 1}};
    SetIdentityTransforms();
    m_Device->SetTexture(0, texture.Get());
    m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_Device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    const std::array<IDirect3DSwapChain9*, 3> targets = {implicit.Get(), other.chain.Get(), implicit.Get()};
    std::array<int, 3> uploads{};
    for (size_t i = 0; i < targets.size(); ++i) {
        m_Device->SetRenderTarget(0, i == 1 ? other.backBuffer.Get() : ownBuffer.Get());
        ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
        ASSERT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlue, 1.0f, 0), D3D_OK);
        ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]), D3D_OK);
        ASSERT_EQ(m_Device->EndScene(), D3D_OK);
        ASSERT_EQ(targets[i]->Present(nullptr, nullptr, HWND(), nullptr, 0), D3D_OK);
        uploads[i] = Gl()->UniformUploadCount();
    }
    EXPECT_GT(uploads[1], 0);  // the counts are each context's own
    EXPECT_EQ(uploads[2], uploads[0]);
    EXPECT_EQ(CountPixels(m_Window->LastFrame(), 0, 255, 0), kSize * kSize);
    EXPECT_EQ(CountPixels(other.window->LastFrame(), 0, 255, 0), 64 * 64);
    EXPECT_EQ(Gl()->ContextCount(), 2u);
    m_Device->SetTexture(0, nullptr);
}

}  // namespace
