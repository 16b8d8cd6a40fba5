// The game's textures and the application icon, painted in code. Each
// function returns a fresh picture; the same call always gives the same pixels.
#pragma once

#include "AssetImage.h"

namespace assets {

constexpr int kTargetSize = 256;
constexpr int kParkSize = 512;
constexpr int kIslandSize = 512;
constexpr int kUpdraftWidth = 128;
constexpr int kUpdraftHeight = 256;

// Landing mark on the target roof: an orange ring and cross on white,
// framed in charcoal so it stands out from the grey roof.
AssetImage MakeTargetTexture();
// A city park from above: lawns, paths, a pond, trees, streets around it.
AssetImage MakeParkTexture();
// The island's ground from above, coloured by the terrain's height and slope;
// texture row 0 is grid row 59 (world z = -30), column 0 is world x = -25.
AssetImage MakeIslandTexture();
// Pale, mostly translucent vertical streaks for the thermal columns; the
// pattern wraps left to right, since it goes round a cylinder.
AssetImage MakeUpdraftTexture();
// The application icon: a sailplane over sky in a rounded square.
AssetImage MakeIcon(int size);

}  // namespace assets
