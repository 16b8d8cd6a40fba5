#include "GLTexture.h"

#include "GLDevice.h"

GLTexture::GLTexture(std::shared_ptr<GLDeviceLink> link, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool)
    : m_Link(std::move(link)),
      m_Width(width),
      m_Height(height),
      m_Format(format),
      m_Pool(pool),
      m_Pixels(static_cast<size_t>(width) * height, 0u)
{}

GLTexture::~GLTexture()
{
    if (m_Link->device)
        m_Link->device->TextureGone(this);
}

HRESULT GLTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc)
{
    if (level != 0 || !desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{m_Format, m_Pool, m_Width, m_Height};
    return D3D_OK;
}

HRESULT GLTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags)
{
    if (level != 0 || !locked || m_Locked)
        return D3DERR_INVALIDCALL;
    LONG left = 0;
    LONG top = 0;
    if (rect) {
        // A rectangle outside the texture would hand out a pointer past it.
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
            static_cast<UINT>(rect->right) > m_Width || static_cast<UINT>(rect->bottom) > m_Height)
            return D3DERR_INVALIDCALL;
        left = rect->left;
        top = rect->top;
    }
    locked->Pitch = static_cast<INT>(m_Width * sizeof(DWORD));
    locked->pBits = m_Pixels.data() + static_cast<size_t>(top) * m_Width + static_cast<size_t>(left);
    m_Locked = true;
    m_LockedForWriting = (flags & D3DLOCK_READONLY) == 0;
    return D3D_OK;
}

HRESULT GLTexture::UnlockRect(UINT level)
{
    if (level != 0 || !m_Locked)
        return D3DERR_INVALIDCALL;
    m_Locked = false;
    if (m_LockedForWriting)
        m_NeedsUpload = true;
    return D3D_OK;
}
