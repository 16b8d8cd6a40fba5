// A texture of the GL device: one level of A8R8G8B8 (or X8R8G8B8) pixels
// kept in system memory, where LockRect hands them out, and a GL texture
// the device uploads them to at the first draw after an unlock (GL calls
// wait until the device has the context current).
//
// Ownership: reference counted; the creator and every stage it is bound to
// hold references. A texture holds no reference to its device: it reaches
// it through a shared link that the device clears when it goes, so a
// texture may outlive its device (its GL name then dies with the context).
#pragma once

#include <memory>
#include <vector>

#include "DeviceChecks.h"
#include "RefCounted.h"
#include "d3d9.h"

class GLDevice;

// Shared by a device and its textures; device is null once it is gone.
struct GLDeviceLink
{
    GLDevice* device = nullptr;
};

class GLTexture final : public RefCounted<IDirect3DTexture9>
{
public:
    static constexpr UINT kMaxSize = DeviceChecks::kMaxSize;

    // width and height in 1..kMaxSize, format A8R8G8B8 or X8R8G8B8 (the
    // device checks them). Pixels start zeroed.
    GLTexture(std::shared_ptr<GLDeviceLink> link, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool);

    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    // --- for the device -----------------------------------------------------
    const std::shared_ptr<GLDeviceLink>& Link() const { return m_Link; }
    UINT Width() const { return m_Width; }
    UINT Height() const { return m_Height; }
    D3DFORMAT Format() const { return m_Format; }
    const DWORD* Pixels() const { return m_Pixels.data(); }
    // 0 until the device first uploads it.
    unsigned int GLName() const { return m_GLName; }
    void SetGLName(unsigned int name) { m_GLName = name; }
    bool NeedsUpload() const { return m_NeedsUpload; }
    void MarkUploaded() { m_NeedsUpload = false; }

private:
    ~GLTexture() override;

    std::shared_ptr<GLDeviceLink> m_Link;
    UINT m_Width;
    UINT m_Height;
    D3DFORMAT m_Format;
    D3DPOOL m_Pool;
    std::vector<DWORD> m_Pixels;
    bool m_Locked = false;
    bool m_LockedForWriting = false;
    bool m_NeedsUpload = true;
    unsigned int m_GLName = 0;
};
