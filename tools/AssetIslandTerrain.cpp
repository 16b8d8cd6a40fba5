#include "AssetIslandTerrain.h"

#include <algorithm>
#include <functional>

namespace assets {

namespace {

// One raise: every cell of the given row from firstColumn to lastColumn gets
// the height; cells outside the grid are left alone, as in the game.
void Raise(IslandHeights& h, int row, int firstColumn, int lastColumn, int height)
{
    if (row < 0 || row >= kIslandGrid)
        return;
    for (int c = std::max(firstColumn, 0); c <= std::min(lastColumn, kIslandGrid - 1); ++c)
        h[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)] = height;
}

// Raises rows first..last, asking per row for the column span and height.
void RaiseRows(IslandHeights& h, int first, int last,
               const std::function<void(int row, int& c0, int& c1, int& height)>& spanOf)
{
    for (int r = first; r <= last; ++r) {
        int c0 = 0;
        int c1 = -1;
        int height = 0;
        spanOf(r, c0, c1, height);
        Raise(h, r, c0, c1, height);
    }
}

void Block(IslandHeights& h, int r0, int r1, int c0, int c1, int height)
{
    for (int r = r0; r <= r1; ++r)
        Raise(h, r, c0, c1, height);
}

}  // namespace

IslandHeights MakeIslandHeights()
{
    IslandHeights h{};
    // Applied in the game's order: later steps overwrite earlier ones.
    Block(h, 1, 29, 40, 50, 1);
    Block(h, 30, 39, 0, 50, 1);
    Block(h, 40, 50, 10, 50, 1);
    Block(h, 51, 59, 20, 50, 1);
    Block(h, 10, 20, 10, 20, 1);
    RaiseRows(h, 20, 29, [](int r, int& c0, int& c1, int& v) { c0 = 59 - r; c1 = 39; v = 1; });
    RaiseRows(h, 40, 50, [](int r, int& c0, int& c1, int& v) { c0 = r - 40; c1 = 10; v = 1; });
    Block(h, 50, 54, 10, 12, 1);
    Block(h, 10, 15, 15, 20, 2);
    Block(h, 11, 14, 16, 19, 3);
    auto peak = [](int r) { return r == 1 ? 4 : r <= 3 ? 5 : r <= 5 ? 4 : r <= 8 ? 3 : 2; };
    RaiseRows(h, 1, 9, [&](int r, int& c0, int& c1, int& v) { c0 = 42; c1 = 48; v = peak(r); });
    auto flank = [](int r) { return r == 1 ? 4 : r <= 5 ? 3 : 2; };
    RaiseRows(h, 1, 7, [&](int r, int& c0, int& c1, int& v) { c0 = c1 = 41; v = flank(r); });
    RaiseRows(h, 1, 7, [&](int r, int& c0, int& c1, int& v) { c0 = c1 = 49; v = flank(r); });
    Block(h, 40, 49, 30, 40, 2);
    RaiseRows(h, 50, 59, [](int r, int& c0, int& c1, int& v) { c0 = 20; c1 = 90 - r; v = 2; });
    Block(h, 41, 50, 31, 39, 3);
    RaiseRows(h, 51, 57, [](int r, int& c0, int& c1, int& v) { c0 = 21; c1 = 89 - r; v = 3; });
    RaiseRows(h, 42, 51, [](int r, int& c0, int& c1, int& v) {
        c0 = 32;
        c1 = r <= 49 ? 39 : r == 50 ? 38 : 37;
        v = 4;
    });
    RaiseRows(h, 52, 58, [](int r, int& c0, int& c1, int& v) { c0 = 22; c1 = 88 - r; v = 4; });
    RaiseRows(h, 43, 49, [](int r, int& c0, int& c1, int& v) {
        c0 = r <= 45 ? 34 : r - 11;  // 46: 35, 47: 36, 48: 37, 49: 38
        c1 = 38;
        v = 5;
    });
    RaiseRows(h, 53, 57, [](int r, int& c0, int& c1, int& v) {
        static constexpr int from[] = {24, 24, 25, 26, 27};
        static constexpr int to[] = {32, 33, 34, 33, 32};
        c0 = from[r - 53];
        c1 = to[r - 53];
        v = 5;
    });
    Block(h, 54, 55, 27, 29, 6);
    return h;
}

}  // namespace assets
