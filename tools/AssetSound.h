// The pause blip: two quick rising tones under a soft envelope, as 16-bit PCM
// mono at 22050 Hz, and the RIFF/WAVE encoding of such samples.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

constexpr int kBlipSampleRate = 22050;

std::vector<std::int16_t> MakeBlipSamples();

// A complete .wav file: RIFF header, "fmt " chunk (PCM, mono, 16 bits) and
// "data" chunk, all little-endian whatever the host.
std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace assets
