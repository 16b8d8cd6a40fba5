#include "HeadlessDevice.h"

#include <algorithm>
#include <cstring>

#include "HeadlessSurface.h"
#include "HeadlessSwapChain.h"
#include "HeadlessTexture.h"

HeadlessDevice::HeadlessDevice(const D3DPRESENT_PARAMETERS& params, HWND focusWindow, HWND deviceWindow,
                               DWORD behaviorFlags, std::shared_ptr<HeadlessCounters> counters, bool recording)
    : DeviceCore(params.EnableAutoDepthStencil != FALSE),
      m_Params(params),
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

    m_ImplicitSwapChain = std::make_unique<HeadlessSwapChain>(this, m_Params, deviceWindow, true);
    BindRenderTarget(m_ImplicitSwapChain->BackBuffer());
}

HeadlessDevice::~HeadlessDevice()
{
    ReleaseTextures();
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

// --- state: the core keeps it, the device records -----------------------------------

HRESULT HeadlessDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    const HRESULT result = DeviceCore::SetRenderState(state, value);
    Record("SetRenderState", {state, value}, result);
    return result;
}

HRESULT HeadlessDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    const HRESULT result = DeviceCore::GetRenderState(state, value);
    Record("GetRenderState", {state, result == D3D_OK ? *value : 0u}, result);
    return result;
}

HRESULT HeadlessDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    const HRESULT result = DeviceCore::SetTransform(state, matrix);
    if (HeadlessCall* call = Record("SetTransform", {state}, result); call && matrix)
        call->matrix = *matrix;
    return result;
}

HRESULT HeadlessDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    const HRESULT result = DeviceCore::GetTransform(state, matrix);
    if (HeadlessCall* call = Record("GetTransform", {state}, result); call && result == D3D_OK)
        call->matrix = *matrix;
    return result;
}

HRESULT HeadlessDevice::SetLight(DWORD index, const D3DLIGHT9* light)
{
    const HRESULT result = DeviceCore::SetLight(index, light);
    if (HeadlessCall* call = Record("SetLight", {index}, result); call && light)
        call->light = *light;
    return result;
}

HRESULT HeadlessDevice::GetLight(DWORD index, D3DLIGHT9* light)
{
    const HRESULT result = DeviceCore::GetLight(index, light);
    if (HeadlessCall* call = Record("GetLight", {index}, result); call && result == D3D_OK)
        call->light = *light;
    return result;
}

HRESULT HeadlessDevice::LightEnable(DWORD index, BOOL enable)
{
    const HRESULT result = DeviceCore::LightEnable(index, enable);
    Record("LightEnable", {index, static_cast<DWORD>(enable)}, result);
    return result;
}

HRESULT HeadlessDevice::GetLightEnable(DWORD index, BOOL* enable)
{
    const HRESULT result = DeviceCore::GetLightEnable(index, enable);
    Record("GetLightEnable", {index, result == D3D_OK ? static_cast<DWORD>(*enable) : 0u}, result);
    return result;
}

HRESULT HeadlessDevice::SetMaterial(const D3DMATERIAL9* material)
{
    const HRESULT result = DeviceCore::SetMaterial(material);
    if (HeadlessCall* call = Record("SetMaterial", {}, result); call && material)
        call->material = *material;
    return result;
}

HRESULT HeadlessDevice::GetMaterial(D3DMATERIAL9* material)
{
    const HRESULT result = DeviceCore::GetMaterial(material);
    if (HeadlessCall* call = Record("GetMaterial", {}, result))
        call->material = m_State.material;
    return result;
}

bool HeadlessDevice::OwnsTexture(IDirect3DBaseTexture9* texture) const
{
    // Only our own textures can be sampled; anything else is a mix-up of
    // devices.
    const auto* ours = dynamic_cast<HeadlessTexture*>(texture);
    return ours && ours->Maker() == m_TextureMaker;
}

HRESULT HeadlessDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    const HRESULT result = DeviceCore::SetTexture(stage, texture);
    if (HeadlessCall* call = Record("SetTexture", {stage}, result))
        call->object = texture;
    return result;
}

HRESULT HeadlessDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture)
{
    const HRESULT result = DeviceCore::GetTexture(stage, texture);
    if (HeadlessCall* call = Record("GetTexture", {stage}, result); call && result == D3D_OK)
        call->object = *texture;
    return result;
}

HRESULT HeadlessDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    const HRESULT result = DeviceCore::SetTextureStageState(stage, type, value);
    Record("SetTextureStageState", {stage, type, value}, result);
    return result;
}

HRESULT HeadlessDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value)
{
    const HRESULT result = DeviceCore::GetTextureStageState(stage, type, value);
    Record("GetTextureStageState", {stage, type, result == D3D_OK ? *value : 0u}, result);
    return result;
}

HRESULT HeadlessDevice::SetFVF(DWORD fvf)
{
    const HRESULT result = DeviceCore::SetFVF(fvf);
    Record("SetFVF", {fvf}, result);
    return result;
}

HRESULT HeadlessDevice::GetFVF(DWORD* fvf)
{
    const HRESULT result = DeviceCore::GetFVF(fvf);
    Record("GetFVF", {m_State.fvf}, result);
    return result;
}

HRESULT HeadlessDevice::SetViewport(const D3DVIEWPORT9* viewport)
{
    const HRESULT result = DeviceCore::SetViewport(viewport);
    if (HeadlessCall* call = Record("SetViewport", {}, result); call && viewport)
        call->viewport = *viewport;
    return result;
}

HRESULT HeadlessDevice::GetViewport(D3DVIEWPORT9* viewport)
{
    const HRESULT result = DeviceCore::GetViewport(viewport);
    if (HeadlessCall* call = Record("GetViewport", {}, result))
        call->viewport = m_State.viewport;
    return result;
}

// --- drawing ---------------------------------------------------------------------------

void HeadlessDevice::CountDraw(HRESULT result)
{
    if (!IsInScene())
        ++m_DrawsOutsideScene;
    if (result != D3D_OK)
        return;
    ++m_DrawCalls;
    if (HeadlessSwapChain* chain = CurrentChain())
        ++chain->m_DrawCalls;
}

HRESULT HeadlessDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                                        UINT vertexStride)
{
    const HRESULT result = DeviceChecks::DrawUP(m_State, type, primitiveCount, vertexData, vertexStride);
    CountDraw(result);
    if (HeadlessCall* call = Record("DrawPrimitiveUP", {type, primitiveCount, vertexStride}, result);
        call && result == D3D_OK) {
        const UINT vertexCount = VerticesForPrimitives(type, primitiveCount);
        call->stride = vertexStride;
        call->vertexCount = vertexCount;
        const BYTE* bytes = static_cast<const BYTE*>(vertexData);
        call->vertices.assign(bytes, bytes + static_cast<size_t>(vertexCount) * vertexStride);
    }
    return result;
}

HRESULT HeadlessDevice::DrawMeshSubsetEXT(const D3DMESHSUBSET_EXT& subset)
{
    TakeFVF(subset.fvf);
    HRESULT result = DeviceChecks::MeshSubset(m_State, subset);
    // Indices are checked when the data is new, as a device with its own
    // buffers checks them at upload.
    const auto known = m_MeshVersions.find({subset.key, subset.subset});
    const bool fresh = known == m_MeshVersions.end() || known->second != subset.version;
    if (result == D3D_OK && fresh && !DeviceChecks::IndicesInRange(subset))
        result = D3DERR_INVALIDCALL;

    CountDraw(result);
    if (result == D3D_OK) {
        if (fresh) {
            m_MeshVersions[{subset.key, subset.subset}] = subset.version;
            ++m_MeshUploads;
        }
    }
    if (HeadlessCall* call =
            Record("DrawMeshSubsetEXT",
                   {subset.subset, subset.fvf, subset.stride, subset.numVertices, subset.numIndices}, result)) {
        call->object = subset.key;
        call->version = subset.version;
        if (result == D3D_OK) {
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
    const HRESULT result = DeviceChecks::Clear(rectCount, rects, flags, z, HasDepthBuffer(), HasStencil());
    if (result == D3D_OK) {
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
    const HRESULT result = DeviceCore::BeginScene();
    if (result == D3D_OK) {
        ++m_BeginScenes;
        if (HeadlessSwapChain* chain = CurrentChain())
            ++chain->m_BeginScenes;
    }
    Record("BeginScene", {}, result);
    return result;
}

HRESULT HeadlessDevice::EndScene()
{
    const HRESULT result = DeviceCore::EndScene();
    if (result == D3D_OK) {
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
    RECT client{};
    if (params && swapChain && DeviceChecks::PresentWindow(m_FocusWindow, *params, &window, &client) == D3D_OK)
        result = DeviceChecks::BackBuffer(params, client, m_Params.BackBufferFormat);
    if (result == D3D_OK) {
        D3DPRESENT_PARAMETERS own = *params;
        own.hDeviceWindow = window;
        chain = new HeadlessSwapChain(this, own, window, false);
        ++m_AdditionalSwapChains;
        if (m_Counters) {
            ++m_Counters->swapChainsCreated;
            ++m_Counters->swapChainsAlive;
        }
        *swapChain = chain;
    }
    if (HeadlessCall* call =
            Record("CreateAdditionalSwapChain",
                   {params ? params->BackBufferWidth : 0u, params ? params->BackBufferHeight : 0u}, result)) {
        call->object = chain;
        call->window = window;
    }
    return result;
}

void HeadlessDevice::BindRenderTarget(HeadlessSurface* surface)
{
    m_RenderTarget = surface;
    SetTargetSize(surface->Width(), surface->Height());
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

HRESULT HeadlessDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DTexture9** texture, void* sharedHandle)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (texture) {
        *texture = nullptr;
        result = DeviceChecks::Texture(width, height, levels, format, sharedHandle);
        if (result == D3D_OK)
            *texture = new HeadlessTexture(width, height, format, pool, m_Counters, m_TextureMaker);
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
    return state < D3DRS_STATECOUNT_EXT ? m_State.renderStates[state] : 0u;
}

D3DMATRIX HeadlessDevice::Transform(D3DTRANSFORMSTATETYPE state) const
{
    D3DMATRIX matrix{};
    const_cast<HeadlessDevice*>(this)->DeviceCore::GetTransform(state, &matrix);
    return matrix;
}

DWORD HeadlessDevice::TextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const
{
    return DeviceChecks::IsStageState(stage, type) ? m_State.stageStates[stage][type] : 0u;
}

IDirect3DBaseTexture9* HeadlessDevice::TextureAt(DWORD stage) const
{
    return stage < D3DTEXTURESTAGECOUNT_EXT ? m_State.textures[stage] : nullptr;
}

std::vector<DWORD> HeadlessDevice::LightIndices() const
{
    std::vector<DWORD> indices;
    for (const auto& [index, slot] : m_State.lights)
        indices.push_back(index);
    return indices;
}

std::vector<DWORD> HeadlessDevice::EnabledLightIndices() const
{
    std::vector<DWORD> indices;
    for (const auto& [index, slot] : m_State.lights)
        if (slot.enabled)
            indices.push_back(index);
    return indices;
}

IDirect3DSurface9* HeadlessDevice::RenderTarget() const
{
    return m_RenderTarget;
}
