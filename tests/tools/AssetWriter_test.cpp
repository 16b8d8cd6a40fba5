#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AssetWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace assets;

std::string ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <class T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// A fresh folder for one test, removed again afterwards.
class AssetFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "soare-assets-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_Root = pattern;
    }
    void TearDown() override
    {
        if (!m_Root.empty())
            fs::remove_all(m_Root);
    }

    fs::path m_Root;
};

}  // namespace

// Writing everything takes a while, so one test writes it twice and reads
// every file back.
TEST_F(AssetFiles, EveryFileReadsBackAndASecondRunWritesTheSameBytes)
{
    std::string error;
    for (const char* run : {"a", "b"}) {
        ASSERT_TRUE(WriteGameData((m_Root / run / "data").string(), &error)) << error;
        ASSERT_TRUE(WriteIcons((m_Root / run / "icons").string(), &error)) << error;
    }
    for (const auto& [folder, files] : {std::pair{"data", GameDataFiles()}, std::pair{"icons", IconFiles()}}) {
        for (const std::string& f : files) {
            const std::string a = ReadAll(m_Root / "a" / folder / f);
            EXPECT_FALSE(a.empty()) << f;
            EXPECT_TRUE(a == ReadAll(m_Root / "b" / folder / f)) << f << " differs between runs";
        }
    }

    // The meshes read back as made, bit for bit.
    for (const MeshAsset& asset : MeshAssets()) {
        SCOPED_TRACE(asset.fileName);
        const XFileMesh made = asset.make();
        XFileMesh read;
        ASSERT_TRUE(ReadXFile((m_Root / "a" / "data" / "MeshFiles" / asset.fileName).string(), &read, &error)) << error;
        EXPECT_TRUE(SameBytes(read.positions, made.positions));
        EXPECT_TRUE(SameBytes(read.normals, made.normals));
        EXPECT_TRUE(SameBytes(read.texcoords, made.texcoords));
        EXPECT_EQ(read.faces, made.faces);
        EXPECT_EQ(read.faceMaterials, made.faceMaterials);
        ASSERT_EQ(read.materials.size(), made.materials.size());
        for (std::size_t i = 0; i < made.materials.size(); ++i)
            EXPECT_EQ(std::memcmp(&read.materials[i].material.Diffuse, &made.materials[i].material.Diffuse,
                                  sizeof(D3DCOLORVALUE)),
                      0);
    }

    // The pictures decode at their sizes, and are not blank: some channel
    // spans a good part of its range.
    const struct
    {
        const char* file;
        int width, height, channels;
    } pictures[] = {{"data/Textures/target.jpg", 256, 256, 3},
                    {"data/Textures/central-park.jpg", 512, 512, 3},
                    {"data/Textures/islandTexture.jpg", 512, 512, 3},
                    {"data/Textures/updraft.png", 128, 256, 4},
                    {"icons/soare-48.png", 48, 48, 4},
                    {"icons/soare-128.png", 128, 128, 4},
                    {"icons/soare-256.png", 256, 256, 4}};
    for (const auto& e : pictures) {
        int w = 0, h = 0, c = 0;
        unsigned char* pixels = stbi_load((m_Root / "a" / e.file).c_str(), &w, &h, &c, 0);
        ASSERT_NE(pixels, nullptr) << e.file << ": " << stbi_failure_reason();
        EXPECT_EQ(std::vector<int>({w, h, c}), std::vector<int>({e.width, e.height, e.channels})) << e.file;
        int widest = 0;
        for (int channel = 0; channel < c; ++channel) {
            int lo = 255, hi = 0;
            for (int i = channel; i < w * h * c; i += c) {
                lo = std::min(lo, static_cast<int>(pixels[i]));
                hi = std::max(hi, static_cast<int>(pixels[i]));
            }
            widest = std::max(widest, hi - lo);
        }
        EXPECT_GT(widest, 80) << e.file;
        stbi_image_free(pixels);
    }
    EXPECT_GT(fs::file_size(m_Root / "a" / "data" / "Sound" / "PauseBlip.wav"), 44u);
}

TEST_F(AssetFiles, AFolderThatCannotBeMadeIsReportedByName)
{
    // A plain file where the run folder should be.
    const fs::path blocker = m_Root / "blocker";
    std::ofstream(blocker) << "x";
    std::string error;
    EXPECT_FALSE(WriteGameData(blocker.string(), &error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
    EXPECT_FALSE(WriteIcons((blocker / "icons").string(), &error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}
