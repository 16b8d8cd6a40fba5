// A fresh folder for a benchmark to work in, linked to the run folder's
// data, so the meshes the game writes as it starts do not land in the shared
// run folder. The working directory is the folder while this object lives.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

class BenchDataFolder
{
public:
    BenchDataFolder() : m_Previous(std::filesystem::current_path())
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "soare-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        m_Path = pattern;
        const fs::path run(SOARE_BENCH_RUN_DIR);
        fs::create_directory(m_Path / "MeshFiles");
        for (const auto& entry : fs::directory_iterator(run / "MeshFiles"))
            if (entry.path().filename() != "Land.x" && entry.path().filename() != "HiResMesh.x")
                fs::create_symlink(entry.path(), m_Path / "MeshFiles" / entry.path().filename());
        fs::create_directory_symlink(run / "Textures", m_Path / "Textures");
        fs::create_directory_symlink(run / "Sound", m_Path / "Sound");
        fs::current_path(m_Path);
    }
    ~BenchDataFolder()
    {
        std::error_code ec;
        std::filesystem::current_path(m_Previous, ec);
        if (!m_Path.empty())
            std::filesystem::remove_all(m_Path, ec);
    }
    BenchDataFolder(const BenchDataFolder&) = delete;
    BenchDataFolder& operator=(const BenchDataFolder&) = delete;

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Path;
};
