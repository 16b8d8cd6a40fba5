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
    const fs::path root = pattern;
    const fs::path build = root / "build";
    const fs::path run = build / "run";
    const fs::path installed = root / "share" / "soare";
    const fs::path cwd = root / "somewhere";
    for (const fs::path& dir : {run / "bin", installed / "MeshFiles", cwd})
        fs::create_directories(dir);
    std::string error;

    // Nothing anywhere but the install folder.
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "bin" / "soare", installed, error), installed);
    // Beside the program, or above it, before the install folder.
    fs::create_directories(run / "MeshFiles");
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "bin" / "soare", installed, error), run);
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "soare", installed, error), run);
    // The working directory before both.
    fs::create_directories(cwd / "MeshFiles");
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "soare", installed, error), cwd);
    // An explicit --data-dir before everything; it must hold the data.
    EXPECT_EQ(FindDataFolder(cwd, installed, run / "soare", installed, error), installed);
    EXPECT_FALSE(FindDataFolder(cwd, build, run / "soare", installed, error));
    EXPECT_NE(error.find("--data-dir"), std::string::npos);
    // An installed tree moved away from its configured prefix: share/soare
    // beside bin/ is found from the program's own place.
    fs::remove_all(cwd / "MeshFiles");
    fs::remove_all(run / "MeshFiles");
    const fs::path moved = root / "moved";
    fs::create_directories(moved / "bin");
    fs::create_directories(moved / "share" / "soare" / "MeshFiles");
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, moved / "bin" / "soare", root / "nowhere", error),
              moved / "share" / "soare");
    // None at all.
    fs::remove_all(moved);
    fs::remove_all(installed);
    EXPECT_FALSE(FindDataFolder(cwd, std::nullopt, run / "soare", root / "nowhere", error));
    EXPECT_NE(error.find("MeshFiles"), std::string::npos);
    fs::remove_all(root);
}

}  // namespace
