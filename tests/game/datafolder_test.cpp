// Where the program finds its data.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "datafolder.h"

namespace fs = std::filesystem;

namespace {

TEST(DataFolderTest, TheFirstFolderHoldingTheDataWins)
{
    std::string pattern = (fs::temp_directory_path() / "soare-data-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern, run = root / "build" / "run", installed = root / "share" / "soare",
                   cwd = root / "somewhere", moved = root / "moved";
    const auto find = [&](std::optional<fs::path> given, const fs::path& program, const fs::path& prefix) {
        std::string error;
        const std::optional<fs::path> found = FindDataFolder(cwd, given, program, prefix, error);
        return found ? *found : fs::path("error: " + error);
    };
    const auto data = [](const fs::path& folder) { fs::create_directories(folder / "MeshFiles"); };
    for (const fs::path& dir : {run / "bin", moved / "bin", cwd})
        fs::create_directories(dir);
    data(installed);
    // Nothing anywhere but the install folder.
    EXPECT_EQ(find(std::nullopt, run / "bin" / "soare", installed), installed);
    // Beside the program, or above it, before the install folder.
    data(run);
    EXPECT_EQ(find(std::nullopt, run / "bin" / "soare", installed), run);
    EXPECT_EQ(find(std::nullopt, run / "soare", installed), run);
    // The working directory before both.
    data(cwd);
    EXPECT_EQ(find(std::nullopt, run / "soare", installed), cwd);
    // An explicit --data-dir before everything; it must hold the data.
    EXPECT_EQ(find(installed, run / "soare", installed), installed);
    EXPECT_NE(find(root / "build", run / "soare", installed).string().find("--data-dir"), std::string::npos);
    // An installed tree moved away from its configured prefix: share/soare
    // beside bin/ is found from the program's own place.
    fs::remove_all(cwd / "MeshFiles");
    fs::remove_all(run / "MeshFiles");
    data(moved / "share" / "soare");
    EXPECT_EQ(find(std::nullopt, moved / "bin" / "soare", root / "nowhere"), moved / "share" / "soare");
    // None at all.
    fs::remove_all(moved);
    fs::remove_all(installed);
    EXPECT_NE(find(std::nullopt, run / "soare", root / "nowhere").string().find("MeshFiles"), std::string::npos);
    fs::remove_all(root);
}

}  // namespace
