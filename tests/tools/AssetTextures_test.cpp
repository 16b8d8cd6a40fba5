#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "AssetTextures.h"

using namespace assets;

namespace {

float Spread(const Rgba& c)
{
    return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
}

}  // namespace

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
    const Rgba sea = at(3, 3), grass = at(34, 24), rock = at(55, 28), sand = at(30, 20), mirrored = at(4, 28);
    EXPECT_GT(sea.b, sea.r + 0.15f);
    EXPECT_GT(grass.g, std::max(grass.r + 0.08f, grass.b + 0.15f));
    EXPECT_TRUE(Spread(rock) < 0.15f && rock.r > 0.35f) << "grey-brown summit";
    EXPECT_TRUE(sand.r > 0.6f && sand.r > sand.b + 0.15f) << "pale shore";
    EXPECT_GT(mirrored.b, mirrored.r);
}

TEST(UpdraftTexture, IsPaleTranslucentWithVerticalStreaksThatWrap)
{
    const AssetImage img = MakeUpdraftTexture();
    ASSERT_EQ(img.Width(), kUpdraftWidth);
    double alpha = 0.0, across = 0.0, along = 0.0, seam = 0.0;
    for (int y = 0; y + 1 < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            const Rgba& p = img.At(x, y);
            alpha += p.a;
            EXPECT_TRUE(p.a > 0.0f && p.a < 0.8f && std::min({p.r, p.g, p.b}) > 0.7f && p.b >= p.r);
            across += std::fabs(img.At((x + 1) % img.Width(), y).a - p.a);
            along += std::fabs(img.At(x, y + 1).a - p.a);
        }
        seam += std::fabs(img.At(0, y).a - img.At(img.Width() - 1, y).a);
    }
    const double pixels = static_cast<double>(img.Width()) * (img.Height() - 1);
    EXPECT_LT(alpha / pixels, 0.45) << "mostly see-through";
    EXPECT_GT(across, 1.5 * along) << "streaks run up and down";
    // The last column meets the first as smoothly as any two neighbours.
    EXPECT_LT(seam / (img.Height() - 1), 3.0 * across / pixels);
}
