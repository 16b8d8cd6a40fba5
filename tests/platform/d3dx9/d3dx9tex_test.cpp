#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "RecordingDevice.h"
#include "d3dx9mesh.h"
#include "d3dx9tex.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

class TextureFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "d3dx9_textures_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_Dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_Dir); }

    std::filesystem::path Path(const char* name) const { return m_Dir / name; }

    static std::string ReadBytes(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // Loads a file; on success the texture is our recording texture.
    HRESULT Load(const std::filesystem::path& path, ComPtr<IDirect3DTexture9>* texture)
    {
        return D3DXCreateTextureFromFileW(m_Device.Get(), path.wstring().c_str(), texture->Out());
    }

    ComPtr<RecordingDevice> m_Device{new RecordingDevice};
    std::filesystem::path m_Dir;
};

}  // namespace

TEST_F(TextureFiles, PngRowsStayTopFirstAndAlphaIsKeptOrFilled)
{
    // 3 x 2 RGB: top row red, green, blue; bottom row white, black, grey.
    const unsigned char rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128};
    ASSERT_TRUE(stbi_write_png(Path("rgb.png").c_str(), 3, 2, 3, rgb, 9));
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(Load(Path("rgb.png"), &texture), D3D_OK) << D3DXGetLastErrorEXT();
    auto* t = static_cast<RecordingTexture*>(texture.Get());
    ASSERT_EQ(t->Width(), 3u);
    ASSERT_EQ(t->Height(), 2u);
    EXPECT_EQ(t->Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(t->Pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(t->Pixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(t->Pixel(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(t->Pixel(1, 1), 0xFF000000u);
    EXPECT_EQ(t->Pixel(2, 1), 0xFF808080u);

    const unsigned char rgba[] = {10, 20, 30, 0, 40, 50, 60, 128};
    ASSERT_TRUE(stbi_write_png(Path("rgba.png").c_str(), 1, 2, 4, rgba, 4));
    ASSERT_EQ(Load(Path("rgba.png"), &texture), D3D_OK) << D3DXGetLastErrorEXT();
    t = static_cast<RecordingTexture*>(texture.Get());
    EXPECT_EQ(t->Pixel(0, 0), 0x000A141Eu);
    EXPECT_EQ(t->Pixel(0, 1), 0x8028323Cu);
}

TEST_F(TextureFiles, JpegDecodesWithOpaqueAlpha)
{
    // 16 x 16: top half red, bottom half blue (JPEG is lossy: compare loosely).
    std::vector<unsigned char> pixels(16 * 16 * 3, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels[(y * 16 + x) * 3 + (y < 8 ? 0 : 2)] = 255;
    ASSERT_TRUE(stbi_write_jpg(Path("halves.jpg").c_str(), 16, 16, 3, pixels.data(), 95));
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(Load(Path("halves.jpg"), &texture), D3D_OK) << D3DXGetLastErrorEXT();
    auto* t = static_cast<RecordingTexture*>(texture.Get());
    const DWORD top = t->Pixel(3, 2);
    const DWORD bottom = t->Pixel(3, 13);
    EXPECT_EQ(top >> 24, 0xFFu);
    EXPECT_GT((top >> 16) & 0xFF, 200u);
    EXPECT_LT(top & 0xFF, 60u);
    EXPECT_EQ(bottom >> 24, 0xFFu);
    EXPECT_GT(bottom & 0xFF, 200u);
    EXPECT_LT((bottom >> 16) & 0xFF, 60u);
}

TEST_F(TextureFiles, BadImagesFailWithoutATexture)
{
    const unsigned char rgb[4 * 4 * 3] = {};
    ASSERT_TRUE(stbi_write_png(Path("good.png").c_str(), 4, 4, 3, rgb, 12));
    const std::string png = ReadBytes(Path("good.png"));
    ASSERT_TRUE(stbi_write_jpg(Path("good.jpg").c_str(), 4, 4, 3, rgb, 90));
    const std::string jpg = ReadBytes(Path("good.jpg"));

    WriteBytes(Path("cut.png"), png.substr(0, png.size() / 2));
    WriteBytes(Path("cut.jpg"), jpg.substr(0, jpg.size() / 2));
    WriteBytes(Path("garbage.png"), "this is not an image at all");
    WriteBytes(Path("empty.jpg"), "");
    WriteBytes(Path("image.bmp"), "BM" + std::string(60, '\0'));
    // A header claiming 100000 x 100000 pixels: refused before any
    // allocation of that size.
    std::string huge = png;
    const char side[4] = {0x00, 0x01, static_cast<char>(0x86), static_cast<char>(0xA0)};
    huge.replace(16, 4, side, 4);
    huge.replace(20, 4, side, 4);
    WriteBytes(Path("huge.png"), huge);

    // What is no image file at all is refused before reading: a FIFO
    // without a writer, a link to an endless device, a file over 64 MB
    // (sparse, so it costs no disk).
    ASSERT_EQ(mkfifo(Path("fifo.png").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", Path("zero.png"));
    WriteBytes(Path("big.png"), png);
    std::filesystem::resize_file(Path("big.png"), (std::size_t{64} << 20) + 1);

    // The reason alone: the caller names the file.
    const std::pair<const char*, const char*> cases[] = {
        {"cut.png", "bad image ("},     {"cut.jpg", "bad image ("},     {"garbage.png", "not a PNG or JPEG image"},
        {"empty.jpg", "not a PNG"},     {"image.bmp", "not a PNG"},     {"huge.png", "bad image ("},
        {"none.png", "cannot open: "},  {"fifo.png", "not a regular file"}, {"zero.png", "not a regular file"},
        {"big.png", "larger than the 64 MB"},
    };
    for (const auto& [name, reason] : cases) {
        ComPtr<IDirect3DTexture9> texture;
        IDirect3DTexture9* raw = reinterpret_cast<IDirect3DTexture9*>(1);
        EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileW(m_Device.Get(), Path(name).wstring().c_str(), &raw))) << name;
        EXPECT_EQ(raw, nullptr) << name;
        EXPECT_EQ(D3DXGetLastErrorEXT().rfind(reason, 0), 0u) << name << ": " << D3DXGetLastErrorEXT();
    }
    EXPECT_EQ(m_Device->texturesCreated, 0);

    ComPtr<IDirect3DTexture9> texture;
    EXPECT_EQ(Load(Path("good.png"), &texture), D3D_OK);
    EXPECT_EQ(D3DXCreateTextureFromFileW(nullptr, Path("good.png").wstring().c_str(), texture.Out()),
              D3DERR_INVALIDCALL);
}
