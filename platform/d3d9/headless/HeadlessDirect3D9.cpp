#include "HeadlessDirect3D9.h"

#include <utility>

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
    D3DPRESENT_PARAMETERS resolved{};
    HWND deviceWindow;
    if (const HRESULT result = DeviceChecks::CreateDevice(adapter, focusWindow, params, device,
                                                          m_Options.displayMode.Format, &resolved, &deviceWindow);
        result != D3D_OK)
        return result;
    if (m_Options.failCreateDevice)
        return m_Options.createDeviceError;
    *params = resolved;

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
