// The variometer's voice: no jump when the pitch changes, beeps at the rate
// asked for, ramps at every start and stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "VarioSynth.h"

namespace {

constexpr int kRate = 48000;

std::vector<float> Render(VarioSynth& synth, std::size_t count)
{
    std::vector<float> out(count, 0.0f);
    synth.Mix(out.data(), out.size());
    return out;
}

// The largest step between samples, the previous block's last one included.
float LargestStep(const std::vector<float>& samples, float before)
{
    float largest = 0.0f;
    for (float sample : samples) {
        largest = std::max(largest, std::fabs(sample - before));
        before = sample;
    }
    return largest;
}

// The largest step of a wave of this pitch at the synth's level, while its
// envelope may ramp: a restarted phase would jump by up to twice the level.
float StepBound(float pitch)
{
    const float wave = 2.0f * std::numbers::pi_v<float> * pitch * VarioSynth::kLevel / kRate;
    const float ramp = VarioSynth::kLevel / (VarioSynth::kRampSeconds * kRate);
    return (wave + ramp) * 1.01f;
}

TEST(VarioSynthTest, AToneStartsAndStopsOnARampAndChangesPitchWithoutAJump)
{
    VarioSynth synth(kRate);
    EXPECT_TRUE(synth.IsQuiet());
    synth.SetTone({true, 600.0f, 0.0f});
    std::vector<float> first = Render(synth, kRate / 10);  // ramp up, then steady
    int cycles = 0;
    for (std::size_t i = 1; i < first.size(); ++i)
        cycles += first[i - 1] < 0.0f && first[i] >= 0.0f ? 1 : 0;
    EXPECT_NEAR(cycles, 60, 1) << "the tone does not start at its pitch";
    EXPECT_GT(LargestStep(first, 0.0f), StepBound(600.0f) * 0.85f) << "the tone is not at full level";
    // The ramp takes its few milliseconds, no sample jumps to full level.
    const std::size_t ramp = static_cast<std::size_t>(VarioSynth::kRampSeconds * kRate);
    const auto [lo, hi] = std::minmax_element(first.begin(), first.begin() + ramp / 4);
    EXPECT_TRUE(*hi < VarioSynth::kLevel * 0.3f && *lo > -VarioSynth::kLevel * 0.3f);
    EXPECT_FALSE(synth.IsQuiet());

    // Changed at several points of the wave: it goes on from where it was.
    float last = first.back();
    const float pitches[] = {1500.0f, 700.0f, 1111.0f, 300.0f};
    for (float pitch : pitches) {
        synth.SetTone({true, pitch, 0.0f});
        std::vector<float> next = Render(synth, 317);  // not a whole number of cycles
        EXPECT_LE(LargestStep(next, last), StepBound(1500.0f)) << "after the change to " << pitch;
        last = next.back();
    }

    // Switched off mid-wave: it fades and then stays silent.
    synth.SetTone({});
    const std::vector<float> stop = Render(synth, kRate / 20);
    EXPECT_LE(LargestStep(stop, last), StepBound(1500.0f));
    EXPECT_TRUE(std::all_of(stop.begin() + ramp + 1, stop.end(), [](float x) { return x == 0.0f; }));
    EXPECT_TRUE(synth.IsQuiet());
    // The voice adds to what is there (the pause blip).
    std::vector<float> mixed(100, 0.5f);
    synth.Mix(mixed.data(), mixed.size());
    EXPECT_EQ(mixed[50], 0.5f);
}

TEST(VarioSynthTest, BeepsComeAtTheirRateHalfTheCycleOnAndStartWithABeep)
{
    VarioSynth synth(kRate);
    synth.SetTone({true, 900.0f, 4.0f});
    const std::vector<float> second = Render(synth, kRate);

    // Count the beeps: sound after a silence far longer than a zero crossing.
    int beeps = 0;
    std::size_t sounding = 0, silentRun = kRate;
    for (float sample : second) {
        beeps += sample != 0.0f && silentRun > kRate / 200 ? 1 : 0;
        sounding += sample != 0.0f ? 1 : 0;
        silentRun = sample == 0.0f ? silentRun + 1 : 0;
    }
    EXPECT_EQ(beeps, 4);
    EXPECT_NEAR(static_cast<double>(sounding) / kRate, 0.5, 0.02);
    EXPECT_NE(second[kRate / 100], 0.0f) << "the first beep is late";

    // A faster rate keeps the cycle's phase: no click at the change.
    const float last = second.back();
    synth.SetTone({true, 900.0f, 8.0f});
    const std::vector<float> faster = Render(synth, kRate / 2);
    EXPECT_LE(LargestStep(faster, last), StepBound(900.0f));
}

}  // namespace
