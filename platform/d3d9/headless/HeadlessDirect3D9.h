// The headless Direct3D object: hands out headless devices that keep every
// state and (when asked) every call they are given, and draw nothing.
//
// Including this header gives a test the whole headless device family.
#pragma once

#include <memory>

#include "HeadlessDevice.h"
#include "HeadlessOptions.h"
#include "HeadlessSwapChain.h"
#include "HeadlessTexture.h"
#include "HeadlessWindow.h"
#include "RefCounted.h"
#include "d3d9.h"

// The caller of CreateHeadlessDirect3D9 holds its one reference. It holds
// nothing of the devices it creates; a device does not hold it either.
class HeadlessDirect3D9 final : public RefCounted<IDirect3D9>
{
public:
    explicit HeadlessDirect3D9(HeadlessOptions options);

    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    // Refuses (D3DERR_INVALIDCALL) a null device or params pointer, an
    // adapter other than D3DADAPTER_DEFAULT, and a window that is not a
    // window (the device window, or the focus window when no device window
    // is given). Fills in the back-buffer size (0 means the window's client
    // size), format and count in *params, as Direct3D does.
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

    const std::shared_ptr<HeadlessCounters>& Counters() const { return m_Options.counters; }

private:
    ~HeadlessDirect3D9() override;

    HeadlessOptions m_Options;
};

// A new headless Direct3D object with one reference for the caller.
IDirect3D9* CreateHeadlessDirect3D9(HeadlessOptions options = {});

// Makes Direct3DCreate9 return headless objects made with these options (all
// sharing one counters object, made here when options.counters is null).
// Returns the factory installed before.
Direct3DFactory InstallHeadlessDirect3D(HeadlessOptions options = {});
