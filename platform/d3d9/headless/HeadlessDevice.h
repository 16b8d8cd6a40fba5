// A Direct3D 9 device that draws nothing: the shared core (DeviceCore) keeps
// every state it is given and checks every argument as the OpenGL device
// does, so a test can read the state back through the Get calls and the
// accessors below; this device adds counts of scenes, draws and presents,
// and, while recording is on, a copy of every call in order.
//
// Ownership: reference counted; whoever created it or got it from a Get call
// holds a reference. The device owns its implicit swap chain (which shares
// the device's count) and holds one reference to every texture bound to a
// stage. Additional swap chains hold a reference to the device. Textures hold
// none, so a texture left bound never keeps the device alive.
//
// Recorded arguments (HeadlessCall::args, in this order; other fields named):
//   SetRenderState / GetRenderState      state, value
//   SetTransform / GetTransform          state; matrix
//   SetLight / GetLight                  index; light
//   LightEnable / GetLightEnable         index, enable
//   SetMaterial / GetMaterial            material
//   SetTexture / GetTexture              stage; object = texture (may be null)
//   SetTextureStageState / Get...        stage, type, value
//   SetFVF / GetFVF                      fvf
//   SetViewport / GetViewport            viewport
//   DrawPrimitiveUP                      type, primitiveCount, stride; vertexCount, vertices
//   DrawMeshSubsetEXT                    subset, fvf, stride, numVertices, numIndices;
//                                        object = key, version, vertices, indices
//   ForgetMeshEXT                        object = key
//   Clear                                rectCount, flags, color, stencil; value = z
//   BeginScene / EndScene                (none)
//   GetSwapChain                         index; object = swap chain
//   CreateAdditionalSwapChain            back-buffer width, height; object, window
//   SetRenderTarget / GetRenderTarget    index; object = surface
//   CreateTexture                        width, height, levels, usage, format, pool; object
//   Present (made on a swap chain)       flags; object = swap chain, window
// A Get call records what it returned. Every record carries the result.
#pragma once

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DeviceCore.h"
#include "HeadlessCall.h"
#include "HeadlessOptions.h"
#include "d3d9.h"

class HeadlessSwapChain;
class HeadlessSurface;

class HeadlessDevice final : public DeviceCore
{
public:
    // Made by HeadlessDirect3D9::CreateDevice with checked arguments: params
    // already hold the back-buffer size, and deviceWindow is a window.
    HeadlessDevice(const D3DPRESENT_PARAMETERS& params, HWND focusWindow, HWND deviceWindow, DWORD behaviorFlags,
                   std::shared_ptr<HeadlessCounters> counters, bool recording);

    // --- IDirect3DDevice9 ---------------------------------------------------
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;

    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT vertexStride) override;
    HRESULT DrawMeshSubsetEXT(const D3DMESHSUBSET_EXT& subset) override;
    void ForgetMeshEXT(const void* key) override;

    HRESULT Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;

    HRESULT GetSwapChain(UINT index, IDirect3DSwapChain9** swapChain) override;
    HRESULT CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* params, IDirect3DSwapChain9** swapChain) override;
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* target) override;
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** target) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, void* sharedHandle) override;

    // --- recording ------------------------------------------------------------
    // Off unless asked, so a long headless run does not grow.
    void SetRecording(bool on) { m_Recording = on; }
    bool IsRecording() const { return m_Recording; }
    const std::vector<HeadlessCall>& Calls() const { return m_Calls; }
    std::vector<HeadlessCall> CallsNamed(std::string_view name) const;
    std::vector<std::string> CallNames() const;
    void ClearCalls() { m_Calls.clear(); }

    // --- counters, always kept (accepted calls only) -------------------------------
    int DrawCallCount() const { return m_DrawCalls; }
    // Draws asked for outside BeginScene/EndScene (all refused).
    int DrawsOutsideSceneCount() const { return m_DrawsOutsideScene; }
    int ClearCount() const { return m_Clears; }
    int BeginSceneCount() const { return m_BeginScenes; }
    int EndSceneCount() const { return m_EndScenes; }
    int PresentCount() const { return m_Presents; }
    // Presents shown in this window (by any swap chain).
    int PresentCount(const HWND& window) const;
    // Number of DrawMeshSubsetEXT calls that found a (key, subset) new or at a
    // new version: the uploads a device with its own buffers would make.
    int MeshUploadCount() const { return m_MeshUploads; }
    // (key, subset) pairs seen and not forgotten.
    size_t KnownMeshSubsetCount() const { return m_MeshVersions.size(); }

    // --- state read-back, without references or records --------------------------
    DWORD RenderState(D3DRENDERSTATETYPE state) const;
    D3DMATRIX Transform(D3DTRANSFORMSTATETYPE state) const;
    DWORD TextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const;
    IDirect3DBaseTexture9* TextureAt(DWORD stage) const;
    const D3DMATERIAL9& Material() const { return m_State.material; }
    DWORD FVF() const { return m_State.fvf; }
    const D3DVIEWPORT9& Viewport() const { return m_State.viewport; }
    // Indices SetLight or LightEnable ever touched, ascending; and those on.
    std::vector<DWORD> LightIndices() const;
    std::vector<DWORD> EnabledLightIndices() const;
    IDirect3DSurface9* RenderTarget() const;
    HeadlessSwapChain* ImplicitSwapChain() const { return m_ImplicitSwapChain.get(); }
    // The implicit chain plus every additional chain not yet freed.
    int LiveSwapChainCount() const { return 1 + m_AdditionalSwapChains; }
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return m_Params; }
    const HWND& FocusWindow() const { return m_FocusWindow; }
    DWORD BehaviorFlags() const { return m_BehaviorFlags; }
    bool HasDepthBuffer() const { return m_Params.EnableAutoDepthStencil != FALSE; }
    bool HasStencil() const { return HasDepthBuffer() && m_Params.AutoDepthStencilFormat == D3DFMT_D24S8; }
    const std::shared_ptr<HeadlessCounters>& Counters() const { return m_Counters; }

    // --- for the swap chains ------------------------------------------------------
    // Counts and records a present of chain into window.
    void NotePresent(HeadlessSwapChain* chain, const HWND& window, DWORD flags, HRESULT result);
    // An additional chain is being freed: if its back buffer is the render
    // target, the target falls back to the implicit back buffer.
    void NoteSwapChainGone(HeadlessSwapChain* chain);

private:
    ~HeadlessDevice() override;

    bool OwnsTexture(IDirect3DBaseTexture9* texture) const override;
    void CountDraw(HRESULT result);

    // The new record, or null while not recording.
    HeadlessCall* Record(const char* name, std::initializer_list<DWORD> args, HRESULT result);
    void BindRenderTarget(HeadlessSurface* surface);
    HeadlessSwapChain* CurrentChain() const;

    D3DPRESENT_PARAMETERS m_Params;
    HWND m_FocusWindow;
    DWORD m_BehaviorFlags;
    std::shared_ptr<HeadlessCounters> m_Counters;

    std::unique_ptr<HeadlessSwapChain> m_ImplicitSwapChain;
    HeadlessSurface* m_RenderTarget = nullptr;  // a back buffer; not counted (see NoteSwapChainGone)
    int m_AdditionalSwapChains = 0;

    int m_DrawCalls = 0;
    int m_DrawsOutsideScene = 0;
    int m_Clears = 0;
    int m_BeginScenes = 0;
    int m_EndScenes = 0;
    int m_Presents = 0;
    std::vector<std::pair<HWND, int>> m_PresentsByWindow;
    std::map<std::pair<const void*, DWORD>, unsigned long long> m_MeshVersions;
    int m_MeshUploads = 0;

    // Names this device in its textures, which hold no device.
    std::shared_ptr<const char> m_TextureMaker = std::make_shared<const char>('\0');
    bool m_Recording = false;
    std::vector<HeadlessCall> m_Calls;
};
