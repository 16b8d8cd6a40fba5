// A swap chain of the GL device: a window and a back buffer of fixed
// Direct3D size, held in renderbuffers (colour, plus depth and stencil when
// the device has a depth buffer) that every context of the program shares,
// each context drawing into them through a framebuffer object of its own.
//
// The storage has the size the frame is shown at: the drawable size of the
// window the chain was last presented into (its own window until then),
// taken anew when a frame begins, so a window that changes size or moves to
// a screen of another scale gets storage of the new size at its next frame
// (see GLTarget). Present copies the storage into the window, stretching it
// only when the frame went to another window than foreseen, as Direct3D
// stretches a back buffer over a window of another size.
//
// Ownership: the implicit chain belongs to its device and shares the
// device's reference count (holding it holds the device). An additional
// chain has a count of its own and holds a reference to its device until it
// is freed. The back buffer is a member sharing the chain's count. GL
// objects are made by the device at first use and freed through it.
#pragma once

#include <cstdint>
#include <vector>

#include "GLBackBuffer.h"
#include "GLTarget.h"
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

    // The window the next frame is expected to be presented into: the one
    // the last frame went to, else the chain's own.
    const HWND& PresentWindow() const { return m_PresentWindow; }
    // Whether drawing has begun since the last present: the storage keeps
    // its size until the frame is presented.
    bool InFrame() const { return m_InFrame; }
    void BeginFrame() { m_InFrame = true; }
    void Presented(const HWND& window);

    // The storage size a new frame takes: the drawable of the window it is
    // expected to go to, or the Direct3D size when that has none.
    void WantedStorageSize(int* width, int* height) const;
    bool HasStorage() const { return m_ColorBuffer != 0; }
    GLTarget Target() const;

    // The framebuffer object of context contextId over storage of the given
    // size (context current). Storage of another size is made anew, and
    // then *created tells the caller to clear it; *bound says the object
    // was made now and left bound. 0 when GL refuses.
    unsigned int Framebuffer(std::uint64_t contextId, bool withDepth, int width, int height, bool* created,
                             bool* bound);
    // Hands the GL names to the device for deletion and forgets them.
    void ReleaseGLObjects();

private:
    struct ContextFramebuffer
    {
        std::uint64_t context;
        unsigned int framebuffer;
    };

    bool MakeStorage(bool withDepth, int width, int height);

    GLDevice* m_Device;
    D3DPRESENT_PARAMETERS m_Params;
    HWND m_Window;
    HWND m_PresentWindow;
    bool m_Implicit;
    bool m_InFrame = false;
    ULONG m_RefCount = 1;  // additional chains only
    GLBackBuffer m_BackBuffer;

    int m_StorageWidth = 0;
    int m_StorageHeight = 0;
    unsigned int m_ColorBuffer = 0;
    unsigned int m_DepthBuffer = 0;
    std::vector<ContextFramebuffer> m_Framebuffers;
};
