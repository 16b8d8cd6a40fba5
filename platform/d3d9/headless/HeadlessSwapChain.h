// A swap chain of the headless device: a window, a back buffer of a size,
// and counts of what was done with it.
//
// Ownership: the implicit chain belongs to its device and shares the
// device's reference count (holding it holds the device). An additional
// chain has its own count and holds a reference to its device until freed.
// The back buffer belongs to its chain and shares the chain's count.
#pragma once

#include <memory>

#include "HeadlessSurface.h"
#include "RefCounted.h"
#include "d3d9.h"

class HeadlessDevice;

class HeadlessSwapChain final : public RefCounted<IDirect3DSwapChain9>
{
public:
    // params hold the final back-buffer size and window is a window.
    HeadlessSwapChain(HeadlessDevice* device, const D3DPRESENT_PARAMETERS& params, HWND window, bool implicit);
    // Public so the device can own its implicit chain; additional chains
    // are freed only by their last Release.
    ~HeadlessSwapChain() override;

    ULONG AddRef() override;
    ULONG Release() override;

    // Shows the back buffer in destWindow, or in the chain's own window when
    // destWindow is null. D3DERR_INVALIDCALL when that is not a window or a
    // rectangle or dirty region is given.
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow, const RGNDATA* dirtyRegion,
                    DWORD flags) override;
    HRESULT GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** backBuffer) override;
    HRESULT GetPresentParameters(D3DPRESENT_PARAMETERS* params) override;

    bool IsImplicit() const { return m_Implicit; }
    HeadlessDevice* Device() const { return m_Device; }
    const HWND& Window() const { return m_Window; }
    UINT Width() const { return m_Params.BackBufferWidth; }
    UINT Height() const { return m_Params.BackBufferHeight; }
    HeadlessSurface* BackBuffer() const { return m_BackBuffer.get(); }

    // What happened while this chain's back buffer was the render target,
    // and its presents.
    int BeginSceneCount() const { return m_BeginScenes; }
    int EndSceneCount() const { return m_EndScenes; }
    int ClearCount() const { return m_Clears; }
    int DrawCallCount() const { return m_DrawCalls; }
    int PresentCount() const { return m_Presents; }

private:
    friend class HeadlessDevice;

    HeadlessDevice* m_Device;
    D3DPRESENT_PARAMETERS m_Params;
    HWND m_Window;
    bool m_Implicit;
    std::unique_ptr<HeadlessSurface> m_BackBuffer;

    int m_BeginScenes = 0;
    int m_EndScenes = 0;
    int m_Clears = 0;
    int m_DrawCalls = 0;
    int m_Presents = 0;
};
