#include "HeadlessSwapChain.h"

#include "HeadlessDevice.h"

HeadlessSwapChain::HeadlessSwapChain(HeadlessDevice* device, const D3DPRESENT_PARAMETERS& params, HWND window,
                                     bool implicit)
    : m_Device(device),
      m_Params(params),
      m_Window(window),
      m_Implicit(implicit),
      m_BackBuffer(std::make_unique<HeadlessSurface>(this, params.BackBufferWidth, params.BackBufferHeight,
                                                     params.BackBufferFormat))
{
    // The implicit chain is part of the device; holding the device from it
    // would keep the device alive forever.
    if (!m_Implicit)
        m_Device->AddRef();
}

HeadlessSwapChain::~HeadlessSwapChain()
{
    if (m_Implicit)
        return;
    m_Device->NoteSwapChainGone(this);
    // Last: this may free the device.
    m_Device->Release();
}

ULONG HeadlessSwapChain::AddRef()
{
    return m_Implicit ? m_Device->AddRef() : RefCounted::AddRef();
}

ULONG HeadlessSwapChain::Release()
{
    return m_Implicit ? m_Device->Release() : RefCounted::Release();
}

HRESULT HeadlessSwapChain::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                                   const RGNDATA* dirtyRegion, DWORD flags)
{
    const HWND window = destWindow.IsNull() ? m_Window : destWindow;
    HRESULT result = D3D_OK;
    if (sourceRect || destRect || dirtyRegion || !IsWindow(window))
        result = D3DERR_INVALIDCALL;
    else
        ++m_Presents;
    m_Device->NotePresent(this, window, flags, result);
    return result;
}

HRESULT HeadlessSwapChain::GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** backBuffer)
{
    if (!backBuffer)
        return D3DERR_INVALIDCALL;
    *backBuffer = nullptr;
    if (index != 0 || type != D3DBACKBUFFER_TYPE_MONO)
        return D3DERR_INVALIDCALL;
    m_BackBuffer->AddRef();
    *backBuffer = m_BackBuffer.get();
    return D3D_OK;
}

HRESULT HeadlessSwapChain::GetPresentParameters(D3DPRESENT_PARAMETERS* params)
{
    if (!params)
        return D3DERR_INVALIDCALL;
    *params = m_Params;
    return D3D_OK;
}
