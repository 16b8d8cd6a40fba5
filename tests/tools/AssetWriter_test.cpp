#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stdlib.h>

#include <algorithm>
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
        std::error_code ignored;
        fs::remove_all(m_Root, ignored);
    }

    fs::path m_Root;
};

}  // namespace

// Writing everything takes a while: one test writes it twice and reads it back.
TEST_F(AssetFiles, EveryFileReadsBackASecondRunWritesTheSameBytesAndABlockedFolderIsNamed)
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

    // The meshes read back as made, bit for bit (shortest decimal forms are
    // one per float, so the same text means the same bits).
    for (const MeshAsset& asset : MeshAssets()) {
        XFileMesh read;
        std::string made, back;
        ASSERT_TRUE(ReadXFile((m_Root / "a/data/MeshFiles" / asset.fileName).string(), &read, &error)) << error;
        ASSERT_TRUE(FormatXFile(asset.make(), &made, &error) && FormatXFile(read, &back, &error)) << error;
        EXPECT_TRUE(made == back) << asset.fileName;
    }

    // The pictures decode and are not blank: some channel spans much of its range.
    for (const char* file : {"data/Textures/target.jpg", "data/Textures/central-park.jpg",
                             "data/Textures/islandTexture.jpg", "data/Textures/updraft.png", "icons/soare-48.png"}) {
        int w = 0, h = 0, c = 0;
        unsigned char* pixels = stbi_load((m_Root / "a" / file).c_str(), &w, &h, &c, 0);
        ASSERT_NE(pixels, nullptr) << file << ": " << stbi_failure_reason();
        int widest = 0;
        for (int channel = 0; channel < c; ++channel) {
            int lo = 255, hi = 0;
            for (int i = channel; i < w * h * c; i += c)
                lo = std::min<int>(lo, pixels[i]), hi = std::max<int>(hi, pixels[i]);
            widest = std::max(widest, hi - lo);
        }
        stbi_image_free(pixels);
        EXPECT_GT(widest, 80) << file;
    }
    EXPECT_GT(fs::file_size(m_Root / "a" / "data" / "Sound" / "PauseBlip.wav"), 44u);

    // A folder that cannot be made (a plain file in its way) is named.
    const fs::path blocker = m_Root / "blocker";
    std::ofstream(blocker) << "x";
    EXPECT_FALSE(WriteGameData(blocker.string(), &error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
    EXPECT_FALSE(WriteIcons((blocker / "icons").string(), &error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}
