#include "AssetIslandTerrain.h"

#include <algorithm>

#include "IslandTerrain.h"

namespace assets {

IslandHeights MakeIslandHeights()
{
    IslandHeights h{};
    // Cells outside the grid are left alone, as in the game.
    ForEachIslandTerrainRaise([&](const IslandTerrainRaise& raise) {
        if (raise.row < 0 || raise.row >= kIslandGrid)
            return;
        auto& row = h[static_cast<std::size_t>(raise.row)];
        for (int c = std::max(raise.firstColumn, 0); c <= std::min(raise.lastColumn, kIslandGrid - 1); ++c)
            row[static_cast<std::size_t>(c)] = raise.height;
    });
    return h;
}

}  // namespace assets
