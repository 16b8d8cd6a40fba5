// The cost of one tick of the headless game (keyboard, simulation, cameras
// and three views drawn on the headless device), with the median of 10,000
// ticks reported as median_us.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <vector>

#include "headlessgame.h"
#include "keyscript.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTicks = 10000;

// Works in a fresh folder linked to the run folder's data, so the meshes the
// game writes as it starts do not land in the shared run folder.
class BenchDataFolder
{
public:
    BenchDataFolder() : m_Previous(fs::current_path())
    {
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
        fs::current_path(m_Previous, ec);
        if (!m_Path.empty())
            fs::remove_all(m_Path, ec);
    }

private:
    fs::path m_Previous;
    fs::path m_Path;
};

void BM_HeadlessTick(benchmark::State& state)
{
    BenchDataFolder folder;
    CHeadlessGame game;
    std::string error;
    if (!game.Start(error))
    {
        state.SkipWithError(error.c_str());
        return;
    }
    // A gentle left turn with the nose held up a little: the craft circles
    // over the island, so the tick does the work of a real flight.
    std::vector<double> micros;
    micros.reserve(kTicks);
    unsigned tick = 0;
    for (auto _ : state)
    {
        const unsigned keys = (tick % 4 == 0 ? kKeyLeft : 0u) | (tick % 50 == 0 ? kKeyDown : 0u);
        const auto start = std::chrono::steady_clock::now();
        game.Tick(keys);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        ++tick;
    }
    if (micros.empty())
        return;
    std::nth_element(micros.begin(), micros.begin() + static_cast<std::ptrdiff_t>(micros.size() / 2), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
}

}  // namespace

BENCHMARK(BM_HeadlessTick)->Iterations(kTicks)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
