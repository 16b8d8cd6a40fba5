#include <gtest/gtest.h>

#include <algorithm>

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
