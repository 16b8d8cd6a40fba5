// A swap chain of the GL device: a window and a back buffer of fixed size
// held in a framebuffer object (colour, plus depth and stencil when the
// device has a depth buffer). Present stretches the back buffer over the
// window's client area, as Direct3D does when the window's size differs.
//
// Ownership: the implicit chain belongs to its device and shares the
// device's reference count (holding it holds the device). An additional
// chain has a count of its own and holds a reference to its device until it
// is freed. The back buffer is a member sharing the chain's count. GL
// objects are made by the device at first use and freed through it.
#pragma once

#include "GLBackBuffer.h"
#include "d3d9.h"

class GLDevice;

class GLSwapChain final : public IDirect3DSwapChain9
{
public:
    // params hold the final back-buffer size; window is the chain's window.
    GLSwapChain(GLDevice* device, const D3DPRESENT_PARAMETERS& params, HWND window, bool implicit);
    // Public so the device can own its implicit chain; additional chains
    // are freed only by their last Release.
    ~GLSwapChain() override;

    ULONG AddRef() override;
    ULONG Release() override;
    // D3DERR_INVALIDCALL for rectangles or a dirty region (not supported) or
    // a window that is gone; D3DERR_NOTAVAILABLE when the window cannot make
    // the context current (not realised yet).
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow, const RGNDATA* dirtyRegion,
                    DWORD flags) override;
    HRESULT GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** backBuffer) override;
    HRESULT GetPresentParameters(D3DPRESENT_PARAMETERS* params) override;

    // --- for the device -------------------------------------------------------
    GLDevice* Device() const { return m_Device; }
    GLBackBuffer* BackBuffer() { return &m_BackBuffer; }
    const D3DPRESENT_PARAMETERS& Params() const { return m_Params; }
    UINT Width() const { return m_Params.BackBufferWidth; }
    UINT Height() const { return m_Params.BackBufferHeight; }
    const HWND& Window() const { return m_Window; }
    bool IsImplicit() const { return m_Implicit; }

    // The framebuffer object, made on first call (context current; it is
    // left bound, and *created tells the caller to clear it). 0 when GL
    // refuses to make it.
    unsigned int Framebuffer(bool withDepth, bool* created);
    unsigned int ExistingFramebuffer() const { return m_Framebuffer; }
    // Hands the GL names to the device for deletion and forgets them.
    void ReleaseGLObjects();

private:
    GLDevice* m_Device;
    D3DPRESENT_PARAMETERS m_Params;
    HWND m_Window;
    bool m_Implicit;
    ULONG m_RefCount = 1;  // additional chains only
    GLBackBuffer m_BackBuffer;

    unsigned int m_Framebuffer = 0;
    unsigned int m_ColorBuffer = 0;
    unsigned int m_DepthBuffer = 0;
};
