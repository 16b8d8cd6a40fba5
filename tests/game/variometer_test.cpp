// The audio variometer's mapping from a step's climb to its tone. The shell
// tests switch it on and off in the window.
#include <gtest/gtest.h>

#include <limits>

#include "variometer.h"

namespace {

TEST(VariometerTest, TheMappingBeepsInLiftHumsInStrongSinkAndIsSilentBetween)
{
    // Climb per step; the figures in the comments are per second (x40).
    struct Case
    {
        float climb;
        VarioTone tone;
    };
    const Case cases[] = {
        {-0.0205f, {}},                     // the slowest glide: -0.82
        {0.0024f, {}},                      // 0.096: too weak to beep
        {0.0026f, {true, 613.0f, 2.104f}},  // 0.104
        {0.2f, {true, 1600.0f, 10.0f}},     // two thermals: 8
        {-0.0249f, {}},                     // -0.996
        {-0.07f, {true, 255.0f, 0.0f}},     // a dive: -2.8
        {-0.2f, {true, 200.0f, 0.0f}},      // -8: as low as it goes
        {0.6f, {}},                         // a jump of 24 a second: a new game
        {std::numeric_limits<float>::quiet_NaN(), {}},
    };
    for (const Case& c : cases) {
        const VarioTone tone = CVariometer::ToneForClimb(c.climb);
        EXPECT_EQ(tone.sounding, c.tone.sounding) << c.climb;
        EXPECT_NEAR(tone.pitchHz, c.tone.pitchHz, 0.5f) << c.climb;
        EXPECT_NEAR(tone.beepsPerSecond, c.tone.beepsPerSecond, 0.01f) << c.climb;
    }
}

}  // namespace
