#include "DeviceCore.h"

DeviceCore::DeviceCore(bool hasDepthBuffer) : m_State(hasDepthBuffer) {}

DeviceCore::~DeviceCore()
{
    ReleaseTextures();
}

void DeviceCore::ReleaseTextures()
{
    for (IDirect3DBaseTexture9*& texture : m_State.textures) {
        if (texture)
            texture->Release();
        texture = nullptr;
    }
}

void DeviceCore::SetTargetSize(UINT width, UINT height)
{
    m_TargetWidth = width;
    m_TargetHeight = height;
    m_State.viewport = D3DVIEWPORT9{0, 0, width, height, 0.0f, 1.0f};
}

void DeviceCore::TakeFVF(DWORD fvf)
{
    if (fvf == m_State.fvf)
        return;
    m_State.fvf = fvf;
    m_State.vertexFormat = VertexFormat::FromFVF(fvf);
}

HRESULT DeviceCore::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (state >= D3DRS_STATECOUNT_EXT)
        return D3DERR_INVALIDCALL;
    m_State.renderStates[state] = value;
    return D3D_OK;
}

HRESULT DeviceCore::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    if (state >= D3DRS_STATECOUNT_EXT || !value)
        return D3DERR_INVALIDCALL;
    *value = m_State.renderStates[state];
    return D3D_OK;
}

HRESULT DeviceCore::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    D3DMATRIX* slot = m_State.Transform(state);
    if (!slot || !matrix)
        return D3DERR_INVALIDCALL;
    *slot = *matrix;
    return D3D_OK;
}

HRESULT DeviceCore::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    const D3DMATRIX* slot = m_State.Transform(state);
    if (!slot || !matrix)
        return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
}

HRESULT DeviceCore::SetLight(DWORD index, const D3DLIGHT9* light)
{
    if (!DeviceChecks::IsLightType(light))
        return D3DERR_INVALIDCALL;
    m_State.lights[index].light = *light;
    return D3D_OK;
}

HRESULT DeviceCore::GetLight(DWORD index, D3DLIGHT9* light)
{
    const auto it = m_State.lights.find(index);
    if (!light || it == m_State.lights.end())
        return D3DERR_INVALIDCALL;
    *light = it->second.light;
    return D3D_OK;
}

HRESULT DeviceCore::LightEnable(DWORD index, BOOL enable)
{
    auto it = m_State.lights.find(index);
    if (it == m_State.lights.end())
        it = m_State.lights.emplace(index, DeviceState::LightSlot{DefaultLight(), false}).first;
    it->second.enabled = enable != FALSE;
    return D3D_OK;
}

HRESULT DeviceCore::GetLightEnable(DWORD index, BOOL* enable)
{
    const auto it = m_State.lights.find(index);
    if (!enable || it == m_State.lights.end())
        return D3DERR_INVALIDCALL;
    *enable = it->second.enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT DeviceCore::SetMaterial(const D3DMATERIAL9* material)
{
    if (!material)
        return D3DERR_INVALIDCALL;
    m_State.material = *material;
    return D3D_OK;
}

HRESULT DeviceCore::GetMaterial(D3DMATERIAL9* material)
{
    if (!material)
        return D3DERR_INVALIDCALL;
    *material = m_State.material;
    return D3D_OK;
}

HRESULT DeviceCore::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    if (stage >= D3DTEXTURESTAGECOUNT_EXT || (texture && !OwnsTexture(texture)))
        return D3DERR_INVALIDCALL;
    // Reference the new one first: it may be the one already bound.
    if (texture)
        texture->AddRef();
    IDirect3DBaseTexture9*& slot = m_State.textures[stage];
    if (slot)
        slot->Release();
    slot = texture;
    return D3D_OK;
}

HRESULT DeviceCore::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture)
{
    if (stage >= D3DTEXTURESTAGECOUNT_EXT || !texture)
        return D3DERR_INVALIDCALL;
    *texture = m_State.textures[stage];
    if (*texture)
        (*texture)->AddRef();
    return D3D_OK;
}

HRESULT DeviceCore::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    if (!DeviceChecks::IsStageState(stage, type))
        return D3DERR_INVALIDCALL;
    m_State.stageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT DeviceCore::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value)
{
    if (!DeviceChecks::IsStageState(stage, type) || !value)
        return D3DERR_INVALIDCALL;
    *value = m_State.stageStates[stage][type];
    return D3D_OK;
}

HRESULT DeviceCore::SetFVF(DWORD fvf)
{
    // Any value is kept; a format the devices cannot draw is refused at the
    // draw, as Direct3D does.
    m_State.fvf = fvf;
    m_State.vertexFormat = VertexFormat::FromFVF(fvf);
    return D3D_OK;
}

HRESULT DeviceCore::GetFVF(DWORD* fvf)
{
    if (!fvf)
        return D3DERR_INVALIDCALL;
    *fvf = m_State.fvf;
    return D3D_OK;
}

HRESULT DeviceCore::SetViewport(const D3DVIEWPORT9* viewport)
{
    const HRESULT result = DeviceChecks::Viewport(viewport, m_TargetWidth, m_TargetHeight);
    if (result == D3D_OK)
        m_State.viewport = *viewport;
    return result;
}

HRESULT DeviceCore::GetViewport(D3DVIEWPORT9* viewport)
{
    if (!viewport)
        return D3DERR_INVALIDCALL;
    *viewport = m_State.viewport;
    return D3D_OK;
}

HRESULT DeviceCore::BeginScene()
{
    if (m_State.inScene)
        return D3DERR_INVALIDCALL;
    m_State.inScene = true;
    return D3D_OK;
}

HRESULT DeviceCore::EndScene()
{
    if (!m_State.inScene)
        return D3DERR_INVALIDCALL;
    m_State.inScene = false;
    return D3D_OK;
}
