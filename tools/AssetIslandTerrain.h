// The island's terrain as the game raises it: a 60 x 60 grid of vertex
// heights, [row][column], from the game's terrain table (buildings are not
// part of it). The island texture is painted from this.
#pragma once

#include <array>

#include "IslandTerrain.h"

namespace assets {

constexpr int kIslandGrid = kIslandTerrainSize;
using IslandHeights = std::array<std::array<int, kIslandGrid>, kIslandGrid>;

IslandHeights MakeIslandHeights();

}  // namespace assets
