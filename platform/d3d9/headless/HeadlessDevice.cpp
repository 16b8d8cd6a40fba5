#include "HeadlessDevice.h"

#include <algorithm>
#include <cstring>

#include "HeadlessSurface.h"
#include "HeadlessSwapChain.h"
#include "HeadlessTexture.h"

namespace {


D3DMATRIX Identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// Direct3D's light for an index first named by LightEnable.
D3DLIGHT9 DefaultLight()
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

// Bytes of one vertex of fvf, or 0 when the position type is not one we
// know (then stride cannot be checked).
UINT FvfVertexSize(DWORD fvf)
{
    UINT size = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: size = 12; break;
    case 0x004: size = 16; break;  // pre-transformed XYZRHW
    default: return 0;
    }
    if (fvf & D3DFVF_NORMAL)
        size += 12;
    if (fvf & D3DFVF_PSIZE)
        size += 4;
    if (fvf & D3DFVF_DIFFUSE)
        size += 4;
    if (fvf & D3DFVF_SPECULAR)
        size += 4;
    size += 8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    return size;
}

// Vertices a draw of count primitives of type reads; 0 for an unknown type.
unsigned long long VertexCountFor(D3DPRIMITIVETYPE type, UINT count)
{
    const unsigned long long n = count;
    switch (type) {
    case D3DPT_POINTLIST: return n;
    case D3DPT_LINELIST: return 2 * n;
    case D3DPT_LINESTRIP: return n + 1;
    case D3DPT_TRIANGLELIST: return 3 * n;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return n + 2;
    }
    return 0;
}

}  // namespace

HeadlessDevice::HeadlessDevice(const D3DPRESENT_PARAMETERS& params, HWND focusWindow, HWND deviceWindow,
                               DWORD behaviorFlags, std::shared_ptr<HeadlessCounters> counters, bool recording)
    : m_Params(params),
      m_FocusWindow(focusWindow),
      m_BehaviorFlags(behaviorFlags),
      m_Counters(std::move(counters)),
      m_Recording(recording)
{
    m_Params.hDeviceWindow = deviceWindow;
    if (m_Counters) {
        ++m_Counters->devicesCreated;
        ++m_Counters->devicesAlive;
    }

    // Direct3D 9's documented initial states.
    D3D9DefaultRenderStatesEXT(m_RenderStates, m_Params.EnableAutoDepthStencil != FALSE);

    for (DWORD stage = 0; stage < D3DTEXTURESTAGECOUNT_EXT; ++stage) {
        DWORD* s = m_StageStates[stage];
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    }

    m_ImplicitSwapChain = std::make_unique<HeadlessSwapChain>(this, m_Params, deviceWindow, true);
    BindRenderTarget(m_ImplicitSwapChain->BackBuffer());
}

HeadlessDevice::~HeadlessDevice()
{
    for (IDirect3DBaseTexture9*& texture : m_Textures) {
        if (texture)
            texture->Release();
        texture = nullptr;
    }
    if (m_Counters)
        --m_Counters->devicesAlive;
}

HeadlessCall* HeadlessDevice::Record(const char* name, std::initializer_list<DWORD> args, HRESULT result)
{
    if (!m_Recording)
        return nullptr;
    HeadlessCall& call = m_Calls.emplace_back();
    call.name = name;
    call.args.assign(args.begin(), args.end());
    call.result = result;
    return &call;
}

// --- render states, transforms, lights, material -------------------------------

HRESULT HeadlessDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    const HRESULT result = state < D3DRS_STATECOUNT_EXT ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        m_RenderStates[state] = value;
    Record("SetRenderState", {state, value}, result);
    return result;
}

HRESULT HeadlessDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    const HRESULT result = state < D3DRS_STATECOUNT_EXT && value ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        *value = m_RenderStates[state];
    Record("GetRenderState", {state, result == D3D_OK ? *value : 0u}, result);
    return result;
}

bool HeadlessDevice::IsKnownTransform(D3DTRANSFORMSTATETYPE state)
{
    // View, projection, the texture matrices of the stages, and the world
    // matrices (D3DTS_WORLDMATRIX(0..255)).
    return state == D3DTS_VIEW || state == D3DTS_PROJECTION ||
           (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + D3DTEXTURESTAGECOUNT_EXT) ||
           (state >= D3DTS_WORLD && state < D3DTS_WORLD + 256);
}

HRESULT HeadlessDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    const HRESULT result = IsKnownTransform(state) && matrix ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        m_Transforms[state] = *matrix;
    if (HeadlessCall* call = Record("SetTransform", {state}, result); call && matrix)
        call->matrix = *matrix;
    return result;
}

HRESULT HeadlessDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    const HRESULT result = IsKnownTransform(state) && matrix ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        *matrix = Transform(state);
    if (HeadlessCall* call = Record("GetTransform", {state}, result); call && result == D3D_OK)
        call->matrix = *matrix;
    return result;
}

HRESULT HeadlessDevice::SetLight(DWORD index, const D3DLIGHT9* light)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (light && (light->Type == D3DLIGHT_POINT || light->Type == D3DLIGHT_SPOT ||
                  light->Type == D3DLIGHT_DIRECTIONAL)) {
        m_Lights[index].light = *light;
        result = D3D_OK;
    }
    if (HeadlessCall* call = Record("SetLight", {index}, result); call && light)
        call->light = *light;
    return result;
}

HRESULT HeadlessDevice::GetLight(DWORD index, D3DLIGHT9* light)
{
    const auto it = m_Lights.find(index);
    const HRESULT result = it != m_Lights.end() && light ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        *light = it->second.light;
    if (HeadlessCall* call = Record("GetLight", {index}, result); call && result == D3D_OK)
        call->light = *light;
    return result;
}

HRESULT HeadlessDevice::LightEnable(DWORD index, BOOL enable)
{
    auto it = m_Lights.find(index);
    if (it == m_Lights.end())
        it = m_Lights.emplace(index, LightSlot{DefaultLight(), false}).first;
    it->second.enabled = enable != FALSE;
    Record("LightEnable", {index, static_cast<DWORD>(enable)}, D3D_OK);
    return D3D_OK;
}

HRESULT HeadlessDevice::GetLightEnable(DWORD index, BOOL* enable)
{
    const auto it = m_Lights.find(index);
    const HRESULT result = it != m_Lights.end() && enable ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        *enable = it->second.enabled ? TRUE : FALSE;
    Record("GetLightEnable", {index, result == D3D_OK ? static_cast<DWORD>(*enable) : 0u}, result);
    return result;
}

HRESULT HeadlessDevice::SetMaterial(const D3DMATERIAL9* material)
{
    const HRESULT result = material ? D3D_OK : D3DERR_INVALIDCALL;
    if (material)
        m_Material = *material;
    if (HeadlessCall* call = Record("SetMaterial", {}, result); call && material)
        call->material = *material;
    return result;
}

HRESULT HeadlessDevice::GetMaterial(D3DMATERIAL9* material)
{
    const HRESULT result = material ? D3D_OK : D3DERR_INVALIDCALL;
    if (material)
        *material = m_Material;
    if (HeadlessCall* call = Record("GetMaterial", {}, result))
        call->material = m_Material;
    return result;
}

// --- textures and stages ------------------------------------------------------------

HRESULT HeadlessDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    HRESULT result = D3DERR_INVALIDCALL;
    // Only our own textures can be sampled; anything else is a mix-up of
    // devices.
    if (stage < D3DTEXTURESTAGECOUNT_EXT && (!texture || dynamic_cast<HeadlessTexture*>(texture))) {
        // Reference the new one first: it may be the one already bound.
        if (texture)
            texture->AddRef();
        if (m_Textures[stage])
            m_Textures[stage]->Release();
        m_Textures[stage] = texture;
        result = D3D_OK;
    }
    if (HeadlessCall* call = Record("SetTexture", {stage}, result))
        call->object = texture;
    return result;
}

HRESULT HeadlessDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture)
{
    const HRESULT result = stage < D3DTEXTURESTAGECOUNT_EXT && texture ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK) {
        *texture = m_Textures[stage];
        if (*texture)
            (*texture)->AddRef();
    }
    if (HeadlessCall* call = Record("GetTexture", {stage}, result); call && result == D3D_OK)
        call->object = *texture;
    return result;
}

HRESULT HeadlessDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    const HRESULT result = stage < D3DTEXTURESTAGECOUNT_EXT && type > 0 && type < D3DTSS_STATECOUNT_EXT
                               ? D3D_OK
                               : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        m_StageStates[stage][type] = value;
    Record("SetTextureStageState", {stage, type, value}, result);
    return result;
}

HRESULT HeadlessDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value)
{
    const HRESULT result = stage < D3DTEXTURESTAGECOUNT_EXT && type > 0 && type < D3DTSS_STATECOUNT_EXT && value
                               ? D3D_OK
                               : D3DERR_INVALIDCALL;
    if (result == D3D_OK)
        *value = m_StageStates[stage][type];
    Record("GetTextureStageState", {stage, type, result == D3D_OK ? *value : 0u}, result);
    return result;
}

HRESULT HeadlessDevice::SetFVF(DWORD fvf)
{
    m_FVF = fvf;
    Record("SetFVF", {fvf}, D3D_OK);
    return D3D_OK;
}

HRESULT HeadlessDevice::GetFVF(DWORD* fvf)
{
    const HRESULT result = fvf ? D3D_OK : D3DERR_INVALIDCALL;
    if (fvf)
        *fvf = m_FVF;
    Record("GetFVF", {m_FVF}, result);
    return result;
}

HRESULT HeadlessDevice::SetViewport(const D3DVIEWPORT9* viewport)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (viewport) {
        // The viewport must lie inside the render target, as Direct3D checks.
        const unsigned long long right = static_cast<unsigned long long>(viewport->X) + viewport->Width;
        const unsigned long long bottom = static_cast<unsigned long long>(viewport->Y) + viewport->Height;
        const bool depthOk = viewport->MinZ >= 0.0f && viewport->MaxZ <= 1.0f && viewport->MinZ <= viewport->MaxZ;
        if (right <= m_RenderTarget->Width() && bottom <= m_RenderTarget->Height() && depthOk) {
            m_Viewport = *viewport;
            result = D3D_OK;
        }
    }
    if (HeadlessCall* call = Record("SetViewport", {}, result); call && viewport)
        call->viewport = *viewport;
    return result;
}

HRESULT HeadlessDevice::GetViewport(D3DVIEWPORT9* viewport)
{
    const HRESULT result = viewport ? D3D_OK : D3DERR_INVALIDCALL;
    if (viewport)
        *viewport = m_Viewport;
    if (HeadlessCall* call = Record("GetViewport", {}, result))
        call->viewport = m_Viewport;
    return result;
}

// --- drawing ---------------------------------------------------------------------------

HRESULT HeadlessDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                                        UINT vertexStride)
{
    const unsigned long long vertexCount = VertexCountFor(type, primitiveCount);
    const UINT fvfSize = FvfVertexSize(m_FVF);
    HRESULT result = D3D_OK;
    // A stride shorter than the set format's vertex would make the fields
    // of one vertex overlap the next: a caller's fault worth refusing.
    if (!vertexData || vertexCount == 0 || primitiveCount == 0 || primitiveCount > kMaxPrimitiveCount ||
        vertexStride == 0 || vertexStride < fvfSize)
        result = D3DERR_INVALIDCALL;

    if (result == D3D_OK) {
        ++m_DrawCalls;
        if (!m_InScene)
            ++m_DrawsOutsideScene;
        if (HeadlessSwapChain* chain = CurrentChain())
            ++chain->m_DrawCalls;
    }
    if (HeadlessCall* call = Record("DrawPrimitiveUP", {type, primitiveCount, vertexStride}, result);
        call && result == D3D_OK) {
        call->stride = vertexStride;
        call->vertexCount = static_cast<UINT>(vertexCount);
        const BYTE* bytes = static_cast<const BYTE*>(vertexData);
        call->vertices.assign(bytes, bytes + vertexCount * vertexStride);
    }
    return result;
}

HRESULT HeadlessDevice::DrawMeshSubsetEXT(const D3DMESHSUBSET_EXT& subset)
{
    const UINT fvfSize = FvfVertexSize(subset.fvf);
    bool valid = subset.key && subset.stride != 0 && subset.stride >= fvfSize &&
                 (subset.numVertices == 0 || subset.vertices) && (subset.numIndices == 0 || subset.indices) &&
                 subset.numIndices % 3 == 0;
    // Every index must name a vertex the subset hands over; a device with
    // its own buffers would otherwise read past them.
    if (valid) {
        valid = std::all_of(subset.indices, subset.indices + subset.numIndices,
                            [&](WORD index) { return index < subset.numVertices; });
    }
    const HRESULT result = valid ? D3D_OK : D3DERR_INVALIDCALL;

    if (valid) {
        ++m_DrawCalls;
        if (!m_InScene)
            ++m_DrawsOutsideScene;
        if (HeadlessSwapChain* chain = CurrentChain())
            ++chain->m_DrawCalls;
        auto [it, added] = m_MeshVersions.try_emplace({subset.key, subset.subset}, subset.version);
        if (added || it->second != subset.version) {
            it->second = subset.version;
            ++m_MeshUploads;
        }
    }
    if (HeadlessCall* call = Record("DrawMeshSubsetEXT",
                                    {subset.subset, subset.fvf, subset.stride, subset.numVertices, subset.numIndices},
                                    result)) {
        call->object = subset.key;
        call->version = subset.version;
        if (valid) {
            call->stride = subset.stride;
            call->vertexCount = subset.numVertices;
            const BYTE* bytes = static_cast<const BYTE*>(subset.vertices);
            call->vertices.assign(bytes, bytes + static_cast<size_t>(subset.numVertices) * subset.stride);
            call->indices.assign(subset.indices, subset.indices + subset.numIndices);
        }
    }
    return result;
}

void HeadlessDevice::ForgetMeshEXT(const void* key)
{
    std::erase_if(m_MeshVersions, [key](const auto& entry) { return entry.first.first == key; });
    if (HeadlessCall* call = Record("ForgetMeshEXT", {}, D3D_OK))
        call->object = key;
}

HRESULT HeadlessDevice::Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                              DWORD stencil)
{
    const DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    const bool needsDepth = (flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0;
    // Rectangles are not supported; depth and stencil need a depth buffer,
    // and z must be a depth value.
    const bool valid = rectCount == 0 && !rects && flags != 0 && (flags & ~known) == 0 &&
                       (!needsDepth || HasDepthBuffer()) && z >= 0.0f && z <= 1.0f;
    const HRESULT result = valid ? D3D_OK : D3DERR_INVALIDCALL;
    if (valid) {
        ++m_Clears;
        if (HeadlessSwapChain* chain = CurrentChain())
            ++chain->m_Clears;
    }
    if (HeadlessCall* call = Record("Clear", {rectCount, flags, color, stencil}, result))
        call->value = z;
    return result;
}

HRESULT HeadlessDevice::BeginScene()
{
    const HRESULT result = m_InScene ? D3DERR_INVALIDCALL : D3D_OK;
    if (result == D3D_OK) {
        m_InScene = true;
        ++m_BeginScenes;
        if (HeadlessSwapChain* chain = CurrentChain())
            ++chain->m_BeginScenes;
    }
    Record("BeginScene", {}, result);
    return result;
}

HRESULT HeadlessDevice::EndScene()
{
    const HRESULT result = m_InScene ? D3D_OK : D3DERR_INVALIDCALL;
    if (result == D3D_OK) {
        m_InScene = false;
        ++m_EndScenes;
        if (HeadlessSwapChain* chain = CurrentChain())
            ++chain->m_EndScenes;
    }
    Record("EndScene", {}, result);
    return result;
}

// --- swap chains and render target ------------------------------------------------

HRESULT HeadlessDevice::GetSwapChain(UINT index, IDirect3DSwapChain9** swapChain)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (swapChain) {
        *swapChain = nullptr;
        if (index == 0) {
            m_ImplicitSwapChain->AddRef();
            *swapChain = m_ImplicitSwapChain.get();
            result = D3D_OK;
        }
    }
    if (HeadlessCall* call = Record("GetSwapChain", {index}, result); call && result == D3D_OK)
        call->object = *swapChain;
    return result;
}

HRESULT HeadlessDevice::CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* params, IDirect3DSwapChain9** swapChain)
{
    HRESULT result = D3DERR_INVALIDCALL;
    HeadlessSwapChain* chain = nullptr;
    HWND window;
    if (swapChain)
        *swapChain = nullptr;
    if (params && swapChain) {
        // No device window: the chain shows in the focus window, as Direct3D does.
        window = params->hDeviceWindow.IsNull() ? m_FocusWindow : params->hDeviceWindow;
        RECT client;
        const D3DFORMAT format = params->BackBufferFormat;
        if (GetClientRect(window, &client) &&
            (format == D3DFMT_UNKNOWN || format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8)) {
            if (params->BackBufferWidth == 0)
                params->BackBufferWidth = client.right > 0 ? static_cast<UINT>(client.right) : 1u;
            if (params->BackBufferHeight == 0)
                params->BackBufferHeight = client.bottom > 0 ? static_cast<UINT>(client.bottom) : 1u;
            if (format == D3DFMT_UNKNOWN)
                params->BackBufferFormat = m_Params.BackBufferFormat;
            if (params->BackBufferCount == 0)
                params->BackBufferCount = 1;
            D3DPRESENT_PARAMETERS own = *params;
            own.hDeviceWindow = window;
            chain = new HeadlessSwapChain(this, own, window, false);
            ++m_AdditionalSwapChains;
            if (m_Counters) {
                ++m_Counters->swapChainsCreated;
                ++m_Counters->swapChainsAlive;
            }
            *swapChain = chain;
            result = D3D_OK;
        }
    }
    if (HeadlessCall* call = Record("CreateAdditionalSwapChain",
                                    {params ? params->BackBufferWidth : 0u, params ? params->BackBufferHeight : 0u},
                                    result)) {
        call->object = chain;
        call->window = window;
    }
    return result;
}

void HeadlessDevice::BindRenderTarget(HeadlessSurface* surface)
{
    m_RenderTarget = surface;
    m_Viewport = D3DVIEWPORT9{0, 0, surface->Width(), surface->Height(), 0.0f, 1.0f};
}

HeadlessSwapChain* HeadlessDevice::CurrentChain() const
{
    return m_RenderTarget ? m_RenderTarget->Chain() : nullptr;
}

HRESULT HeadlessDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* target)
{
    // Render target 0 cannot be unset, and only this device's back buffers
    // can be drawn into.
    auto* surface = dynamic_cast<HeadlessSurface*>(target);
    const bool valid = index == 0 && surface && surface->Chain()->Device() == this;
    const HRESULT result = valid ? D3D_OK : D3DERR_INVALIDCALL;
    if (valid)
        BindRenderTarget(surface);
    if (HeadlessCall* call = Record("SetRenderTarget", {index}, result))
        call->object = target;
    return result;
}

HRESULT HeadlessDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** target)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (target) {
        *target = nullptr;
        if (index == 0) {
            m_RenderTarget->AddRef();
            *target = m_RenderTarget;
            result = D3D_OK;
        }
    }
    if (HeadlessCall* call = Record("GetRenderTarget", {index}, result); call && result == D3D_OK)
        call->object = *target;
    return result;
}

void HeadlessDevice::NotePresent(HeadlessSwapChain* chain, const HWND& window, DWORD flags, HRESULT result)
{
    if (result == D3D_OK) {
        ++m_Presents;
        auto it = std::find_if(m_PresentsByWindow.begin(), m_PresentsByWindow.end(),
                               [&](const auto& entry) { return entry.first == window; });
        if (it == m_PresentsByWindow.end())
            m_PresentsByWindow.emplace_back(window, 1);
        else
            ++it->second;
    }
    if (HeadlessCall* call = Record("Present", {flags}, result)) {
        call->object = chain;
        call->window = window;
    }
}

void HeadlessDevice::NoteSwapChainGone(HeadlessSwapChain* chain)
{
    // Binding a back buffer does not keep its chain: a device holding the
    // chain that holds the device would never be freed. So a target whose
    // chain goes falls back to the implicit back buffer.
    if (CurrentChain() == chain)
        BindRenderTarget(m_ImplicitSwapChain->BackBuffer());
    --m_AdditionalSwapChains;
    if (m_Counters)
        --m_Counters->swapChainsAlive;
}

// --- textures ------------------------------------------------------------------------------

HRESULT HeadlessDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                      D3DPOOL pool, IDirect3DTexture9** texture, void* sharedHandle)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (texture) {
        *texture = nullptr;
        // One level only (0 asks for a full chain, which we do not make
        // beyond the first level), 32-bit ARGB only.
        if (width >= 1 && height >= 1 && width <= HeadlessTexture::kMaxSize && height <= HeadlessTexture::kMaxSize &&
            levels <= 1 && format == D3DFMT_A8R8G8B8 && !sharedHandle) {
            *texture = new HeadlessTexture(width, height, pool, m_Counters);
            result = D3D_OK;
        }
    }
    if (HeadlessCall* call = Record("CreateTexture", {width, height, levels, usage, format, pool}, result);
        call && result == D3D_OK)
        call->object = *texture;
    return result;
}

// --- accessors -------------------------------------------------------------------------------

std::vector<HeadlessCall> HeadlessDevice::CallsNamed(std::string_view name) const
{
    std::vector<HeadlessCall> calls;
    for (const HeadlessCall& call : m_Calls)
        if (call.name == name)
            calls.push_back(call);
    return calls;
}

std::vector<std::string> HeadlessDevice::CallNames() const
{
    std::vector<std::string> names;
    names.reserve(m_Calls.size());
    for (const HeadlessCall& call : m_Calls)
        names.push_back(call.name);
    return names;
}

int HeadlessDevice::PresentCount(const HWND& window) const
{
    for (const auto& [w, count] : m_PresentsByWindow)
        if (w == window)
            return count;
    return 0;
}

DWORD HeadlessDevice::RenderState(D3DRENDERSTATETYPE state) const
{
    return state < D3DRS_STATECOUNT_EXT ? m_RenderStates[state] : 0u;
}

D3DMATRIX HeadlessDevice::Transform(D3DTRANSFORMSTATETYPE state) const
{
    const auto it = m_Transforms.find(state);
    return it != m_Transforms.end() ? it->second : Identity();
}

DWORD HeadlessDevice::TextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const
{
    if (stage >= D3DTEXTURESTAGECOUNT_EXT || type >= D3DTSS_STATECOUNT_EXT)
        return 0;
    return m_StageStates[stage][type];
}

IDirect3DBaseTexture9* HeadlessDevice::TextureAt(DWORD stage) const
{
    return stage < D3DTEXTURESTAGECOUNT_EXT ? m_Textures[stage] : nullptr;
}

std::vector<DWORD> HeadlessDevice::LightIndices() const
{
    std::vector<DWORD> indices;
    for (const auto& [index, slot] : m_Lights)
        indices.push_back(index);
    return indices;
}

std::vector<DWORD> HeadlessDevice::EnabledLightIndices() const
{
    std::vector<DWORD> indices;
    for (const auto& [index, slot] : m_Lights)
        if (slot.enabled)
            indices.push_back(index);
    return indices;
}

IDirect3DSurface9* HeadlessDevice::RenderTarget() const
{
    return m_RenderTarget;
}
