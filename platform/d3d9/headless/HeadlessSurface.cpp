#include "HeadlessSurface.h"

#include "HeadlessSwapChain.h"

HeadlessSurface::HeadlessSurface(HeadlessSwapChain* chain, UINT width, UINT height, D3DFORMAT format)
    : m_Chain(chain), m_Width(width), m_Height(height), m_Format(format)
{}

// The surface lives exactly as long as its chain, so its references are the
// chain's.
ULONG HeadlessSurface::AddRef()
{
    return m_Chain->AddRef();
}

ULONG HeadlessSurface::Release()
{
    return m_Chain->Release();
}

HRESULT HeadlessSurface::GetDesc(D3DSURFACE_DESC* desc)
{
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{m_Format, D3DPOOL_DEFAULT, m_Width, m_Height};
    return D3D_OK;
}
