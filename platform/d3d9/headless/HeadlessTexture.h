// A one-level A8R8G8B8 (or X8R8G8B8) texture in system memory, with real pixels that
// LockRect hands out.
//
// Ownership: reference counted; holds no device (it needs none), so a
// device holding it bound to a stage never forms a cycle with it.
#pragma once

#include <memory>
#include <vector>

#include "HeadlessOptions.h"
#include "RefCounted.h"
#include "d3d9.h"

class HeadlessTexture final : public RefCounted<IDirect3DTexture9>
{
public:
    // Arguments checked by the device (DeviceChecks::Texture); counters may
    // be null.
    // maker names the device that made it, for the device to know its own.
    HeadlessTexture(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, std::shared_ptr<HeadlessCounters> counters,
                    std::shared_ptr<const char> maker);

    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    // Level 0 only; one lock at a time. rect, when given, must lie within
    // the texture; pBits then points at its top-left pixel.
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    UINT Width() const { return m_Width; }
    UINT Height() const { return m_Height; }
    bool IsLocked() const { return m_Locked; }
    const std::shared_ptr<const char>& Maker() const { return m_Maker; }
    // The pixel at column x, row y (0xAARRGGBB), for tests.
    DWORD Pixel(UINT x, UINT y) const { return m_Pixels.at(static_cast<size_t>(y) * m_Width + x); }

private:
    ~HeadlessTexture() override;

    UINT m_Width;
    UINT m_Height;
    D3DFORMAT m_Format;
    D3DPOOL m_Pool;
    std::vector<DWORD> m_Pixels;
    bool m_Locked = false;
    std::shared_ptr<HeadlessCounters> m_Counters;
    std::shared_ptr<const char> m_Maker;
};
