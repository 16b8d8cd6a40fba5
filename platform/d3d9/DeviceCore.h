// What every Direct3D 9 device of ours does alike: it keeps the state shadow
// (DeviceState), answers the state and Get calls from it, pairs scenes and
// checks arguments (DeviceChecks), so that the devices agree by
// construction. A device derives from it and adds only what differs: the
// headless device its recording, the OpenGL device its GL calls.
//
// Ownership: reference counted like every device. The core holds one
// reference to every texture bound to a stage and gives them back when the
// device goes (or when the derived device calls ReleaseTextures earlier).
#pragma once

#include "DeviceChecks.h"
#include "DeviceState.h"
#include "RefCounted.h"
#include "d3d9.h"

class DeviceCore : public RefCounted<IDirect3DDevice9>
{
public:
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
    // Only this device's own textures can be bound.
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;

    const DeviceState& State() const { return m_State; }
    bool IsInScene() const { return m_State.inScene; }

protected:
    explicit DeviceCore(bool hasDepthBuffer);
    ~DeviceCore() override;

    // Whether texture was made by this device.
    virtual bool OwnsTexture(IDirect3DBaseTexture9* texture) const = 0;

    // A new render target of this size: the viewport becomes all of it.
    void SetTargetSize(UINT width, UINT height);
    // The FVF of a mesh subset about to be drawn, set as D3DX's DrawSubset
    // sets it; the layout is worked out again only when it changes.
    void TakeFVF(DWORD fvf);
    void ReleaseTextures();

    DeviceState m_State;
    UINT m_TargetWidth = 0;
    UINT m_TargetHeight = 0;
};
