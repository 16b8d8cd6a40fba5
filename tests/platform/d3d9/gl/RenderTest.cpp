#include "RenderTest.h"

#include <cmath>
#include <cstdlib>

#include "GLInspector.h"
#include "WindowedParameters.h"

std::array<ColorVertex, 4> Rectangle(float x0, float y0, float x1, float y1, float z, DWORD color)
{
    return {ColorVertex{x0, y0, z, color}, {x1, y0, z, color}, {x0, y1, z, color}, {x1, y1, z, color}};
}

std::shared_ptr<EglOffscreenContext> RenderTest::SharedContext(std::string* whyNot)
{
    // Never destroyed: the last context going unloads the GL driver, and the
    // leak checker then trips over the thread-local storage it left behind.
    static std::string error;
    static const auto* context = new std::shared_ptr<EglOffscreenContext>(EglOffscreenContext::Create(&error));
    *whyNot = error;
    return *context;
}

void RenderTest::SetUp()
{
    std::string whyNot;
    m_Context = SharedContext(&whyNot);
    if (!m_Context)
        GTEST_SKIP() << "no offscreen OpenGL context: " << whyNot;
    m_Window = NewWindow(kSize, kSize);
    m_D3D = ComPtr<IDirect3D9>(CreateOpenGLDirect3D9());
    m_Device = NewDevice(m_Window);
    ASSERT_TRUE(m_Device);
}

RenderTest::OwnContextChain RenderTest::NewOwnContextChain(int size)
{
    OwnContextChain own;
    std::string whyNot;
    const std::shared_ptr<EglOffscreenContext> context = EglOffscreenContext::Create(&whyNot, m_Context.get());
    if (!context) {
        ADD_FAILURE() << whyNot;
        return own;
    }
    own.window = std::make_shared<EglOffscreenWindow>(context, size, size);
    D3DPRESENT_PARAMETERS params{};
    params.hDeviceWindow = HWND(std::static_pointer_cast<IWindowSurface>(own.window));
    EXPECT_EQ(m_Device->CreateAdditionalSwapChain(&params, own.chain.Out()), D3D_OK);
    own.chain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, own.backBuffer.Out());
    return own;
}

ComPtr<IDirect3DDevice9> RenderTest::NewDevice(const std::shared_ptr<EglOffscreenWindow>& window)
{
    D3DPRESENT_PARAMETERS params = WindowedParameters();
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ComPtr<IDirect3DDevice9> device;
    m_D3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, HWND(std::static_pointer_cast<IWindowSurface>(window)),
                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, device.Out());
    return device;
}

void RenderTest::SetFixedStates()
{
    for (const D3DRENDERSTATETYPE source : {D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_SPECULARMATERIALSOURCE,
                                            D3DRS_AMBIENTMATERIALSOURCE, D3DRS_EMISSIVEMATERIALSOURCE})
        m_Device->SetRenderState(source, D3DMCS_MATERIAL);
    m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_Device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    m_Device->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
}

void RenderTest::SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at)
{
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view, projection;
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovRH(&projection, 0.785398163f, 1.0f, 1.0f, 10.0f);
    SetIdentityTransforms();
    m_Device->SetTransform(D3DTS_VIEW, &view);
    m_Device->SetTransform(D3DTS_PROJECTION, &projection);
}

void RenderTest::SetIdentityTransforms()
{
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    for (const D3DTRANSFORMSTATETYPE t : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION})
        m_Device->SetTransform(t, &identity);
}

void RenderTest::BeginFrame(D3DCOLOR clearColor)
{
    ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
    ASSERT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColor, 1.0f, 0), D3D_OK);
}

const RgbaImage& RenderTest::EndFrame()
{
    EXPECT_EQ(m_Device->EndScene(), D3D_OK);
    ComPtr<IDirect3DSwapChain9> chain;
    EXPECT_EQ(m_Device->GetSwapChain(0, chain.Out()), D3D_OK);
    EXPECT_EQ(chain->Present(nullptr, nullptr, HWND(), nullptr, 0), D3D_OK);
    EXPECT_EQ(GLInspector::Error(), 0u);  // GL accepted every call the frame took
    return m_Window->LastFrame();
}

void RenderTest::DrawColored(D3DPRIMITIVETYPE type, const ColorVertex* vertices, UINT primitiveCount)
{
    m_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_Device->SetFVF(kColorVertexFVF);
    EXPECT_EQ(m_Device->DrawPrimitiveUP(type, primitiveCount, vertices, sizeof(ColorVertex)), D3D_OK);
}

ComPtr<ID3DXMesh> RenderTest::MakeSphere()
{
    constexpr int stacks = 8, slices = 12;
    ComPtr<ID3DXMesh> mesh;
    if (FAILED(D3DXCreateMeshFVF(2 * stacks * slices, (stacks + 1) * (slices + 1), D3DXMESH_SYSTEMMEM,
                                 D3DFVF_XYZ | D3DFVF_NORMAL, m_Device.Get(), mesh.Out())))
        return {};
    float* v = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&v));
    for (int i = 0; i <= stacks; ++i) {
        const float theta = 3.14159265f * static_cast<float>(i) / static_cast<float>(stacks);
        for (int j = 0; j <= slices; ++j, v += 6) {
            const float phi = 6.28318531f * static_cast<float>(j) / static_cast<float>(slices);
            v[0] = std::sin(theta) * std::cos(phi);
            v[1] = std::cos(theta);
            v[2] = std::sin(theta) * std::sin(phi);
        }
    }
    mesh->UnlockVertexBuffer();
    WORD* index = nullptr;
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&index));
    for (int i = 0; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            // (a, b, c) and (b, d, c): (p1 - p0) x (p2 - p0) points outward.
            const auto a = static_cast<WORD>(i * (slices + 1) + j), c = static_cast<WORD>(a + slices + 1);
            for (const WORD w : {a, WORD(a + 1), c, WORD(a + 1), WORD(c + 1), c})
                *index++ = w;
        }
    }
    mesh->UnlockIndexBuffer();
    D3DXComputeNormals(mesh.Get(), nullptr);
    return mesh;
}

::testing::AssertionResult PixelNear(const RgbaImage& image, int x, int y, int r, int g, int b, int tolerance)
{
    if (x >= image.width || y >= image.height)
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") lies outside the image";
    const unsigned char* p = image.At(x, y);
    if (std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << int{p[0]} << ", " << int{p[1]}
                                         << ", " << int{p[2]} << "), expected about (" << r << ", " << g << ", " << b
                                         << ") within " << tolerance;
}

int CountPixels(const RgbaImage& image, int r, int g, int b)
{
    int count = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            count += PixelNear(image, x, y, r, g, b, 0) ? 1 : 0;
    return count;
}
