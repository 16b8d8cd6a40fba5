#include "GLBackBuffer.h"

#include "GLSwapChain.h"

ULONG GLBackBuffer::AddRef()
{
    return m_Chain->AddRef();
}

ULONG GLBackBuffer::Release()
{
    return m_Chain->Release();
}

HRESULT GLBackBuffer::GetDesc(D3DSURFACE_DESC* desc)
{
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{m_Chain->Params().BackBufferFormat, D3DPOOL_DEFAULT, m_Chain->Width(), m_Chain->Height()};
    return D3D_OK;
}
