// Textures from PNG and JPEG files, decoded by stb_image (compiled here, with
// only those two decoders and internal linkage).
#include "d3dx9tex.h"

#include <cstring>
#include <memory>
#include <string>

#include "D3DXLastError.h"
#include "D3DXReadFile.h"
#include "RefCounted.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// Refuse absurd sizes in the decoder too, before it allocates.
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

namespace {

constexpr int kMaxTextureSide = STBI_MAX_DIMENSIONS;

struct PixelsFree
{
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

std::string FailureReason()
{
    const char* reason = stbi_failure_reason();
    return reason ? reason : "unknown reason";
}

bool IsPng(const std::string& b)
{
    return b.size() >= 8 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

bool IsJpeg(const std::string& b)
{
    return b.size() >= 3 && std::memcmp(b.data(), "\xFF\xD8\xFF", 3) == 0;
}

}  // namespace

HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice9* device, const wchar_t* srcFile, IDirect3DTexture9** texture)
{
    if (!texture)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateTextureFromFileW: no pointer for the texture");
    *texture = nullptr;
    if (!device)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateTextureFromFileW: no device");
    const std::optional<std::string> utf8 = D3DXFilePath(srcFile, "D3DXCreateTextureFromFileW");
    if (!utf8)
        return D3DERR_INVALIDCALL;
    const std::string& path = *utf8;

    std::string bytes;
    std::string error;
    if (!D3DXReadFile(path, kD3DXMaxFileBytes, &bytes, &error))
        return D3DXFail(error == "out of memory" ? E_OUTOFMEMORY : D3DERR_INVALIDCALL, error);
    // Only the two formats the game uses reach a decoder.
    if (!IsPng(bytes) && !IsJpeg(bytes))
        return D3DXFail(D3DERR_INVALIDCALL, "not a PNG or JPEG image");

    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int length = static_cast<int>(bytes.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels))
        return D3DXFail(D3DERR_INVALIDCALL, "bad image (" + FailureReason() + ")");
    if (width <= 0 || height <= 0 || width > kMaxTextureSide || height > kMaxTextureSide)
        return D3DXFail(D3DERR_INVALIDCALL,
                        "image of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large");

    // Four channels whatever the file holds: images without alpha get 255.
    std::unique_ptr<stbi_uc, PixelsFree> pixels(stbi_load_from_memory(data, length, &width, &height, &channels, 4));
    if (!pixels)
        return D3DXFail(D3DERR_INVALIDCALL, "bad image (" + FailureReason() + ")");

    ComPtr<IDirect3DTexture9> created;
    HRESULT hr = device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, D3DUSAGE_NONE_EXT,
                                       D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, created.Out(), nullptr);
    if (FAILED(hr) || !created)
        return D3DXFail(FAILED(hr) ? hr : E_FAIL, "the device could not create the texture");
    D3DLOCKED_RECT locked{};
    hr = created->LockRect(0, &locked, nullptr, 0);
    if (FAILED(hr) || !locked.pBits || locked.Pitch < width * 4)
        return D3DXFail(FAILED(hr) ? hr : E_FAIL, "the texture could not be locked");
    // Rows stay top first: texture coordinate v = 0 is the image's top row.
    for (int y = 0; y < height; ++y) {
        const stbi_uc* src = pixels.get() + std::size_t(y) * std::size_t(width) * 4;
        auto* dst = reinterpret_cast<std::byte*>(locked.pBits) + std::size_t(y) * std::size_t(locked.Pitch);
        for (int x = 0; x < width; ++x, src += 4) {
            const DWORD argb = (DWORD{src[3]} << 24) | (DWORD{src[0]} << 16) | (DWORD{src[1]} << 8) | DWORD{src[2]};
            std::memcpy(dst + std::size_t(x) * 4, &argb, 4);
        }
    }
    created->UnlockRect(0);
    *texture = created.Get();
    (*texture)->AddRef();
    return D3D_OK;
}
