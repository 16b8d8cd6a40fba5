// Golden-image comparison for the render tests.
//
// A frame matches when every channel of every pixel is within
// kChannelTolerance of the golden image, except for at most
// kOutlierFraction of the pixels. llvmpipe draws the same frame bit for bit
// on one machine, but another Mesa or LLVM version rounds lighting and
// colour interpolation differently by a few steps of 255, and may cover an
// edge pixel or not: the tolerance absorbs that, while any real fault (a
// light on the wrong side, swapped red and blue, a wrong winding, a depth
// test lost) changes whole regions and fails by far.
//
// With SOARE_UPDATE_GOLDEN=1 in the environment the frame is written as the
// new golden image instead; with SOARE_GOLDEN_REPORT=1 the worst difference
// from the golden image is printed for every frame. A failing frame is written, with a picture of
// the differences, to the build's render-output folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "EglOffscreenWindow.h"

constexpr int kChannelTolerance = 8;
constexpr double kOutlierFraction = 0.005;

::testing::AssertionResult MatchesGolden(const RgbaImage& image, const std::string& name);
