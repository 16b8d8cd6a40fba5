#include "SlowPresentDirect3D.h"

#include <thread>

#include "HeadlessDirect3D9.h"
#include "RefCounted.h"

namespace {

struct Slowness
{
    std::chrono::milliseconds delay;
    std::shared_ptr<SlowPresentCounters> counters;
};

// Holds one reference to the chain it wraps.
class SlowSwapChain final : public RefCounted<IDirect3DSwapChain9>
{
public:
    SlowSwapChain(IDirect3DSwapChain9* inner, Slowness slowness) : m_Inner(inner), m_Slowness(std::move(slowness)) {}

    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow, const RGNDATA* dirtyRegion,
                    DWORD flags) override
    {
        std::this_thread::sleep_for(m_Slowness.delay);
        ++m_Slowness.counters->presents;
        return m_Inner->Present(sourceRect, destRect, destWindow, dirtyRegion, flags);
    }
    HRESULT GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** backBuffer) override
    {
        return m_Inner->GetBackBuffer(index, type, backBuffer);
    }
    HRESULT GetPresentParameters(D3DPRESENT_PARAMETERS* params) override
    {
        return m_Inner->GetPresentParameters(params);
    }

private:
    ~SlowSwapChain() override = default;

    ComPtr<IDirect3DSwapChain9> m_Inner;
    Slowness m_Slowness;
};

// Forwards every call to the device it wraps (one reference held); the
// swap chains it hands out are slow ones around the inner device's.
class SlowPresentDevice final : public RefCounted<IDirect3DDevice9>
{
public:
    SlowPresentDevice(IDirect3DDevice9* inner, Slowness slowness) : m_Inner(inner), m_Slowness(std::move(slowness)) {}

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override { return m_Inner->SetRenderState(state, value); }
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override { return m_Inner->GetRenderState(state, value); }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override
    {
        return m_Inner->SetTransform(state, matrix);
    }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override
    {
        return m_Inner->GetTransform(state, matrix);
    }
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override { return m_Inner->SetLight(index, light); }
    HRESULT GetLight(DWORD index, D3DLIGHT9* light) override { return m_Inner->GetLight(index, light); }
    HRESULT LightEnable(DWORD index, BOOL enable) override { return m_Inner->LightEnable(index, enable); }
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override { return m_Inner->GetLightEnable(index, enable); }
    HRESULT SetMaterial(const D3DMATERIAL9* material) override { return m_Inner->SetMaterial(material); }
    HRESULT GetMaterial(D3DMATERIAL9* material) override { return m_Inner->GetMaterial(material); }
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override { return m_Inner->SetTexture(stage, texture); }
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override { return m_Inner->GetTexture(stage, texture); }
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override
    {
        return m_Inner->SetTextureStageState(stage, type, value);
    }
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override
    {
        return m_Inner->GetTextureStageState(stage, type, value);
    }
    HRESULT SetFVF(DWORD fvf) override { return m_Inner->SetFVF(fvf); }
    HRESULT GetFVF(DWORD* fvf) override { return m_Inner->GetFVF(fvf); }
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override { return m_Inner->SetViewport(viewport); }
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override { return m_Inner->GetViewport(viewport); }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT vertexStride) override
    {
        return m_Inner->DrawPrimitiveUP(type, primitiveCount, vertexData, vertexStride);
    }
    HRESULT DrawMeshSubsetEXT(const D3DMESHSUBSET_EXT& subset) override { return m_Inner->DrawMeshSubsetEXT(subset); }
    void ForgetMeshEXT(const void* key) override { m_Inner->ForgetMeshEXT(key); }
    HRESULT Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override
    {
        return m_Inner->Clear(rectCount, rects, flags, color, z, stencil);
    }
    HRESULT BeginScene() override { return m_Inner->BeginScene(); }
    HRESULT EndScene() override { return m_Inner->EndScene(); }
    HRESULT GetSwapChain(UINT index, IDirect3DSwapChain9** swapChain) override
    {
        return Wrap(m_Inner->GetSwapChain(index, swapChain), swapChain);
    }
    HRESULT CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* params, IDirect3DSwapChain9** swapChain) override
    {
        return Wrap(m_Inner->CreateAdditionalSwapChain(params, swapChain), swapChain);
    }
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* target) override
    {
        return m_Inner->SetRenderTarget(index, target);
    }
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** target) override
    {
        return m_Inner->GetRenderTarget(index, target);
    }
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, void* sharedHandle) override
    {
        return m_Inner->CreateTexture(width, height, levels, usage, format, pool, texture, sharedHandle);
    }

private:
    ~SlowPresentDevice() override = default;

    HRESULT Wrap(HRESULT result, IDirect3DSwapChain9** swapChain)
    {
        if (SUCCEEDED(result) && swapChain && *swapChain)
            *swapChain = new SlowSwapChain(*swapChain, m_Slowness);
        return result;
    }

    ComPtr<IDirect3DDevice9> m_Inner;
    Slowness m_Slowness;
};

class SlowPresentDirect3D9 final : public RefCounted<IDirect3D9>
{
public:
    SlowPresentDirect3D9(IDirect3D9* inner, Slowness slowness) : m_Inner(inner), m_Slowness(std::move(slowness)) {}

    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override
    {
        return m_Inner->GetAdapterDisplayMode(adapter, mode);
    }
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override
    {
        const HRESULT result = m_Inner->CreateDevice(adapter, type, focusWindow, behaviorFlags, params, device);
        if (SUCCEEDED(result) && device && *device)
            *device = new SlowPresentDevice(*device, m_Slowness);
        return result;
    }

private:
    ~SlowPresentDirect3D9() override = default;

    ComPtr<IDirect3D9> m_Inner;
    Slowness m_Slowness;
};

}  // namespace

Direct3DFactory MakeSlowPresentFactory(std::chrono::milliseconds delay, std::shared_ptr<SlowPresentCounters> counters)
{
    return [slowness = Slowness{delay, std::move(counters)}]() -> IDirect3D9* {
        return new SlowPresentDirect3D9(CreateHeadlessDirect3D9(), slowness);
    };
}
