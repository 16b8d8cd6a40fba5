#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AssetSound.h"

namespace {

using namespace assets;

TEST(PauseBlip, IsAShortSoftBlipOfTwoRisingTones)
{
    const std::vector<std::int16_t> s = MakeBlipSamples();
    const double ms = 1000.0 * static_cast<double>(s.size()) / kBlipSampleRate;
    EXPECT_TRUE(ms >= 60.0 && ms <= 100.0) << ms;
    const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
    EXPECT_TRUE(std::max(-*lo, +*hi) > 8000 && std::max(-*lo, +*hi) < 32000) << "audible, not clipped";
    EXPECT_TRUE(std::abs(s.front()) < 200 && std::abs(s.back()) < 200) << "starts and ends at rest: no click";
    // The second tone is higher: more zero crossings in the last 30 ms.
    const auto window = static_cast<std::size_t>(0.030 * kBlipSampleRate);
    auto crossings = [&](std::size_t from) {
        int n = 0;
        for (std::size_t i = from + 1; i < from + window; ++i)
            n += (s[i - 1] < 0) != (s[i] < 0) ? 1 : 0;
        return n;
    };
    EXPECT_GT(crossings(s.size() - window), crossings(0) * 5 / 4);

    // The file: RIFF, then PCM mono 16-bit, little-endian whatever the host.
    const std::vector<std::uint8_t> b = EncodeWav(s, kBlipSampleRate);
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
    };
    auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8); };
    ASSERT_EQ(b.size(), 44 + 2 * s.size());
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4) + std::string(b.begin() + 8, b.begin() + 16) +
                  std::string(b.begin() + 36, b.begin() + 40),
              "RIFFWAVEfmt data");
    EXPECT_TRUE(u32(4) == b.size() - 8 && u32(40) == 2 * s.size()) << "chunk sizes";
    // fmt: its size, PCM, mono, the rate, bytes per second, block, bits.
    EXPECT_EQ((std::vector<std::uint32_t>{u32(16), u16(20), u16(22), u32(24), u32(28), u16(32), u16(34)}),
              (std::vector<std::uint32_t>{16, 1, 1, kBlipSampleRate, 2 * kBlipSampleRate, 2, 16}));
    EXPECT_EQ(static_cast<std::int16_t>(u16(44 + 2 * 100)), s[100]);
}

}  // namespace
