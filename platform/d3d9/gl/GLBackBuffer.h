// The back buffer of a GL swap chain as a Direct3D surface. Its pixels live
// in the chain's framebuffer object; this object only names it.
//
// Ownership: a member of its chain sharing the chain's reference count, as
// Direct3D's back buffers do, so holding the surface holds the chain.
#pragma once

#include "d3d9.h"

class GLSwapChain;

class GLBackBuffer final : public IDirect3DSurface9
{
public:
    explicit GLBackBuffer(GLSwapChain* chain) : m_Chain(chain) {}
    ~GLBackBuffer() override = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;

    GLSwapChain* Chain() const { return m_Chain; }

private:
    GLSwapChain* m_Chain;
};
