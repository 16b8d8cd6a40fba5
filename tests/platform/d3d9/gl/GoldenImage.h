// Golden-image comparison for the render tests. A frame matches when every
// channel of every pixel is within kChannelTolerance of the golden image,
// except for at most kOutlierFraction of the pixels: another Mesa or LLVM
// rounds lighting and interpolation a few steps apart and may cover an edge
// pixel or not, while a real fault (a light on the wrong side, swapped red
// and blue, a lost depth test) changes whole regions. SOARE_UPDATE_GOLDEN=1
// writes the frame as the new golden image instead; a failing frame is
// written, with a picture of the differences, to the render-output folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "EglOffscreenWindow.h"

constexpr int kChannelTolerance = 8;
constexpr double kOutlierFraction = 0.005;

::testing::AssertionResult MatchesGolden(const RgbaImage& image, const std::string& name);
