// Fixture of the render tests: one shared EGL context for the whole run,
// an offscreen window per test, and a GL device drawing into it with the
// fixed states the graphics system sets at creation. Tests are skipped,
// saying why, where EGL cannot give a context.
#pragma once

#include <gtest/gtest.h>

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

class RenderTest : public ::testing::Test
{
public:
    // One context for the whole run; null, saying why, where EGL gives none.
    static std::shared_ptr<EglOffscreenContext> SharedContext(std::string* whyNot);

protected:
    static constexpr int kSize = 128;

    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<EglOffscreenWindow> NewWindow(int width, int height);
    // A device on window (the fixture's own when null); the caller owns it.
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

    // Culling off, specular on, every material source the material,
    // normalised normals, depth test on: what the game sets once.
    void SetFixedStates();
    // Identity world, look-at view and a 45-degree perspective (near 1, far 10).
    void SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at);
    // Identity world, view and projection: positions are clip coordinates.
    void SetIdentityTransforms();

    void BeginFrame(D3DCOLOR clearColor);
    // Ends the scene, presents into the fixture's window and returns the frame.
    const RgbaImage& EndFrame();

    // Triangles through DrawPrimitiveUP with lighting off.
    void DrawColored(D3DPRIMITIVETYPE type, const ColorVertex* vertices, UINT primitiveCount);

    // A sphere of radius 1 about the origin (XYZ | NORMAL, outward normals
    // from D3DXComputeNormals), and a unit quad in z = 0 with texture
    // coordinates (0, 0) at its top-left corner (XYZ | NORMAL | TEX1).
    ComPtr<ID3DXMesh> MakeSphere(int stacks = 16, int slices = 24);
    ComPtr<ID3DXMesh> MakeQuad();

    std::shared_ptr<EglOffscreenContext> m_Context;
    std::shared_ptr<EglOffscreenWindow> m_Window;
    ComPtr<IDirect3D9> m_D3D;
    ComPtr<IDirect3DDevice9> m_Device;
};

D3DMATERIAL9 MakeMaterial(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient, D3DCOLORVALUE specular, D3DCOLORVALUE emissive,
                          float power);

// Pixel helpers: channel values and a mean brightness over a rectangle.
::testing::AssertionResult PixelNear(const RgbaImage& image, int x, int y, int r, int g, int b, int tolerance);
double MeanBrightness(const RgbaImage& image, int x0, int y0, int x1, int y1);
