#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <stdlib.h>

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include "AssetWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace assets;

std::vector<std::uint8_t> ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder for one test, removed again afterwards; the tests write
// below it (m_Root itself does not exist yet).
class AssetFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "soare-assets-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_Folder = pattern;
        m_Root = m_Folder / "out";
    }
    void TearDown() override
    {
        if (!m_Folder.empty())
            fs::remove_all(m_Folder);
    }

    fs::path m_Folder;
    fs::path m_Root;
};

void ExpectSameFiles(const fs::path& first, const fs::path& second, const std::vector<std::string>& files)
{
    for (const std::string& f : files) {
        const auto a = ReadAll(first / f);
        const auto b = ReadAll(second / f);
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == b) << f << " differs between runs";
    }
}

void ExpectMeshesAsGenerated(const fs::path& data);
void ExpectPicturesDecode(const fs::path& data, const fs::path& icons);
void ExpectCanonicalWave(const fs::path& file);

// Writing everything takes a while, so one test writes it twice and reads
// every file back.
TEST_F(AssetFiles, EveryFileReadsBackAndASecondRunWritesTheSameBytes)
{
    std::string error;
    for (const char* run : {"a", "b"}) {
        ASSERT_TRUE(WriteGameData((m_Root / run / "data").string(), &error)) << error;
        ASSERT_TRUE(WriteIcons((m_Root / run / "icons").string(), &error)) << error;
    }
    EXPECT_EQ(GameDataFiles().size(), 10u);
    EXPECT_EQ(IconFiles().size(), 3u);
    ExpectSameFiles(m_Root / "a" / "data", m_Root / "b" / "data", GameDataFiles());
    ExpectSameFiles(m_Root / "a" / "icons", m_Root / "b" / "icons", IconFiles());
    ExpectMeshesAsGenerated(m_Root / "a" / "data");
    ExpectPicturesDecode(m_Root / "a" / "data", m_Root / "a" / "icons");
    ExpectCanonicalWave(m_Root / "a" / "data" / "Sound" / "PauseBlip.wav");
}

void ExpectMeshesAsGenerated(const fs::path& data)
{
    std::string error;
    for (const MeshAsset& asset : MeshAssets()) {
        SCOPED_TRACE(asset.fileName);
        const XFileMesh made = asset.make();
        XFileMesh read;
        ASSERT_TRUE(ReadXFile((data / "MeshFiles" / asset.fileName).string(), &read, &error)) << error;
        // The writer's numbers read back bit for bit.
        auto same = [](const auto& a, const auto& b) {
            return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
        };
        EXPECT_TRUE(same(read.positions, made.positions));
        EXPECT_TRUE(same(read.normals, made.normals));
        EXPECT_TRUE(same(read.texcoords, made.texcoords));
        EXPECT_EQ(read.faces, made.faces);
        EXPECT_EQ(read.faceMaterials, made.faceMaterials);
        ASSERT_EQ(read.materials.size(), made.materials.size());
        for (std::size_t i = 0; i < made.materials.size(); ++i)
            EXPECT_EQ(std::memcmp(&read.materials[i].material.Diffuse, &made.materials[i].material.Diffuse,
                                  sizeof(D3DCOLORVALUE)), 0);
    }
}

void ExpectPicturesDecode(const fs::path& data, const fs::path& icons)
{
    struct Expected
    {
        std::string file;
        int width, height, channels;
    };
    const std::string d = data.string() + "/";
    const std::string i = icons.string() + "/";
    for (const Expected& e : {Expected{d + "Textures/target.jpg", 256, 256, 3},
                              Expected{d + "Textures/central-park.jpg", 512, 512, 3},
                              Expected{d + "Textures/islandTexture.jpg", 512, 512, 3},
                              Expected{d + "Textures/updraft.png", 128, 256, 4},
                              Expected{i + "soare-48.png", 48, 48, 4}, Expected{i + "soare-128.png", 128, 128, 4},
                              Expected{i + "soare-256.png", 256, 256, 4}}) {
        SCOPED_TRACE(e.file);
        int w = 0;
        int h = 0;
        int c = 0;
        unsigned char* pixels = stbi_load(e.file.c_str(), &w, &h, &c, 0);
        ASSERT_NE(pixels, nullptr) << stbi_failure_reason();
        EXPECT_EQ(w, e.width);
        EXPECT_EQ(h, e.height);
        EXPECT_EQ(c, e.channels);
        // Not blank: some channel spans a good part of its range.
        const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * static_cast<std::size_t>(c);
        int widest = 0;
        for (int channel = 0; channel < c; ++channel) {
            int lo = 255;
            int hi = 0;
            for (std::size_t i = static_cast<std::size_t>(channel); i < n; i += static_cast<std::size_t>(c)) {
                lo = std::min(lo, static_cast<int>(pixels[i]));
                hi = std::max(hi, static_cast<int>(pixels[i]));
            }
            widest = std::max(widest, hi - lo);
        }
        EXPECT_GT(widest, 80);
        stbi_image_free(pixels);
    }
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

void ExpectCanonicalWave(const fs::path& file)
{
    const auto b = ReadAll(file);
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
    EXPECT_EQ(U32(b, 4), b.size() - 8);
    EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
    // PCM, mono, 16-bit at 22050 Hz: the byte rate is the rate times the
    // block of one sample.
    EXPECT_EQ(U16(b, 20), 1);
    EXPECT_EQ(U16(b, 22), 1);
    EXPECT_EQ(U16(b, 34), 16);
    EXPECT_EQ(U32(b, 24), 22050u);
    EXPECT_EQ(U32(b, 28), U32(b, 24) * U16(b, 32));
    EXPECT_EQ(U16(b, 32), 2);
    EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
    EXPECT_EQ(U32(b, 40), b.size() - 44);
    // Samples are little-endian: the loudest one is well above the noise.
    int peak = 0;
    for (std::size_t i = 44; i + 1 < b.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(U16(b, i)))));
    EXPECT_GT(peak, 8000);
}

TEST_F(AssetFiles, AFolderThatCannotBeMadeIsReportedByName)
{
    // A plain file where the run folder should be.
    fs::create_directories(m_Root);
    const fs::path blocker = m_Root / "blocker";
    std::ofstream(blocker) << "x";
    std::string error;
    EXPECT_FALSE(WriteGameData(blocker.string(), &error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(WriteIcons((blocker / "icons").string(), &error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}

}  // namespace
