// The argument checks of the Direct3D 9 devices, one set for all of them,
// answering with Direct3D's result codes. Pure functions of their
// arguments: a device passes what it knows (its state, its target's size,
// its depth buffer).
#pragma once

#include "DeviceState.h"
#include "d3d9.h"

struct DeviceChecks
{
    // Largest primitive count one draw may ask for.
    static constexpr UINT kMaxPrimitiveCount = 0xFFFFF;
    // Largest width or height of a texture or a back buffer.
    static constexpr UINT kMaxSize = 8192;

    static bool IsLightType(const D3DLIGHT9* light);
    static bool IsStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type);

    // Inside the render target, at least one pixel, depths within 0..1.
    static HRESULT Viewport(const D3DVIEWPORT9* viewport, UINT targetWidth, UINT targetHeight);

    // DrawPrimitiveUP: inside a scene, a known primitive type and count,
    // vertices given, a drawable vertex format (see VertexFormat) and a
    // stride that holds its vertex.
    static HRESULT DrawUP(const DeviceState& state, D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                          UINT stride);
    // DrawMeshSubsetEXT, with the subset's format already the state's:
    // everything but the indices (IndicesInRange, asked when the data is new).
    static HRESULT MeshSubset(const DeviceState& state, const D3DMESHSUBSET_EXT& subset);
    static bool IndicesInRange(const D3DMESHSUBSET_EXT& subset);

    // Clear: no rectangles, known flags, depth and stencil only where the
    // depth buffer has them, z within 0..1. Allowed outside a scene.
    static HRESULT Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, float z, bool hasDepth, bool hasStencil);

    // CreateTexture: one level of 1..kMaxSize square-or-not pixels, 32-bit
    // ARGB or XRGB, no shared handle.
    static HRESULT Texture(UINT width, UINT height, UINT levels, D3DFORMAT format, const void* sharedHandle);

    // CreateDevice and CreateAdditionalSwapChain in a window: fills in the
    // back-buffer defaults (width or height 0 takes the window's client
    // size, at least one pixel; D3DFMT_UNKNOWN the display format; count 0
    // means one) and checks the result. The caller's parameters are written
    // back only when the answer is D3D_OK.
    static HRESULT BackBuffer(D3DPRESENT_PARAMETERS* params, const RECT& client, D3DFORMAT displayFormat);
    // The window a device or swap chain shows in: the parameters' device
    // window, else the focus window. A focus window given must still be a
    // window, and the one chosen must be; *client is its client area.
    static HRESULT PresentWindow(const HWND& focusWindow, const D3DPRESENT_PARAMETERS& params, HWND* window,
                                 RECT* client);
    // CreateDevice's arguments, for both devices: *device cleared, the
    // default adapter, the window the device shows in, and the parameters
    // with their back-buffer defaults filled in as *resolved (written back
    // to the caller's only once the device exists).
    static HRESULT CreateDevice(UINT adapter, const HWND& focusWindow, const D3DPRESENT_PARAMETERS* params,
                                IDirect3DDevice9** device, D3DFORMAT displayFormat, D3DPRESENT_PARAMETERS* resolved,
                                HWND* deviceWindow);
};
