#include "HeadlessDirect3D9.h"

#include <utility>

namespace {

// The back-buffer size a zero in the parameters stands for: the window's
// client size, at least one pixel, as a real device would never make an
// empty buffer.
UINT SizeOr(UINT given, LONG client)
{
    if (given != 0)
        return given;
    return client > 0 ? static_cast<UINT>(client) : 1u;
}

}  // namespace

HeadlessDirect3D9::HeadlessDirect3D9(HeadlessOptions options) : m_Options(std::move(options))
{
    if (!m_Options.counters)
        m_Options.counters = std::make_shared<HeadlessCounters>();
    ++m_Options.counters->direct3DCreated;
    ++m_Options.counters->direct3DAlive;
}

HeadlessDirect3D9::~HeadlessDirect3D9()
{
    --m_Options.counters->direct3DAlive;
}

HRESULT HeadlessDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode)
{
    if (adapter != D3DADAPTER_DEFAULT || !mode)
        return D3DERR_INVALIDCALL;
    *mode = m_Options.displayMode;
    return D3D_OK;
}

HRESULT HeadlessDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE /*type*/, HWND focusWindow, DWORD behaviorFlags,
                                        D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device)
{
    if (!device)
        return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (!params || adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    const HWND deviceWindow = params->hDeviceWindow.IsNull() ? focusWindow : params->hDeviceWindow;
    RECT client;
    if (!GetClientRect(deviceWindow, &client))
        return D3DERR_INVALIDCALL;
    const D3DFORMAT format = params->BackBufferFormat;
    if (format != D3DFMT_UNKNOWN && format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8)
        return D3DERR_NOTAVAILABLE;
    if (m_Options.failCreateDevice)
        return m_Options.createDeviceError;

    params->BackBufferWidth = SizeOr(params->BackBufferWidth, client.right - client.left);
    params->BackBufferHeight = SizeOr(params->BackBufferHeight, client.bottom - client.top);
    if (format == D3DFMT_UNKNOWN)
        params->BackBufferFormat = m_Options.displayMode.Format;
    if (params->BackBufferCount == 0)
        params->BackBufferCount = 1;

    *device = new HeadlessDevice(*params, focusWindow, deviceWindow, behaviorFlags, m_Options.counters,
                                 m_Options.recordFromStart);
    return D3D_OK;
}

IDirect3D9* CreateHeadlessDirect3D9(HeadlessOptions options)
{
    return new HeadlessDirect3D9(std::move(options));
}

Direct3DFactory InstallHeadlessDirect3D(HeadlessOptions options)
{
    if (!options.counters)
        options.counters = std::make_shared<HeadlessCounters>();
    return SetDirect3DFactory([options]() -> IDirect3D9* { return CreateHeadlessDirect3D9(options); });
}
