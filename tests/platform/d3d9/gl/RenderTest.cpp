#include "RenderTest.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "GLInspector.h"
#include "WindowedParameters.h"

std::shared_ptr<EglOffscreenContext> RenderTest::SharedContext(std::string* whyNot)
{
    // One context for the whole run, and never destroyed: the last context
    // going terminates EGL, which unloads the GL driver, and the leak
    // checker then trips over the thread-local storage the driver left
    // behind. Reachable from here, it is no leak either.
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

void RenderTest::TearDown()
{
    m_Device.Reset();
    m_D3D.Reset();
    m_Window.reset();
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
    if (m_Device->CreateAdditionalSwapChain(&params, own.chain.Out()) != D3D_OK ||
        own.chain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, own.backBuffer.Out()) != D3D_OK)
        ADD_FAILURE() << "no swap chain in a window with a context of its own";
    return own;
}

std::shared_ptr<EglOffscreenWindow> RenderTest::NewWindow(int width, int height)
{
    return std::make_shared<EglOffscreenWindow>(m_Context, width, height);
}

ComPtr<IDirect3DDevice9> RenderTest::NewDevice(const std::shared_ptr<EglOffscreenWindow>& window)
{
    D3DPRESENT_PARAMETERS params = WindowedParameters();
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ComPtr<IDirect3DDevice9> device;
    const HWND hwnd(std::static_pointer_cast<IWindowSurface>(window));
    if (FAILED(m_D3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                   &params, device.Out())))
        return {};
    return device;
}

void RenderTest::SetFixedStates()
{
    m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_Device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    m_Device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
    m_Device->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    m_Device->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    m_Device->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    m_Device->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    m_Device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
}

void RenderTest::SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at)
{
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX world;
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXMatrixIdentity(&world);
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovRH(&projection, 0.785398163f, 1.0f, 1.0f, 10.0f);
    m_Device->SetTransform(D3DTS_WORLD, &world);
    m_Device->SetTransform(D3DTS_VIEW, &view);
    m_Device->SetTransform(D3DTS_PROJECTION, &projection);
}

void RenderTest::SetIdentityTransforms()
{
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    m_Device->SetTransform(D3DTS_WORLD, &identity);
    m_Device->SetTransform(D3DTS_VIEW, &identity);
    m_Device->SetTransform(D3DTS_PROJECTION, &identity);
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
    // Every GL call the frame took must have been accepted.
    EXPECT_EQ(GLInspector::Error(), 0u);
    return m_Window->LastFrame();
}

void RenderTest::DrawColored(D3DPRIMITIVETYPE type, const ColorVertex* vertices, UINT primitiveCount)
{
    m_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_Device->SetFVF(kColorVertexFVF);
    EXPECT_EQ(m_Device->DrawPrimitiveUP(type, primitiveCount, vertices, sizeof(ColorVertex)), D3D_OK);
}

ComPtr<ID3DXMesh> RenderTest::MakeSphere(int stacks, int slices)
{
    const DWORD numVertices = static_cast<DWORD>((stacks + 1) * (slices + 1));
    const DWORD numFaces = static_cast<DWORD>(2 * stacks * slices);
    ComPtr<ID3DXMesh> mesh;
    if (FAILED(D3DXCreateMeshFVF(numFaces, numVertices, D3DXMESH_SYSTEMMEM, D3DFVF_XYZ | D3DFVF_NORMAL, m_Device.Get(),
                                 mesh.Out())))
        return {};
    float* v = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&v));
    for (int i = 0; i <= stacks; ++i) {
        const float theta = 3.14159265f * static_cast<float>(i) / static_cast<float>(stacks);
        for (int j = 0; j <= slices; ++j) {
            const float phi = 6.28318531f * static_cast<float>(j) / static_cast<float>(slices);
            *v++ = std::sin(theta) * std::cos(phi);
            *v++ = std::cos(theta);
            *v++ = std::sin(theta) * std::sin(phi);
            v += 3;  // normal, computed below
        }
    }
    mesh->UnlockVertexBuffer();
    WORD* index = nullptr;
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&index));
    for (int i = 0; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            // (a, b, c) and (b, d, c): (p1 - p0) x (p2 - p0) points outward.
            const auto a = static_cast<WORD>(i * (slices + 1) + j);
            const auto b = static_cast<WORD>(a + 1);
            const auto c = static_cast<WORD>(a + slices + 1);
            const auto d = static_cast<WORD>(c + 1);
            const WORD face[6] = {a, b, c, b, d, c};
            for (WORD w : face)
                *index++ = w;
        }
    }
    mesh->UnlockIndexBuffer();
    D3DXComputeNormals(mesh.Get(), nullptr);
    return mesh;
}

ComPtr<ID3DXMesh> RenderTest::MakeQuad()
{
    ComPtr<ID3DXMesh> mesh;
    if (FAILED(D3DXCreateMeshFVF(2, 4, D3DXMESH_SYSTEMMEM, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, m_Device.Get(),
                                 mesh.Out())))
        return {};
    const float vertices[4][8] = {
        {-1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f},
        {-1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f},
        {1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f},
    };
    void* data = nullptr;
    mesh->LockVertexBuffer(0, &data);
    std::memcpy(data, vertices, sizeof vertices);
    mesh->UnlockVertexBuffer();
    const WORD indices[6] = {0, 2, 1, 1, 2, 3};
    mesh->LockIndexBuffer(0, &data);
    std::memcpy(data, indices, sizeof indices);
    mesh->UnlockIndexBuffer();
    return mesh;
}

D3DMATERIAL9 MakeMaterial(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient, D3DCOLORVALUE specular, D3DCOLORVALUE emissive,
                          float power)
{
    return D3DMATERIAL9{diffuse, ambient, specular, emissive, power};
}

::testing::AssertionResult PixelNear(const RgbaImage& image, int x, int y, int r, int g, int b, int tolerance)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") lies outside the image";
    const unsigned char* p = image.At(x, y);
    if (std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << int{p[0]} << ", " << int{p[1]}
                                         << ", " << int{p[2]} << "), expected about (" << r << ", " << g << ", " << b
                                         << ") within " << tolerance;
}

double MeanBrightness(const RgbaImage& image, int x0, int y0, int x1, int y1)
{
    double sum = 0.0;
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = image.At(x, y);
            sum += (p[0] + p[1] + p[2]) / 3.0;
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}
