#include <algorithm>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "AssetSound.h"
#include "AssetTextures.h"

namespace {

using namespace assets;

// The colour of the island texture at a grid vertex, by the mapping the land
// mesh uses: u = column / 59, v = 1 - row / 59, v = 0 the picture's top row.
Rgba IslandColourAt(const AssetImage& img, int row, int column)
{
    const float u = static_cast<float>(column) / 59.0f;
    const float v = 1.0f - static_cast<float>(row) / 59.0f;
    const int x = std::clamp(static_cast<int>(u * static_cast<float>(img.Width())), 0, img.Width() - 1);
    const int y = std::clamp(static_cast<int>(v * static_cast<float>(img.Height())), 0, img.Height() - 1);
    return img.At(x, y);
}

TEST(IslandTexture, ColoursEachPlaceByItsHeightWithTheMeshOrientation)
{
    const AssetImage img = MakeIslandTexture();
    ASSERT_EQ(img.Width(), kIslandSize);
    ASSERT_EQ(img.Height(), kIslandSize);
    // Deep water far from land: blue dominates.
    const Rgba sea = IslandColourAt(img, 3, 3);
    EXPECT_GT(sea.b, sea.r + 0.15f);
    // Inland low ground, rows 30-39, well away from the shore: green.
    const Rgba grass = IslandColourAt(img, 34, 24);
    EXPECT_GT(grass.g, grass.r + 0.08f);
    EXPECT_GT(grass.g, grass.b + 0.15f);
    // The summit (height 6, rows 54-55, columns 27-29): grey-brown rock.
    const Rgba rock = IslandColourAt(img, 55, 28);
    EXPECT_LT(std::max({rock.r, rock.g, rock.b}) - std::min({rock.r, rock.g, rock.b}), 0.15f);
    EXPECT_GT(rock.r, 0.35f);
    // The shore of the low shelf, where row 29 is still sea: pale sand.
    const Rgba sand = IslandColourAt(img, 30, 20);
    EXPECT_GT(sand.r, 0.6f);
    EXPECT_GT(sand.r, sand.b + 0.15f);
    // Upside down or mirrored would put water where the summit is.
    const Rgba mirrored = IslandColourAt(img, 59 - 55, 28);
    EXPECT_GT(mirrored.b, mirrored.r);
}

TEST(UpdraftTexture, IsPaleTranslucentWithVerticalStreaksThatWrap)
{
    const AssetImage img = MakeUpdraftTexture();
    ASSERT_EQ(img.Width(), kUpdraftWidth);
    ASSERT_EQ(img.Height(), kUpdraftHeight);
    double alphaSum = 0.0;
    double across = 0.0;
    double along = 0.0;
    double seam = 0.0;
    for (int y = 0; y + 1 < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const Rgba& p = img.At(x, y);
            alphaSum += p.a;
            EXPECT_GT(p.a, 0.0f);
            EXPECT_LT(p.a, 0.8f);
            EXPECT_GT(std::min({p.r, p.g, p.b}), 0.7f);
            EXPECT_GE(p.b, p.r);
            if (x + 1 < img.Width())
                across += std::fabs(img.At(x + 1, y).a - p.a);
            along += std::fabs(img.At(x, y + 1).a - p.a);
        }
    for (int y = 0; y < img.Height(); ++y)
        seam += std::fabs(img.At(0, y).a - img.At(img.Width() - 1, y).a);
    const double pixels = static_cast<double>(img.Width()) * (img.Height() - 1);
    EXPECT_LT(alphaSum / pixels, 0.45) << "mostly see-through";
    EXPECT_GT(across / pixels, 1.5 * along / pixels) << "streaks run up and down";
    // The last column meets the first as smoothly as any two neighbours.
    EXPECT_LT(seam / img.Height(), 3.0 * across / pixels);
}

TEST(TargetTexture, IsAnOrangeMarkOnWhiteInADarkFrame)
{
    const AssetImage img = MakeTargetTexture();
    ASSERT_EQ(img.Width(), kTargetSize);
    auto at = [&](float u, float v) {  // -1..1 across the picture
        return img.At(static_cast<int>((u + 1.0f) * 0.5f * static_cast<float>(img.Width())),
                      static_cast<int>((v + 1.0f) * 0.5f * static_cast<float>(img.Height())));
    };
    const Rgba ring = at(0.68f, 0.0f);
    const Rgba cross = at(0.0f, -0.4f);
    const Rgba field = at(0.3f, 0.3f);
    const Rgba frame = at(-0.97f, 0.5f);
    for (const Rgba& orange : {ring, cross}) {
        EXPECT_GT(orange.r, 0.9f);
        EXPECT_LT(orange.b, 0.2f);
        EXPECT_GT(orange.g, orange.b);
    }
    EXPECT_GT(std::min({field.r, field.g, field.b}), 0.9f);
    EXPECT_LT(std::max({frame.r, frame.g, frame.b}), 0.25f);
}

TEST(Icon, IsOpaqueSkyInsideARoundedSquareWithTheCraftOnIt)
{
    for (int size : {48, 256}) {
        const AssetImage icon = MakeIcon(size);
        ASSERT_EQ(icon.Width(), size);
        ASSERT_EQ(icon.Height(), size);
        EXPECT_EQ(icon.At(0, 0).a, 0.0f) << "corners are cut round";
        EXPECT_EQ(icon.At(size / 2, size / 2 - size / 4).a, 1.0f);
        // The white craft stands out against the blue sky somewhere.
        int bright = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (std::min({icon.At(x, y).r, icon.At(x, y).g}) > 0.75f && y < size / 2)
                    ++bright;
        EXPECT_GT(bright, size * size / 200) << size;
    }
}

TEST(PauseBlip, IsAShortSoftBlipOfTwoRisingTones)
{
    const std::vector<std::int16_t> s = MakeBlipSamples();
    const double ms = 1000.0 * static_cast<double>(s.size()) / kBlipSampleRate;
    EXPECT_GE(ms, 60.0);
    EXPECT_LE(ms, 100.0);
    int peak = 0;
    for (std::int16_t v : s)
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 8000) << "audible";
    EXPECT_LT(peak, 32000) << "not clipped";
    // Starts and ends at rest, so it does not click.
    EXPECT_LT(std::abs(s.front()), 200);
    EXPECT_LT(std::abs(s.back()), 200);
    // The second tone is higher: more zero crossings in the last 30 ms.
    const auto window = static_cast<std::size_t>(0.030 * kBlipSampleRate);
    auto crossings = [&](std::size_t from) {
        int n = 0;
        for (std::size_t i = from + 1; i < from + window; ++i)
            if ((s[i - 1] < 0) != (s[i] < 0))
                ++n;
        return n;
    };
    EXPECT_GT(crossings(s.size() - window), crossings(0) * 5 / 4);
}

}  // namespace
