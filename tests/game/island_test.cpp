// The island's height grid, buildings and columns, and the two collision
// tests that read them. No device is needed: the grid and the tests use
// only numbers.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "ORV_BoundingBox.h"
#include "island.h"

namespace {

// A volume of another kind than a box.
class SphereVolume final : public ORV_BoundingVolume
{
public:
    int GetType() const override { return 1; }
    D3DXVECTOR3 GetCenter() const override { return {}; }
    void Add(const ORV_BoundingVolume*) override {}
    bool Intersects(const ORV_BoundingVolume*) const override { return false; }
    bool ContainsPoint(float, float, float) const override { return false; }
};

// World position of grid coordinates (gx, gz) at height y.
D3DXVECTOR3 AtGrid(float gx, float y, float gz)
{
    return {gx - 25.0f, y, 30.0f - gz};
}

ORV_BoundingBox CraftOfWidth(float width)
{
    return ORV_BoundingBox(0.0f, 0.0f, 0.0f, width, 0.2f, width);
}

class IslandTest : public ::testing::Test
{
protected:
    CIsland island;
};

TEST_F(IslandTest, GridHoldsTheTerrainAndBuildingsAtTheirCells)
{
    struct Cell
    {
        int column, row, height;
    };
    const Cell cells[] = {
        {0, 30, 1},                                          // the island reaches the grid's low-X border
        {28, 55, 6},                                         // the craft's start
        {39, 20, 1}, {38, 20, 0}, {30, 29, 1}, {29, 29, 0},  // a row-dependent span at both ends
        {31, 59, 2}, {32, 59, 1},                            // a later line over an earlier one
    };
    for (const Cell& cell : cells)
        EXPECT_EQ(island.GetHeightAt(cell.column, cell.row), cell.height)
            << "column " << cell.column << ", row " << cell.row;

    // Outside the grid is open sea.
    for (int i = -1; i <= 61; ++i) {
        EXPECT_EQ(island.GetHeightAt(-1, i), 0);
        EXPECT_EQ(island.GetHeightAt(60, i), 0);
        EXPECT_EQ(island.GetHeightAt(i, -1), 0);
        EXPECT_EQ(island.GetHeightAt(i, 60), 0);
    }
}

TEST_F(IslandTest, BuildingsCoverTheCellsOfTheTableAndTheLastWriterWins)
{
    struct Expected
    {
        int firstColumn, lastColumn, firstRow, lastRow, height;
    };
    // A sample of the table: the first, a tall one, the last.
    const std::pair<int, Expected> sample[] = {
        {0, {9, 12, 54, 55, 2}},
        {5, {44, 45, 0, 1, 9}},
        {29, {34, 36, 42, 43, 6}},
    };
    const ORV_SceneNode& buildings = island.GetBuildings();
    ASSERT_EQ(buildings.NumChildren(), 30);
    CIsland::Footprint cells[30];
    for (int i = 0; i < 30; ++i) {
        const ORV_XformInfo xform = buildings.GetChildNode(i)->GetXformInfo();
        cells[i] = CIsland::FootprintOf(xform.GetTranslation(), xform.GetScale());
    }
    for (const auto& [i, e] : sample) {
        const CIsland::Footprint& f = cells[i];
        EXPECT_EQ((std::array{f.firstColumn, f.lastColumn, f.firstRow, f.lastRow, f.height}),
                  (std::array{e.firstColumn, e.lastColumn, e.firstRow, e.lastRow, e.height}))
            << "building " << i + 1;
    }
    // Every cell of a building holds its top unless a later building covers
    // it, whatever the terrain below.
    for (int i = 0; i < 30; ++i)
        for (int r = cells[i].firstRow; r <= cells[i].lastRow; ++r)
            for (int c = cells[i].firstColumn; c <= cells[i].lastColumn; ++c) {
                bool coveredLater = false;
                for (int j = i + 1; j < 30; ++j)
                    coveredLater = coveredLater || (c >= cells[j].firstColumn && c <= cells[j].lastColumn &&
                                                    r >= cells[j].firstRow && r <= cells[j].lastRow);
                if (!coveredLater) {
                    EXPECT_EQ(island.GetHeightAt(c, r), cells[i].height) << "building " << i + 1;
                }
            }
}

TEST_F(IslandTest, RaiseTerrainTouchesOnlyCellsInsideTheGrid)
{
    // Both corners of the grid are open sea.
    island.RaiseTerrain(-2, -3, 1, 1, 7.5f, nullptr);
    island.RaiseTerrain(58, 57, 65, 70, 9.99f, nullptr);
    for (int c = 0; c <= 1; ++c)
        for (int r = 0; r <= 1; ++r)
            EXPECT_EQ(island.GetHeightAt(c, r), 7);  // floor of the height
    EXPECT_EQ(island.GetHeightAt(2, 0), 0);
    EXPECT_EQ(island.GetHeightAt(0, 2), 0);
    EXPECT_EQ(island.GetHeightAt(59, 59), 9);
    EXPECT_EQ(island.GetHeightAt(57, 57), 0);
}

TEST_F(IslandTest, PushOutOfBlocksHoldsTheCraftAboveTheBlockItIsOver)
{
    const ORV_BoundingBox craft = CraftOfWidth(0.45f);

    // Open sea, away from the island: nothing to do at height 1; at 0.05
    // the sea cell's top clearance holds the craft at 0.1.
    const D3DXVECTOR3 sea = AtGrid(3.5f, 1.0f, 5.5f);
    EXPECT_EQ(island.PushOutOfBlocks(&craft, sea), sea);
    EXPECT_FLOAT_EQ(island.PushOutOfBlocks(&craft, AtGrid(3.5f, 0.05f, 5.5f)).y, 0.1f);

    // The target's cell (48, 14), height 5: held at 5.1 from below, left
    // alone above.
    const D3DXVECTOR3 onRoof = AtGrid(48.5f, 5.0f, 14.5f);
    EXPECT_EQ(island.PushOutOfBlocks(&craft, onRoof).y, 5.1f);
    const D3DXVECTOR3 aboveRoof = AtGrid(48.5f, 5.2f, 14.5f);
    EXPECT_EQ(island.PushOutOfBlocks(&craft, aboveRoof), aboveRoof);

    // Only a box counts, and only over the grid (C and R from 0 to 60).
    const SphereVolume sphere;
    EXPECT_EQ(island.PushOutOfBlocks(&sphere, onRoof), onRoof);
    const D3DXVECTOR3 westOfGrid(-25.5f, 0.05f, 0.0f);
    EXPECT_EQ(island.PushOutOfBlocks(&craft, westOfGrid), westOfGrid);
}

TEST_F(IslandTest, PushOutOfBlocksPushesAwayFromEachSide)
{
    // Blocks of height 5 raised in open sea around cell (10, 5): low X,
    // high X, low grid Z (toward world +Z), high grid Z (toward world -Z).
    island.RaiseTerrain(5, 9, 5, 9, 5.0f, nullptr);
    island.RaiseTerrain(5, 11, 5, 11, 5.0f, nullptr);
    island.RaiseTerrain(4, 10, 4, 10, 5.0f, nullptr);
    island.RaiseTerrain(6, 10, 6, 10, 5.0f, nullptr);
    const float y = 3.0f;

    struct Case
    {
        const char* name;
        float gx, gz, width;
        float dx, dz;  // expected push in world units
    };
    const Case cases[] = {
        {"low X, reaching into the block", 10.3f, 5.5f, 1.0f, 0.2f, 0.0f},
        {"high X, reaching beyond it", 10.7f, 5.5f, 3.0f, -0.2f, 0.0f},
        {"low grid Z, reaching beyond it", 10.5f, 5.3f, 3.0f, 0.0f, -0.2f},
        {"high grid Z, reaching into the block", 10.5f, 5.7f, 1.0f, 0.0f, 0.2f},
    };
    for (const Case& c : cases) {
        // Each side against its block alone: the wide craft would reach the
        // opposite block too.
        const ORV_BoundingBox craft = CraftOfWidth(c.width);
        CIsland single;
        if (c.gx < 10.5f)
            single.RaiseTerrain(5, 9, 5, 9, 5.0f, nullptr);
        else if (c.gx > 10.5f)
            single.RaiseTerrain(5, 11, 5, 11, 5.0f, nullptr);
        else if (c.gz < 5.5f)
            single.RaiseTerrain(4, 10, 4, 10, 5.0f, nullptr);
        else
            single.RaiseTerrain(6, 10, 6, 10, 5.0f, nullptr);
        const D3DXVECTOR3 p = AtGrid(c.gx, y, c.gz);
        const D3DXVECTOR3 q = single.PushOutOfBlocks(&craft, p);
        EXPECT_NEAR(q.x - p.x, c.dx, 1e-5f) << c.name;
        EXPECT_NEAR(q.z - p.z, c.dz, 1e-5f) << c.name;
        EXPECT_EQ(q.y, p.y) << c.name;
        // Just above the block nothing pushes.
        const D3DXVECTOR3 above = AtGrid(c.gx, 5.001f, c.gz);
        EXPECT_EQ(single.PushOutOfBlocks(&craft, above), above) << c.name;
    }

    // Pushes from several sides add up, and the top applies as well: a
    // craft of width 1 at the centre of (10, 5) overlaps no neighbour, one
    // nearer the corner overlaps two of them.
    const ORV_BoundingBox craft = CraftOfWidth(1.0f);
    const D3DXVECTOR3 centre = AtGrid(10.5f, y, 5.5f);
    EXPECT_EQ(island.PushOutOfBlocks(&craft, centre), centre);
    const D3DXVECTOR3 corner = AtGrid(10.3f, 0.05f, 5.3f);
    const D3DXVECTOR3 pushed = island.PushOutOfBlocks(&craft, corner);
    EXPECT_NEAR(pushed.x - corner.x, 0.2f, 1e-5f);
    EXPECT_NEAR(pushed.z - corner.z, -0.2f, 1e-5f);
    EXPECT_FLOAT_EQ(pushed.y, 0.1f);
}

TEST_F(IslandTest, CellsBeyondTheGridAreOpenSea)
{
    const ORV_BoundingBox craft = CraftOfWidth(1.0f);
    // Column 0 at row 35 is land (height 1); the cell beyond it is sea, so
    // a craft reaching over the border is only held on top.
    const D3DXVECTOR3 border = AtGrid(0.2f, 1.05f, 35.5f);
    EXPECT_EQ(island.PushOutOfBlocks(&craft, border), D3DXVECTOR3(border.x, 1.1f, border.z));
    // Row 59 (height 2 at column 30): the row beyond it does not push.
    const D3DXVECTOR3 lastRow = AtGrid(30.5f, 1.5f, 59.7f);
    EXPECT_EQ(island.PushOutOfBlocks(&craft, lastRow), D3DXVECTOR3(lastRow.x, 2.1f, lastRow.z));
    // The craft's own cell may be column or row 60, just outside the grid:
    // it is tested as open sea. One cell further is not tested at all.
    EXPECT_FLOAT_EQ(island.PushOutOfBlocks(&craft, AtGrid(60.5f, 0.05f, 30.5f)).y, 0.1f);
    EXPECT_FLOAT_EQ(island.PushOutOfBlocks(&craft, AtGrid(30.5f, 0.05f, 60.5f)).y, 0.1f);
    for (const D3DXVECTOR3 beyond : {AtGrid(61.2f, 0.05f, 30.5f), D3DXVECTOR3(1e30f, 0.05f, -1e30f)})
        EXPECT_EQ(island.PushOutOfBlocks(&craft, beyond), beyond);
}

TEST_F(IslandTest, ThermalLiftInsideTheColumnsOnly)
{
    struct Case
    {
        const char* name;
        D3DXVECTOR3 p;
        bool lifted;
    };
    const Case cases[] = {
        {"at the top itself", {-21.0f, 9.0f, -20.0f}, true},
        {"above the top", {-21.0f, 9.5f, -20.0f}, false},
        {"underground (no lower limit)", {-21.0f, -3.0f, -20.0f}, true},
        {"on the radius", {-19.0f, 5.0f, -20.0f}, true},
        {"2.01 away", {-18.99f, 5.0f, -20.0f}, false},
        {"column 4, top 11", {0.0f, 10.9f, 15.0f}, true},
    };
    for (const Case& c : cases) {
        const D3DXVECTOR3 q = island.GetThermalLift(c.p);
        EXPECT_EQ(q, D3DXVECTOR3(c.p.x, c.lifted ? c.p.y + 0.1f : c.p.y, c.p.z)) << c.name;
    }
}

}  // namespace
