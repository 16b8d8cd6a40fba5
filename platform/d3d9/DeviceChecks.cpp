#include "DeviceChecks.h"

bool DeviceChecks::IsLightType(const D3DLIGHT9* light)
{
    return light &&
           (light->Type == D3DLIGHT_POINT || light->Type == D3DLIGHT_SPOT || light->Type == D3DLIGHT_DIRECTIONAL);
}

bool DeviceChecks::IsStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type)
{
    return stage < D3DTEXTURESTAGECOUNT_EXT && type > 0 && type < D3DTSS_STATECOUNT_EXT;
}

HRESULT DeviceChecks::Viewport(const D3DVIEWPORT9* viewport, UINT targetWidth, UINT targetHeight)
{
    if (!viewport)
        return D3DERR_INVALIDCALL;
    const D3DVIEWPORT9& v = *viewport;
    // Unsigned sums: a huge X or Y must not wrap round into range.
    const unsigned long long right = static_cast<unsigned long long>(v.X) + v.Width;
    const unsigned long long bottom = static_cast<unsigned long long>(v.Y) + v.Height;
    if (v.Width == 0 || v.Height == 0 || right > targetWidth || bottom > targetHeight ||
        !(v.MinZ >= 0.0f && v.MinZ <= 1.0f) || !(v.MaxZ >= 0.0f && v.MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT DeviceChecks::DrawUP(const DeviceState& state, D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                             UINT stride)
{
    if (!state.inScene || !vertices || primitiveCount == 0 || primitiveCount > kMaxPrimitiveCount ||
        VerticesForPrimitives(type, primitiveCount) == 0 || !state.vertexFormat.drawable ||
        stride < state.vertexFormat.size)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT DeviceChecks::MeshSubset(const DeviceState& state, const D3DMESHSUBSET_EXT& subset)
{
    if (!state.inScene || !subset.key || !state.vertexFormat.drawable || subset.stride < state.vertexFormat.size ||
        subset.numIndices % 3 != 0)
        return D3DERR_INVALIDCALL;
    if (subset.numIndices != 0 && !(subset.indices && subset.vertices && subset.numVertices > 0))
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

bool DeviceChecks::IndicesInRange(const D3DMESHSUBSET_EXT& subset)
{
    // Every index must name a vertex the subset hands over, or a device
    // with its own buffers would read past them.
    for (UINT i = 0; i < subset.numIndices; ++i) {
        if (subset.indices[i] >= subset.numVertices)
            return false;
    }
    return true;
}

HRESULT DeviceChecks::Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, float z, bool hasDepth, bool hasStencil)
{
    constexpr DWORD kKnownFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if (rectCount != 0 || rects || flags == 0 || (flags & ~kKnownFlags) != 0 ||
        ((flags & D3DCLEAR_ZBUFFER) && !hasDepth) || ((flags & D3DCLEAR_STENCIL) && !hasStencil) ||
        !(z >= 0.0f && z <= 1.0f))
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT DeviceChecks::Texture(UINT width, UINT height, UINT levels, D3DFORMAT format, const void* sharedHandle)
{
    if (width == 0 || height == 0 || width > kMaxSize || height > kMaxSize || levels > 1 ||
        (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8) || sharedHandle)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT DeviceChecks::BackBuffer(D3DPRESENT_PARAMETERS* params, const RECT& client, D3DFORMAT displayFormat)
{
    D3DPRESENT_PARAMETERS p = *params;
    if (p.BackBufferFormat != D3DFMT_UNKNOWN && p.BackBufferFormat != D3DFMT_X8R8G8B8 &&
        p.BackBufferFormat != D3DFMT_A8R8G8B8)
        return D3DERR_NOTAVAILABLE;
    // A window not laid out yet has no client area; a back buffer is never
    // empty.
    const LONG clientWidth = client.right - client.left;
    const LONG clientHeight = client.bottom - client.top;
    if (p.BackBufferWidth == 0)
        p.BackBufferWidth = clientWidth > 0 ? static_cast<UINT>(clientWidth) : 1u;
    if (p.BackBufferHeight == 0)
        p.BackBufferHeight = clientHeight > 0 ? static_cast<UINT>(clientHeight) : 1u;
    if (p.BackBufferFormat == D3DFMT_UNKNOWN)
        p.BackBufferFormat = displayFormat;
    if (p.BackBufferCount == 0)
        p.BackBufferCount = 1;
    if (p.BackBufferWidth > kMaxSize || p.BackBufferHeight > kMaxSize)
        return D3DERR_INVALIDCALL;
    *params = p;
    return D3D_OK;
}

HRESULT DeviceChecks::PresentWindow(const HWND& focusWindow, const D3DPRESENT_PARAMETERS& params, HWND* window,
                                    RECT* client)
{
    if (!focusWindow.IsNull() && !IsWindow(focusWindow))
        return D3DERR_INVALIDCALL;
    *window = params.hDeviceWindow.IsNull() ? focusWindow : params.hDeviceWindow;
    return GetClientRect(*window, client) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT DeviceChecks::CreateDevice(UINT adapter, const HWND& focusWindow, const D3DPRESENT_PARAMETERS* params,
                                   IDirect3DDevice9** device, D3DFORMAT displayFormat, D3DPRESENT_PARAMETERS* resolved,
                                   HWND* deviceWindow)
{
    if (!device)
        return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (!params || adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    RECT client{};
    if (PresentWindow(focusWindow, *params, deviceWindow, &client) != D3D_OK)
        return D3DERR_INVALIDCALL;
    *resolved = *params;
    return BackBuffer(resolved, client, displayFormat);
}
