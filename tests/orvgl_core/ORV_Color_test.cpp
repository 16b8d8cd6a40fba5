#include <gtest/gtest.h>

#include "ORV_Color.h"

TEST(ORV_Color, PacksArgbRoundsHalfAwayFromZeroAndClamps)
{
    EXPECT_EQ(ORV_Color(0x12, 0x34, 0x56, 0x78).GetARGB(), 0x78123456u);
    EXPECT_EQ(ORV_Color::FromARGB(0xFF102030u), ORV_Color(0x10, 0x20, 0x30, 0xFF));
    // A COLORREF holds red in its low byte.
    EXPECT_EQ(ORV_Color(17 | (34 << 8) | (51 << 16), 128), ORV_Color(17, 34, 51, 128));
    EXPECT_FLOAT_EQ(ORV_Color(255, 0, 51, 255).GetBf(), 0.2f);
    struct Case
    {
        ORV_Color color;
        int r, g, b, a;
    } cases[] = {
        {ORV_Color(300, -5, 128, 255), 255, 0, 128, 255},
        {ORV_Color(0.5f, 0.5f, 0.5f, 1.0f), 128, 128, 128, 255},  // 127.5 -> 128
        {ORV_Color(0.5, 0.5, 0.5, 1.0), 128, 128, 128, 255},
        // 0.5 / 255 scales to exactly 0.5, which rounds up; just below stays 0.
        {ORV_Color(0.5 / 255.0, 0.49 / 255.0, 2.0, -0.3), 1, 0, 255, 0},
        {ORV_Color(0.75f, 0.3f, 0.4f, 1.0f), 191, 77, 102, 255},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.color.GetR(), c.r);
        EXPECT_EQ(c.color.GetG(), c.g);
        EXPECT_EQ(c.color.GetB(), c.b);
        EXPECT_EQ(c.color.GetA(), c.a);
    }
}
