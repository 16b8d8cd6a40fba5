#include "AssetSound.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "AssetVector.h"

namespace assets {

std::vector<std::int16_t> MakeBlipSamples()
{
    // Two tones a fifth apart (E6 then B6), 40 ms each with a short overlap:
    // 85 ms in all.
    struct Tone
    {
        double start, length, frequency;
    };
    const Tone tones[] = {{0.000, 0.042, 1318.5}, {0.038, 0.047, 1975.5}};
    const double total = 0.085;
    const auto count = static_cast<std::size_t>(total * kBlipSampleRate);
    std::vector<double> mix(count, 0.0);
    for (const Tone& t : tones) {
        for (std::size_t i = 0; i < count; ++i) {
            const double time = static_cast<double>(i) / kBlipSampleRate - t.start;
            if (time < 0.0 || time >= t.length)
                continue;
            // 4 ms attack, then an exponential fall that reaches silence at the
            // tone's end, so neither edge clicks.
            const double attack = std::min(1.0, time / 0.004);
            const double release = std::min(1.0, (t.length - time) / 0.006);
            const double decay = std::exp(-time / 0.03);
            const double envelope = attack * release * decay;
            // A little second harmonic rounds the sine into a soft bell.
            const double phase = 2.0 * static_cast<double>(kPi) * t.frequency * time;
            mix[i] += envelope * (0.85 * std::sin(phase) + 0.15 * std::sin(2.0 * phase));
        }
    }
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i], -1.0, 1.0) * 0.45 * 32767.0));
    return samples;
}

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate)
{
    std::vector<std::uint8_t> out;
    auto tag = [&](std::string_view four) { out.insert(out.end(), four.begin(), four.end()); };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    constexpr std::uint16_t kChannels = 1;
    constexpr std::uint16_t kBits = 16;
    constexpr std::uint16_t kBlockAlign = kChannels * kBits / 8;
    tag("RIFF");
    u32(4 + (8 + 16) + (8 + dataBytes));  // everything after this field
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(kChannels);
    u32(static_cast<std::uint32_t>(sampleRate));
    u32(static_cast<std::uint32_t>(sampleRate) * kBlockAlign);
    u16(kBlockAlign);
    u16(kBits);
    tag("data");
    u32(dataBytes);
    for (std::int16_t s : samples)
        u16(static_cast<std::uint16_t>(s));
    return out;
}

}  // namespace assets
