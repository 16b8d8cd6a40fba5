// The island's terrain as the game raises it: a 60 x 60 grid of vertex
// heights, [row][column], from the 22 steps of the terrain table (buildings
// are not part of it). The island texture is painted from this.
#pragma once

#include <array>

namespace assets {

constexpr int kIslandGrid = 60;
using IslandHeights = std::array<std::array<int, kIslandGrid>, kIslandGrid>;

IslandHeights MakeIslandHeights();

}  // namespace assets
