#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestDevice.h"
#include "XFileTestFiles.h"
#include "d3dx9mesh.h"
#include "d3dx9tex.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

// The texture's pixels, row by row, read at its pitch.
std::vector<DWORD> Pixels(IDirect3DTexture9* texture)
{
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<DWORD> pixels;
    for (UINT y = 0; y < desc.Height; ++y) {
        const auto* row = reinterpret_cast<const DWORD*>(static_cast<const char*>(locked.pBits) + y * locked.Pitch);
        pixels.insert(pixels.end(), row, row + desc.Width);
    }
    texture->UnlockRect(0);
    return pixels;
}

}  // namespace

TEST(D3DXTexture, ImagesLoadTopRowFirstWithAlphaKeptOrFilledAndBadOnesFail)
{
    TestDevice device;
    const TempDir dir;
    // 3 x 2 RGB: top row red, green, blue; bottom row white, black, grey.
    const unsigned char rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128};
    const unsigned char rgba[] = {10, 20, 30, 0, 40, 50, 60, 128};
    ASSERT_TRUE(stbi_write_png((dir / "rgb.png").c_str(), 3, 2, 3, rgb, 9));
    ASSERT_TRUE(stbi_write_png((dir / "rgba.png").c_str(), 1, 2, 4, rgba, 4));
    const std::vector<unsigned char> grey(16 * 16 * 3, 200);  // lossy JPEG keeps a flat grey
    ASSERT_TRUE(stbi_write_jpg((dir / "grey.jpg").c_str(), 16, 16, 3, grey.data(), 95));
    const struct
    {
        const char* name;
        std::vector<DWORD> pixels;
    } cases[] = {
        {"rgb.png", {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u, 0xFF808080u}},
        {"rgba.png", {0x000A141Eu, 0x8028323Cu}},
        {"grey.jpg", std::vector<DWORD>(16 * 16, 0xFFC8C8C8u)},
    };
    ComPtr<IDirect3DTexture9> texture;
    for (const auto& c : cases) {
        ASSERT_EQ(D3DXCreateTextureFromFileW(device.Get(), (dir.path / c.name).wstring().c_str(), texture.Out()),
                  D3D_OK)
            << D3DXGetLastErrorEXT();
        EXPECT_EQ(Pixels(texture.Get()), c.pixels) << c.name;
    }

    // Bad images fail without a texture, with the reason alone (callers name the file).
    const int made = device.counters->texturesCreated;
    std::ifstream in(dir / "rgb.png", std::ios::binary);
    const std::string png(std::istreambuf_iterator<char>(in), {});
    WriteFile(dir / "cut.png", png.substr(0, png.size() / 2));
    WriteFile(dir / "image.bmp", "BM" + std::string(60, '\0'));
    // A header claiming 100000 x 100000 pixels: refused before allocating that.
    std::string huge = png;
    const char side[4] = {0x00, 0x01, static_cast<char>(0x86), static_cast<char>(0xA0)};
    huge.replace(16, 4, side, 4);
    huge.replace(20, 4, side, 4);
    WriteFile(dir / "huge.png", huge);
    // Over the cap: refused by its size (sparse: no disk used).
    WriteFile(dir / "big.png", png);
    std::filesystem::resize_file(dir / "big.png", (std::size_t{64} << 20) + 1);
    const std::pair<const char*, const char*> bad[] = {
        {"cut.png", "bad image ("},    {"image.bmp", "not a PNG or JPEG image"}, {"huge.png", "bad image ("},
        {"none.png", "cannot open: "}, {"big.png", "larger than the 64 MB"},
    };
    for (const auto& [name, reason] : bad) {
        IDirect3DTexture9* raw = reinterpret_cast<IDirect3DTexture9*>(1);
        EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileW(device.Get(), (dir.path / name).wstring().c_str(), &raw)))
            << name;
        EXPECT_EQ(raw, nullptr) << name;
        EXPECT_EQ(D3DXGetLastErrorEXT().rfind(reason, 0), 0u) << name << ": " << D3DXGetLastErrorEXT();
    }
    EXPECT_EQ(device.counters->texturesCreated, made);
    EXPECT_EQ(D3DXCreateTextureFromFileW(nullptr, (dir.path / "rgb.png").wstring().c_str(), texture.Out()),
              D3DERR_INVALIDCALL);
}
