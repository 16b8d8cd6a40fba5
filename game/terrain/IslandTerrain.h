// The island's terrain table: the 22 raises that lift a 60 x 60 grid of
// land heights out of the sea. Applied in order, a later raise overwriting
// an earlier one where they meet; each covers a run of rows, and in each
// row one span of columns (both ends inclusive) gets a whole height.
//
// One table for the game, which raises its land mesh and collision grid
// with it, and for the asset maker, which paints the island texture from
// the same heights, so the picture always fits the ground. Header only: the
// asset maker links nothing of the game.
#pragma once

// Rows and columns of the terrain grid.
constexpr int kIslandTerrainSize = 60;

// One row of one raise.
struct IslandTerrainRaise
{
    int row;
    int firstColumn;
    int lastColumn;
    int height;
};

// Calls raise(const IslandTerrainRaise&) for every row of every raise of the
// table, in the table's order.
template <typename Raise>
constexpr void ForEachIslandTerrainRaise(Raise&& raise)
{
    struct Span
    {
        int first;
        int last;
        int height;
    };
    auto rows = [&](int firstRow, int lastRow, auto spanOfRow) {
        for (int r = firstRow; r <= lastRow; ++r) {
            const Span span = spanOfRow(r);
            raise(IslandTerrainRaise{r, span.first, span.last, span.height});
        }
    };
    auto fixed = [](int first, int last, int height) { return [=](int) { return Span{first, last, height}; }; };

    rows(1, 29, fixed(40, 50, 1));
    rows(30, 39, fixed(0, 50, 1));
    rows(40, 50, fixed(10, 50, 1));
    rows(51, 59, fixed(20, 50, 1));
    rows(10, 20, fixed(10, 20, 1));
    rows(20, 29, [](int r) { return Span{59 - r, 39, 1}; });
    rows(40, 50, [](int r) { return Span{r - 40, 10, 1}; });
    rows(50, 54, fixed(10, 12, 1));
    rows(10, 15, fixed(15, 20, 2));
    rows(11, 14, fixed(16, 19, 3));
    rows(1, 9, [](int r) {
        const int height = r == 1 ? 4 : r <= 3 ? 5 : r <= 5 ? 4 : r <= 8 ? 3 : 2;
        return Span{42, 48, height};
    });
    auto ridge = [](int column) {
        return [=](int r) {
            const int height = r == 1 ? 4 : r <= 5 ? 3 : 2;
            return Span{column, column, height};
        };
    };
    rows(1, 7, ridge(41));
    rows(1, 7, ridge(49));
    rows(40, 49, fixed(30, 40, 2));
    rows(50, 59, [](int r) { return Span{20, 90 - r, 2}; });
    rows(41, 50, fixed(31, 39, 3));
    rows(51, 57, [](int r) { return Span{21, 89 - r, 3}; });
    rows(42, 51, [](int r) { return Span{32, r <= 49 ? 39 : r == 50 ? 38 : 37, 4}; });
    rows(52, 58, [](int r) { return Span{22, 88 - r, 4}; });
    rows(43, 49, [](int r) {
        const int first = r <= 45 ? 34 : r - 11;  // 46: 35, 47: 36, 48: 37, 49: 38
        return Span{first, 38, 5};
    });
    rows(53, 57, [](int r) {
        constexpr Span kSpans[] = {{24, 32, 5}, {24, 33, 5}, {25, 34, 5}, {26, 33, 5}, {27, 32, 5}};
        return kSpans[r - 53];
    });
    rows(54, 55, fixed(27, 29, 6));
}
