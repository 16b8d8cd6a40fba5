// What the OpenGL device alone does, beyond the shared behaviour: what
// reaches GL's matrices and lights, what the lighting program is sent,
// uploads, meshes left out of sight, deferred deletion.
#include <cmath>

#include "D3DToGL.h"
#include "GLInspector.h"
#include "RenderTest.h"

namespace {

const ColorVertex kDot[1] = {{0.0f, 0.0f, 0.5f, 0xFFFFFFFF}};

// A draw makes the device hand its state to GL.
void DrawSomething(IDirect3DDevice9* device)
{
    device->SetFVF(kColorVertexFVF);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, kDot, sizeof(ColorVertex)), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);
}

// (x, y, z, w) * m for GL's column-major m.
void TransformColumnMajor(const float m[16], const float in[4], float out[4])
{
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
}

TEST_F(RenderTest, ProjectionReachesGLWithDepthZeroToOneRemappedAndHalfAPixelShift)
{
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovRH(&projection, 0.785398163f, 1.0f, 1.0f, 10.0f);
    m_Device->SetTransform(D3DTS_PROJECTION, &projection);
    DrawSomething(m_Device.Get());
    float gl[16];
    GLInspector::ProjectionMatrix(gl);

    // A point on the near plane must land on GL's near depth −1, one on the
    // far plane on +1 (Direct3D: 0 and 1).
    const float nearPoint[4] = {0.0f, 0.0f, -1.0f, 1.0f};
    const float farPoint[4] = {0.0f, 0.0f, -10.0f, 1.0f};
    float clip[4];
    TransformColumnMajor(gl, nearPoint, clip);
    EXPECT_NEAR(clip[2] / clip[3], -1.0f, 1e-5f);
    // On the axis: shifted right and down by (nearly) half a pixel, onto
    // Direct3D 9's pixel centre.
    EXPECT_NEAR(clip[0] / clip[3], 2.0f * d3dtogl::kPixelShift / kSize, 1e-6f);
    EXPECT_NEAR(clip[1] / clip[3], -2.0f * d3dtogl::kPixelShift / kSize, 1e-6f);
    TransformColumnMajor(gl, farPoint, clip);
    EXPECT_NEAR(clip[2] / clip[3], 1.0f, 1e-5f);
    // A half-way depth as Direct3D computes it, mapped by 2z − 1.
    const float middle[4] = {0.0f, 0.0f, -2.0f, 1.0f};
    TransformColumnMajor(gl, middle, clip);
    const float d3dDepth = (projection._33 * -2.0f + projection._43) / 2.0f;
    EXPECT_NEAR(clip[2] / clip[3], 2.0f * d3dDepth - 1.0f, 1e-5f);
}

TEST_F(RenderTest, LightsAreGivenInWorldSpaceUnderTheViewAndFollowItsChanges)
{
    const D3DXVECTOR3 eye(0.0f, 0.0f, 5.0f);
    const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    m_Device->SetTransform(D3DTS_VIEW, &view);
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 10.0f, 20.0f, 30.0f);  // must not move the lights
    m_Device->SetTransform(D3DTS_WORLD, &world);

    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Position = {2.0f, 3.0f, 4.0f};
    point.Attenuation0 = 1.0f;
    D3DLIGHT9 sun{};
    sun.Type = D3DLIGHT_DIRECTIONAL;
    sun.Direction = {0.0f, -1.0f, 0.0f};
    // Indices out of order: GL slots follow ascending indices.
    m_Device->SetLight(5, &point);
    m_Device->SetLight(2, &sun);
    m_Device->LightEnable(5, TRUE);
    m_Device->LightEnable(2, TRUE);
    m_Device->LightEnable(3, FALSE);
    DrawSomething(m_Device.Get());

    EXPECT_EQ(Gl()->GLLightSlotIndex(0), 2);
    EXPECT_EQ(Gl()->GLLightSlotIndex(1), 5);
    EXPECT_EQ(Gl()->GLLightSlotIndex(2), -1);
    EXPECT_TRUE(GLInspector::LightEnabled(1));
    EXPECT_FALSE(GLInspector::LightEnabled(2));
    float position[4];
    GLInspector::LightPosition(1, position);  // eye space: (2, 3, 4) seen from z = 5
    EXPECT_NEAR(position[0], 2.0f, 1e-5f);
    EXPECT_NEAR(position[1], 3.0f, 1e-5f);
    EXPECT_NEAR(position[2], -1.0f, 1e-5f);
    EXPECT_EQ(position[3], 1.0f);
    GLInspector::LightPosition(0, position);  // the way towards the sun: up
    EXPECT_NEAR(position[1], 1.0f, 1e-6f);
    EXPECT_EQ(position[3], 0.0f);

    // Only the view changes (eye moves to +X looking at the origin): the
    // same world-space light must be re-given under the new view.
    const D3DXVECTOR3 eye2(5.0f, 0.0f, 0.0f);
    D3DXMatrixLookAtRH(&view, &eye2, &at, &up);
    m_Device->SetTransform(D3DTS_VIEW, &view);
    DrawSomething(m_Device.Get());
    GLInspector::LightPosition(1, position);
    D3DXVECTOR3 expected;
    const D3DXVECTOR3 lightWorld(2.0f, 3.0f, 4.0f);
    D3DXVec3TransformCoord(&expected, &lightWorld, &view);
    EXPECT_NEAR(position[0], expected.x, 1e-5f);
    EXPECT_NEAR(position[1], expected.y, 1e-5f);
    EXPECT_NEAR(position[2], expected.z, 1e-5f);
    EXPECT_EQ(GLInspector::Error(), 0u);
}

TEST_F(RenderTest, TheLightingProgramIsSentOnlyWhatChangedInEachContext)
{
    SetFixedStates();
    const D3DMATERIAL9 material = MakeMaterial({0.5f, 0.5f, 0.5f, 1.0f}, {0.2f, 0.2f, 0.2f, 1.0f}, {}, {}, 8.0f);
    m_Device->SetMaterial(&material);
    D3DLIGHT9 sun = DefaultLight();
    D3DLIGHT9 lamp{};
    lamp.Type = D3DLIGHT_POINT;
    lamp.Position = {1.0f, 2.0f, 3.0f};
    lamp.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    lamp.Range = 10.0f;
    m_Device->SetLight(0, &sun);
    m_Device->SetLight(1, &lamp);
    m_Device->LightEnable(0, TRUE);
    m_Device->LightEnable(1, TRUE);
    DrawSomething(m_Device.Get());
    const int everything = Gl()->UniformUploadCount();
    EXPECT_GT(everything, 10);

    // Nothing changed: nothing sent.
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), everything);
    // One material colour: that colour.
    D3DMATERIAL9 redder = material;
    redder.Diffuse.r = 0.9f;
    m_Device->SetMaterial(&redder);
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), everything + 1);
    // The view moves without turning: the point light's eye-space position,
    // not the directional light's way.
    D3DXMATRIX moved;
    D3DXMatrixTranslation(&moved, 0.0f, 0.0f, -2.0f);
    m_Device->SetTransform(D3DTS_VIEW, &moved);
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), everything + 2);
    // A light goes off: another program, given its values once.
    m_Device->LightEnable(1, FALSE);
    DrawSomething(m_Device.Get());
    const int oneLight = Gl()->UniformUploadCount();
    EXPECT_GT(oneLight, everything + 2);
    EXPECT_FALSE(GLInspector::LightEnabled(1));
    EXPECT_TRUE(GLInspector::LightEnabled(0));
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), oneLight);
    // And on again: the first program still holds what it needs.
    m_Device->LightEnable(1, TRUE);
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), oneLight);
    EXPECT_TRUE(GLInspector::LightEnabled(1));

    // A window with a context of its own gets everything once, and the
    // first context is not sent again what it has.
    const OwnContextChain other = NewOwnContextChain(32);
    ASSERT_TRUE(other.backBuffer);
    ComPtr<IDirect3DSurface9> ownBuffer;
    ASSERT_EQ(m_Device->GetRenderTarget(0, ownBuffer.Out()), D3D_OK);
    m_Device->SetRenderTarget(0, other.backBuffer.Get());
    DrawSomething(m_Device.Get());
    const int second = Gl()->UniformUploadCount();
    EXPECT_GT(second, 10);
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), second);
    m_Device->SetRenderTarget(0, ownBuffer.Get());
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), oneLight);
    EXPECT_EQ(Gl()->ContextCount(), 2u);
}

TEST_F(RenderTest, AProgramGLRefusesFailsDeviceCreationWithOneLineQuotingTheDriver)
{
    const struct
    {
        const char* what;
        const char* text;
        const char* says;
        const char* quotes;  // part of the driver's message
    } cases[] = {
        {"compile", "#version 120\nvoid main()\n{\n    gl_Position = notDeclared;\n}\n",
         "does not compile: ", "notDeclared"},
        {"link", "#version 120\nvoid helper() {}\n", "does not link: ", "main"},
    };
    // Asked through the device's window; through the context current on
    // the thread when the window cannot make one current (a canvas not yet
    // shown); and in a context made for the question when none is current
    // at all (the game's main window at start).
    enum class Where { Window, CurrentContext, OwnContext };
    for (const auto& c : cases) {
        for (const Where where : {Where::Window, Where::CurrentContext, Where::OwnContext}) {
            SCOPED_TRACE(std::string(c.what) + ", asked " +
                         (where == Where::Window           ? "through the window"
                          : where == Where::CurrentContext ? "in the current context"
                                                           : "in a context of its own"));
            m_Window->SetRealised(where == Where::Window);
            if (where == Where::OwnContext)
                EglOffscreenContext::ReleaseCurrent();
            GLDirect3D9Options options;
            options.lightingProgram = c.text;
            ComPtr<IDirect3D9> d3d(CreateOpenGLDirect3D9(options));
            D3DPRESENT_PARAMETERS params{};
            params.Windowed = TRUE;
            params.EnableAutoDepthStencil = TRUE;
            params.AutoDepthStencilFormat = D3DFMT_D24S8;
            ComPtr<IDirect3DDevice9> device;
            ::testing::internal::CaptureStderr();
            const HRESULT result = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                     HWND(std::static_pointer_cast<IWindowSurface>(m_Window)),
                                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, device.Out());
            const std::string error = ::testing::internal::GetCapturedStderr();
            EXPECT_EQ(result, D3DERR_NOTAVAILABLE);
            EXPECT_FALSE(device);
            EXPECT_EQ(error.rfind(std::string("GL device: the lighting program ") + c.says, 0), 0u) << error;
            EXPECT_NE(error.find(c.quotes), std::string::npos) << error;
            EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
            // The device's own program passes the same question.
            m_Window->SetRealised(where == Where::Window);
            if (where == Where::OwnContext)
                EglOffscreenContext::ReleaseCurrent();
            EXPECT_TRUE(NewDevice(m_Window));
            ASSERT_TRUE(m_Context->MakeCurrent());
        }
    }
    m_Window->SetRealised(true);
}

TEST_F(RenderTest, MeshesUploadAgainOnlyAfterAChangeAndFreeTheirBuffersWhenGone)
{
    SetFixedStates();
    ComPtr<ID3DXMesh> sphere = MakeSphere(4, 6);
    ASSERT_TRUE(sphere);
    ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
    EXPECT_EQ(sphere->DrawSubset(0), D3D_OK);
    EXPECT_EQ(sphere->DrawSubset(0), D3D_OK);
    EXPECT_EQ(Gl()->MeshUploadCount(), 1);
    void* data = nullptr;
    sphere->LockVertexBuffer(0, &data);
    static_cast<float*>(data)[0] += 0.25f;
    sphere->UnlockVertexBuffer();
    EXPECT_EQ(sphere->DrawSubset(0), D3D_OK);
    EXPECT_EQ(sphere->DrawSubset(0), D3D_OK);
    EXPECT_EQ(Gl()->MeshUploadCount(), 2);
    EXPECT_EQ(Gl()->KnownMeshSubsetCount(), 1u);
    DWORD fvf = 0;
    m_Device->GetFVF(&fvf);
    EXPECT_EQ(fvf, DWORD{D3DFVF_XYZ | D3DFVF_NORMAL});

    ASSERT_EQ(m_Device->EndScene(), D3D_OK);

    // A mesh that goes tells the device, which frees its buffers.
    sphere.Reset();
    EXPECT_EQ(Gl()->KnownMeshSubsetCount(), 0u);
}

TEST_F(RenderTest, MeshesWhollyOutOfSightAreLeftOutAndAnyPartInSightIsDrawn)
{
    SetFixedStates();
    ComPtr<ID3DXMesh> sphere = MakeSphere(8, 12);
    ASSERT_TRUE(sphere);
    // Eye 5 units before the origin; the view is about 2.07 units wide each
    // side of the axis at the origin's distance, and ends 10 from the eye.
    const struct
    {
        const char* where;
        D3DXVECTOR3 at;
        bool culled;
    } cases[] = {
        {"in the middle", {0.0f, 0.0f, 0.0f}, false},       {"behind the eye", {0.0f, 0.0f, -10.0f}, true},
        {"beyond the far plane", {0.0f, 0.0f, 7.0f}, true}, {"across the far plane", {0.0f, 0.0f, 5.5f}, false},
        {"across the side", {-2.9f, 0.0f, 0.0f}, false},    {"past the side", {-4.0f, 0.0f, 0.0f}, true},
        {"across the top", {0.0f, 2.9f, 0.0f}, false},      {"past the bottom", {0.0f, -4.0f, 0.0f}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        SetCamera(D3DXVECTOR3(0.0f, 0.0f, -5.0f), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
        m_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
        D3DXMATRIX world;
        D3DXMatrixTranslation(&world, c.at.x, c.at.y, c.at.z);
        m_Device->SetTransform(D3DTS_WORLD, &world);
        const int culledBefore = Gl()->CulledDrawCount();
        BeginFrame(0xFF0000FF);
        ASSERT_EQ(sphere->DrawSubset(0), D3D_OK);
        const RgbaImage& frame = EndFrame();
        EXPECT_EQ(Gl()->CulledDrawCount() - culledBefore, c.culled ? 1 : 0);
        // Whatever was left out could not have shown.
        int white = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
                white += PixelNear(frame, x, y, 255, 255, 255, 0) ? 1 : 0;
        if (c.culled)
            EXPECT_EQ(white, 0);
        else
            EXPECT_GT(white, 0);
    }
}

TEST_F(RenderTest, ObjectsFreedWhileNoWindowCanMakeTheContextCurrentAreDeletedLater)
{
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(m_Device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr), D3D_OK);
    m_Device->SetTexture(0, texture.Get());
    DrawSomething(m_Device.Get());  // uploads the texture
    const unsigned int name = static_cast<GLTexture*>(texture.Get())->GLName();
    ASSERT_NE(name, 0u);
    EXPECT_TRUE(GLInspector::IsTexture(name));

    m_Device->SetTexture(0, nullptr);
    m_Window.reset();  // the only window goes
    texture.Reset();
    EXPECT_EQ(Gl()->PendingDeletionCount(), 1u);
    EXPECT_TRUE(GLInspector::IsTexture(name));

    // The next present through a new window deletes it.
    const auto window = NewWindow(32, 32);
    ComPtr<IDirect3DSwapChain9> chain;
    m_Device->GetSwapChain(0, chain.Out());
    ASSERT_EQ(chain->Present(nullptr, nullptr, HWND(std::static_pointer_cast<IWindowSurface>(window)), nullptr, 0),
              D3D_OK);
    EXPECT_EQ(Gl()->PendingDeletionCount(), 0u);
    EXPECT_FALSE(GLInspector::IsTexture(name));
}

}  // namespace
