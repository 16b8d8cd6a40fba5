// The cost of one tick of the headless game (keyboard, simulation, cameras
// and three views drawn on the headless device), with the median of 10,000
// ticks reported as median_us.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <vector>

#include "BenchDataFolder.h"
#include "headlessgame.h"
#include "keyscript.h"

namespace {

constexpr int kTicks = 10000;

void BM_HeadlessTick(benchmark::State& state)
{
    BenchDataFolder folder;
    CHeadlessGame game;
    std::string error;
    if (!game.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    // A gentle left turn with the nose held up a little: the craft circles
    // over the island, so the tick does the work of a real flight.
    std::vector<double> micros;
    micros.reserve(kTicks);
    unsigned tick = 0;
    for (auto _ : state) {
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
