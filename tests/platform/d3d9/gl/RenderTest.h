// Fixture of the render tests: one shared EGL context for the whole run, an
// offscreen window per test and a GL device drawing into it. Tests are
// skipped, saying why, where EGL cannot give a context.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "EglOffscreenContext.h"
#include "EglOffscreenWindow.h"
#include "GLDevice.h"
#include "GLDirect3D9.h"
#include "RefCounted.h"
#include "d3d9.h"
#include "d3dx9mesh.h"

// Position and packed colour, FVF XYZ | DIFFUSE.
struct ColorVertex
{
    float x, y, z;
    DWORD color;
};
constexpr DWORD kColorVertexFVF = D3DFVF_XYZ | D3DFVF_DIFFUSE;

// A rectangle as a strip of two triangles, (x0, y0) its top-left corner.
std::array<ColorVertex, 4> Rectangle(float x0, float y0, float x1, float y1, float z, DWORD color);

class RenderTest : public ::testing::Test
{
public:
    // One context for the whole run; null, saying why, where EGL gives none.
    static std::shared_ptr<EglOffscreenContext> SharedContext(std::string* whyNot);

protected:
    static constexpr int kSize = 128;

    void SetUp() override;

    std::shared_ptr<EglOffscreenWindow> NewWindow(int width, int height)
    {
        return std::make_shared<EglOffscreenWindow>(m_Context, width, height);
    }
    ComPtr<IDirect3DDevice9> NewDevice(const std::shared_ptr<EglOffscreenWindow>& window);
    GLDevice* Gl() const { return static_cast<GLDevice*>(m_Device.Get()); }
    // A window with a GL context of its own (sharing objects with the
    // first) and an additional swap chain of the device in it.
    struct OwnContextChain
    {
        std::shared_ptr<EglOffscreenWindow> window;
        ComPtr<IDirect3DSwapChain9> chain;
        ComPtr<IDirect3DSurface9> backBuffer;
    };
    OwnContextChain NewOwnContextChain(int size);

    // What the game sets once: culling off, specular on, every material
    // source the material, normalised normals; and a 45-degree perspective
    // (near 1, far 10) from eye to at, or identity transforms without one.
    void SetFixedStates();
    void SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at);
    void SetIdentityTransforms();

    void BeginFrame(D3DCOLOR clearColor);
    // Ends the scene, presents into the fixture's window and returns the frame.
    const RgbaImage& EndFrame();
    // Through DrawPrimitiveUP with lighting off.
    void DrawColored(D3DPRIMITIVETYPE type, const ColorVertex* vertices, UINT primitiveCount);
    // A sphere of radius 1 about the origin, 8 stacks of 12 slices, XYZ | NORMAL.
    ComPtr<ID3DXMesh> MakeSphere();

    std::shared_ptr<EglOffscreenContext> m_Context;
    std::shared_ptr<EglOffscreenWindow> m_Window;
    ComPtr<IDirect3D9> m_D3D;
    ComPtr<IDirect3DDevice9> m_Device;
};

inline D3DMATERIAL9 MakeMaterial(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient = {}, D3DCOLORVALUE specular = {},
                                 D3DCOLORVALUE emissive = {}, float power = 0.0f)
{
    return D3DMATERIAL9{diffuse, ambient, specular, emissive, power};
}
::testing::AssertionResult PixelNear(const RgbaImage& image, int x, int y, int r, int g, int b, int tolerance);
int CountPixels(const RgbaImage& image, int r, int g, int b);
