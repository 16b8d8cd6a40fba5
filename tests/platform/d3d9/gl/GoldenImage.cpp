#include "GoldenImage.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

static bool WritePng(const std::filesystem::path& path, int width, int height, const std::vector<unsigned char>& rgb)
{
    std::filesystem::create_directories(path.parent_path());
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

::testing::AssertionResult MatchesGolden(const RgbaImage& image, const std::string& name)
{
    if (image.width <= 0 || image.height <= 0)
        return ::testing::AssertionFailure() << "no frame was presented";
    const std::filesystem::path golden = std::filesystem::path(SOARE_GOLDEN_DIR) / (name + ".png");
    const size_t count = static_cast<size_t>(image.width) * image.height;
    std::vector<unsigned char> actual(count * 3);
    for (size_t i = 0; i < actual.size(); ++i)
        actual[i] = image.pixels[i / 3 * 4 + i % 3];
    const char* update = std::getenv("SOARE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        if (!WritePng(golden, image.width, image.height, actual))
            return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess() << "rewrote " << golden;
    }

    int width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> expected(stbi_load(golden.c_str(), &width, &height, &channels, 3),
                                                             stbi_image_free);
    if (!expected)
        return ::testing::AssertionFailure() << "cannot read " << golden << " (SOARE_UPDATE_GOLDEN=1 creates it)";
    if (width != image.width || height != image.height)
        return ::testing::AssertionFailure() << golden << " is " << width << "x" << height << ", unlike the frame";
    std::vector<unsigned char> diff(actual.size(), 0);
    size_t outliers = 0;
    int worst = 0;
    for (size_t i = 0; i < count; ++i) {
        int pixelWorst = 0;
        for (size_t c = 0; c < 3; ++c)
            pixelWorst = std::max(pixelWorst, std::abs(actual[i * 3 + c] - expected.get()[i * 3 + c]));
        worst = std::max(worst, pixelWorst);
        if (pixelWorst > kChannelTolerance) {
            ++outliers;
            diff[i * 3] = 255;
        }
    }
    const auto allowed = static_cast<size_t>(kOutlierFraction * static_cast<double>(count));
    if (outliers <= allowed)
        return ::testing::AssertionSuccess();
    const std::filesystem::path output(SOARE_RENDER_OUTPUT_DIR);
    WritePng(output / (name + ".png"), width, height, actual);
    WritePng(output / (name + "-diff.png"), width, height, diff);
    return ::testing::AssertionFailure() << outliers << " pixels differ from " << golden << " by more than "
                                         << kChannelTolerance << " (at most " << allowed << " may; worst difference "
                                         << worst << "); the frame is in " << output;
}
