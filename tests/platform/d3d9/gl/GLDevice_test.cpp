// What the OpenGL device alone does, beyond the shared behaviour: what
// reaches GL's projection, what the lighting program is sent, programs GL
// refuses, meshes left out of sight, deferred deletion.
#include "D3DToGL.h"
#include "GLInspector.h"
#include "RenderTest.h"
#include "WindowedParameters.h"

namespace {
// A draw makes the device hand its state to GL.
void DrawSomething(IDirect3DDevice9* device)
{
    const ColorVertex dot[1] = {{0.0f, 0.0f, 0.5f, 0xFFFFFFFF}};
    device->SetFVF(kColorVertexFVF);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, dot, sizeof(ColorVertex)), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);
}

TEST_F(RenderTest, ProjectionReachesGLWithDepthZeroToOneRemappedAndHalfAPixelShift)
{
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovRH(&projection, 0.785398163f, 1.0f, 1.0f, 10.0f);
    m_Device->SetTransform(D3DTS_PROJECTION, &projection);
    DrawSomething(m_Device.Get());
    float gl[16];
    GLInspector::ProjectionMatrix(gl);
    // Points at eye depth z through GL's column-major matrix: the near plane
    // lands on GL's −1, the far one on +1, between them 2 d − 1 of
    // Direct3D's depth d; on the axis, shifted right and down by (nearly)
    // half a pixel, onto Direct3D 9's pixel centre.
    for (const float z : {-1.0f, -2.0f, -10.0f}) {
        SCOPED_TRACE(z);
        float clip[4];
        for (int row = 0; row < 4; ++row)
            clip[row] = gl[8 + row] * z + gl[12 + row];
        const float d3dDepth = (projection._33 * z + projection._43) / -z;
        EXPECT_NEAR(clip[2] / clip[3], 2.0f * d3dDepth - 1.0f, 1e-5f);
        EXPECT_NEAR(clip[0] / clip[3], 2.0f * d3dtogl::kPixelShift / kSize, 1e-6f);
        EXPECT_NEAR(clip[1] / clip[3], -2.0f * d3dtogl::kPixelShift / kSize, 1e-6f);
    }
}

TEST_F(RenderTest, TheLightingProgramIsSentOnlyWhatChangedInEachContext)
{
    SetFixedStates();
    D3DMATERIAL9 material = MakeMaterial({0.5f, 0.5f, 0.5f, 1.0f}, {0.2f, 0.2f, 0.2f, 1.0f}, {}, {}, 8.0f);
    m_Device->SetMaterial(&material);
    D3DLIGHT9 lamp = DefaultLight();
    lamp.Type = D3DLIGHT_POINT;
    lamp.Range = 10.0f;
    m_Device->SetLight(1, &lamp);
    m_Device->LightEnable(0, TRUE);  // the default light
    m_Device->LightEnable(1, TRUE);
    DrawSomething(m_Device.Get());
    const int everything = Gl()->UniformUploadCount();
    EXPECT_GT(everything, 10);
    // Nothing changed: nothing sent. One material colour: that colour.
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), everything);
    material.Diffuse.r = 0.9f;
    m_Device->SetMaterial(&material);
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), everything + 1);
    // The view moves without turning: the point light's eye-space position,
    // not the directional light's way.
    D3DXMATRIX moved;
    D3DXMatrixTranslation(&moved, 0.0f, 0.0f, -2.0f);
    m_Device->SetTransform(D3DTS_VIEW, &moved);
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), everything + 2);
    // A light goes off: another program, given its values once; and on
    // again: the first program still holds what it needs.
    m_Device->LightEnable(1, FALSE);
    DrawSomething(m_Device.Get());
    const int oneLight = Gl()->UniformUploadCount();
    EXPECT_GT(oneLight, everything + 2);
    EXPECT_FALSE(GLInspector::LightEnabled(1));
    DrawSomething(m_Device.Get());
    m_Device->LightEnable(1, TRUE);
    DrawSomething(m_Device.Get());
    EXPECT_EQ(Gl()->UniformUploadCount(), oneLight);
    EXPECT_TRUE(GLInspector::LightEnabled(1));
}

TEST_F(RenderTest, AProgramGLRefusesFailsDeviceCreationWithOneLineQuotingTheDriver)
{
    const struct
    {
        const char* text;
        const char* says;
        const char* quotes;  // part of the driver's message
    } cases[] = {
        {"#version 120\nvoid main()\n{\n    gl_Position = notDeclared;\n}\n", "does not compile: ", "notDeclared"},
        {"#version 120\nvoid helper() {}\n", "does not link: ", "main"},
    };
    // Asked through the device's window (0); through the context current on
    // the thread when the window cannot make one current, as a canvas not
    // yet shown (1); in a context made for the question when none is
    // current at all, as the game's main window at start (2).
    for (int i = 0; i < 6; ++i) {
        const auto& c = cases[i / 3];
        const int where = i % 3;
        SCOPED_TRACE(testing::Message() << c.says << where);
        const auto prepare = [&] {
            m_Window->SetRealised(where == 0);
            if (where == 2)
                EglOffscreenContext::ReleaseCurrent();
        };
        prepare();
        GLDirect3D9Options options;
        options.lightingProgram = c.text;
        D3DPRESENT_PARAMETERS params = WindowedParameters();
        ComPtr<IDirect3DDevice9> device;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(ComPtr<IDirect3D9>(CreateOpenGLDirect3D9(options))
                      ->CreateDevice(0, D3DDEVTYPE_HAL, HWND(std::static_pointer_cast<IWindowSurface>(m_Window)), 0,
                                     &params, device.Out()),
                  D3DERR_NOTAVAILABLE);
        const std::string error = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(error.rfind(std::string("GL device: the lighting program ") + c.says, 0), 0u) << error;
        EXPECT_NE(error.find(c.quotes), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
        prepare();  // the device's own program passes the same question
        EXPECT_TRUE(NewDevice(m_Window));
        ASSERT_TRUE(m_Context->MakeCurrent());
    }
    m_Window->SetRealised(true);
}

TEST_F(RenderTest, MeshesWhollyOutOfSightAreLeftOutAndAnyPartInSightIsDrawn)
{
    SetFixedStates();
    ComPtr<ID3DXMesh> sphere = MakeSphere();
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
    SetCamera(D3DXVECTOR3(0.0f, 0.0f, -5.0f), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    m_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        D3DXMATRIX world;
        D3DXMatrixTranslation(&world, c.at.x, c.at.y, c.at.z);
        m_Device->SetTransform(D3DTS_WORLD, &world);
        const int culledBefore = Gl()->CulledDrawCount();
        BeginFrame(0xFF0000FF);
        ASSERT_EQ(sphere->DrawSubset(0), D3D_OK);
        const int white = CountPixels(EndFrame(), 255, 255, 255);
        EXPECT_EQ(Gl()->CulledDrawCount() - culledBefore, c.culled ? 1 : 0);
        EXPECT_EQ(white > 0, !c.culled);  // whatever was left out could not have shown
    }
}

TEST_F(RenderTest, ObjectsFreedWhileNoWindowCanMakeTheContextCurrentAreDeletedLater)
{
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(m_Device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr), D3D_OK);
    m_Device->SetTexture(0, texture.Get());
    DrawSomething(m_Device.Get());  // uploads the texture
    const unsigned int name = static_cast<GLTexture*>(texture.Get())->GLName();
    ASSERT_TRUE(GLInspector::IsTexture(name));

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
