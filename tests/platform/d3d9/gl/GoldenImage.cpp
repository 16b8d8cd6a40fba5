#include "GoldenImage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace {

bool UpdateRequested()
{
    const char* value = std::getenv("SOARE_UPDATE_GOLDEN");
    return value && std::string(value) == "1";
}

// With SOARE_GOLDEN_REPORT=1, how far each frame lies from its golden
// image is printed even when it matches.
bool ReportRequested()
{
    const char* value = std::getenv("SOARE_GOLDEN_REPORT");
    return value && std::string(value) == "1";
}

std::vector<unsigned char> OpaqueRgb(const RgbaImage& image)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(image.width) * image.height * 3);
    for (size_t i = 0, n = static_cast<size_t>(image.width) * image.height; i < n; ++i) {
        rgb[i * 3 + 0] = image.pixels[i * 4 + 0];
        rgb[i * 3 + 1] = image.pixels[i * 4 + 1];
        rgb[i * 3 + 2] = image.pixels[i * 4 + 2];
    }
    return rgb;
}

bool WritePng(const std::filesystem::path& path, int width, int height, const std::vector<unsigned char>& rgb)
{
    std::filesystem::create_directories(path.parent_path());
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

}  // namespace

::testing::AssertionResult MatchesGolden(const RgbaImage& image, const std::string& name)
{
    if (image.width <= 0 || image.height <= 0)
        return ::testing::AssertionFailure() << "no frame was presented";
    const std::filesystem::path golden = std::filesystem::path(SOARE_GOLDEN_DIR) / (name + ".png");
    const std::vector<unsigned char> actual = OpaqueRgb(image);
    if (UpdateRequested()) {
        if (!WritePng(golden, image.width, image.height, actual))
            return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess() << "rewrote " << golden;
    }

    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> expected(stbi_load(golden.c_str(), &width, &height, &channels, 3),
                                                             stbi_image_free);
    if (!expected)
        return ::testing::AssertionFailure()
               << "cannot read " << golden << " (run with SOARE_UPDATE_GOLDEN=1 to create it)";
    if (width != image.width || height != image.height)
        return ::testing::AssertionFailure()
               << golden << " is " << width << "x" << height << ", the frame " << image.width << "x" << image.height;

    std::vector<unsigned char> diff(actual.size(), 0);
    size_t outliers = 0;
    int worst = 0;
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        int pixelWorst = 0;
        for (size_t c = 0; c < 3; ++c)
            pixelWorst = std::max(pixelWorst, std::abs(actual[i * 3 + c] - expected.get()[i * 3 + c]));
        worst = std::max(worst, pixelWorst);
        if (pixelWorst > kChannelTolerance) {
            ++outliers;
            diff[i * 3] = 255;
        }
    }
    const auto allowed = static_cast<size_t>(kOutlierFraction * width * height);
    if (ReportRequested())
        std::printf("golden %s: worst difference %d, %zu pixels beyond %d (%zu may be)\n", name.c_str(), worst,
                    outliers, kChannelTolerance, allowed);
    if (outliers <= allowed)
        return ::testing::AssertionSuccess();

    const std::filesystem::path output(SOARE_RENDER_OUTPUT_DIR);
    WritePng(output / (name + ".png"), width, height, actual);
    WritePng(output / (name + "-diff.png"), width, height, diff);
    return ::testing::AssertionFailure() << outliers << " pixels differ from " << golden << " by more than "
                                         << kChannelTolerance << " (at most " << allowed << " may; worst difference "
                                         << worst << "); the frame is in " << output;
}
