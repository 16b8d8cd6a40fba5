#include <gtest/gtest.h>

#include "ORV_Color.h"
#include "ORV_Material.h"

namespace {

void ExpectChannels(ORV_Color c, int r, int g, int b, int a)
{
    EXPECT_EQ(c.GetR(), r);
    EXPECT_EQ(c.GetG(), g);
    EXPECT_EQ(c.GetB(), b);
    EXPECT_EQ(c.GetA(), a);
}

TEST(ORV_Color, PacksArgbAndClampsInts)
{
    ORV_Color c(0x12, 0x34, 0x56, 0x78);
    EXPECT_EQ(c.GetARGB(), 0x78123456u);
    ExpectChannels(ORV_Color(300, -5, 128, 255), 255, 0, 128, 255);
    EXPECT_EQ(ORV_Color().GetARGB(), 0u);
    EXPECT_EQ(ORV_Color::FromARGB(0xFF102030u), ORV_Color(0x10, 0x20, 0x30, 0xFF));
    EXPECT_NE(ORV_Color(1, 2, 3, 4), ORV_Color(1, 2, 3, 5));
    EXPECT_FLOAT_EQ(ORV_Color(255, 0, 51, 255).GetBf(), 0.2f);
    EXPECT_FLOAT_EQ(ORV_Color(255, 0, 51, 255).GetRf(), 1.0f);
}

TEST(ORV_Color, FloatsRoundHalfAwayFromZeroThenClamp)
{
    ExpectChannels(ORV_Color(0.5f, 0.5f, 0.5f, 1.0f), 128, 128, 128, 255);  // 127.5 -> 128
    ExpectChannels(ORV_Color(0.5, 0.5, 0.5, 1.0), 128, 128, 128, 255);
    // 0.5 / 255 scales to exactly 0.5, which rounds up to 1; just below stays 0.
    ExpectChannels(ORV_Color(0.5 / 255.0, 0.49 / 255.0, 2.0, -0.3), 1, 0, 255, 0);
    ExpectChannels(ORV_Color(0.75f, 0.3f, 0.4f, 1.0f), 191, 77, 102, 255);
    ExpectChannels(ORV_Color(0.0f, 1.0f, 0.1f, 1.0f), 0, 255, 26, 255);
}

TEST(ORV_Color, ColorReferenceIsRedInTheLowByte)
{
    const int ref = 17 | (34 << 8) | (51 << 16);
    ExpectChannels(ORV_Color(ref, 255), 17, 34, 51, 255);
    ExpectChannels(ORV_Color(ref, 128), 17, 34, 51, 128);
}

TEST(ORV_Material, DefaultsAreTheRoundedFloatColours)
{
    ORV_Material m;
    ExpectChannels(m.GetDiffuse(), 204, 204, 204, 204);
    ExpectChannels(m.GetAmbient(), 33, 17, 50, 255);
    ExpectChannels(m.GetSpecular(), 51, 51, 51, 51);
    ExpectChannels(m.GetEmissive(), 26, 26, 26, 26);
    EXPECT_FLOAT_EQ(m.GetPower(), 1.0f);

    ORV_Material copy = m;
    copy.SetPower(8.0f);
    copy.SetEmissive(ORV_Color(1, 2, 3, 4));
    EXPECT_FLOAT_EQ(m.GetPower(), 1.0f);
    EXPECT_NE(copy, m);
}

}  // namespace
