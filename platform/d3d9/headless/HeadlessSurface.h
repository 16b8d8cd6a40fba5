// The back buffer of a headless swap chain: a size and a format, no pixels.
//
// Ownership: belongs to its swap chain and shares the chain's reference
// count, as Direct3D's back buffers do, so holding the surface keeps the
// chain (and through it the device) alive.
#pragma once

#include "d3d9.h"

class HeadlessSwapChain;

class HeadlessSurface final : public IDirect3DSurface9
{
public:
    HeadlessSurface(HeadlessSwapChain* chain, UINT width, UINT height, D3DFORMAT format);
    ~HeadlessSurface() override = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;

    HeadlessSwapChain* Chain() const { return m_Chain; }
    UINT Width() const { return m_Width; }
    UINT Height() const { return m_Height; }

private:
    HeadlessSwapChain* m_Chain;
    UINT m_Width;
    UINT m_Height;
    D3DFORMAT m_Format;
};
