#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "AssetTextures.h"

using namespace assets;

// The island texture at a grid vertex, by the mapping the land mesh uses:
// u = column / 59, v = 1 - row / 59, v = 0 the picture's top row. Upside
// down or mirrored would put water where the summit is.
TEST(IslandTexture, ColoursEachPlaceByItsHeightWithTheMeshOrientation)
{
    const AssetImage img = MakeIslandTexture();
    ASSERT_EQ(img.Width(), kIslandSize);
    auto at = [&](int row, int column) {
        return img.At(std::min(column * img.Width() / 59, img.Width() - 1),
                      std::min((59 - row) * img.Height() / 59, img.Height() - 1));
    };
    const Rgba sea = at(3, 3), grass = at(34, 24), mirrored = at(4, 28);
    EXPECT_GT(sea.b, sea.r + 0.15f);
    EXPECT_GT(grass.g, std::max(grass.r + 0.08f, grass.b + 0.15f));
    EXPECT_GT(mirrored.b, mirrored.r);
}

TEST(UpdraftTexture, IsTranslucentWithVerticalStreaksThatWrap)
{
    const AssetImage img = MakeUpdraftTexture();
    double across = 0.0, along = 0.0, seam = 0.0;
    for (int y = 0; y + 1 < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            EXPECT_TRUE(img.At(x, y).a > 0.0f && img.At(x, y).a < 0.8f);
            across += std::fabs(img.At((x + 1) % img.Width(), y).a - img.At(x, y).a);
            along += std::fabs(img.At(x, y + 1).a - img.At(x, y).a);
        }
        seam += std::fabs(img.At(0, y).a - img.At(img.Width() - 1, y).a);
    }
    EXPECT_GT(across, 1.5 * along) << "streaks run up and down";
    // The last column meets the first as smoothly as any two neighbours.
    EXPECT_LT(seam / (img.Height() - 1), 3.0 * across / (img.Width() * (img.Height() - 1.0)));
}
