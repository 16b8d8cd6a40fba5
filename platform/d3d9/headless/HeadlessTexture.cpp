#include "HeadlessTexture.h"

#include <utility>

HeadlessTexture::HeadlessTexture(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                 std::shared_ptr<HeadlessCounters> counters, std::shared_ptr<const char> maker)
    : m_Width(width),
      m_Height(height),
      m_Format(format),
      m_Pool(pool),
      m_Pixels(static_cast<size_t>(width) * height, 0u),
      m_Counters(std::move(counters)),
      m_Maker(std::move(maker))
{
    if (m_Counters) {
        ++m_Counters->texturesCreated;
        ++m_Counters->texturesAlive;
    }
}

HeadlessTexture::~HeadlessTexture()
{
    if (m_Counters)
        --m_Counters->texturesAlive;
}

HRESULT HeadlessTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc)
{
    if (level != 0 || !desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{m_Format, m_Pool, m_Width, m_Height};
    return D3D_OK;
}

HRESULT HeadlessTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD /*flags*/)
{
    if (level != 0 || !locked || m_Locked)
        return D3DERR_INVALIDCALL;
    size_t first = 0;
    if (rect) {
        // An empty or inverted rectangle, or one reaching outside, would hand
        // out a pointer the caller could write past the pixels with.
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
            static_cast<UINT>(rect->right) > m_Width || static_cast<UINT>(rect->bottom) > m_Height)
            return D3DERR_INVALIDCALL;
        first = static_cast<size_t>(rect->top) * m_Width + static_cast<size_t>(rect->left);
    }
    locked->Pitch = static_cast<INT>(m_Width * sizeof(DWORD));
    locked->pBits = m_Pixels.data() + first;
    m_Locked = true;
    return D3D_OK;
}

HRESULT HeadlessTexture::UnlockRect(UINT level)
{
    if (level != 0 || !m_Locked)
        return D3DERR_INVALIDCALL;
    m_Locked = false;
    return D3D_OK;
}
