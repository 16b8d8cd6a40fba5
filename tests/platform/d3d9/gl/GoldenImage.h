// A frame matches its golden image when at most kOutlierFraction of its
// pixels lie more than kChannelTolerance from it in a channel: another Mesa
// rounds a few steps apart, while a real fault changes whole regions.
// SOARE_UPDATE_GOLDEN=1 writes the golden image instead; a failing frame and
// its differences go to the render-output folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "EglOffscreenWindow.h"

constexpr int kChannelTolerance = 8;
constexpr double kOutlierFraction = 0.005;

::testing::AssertionResult MatchesGolden(const RgbaImage& image, const std::string& name);
