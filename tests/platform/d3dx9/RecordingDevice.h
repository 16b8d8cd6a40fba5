// A device for the D3DX tests: it records mesh draws (copying what it was
// handed, as a device that uploads would), forgotten meshes and created
// textures, and answers every other call with D3DERR_INVALIDCALL.
#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

#include "RefCounted.h"
#include "d3d9.h"

// A texture whose rows are padded, so code that ignores the pitch shows.
class RecordingTexture final : public RefCounted<IDirect3DTexture9>
{
public:
    static constexpr INT kPad = 12;

    RecordingTexture(UINT width, UINT height)
        : m_Width(width), m_Height(height), m_Bytes(std::size_t(width * 4 + kPad) * height, std::byte{0xCD})
    {
    }

    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override
    {
        if (level != 0 || !desc)
            return D3DERR_INVALIDCALL;
        *desc = {D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, m_Width, m_Height};
        return D3D_OK;
    }
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) override
    {
        if (level != 0 || !locked || rect)
            return D3DERR_INVALIDCALL;
        locked->Pitch = static_cast<INT>(m_Width * 4) + kPad;
        locked->pBits = m_Bytes.data();
        return D3D_OK;
    }
    HRESULT UnlockRect(UINT level) override { return level == 0 ? D3D_OK : D3DERR_INVALIDCALL; }

    UINT Width() const { return m_Width; }
    UINT Height() const { return m_Height; }
    DWORD Pixel(UINT x, UINT y) const
    {
        DWORD v;
        std::memcpy(&v, m_Bytes.data() + std::size_t(y) * (m_Width * 4 + kPad) + x * 4, 4);
        return v;
    }

private:
    UINT m_Width;
    UINT m_Height;
    std::vector<std::byte> m_Bytes;
};

class RecordingDevice final : public RefCounted<IDirect3DDevice9>
{
public:
    struct Draw
    {
        const void* key;
        DWORD subset;
        unsigned long long version;
        DWORD fvf;
        UINT stride;
        UINT numVertices;
        std::vector<std::byte> vertices;
        std::vector<WORD> indices;
    };

    RecordingDevice() = default;

    std::vector<Draw> draws;
    std::vector<const void*> forgotten;
    int texturesCreated = 0;

    // The reference count without changing it.
    ULONG Count()
    {
        AddRef();
        return Release();
    }

    HRESULT DrawMeshSubsetEXT(const D3DMESHSUBSET_EXT& s) override
    {
        Draw d{s.key, s.subset, s.version, s.fvf, s.stride, s.numVertices, {}, {}};
        const auto* v = static_cast<const std::byte*>(s.vertices);
        d.vertices.assign(v, v + std::size_t(s.numVertices) * s.stride);
        d.indices.assign(s.indices, s.indices + s.numIndices);
        // What a real device would do with the data: every index must name a
        // vertex it was given.
        for (WORD i : d.indices)
            if (i >= s.numVertices)
                return D3DERR_INVALIDCALL;
        draws.push_back(std::move(d));
        return D3D_OK;
    }
    void ForgetMeshEXT(const void* key) override { forgotten.push_back(key); }

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT format, D3DPOOL,
                          IDirect3DTexture9** texture, void*) override
    {
        if (!texture || width == 0 || height == 0 || levels > 1 || format != D3DFMT_A8R8G8B8)
            return D3DERR_INVALIDCALL;
        ++texturesCreated;
        *texture = new RecordingTexture(width, height);
        return D3D_OK;
    }

    HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetLight(DWORD, const D3DLIGHT9*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetLight(DWORD, D3DLIGHT9*) override { return D3DERR_INVALIDCALL; }
    HRESULT LightEnable(DWORD, BOOL) override { return D3DERR_INVALIDCALL; }
    HRESULT GetLightEnable(DWORD, BOOL*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetMaterial(const D3DMATERIAL9*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetMaterial(D3DMATERIAL9*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetTexture(DWORD, IDirect3DBaseTexture9*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override { return D3DERR_INVALIDCALL; }
    HRESULT SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetFVF(DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT GetFVF(DWORD*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetViewport(const D3DVIEWPORT9*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetViewport(D3DVIEWPORT9*) override { return D3DERR_INVALIDCALL; }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT, const void*, UINT) override { return D3DERR_INVALIDCALL; }
    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT BeginScene() override { return D3DERR_INVALIDCALL; }
    HRESULT EndScene() override { return D3DERR_INVALIDCALL; }
    HRESULT GetSwapChain(UINT, IDirect3DSwapChain9**) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS*, IDirect3DSwapChain9**) override
    {
        return D3DERR_INVALIDCALL;
    }
    HRESULT SetRenderTarget(DWORD, IDirect3DSurface9*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetRenderTarget(DWORD, IDirect3DSurface9**) override { return D3DERR_INVALIDCALL; }

private:
    ~RecordingDevice() override = default;
};
