// A Direct3D 9 device drawn with OpenGL 2.1: small vertex programs that
// transform and light as Direct3D does (GLLightingShader), fixed
// function for the rest, plus framebuffer objects and blits, so that a
// frame looks as Direct3D would draw it.
//
// The device is not a GL context: the contexts belong to whoever made the
// windows (the shell's GL canvases, each with a context of its own; a
// test's offscreen windows, sharing one), all sharing textures, buffers and
// renderbuffers. The device makes a context current through a window
// (IWindowSurface::MakeCurrent) only when it has GL work to do: a draw, a
// clear, a present; it draws a frame through the window the frame is
// expected to be presented into, so that each view's work stays in its own
// context on its own drawable. The GL state each context was last given is
// remembered per context (GLFixedFunction), so a draw sends only what
// changed; each context has lighting programs of its own, built when a
// draw first needs them. State calls only change the shadow (DeviceCore); GL objects
// are made at their first use; objects freed while no window can make a
// context current are deleted the next time one can. Each swap chain draws
// into storage of the size the frame is shown at (see GLSwapChain);
// Present copies it into the window and swaps.
//
// Ownership: reference counted. The device owns its implicit swap chain
// (which shares the device's count), the GL buffers of the meshes drawn
// through it, and one reference to every texture bound to a stage.
// Additional swap chains hold a reference to the device; textures hold
// none. The render target is not counted: when an additional chain whose
// back buffer is the target goes, the target falls back to the implicit
// back buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DeviceCore.h"
#include "GLDeleteQueue.h"
#include "GLFixedFunction.h"
#include "GLMeshCache.h"
#include "GLSwapChain.h"
#include "GLTexture.h"
#include "d3d9.h"

class GLDevice final : public DeviceCore
{
public:
    // Made by GLDirect3D9::CreateDevice with checked arguments: params hold
    // the back-buffer size and format, and deviceWindow is a window.
    // programText: the lighting program's GLSL (its own when empty).
    GLDevice(const D3DPRESENT_PARAMETERS& params, HWND focusWindow, HWND deviceWindow, DWORD behaviorFlags,
             std::string programText = {});

    // Whether GL takes the lighting programs, asked before the device is
    // handed out with the longest of them: in a context of the device's
    // windows if one can be made current now, else in the context current
    // on this thread, else in an offscreen context made for the question.
    // True when no GL context can be had at all (each program is then built
    // at first need, and a failure leaves out the draws that need it).
    // False, with *error one line quoting the driver, when it does not
    // compile or link.
    bool CheckLightingProgram(std::string* error);

    // --- IDirect3DDevice9 (state calls: DeviceCore) ---------------------------
    // Arguments DeviceChecks refuses: D3DERR_INVALIDCALL, nothing drawn.
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT vertexStride) override;
    // Also sets the device's FVF to the mesh's, as D3DX's DrawSubset does. A
    // subset with an index outside its vertices is refused before anything
    // is uploaded. A subset whose bounds lie outside the view is uploaded
    // but not drawn.
    HRESULT DrawMeshSubsetEXT(const D3DMESHSUBSET_EXT& subset) override;
    void ForgetMeshEXT(const void* key) override;

    HRESULT Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;

    HRESULT GetSwapChain(UINT index, IDirect3DSwapChain9** swapChain) override;
    HRESULT CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* params, IDirect3DSwapChain9** swapChain) override;
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* target) override;
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** target) override;

    // width and height 1..DeviceChecks::kMaxSize, one level (levels 0 or 1),
    // format A8R8G8B8 or X8R8G8B8; anything else D3DERR_INVALIDCALL.
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, void* sharedHandle) override;

    // --- what tests and the shell may ask ----------------------------------------
    // Uploads of mesh subsets (new, or at a new version) so far.
    int MeshUploadCount() const { return m_Meshes.UploadCount(); }
    size_t KnownMeshSubsetCount() const { return m_Meshes.Size(); }
    // GL objects freed while no window could make the context current.
    size_t PendingDeletionCount() const { return m_DeleteQueue.Size(); }
    int PresentCount() const { return m_Presents; }
    int DrawCallCount() const { return m_DrawCalls; }
    // Mesh draws left out because the mesh lay outside the view.
    int CulledDrawCount() const { return m_CulledDraws; }
    // The D3D light index the lighting program's slot i shows at the last
    // lit draw (-1: none).
    int GLLightSlotIndex(int slot) const { return m_Context ? m_Context->gl.LightSlotIndex(slot) : -1; }
    // Values the current context's lighting program was sent so far.
    int UniformUploadCount() const { return m_Context ? m_Context->gl.UniformUploads() : 0; }
    // GL contexts the device has drawn or presented through.
    size_t ContextCount() const { return m_Contexts.size(); }
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return m_Params; }
    const HWND& FocusWindow() const { return m_FocusWindow; }

    // --- for the swap chains and textures ------------------------------------------
    HRESULT PresentChain(GLSwapChain* chain, const HWND& window);
    void SwapChainGone(GLSwapChain* chain);
    void TextureGone(GLTexture* texture);
    // Deletes a shared GL object (texture, buffer, renderbuffer) now if a
    // context is current, else later.
    void DeleteGLObject(GLDeleteQueue::Kind kind, unsigned int name);
    // Deletes a framebuffer object of context contextId now if that context
    // is current, else the next time it is.
    void DeleteFramebuffer(std::uint64_t contextId, unsigned int name);

private:
    // What the device knows of one GL context.
    struct ContextRecord
    {
        std::uint64_t id = 0;
        bool initialised = false;
        GLFixedFunction gl;
        std::vector<unsigned int> deadFramebuffers;  // deleted when current again
    };

    ~GLDevice() override;

    bool OwnsTexture(IDirect3DBaseTexture9* texture) const override;

    bool HasDepthBuffer() const { return m_Params.EnableAutoDepthStencil != FALSE; }
    bool IsContextCurrent() const { return m_Context != nullptr && !m_CurrentSurface.expired(); }
    GLFixedFunction& GL() { return m_Context->gl; }
    ContextRecord& Record(std::uint64_t id);
    // Makes a context current through preferred if it can (or keeps the one
    // current through it), else keeps whatever context is current, else
    // tries any live window of this device; flushes deferred deletions;
    // false when no window can.
    bool EnsureContext(const HWND& preferred);
    bool MakeCurrentThrough(const std::shared_ptr<IWindowSurface>& window);
    void ForgetDeleted(GLDeleteQueue::Kind kind, unsigned int name);
    // Context current and the render target's framebuffer bound, its
    // storage made (and cleared) when a new frame needs another size.
    // Returns the target's chain or null.
    GLSwapChain* BindRenderTarget();
    // The chain's framebuffer in the current context; a frame that begins
    // takes the storage size it wants, a present keeps what there is.
    unsigned int ChainFramebuffer(GLSwapChain* chain, bool beginFrame);
    bool PrepareDraw();
    void DrawPoints(const VertexFormat& layout, const unsigned char* vertices, UINT stride, UINT count);
    float PointSize(float size) const;
    void ResetViewport();

    D3DPRESENT_PARAMETERS m_Params;
    std::string m_ProgramText;
    bool m_ProgramErrorReported = false;
    HWND m_FocusWindow;
    DWORD m_BehaviorFlags;
    std::shared_ptr<GLDeviceLink> m_Link;

    std::unique_ptr<GLSwapChain> m_ImplicitSwapChain;
    std::vector<GLSwapChain*> m_AdditionalSwapChains;  // live ones, not counted
    GLBackBuffer* m_RenderTarget = nullptr;

    std::weak_ptr<IWindowSurface> m_CurrentSurface;
    std::vector<std::unique_ptr<ContextRecord>> m_Contexts;
    ContextRecord* m_Context = nullptr;  // the current context's
    bool m_GLChecked = false;
    bool m_GLUsable = false;
    GLDeleteQueue m_DeleteQueue;
    GLMeshCache m_Meshes;

    int m_Presents = 0;
    int m_DrawCalls = 0;
    int m_CulledDraws = 0;
};
