// The island's height grid, buildings and columns, and the two collision
// tests that read them: only numbers, no device.
#include <gtest/gtest.h>

#include <array>

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

TEST(IslandTest, GridHoldsTheTerrainAndBuildingsAtTheirCellsAndOpenSeaAround)
{
    CIsland island;
    const std::array<int, 3> cells[] = {
        {0, 30, 1},                                          // the island reaches the grid's low-X border
        {28, 55, 6},                                         // the craft's start
        {39, 20, 1}, {38, 20, 0}, {30, 29, 1}, {29, 29, 0},  // a row-dependent span at both ends
        {31, 59, 2}, {32, 59, 1},                            // a later line over an earlier one
        {-1, 30, 0}, {60, 30, 0}, {30, -1, 0}, {30, 60, 0},  // outside the grid
    };
    for (const auto& [column, row, height] : cells)
        EXPECT_EQ(island.GetHeightAt(column, row), height) << "column " << column << ", row " << row;

    // Buildings: a sample of the table (the first, a tall one, the last).
    const ORV_SceneNode& buildings = island.GetBuildings();
    ASSERT_EQ(buildings.NumChildren(), 30);
    const std::pair<int, std::array<int, 5>> sample[] = {
        {0, {9, 12, 54, 55, 2}}, {5, {44, 45, 0, 1, 9}}, {29, {34, 36, 42, 43, 6}}};
    for (const auto& [i, e] : sample) {
        const ORV_XformInfo xform = buildings.GetChildNode(i)->GetXformInfo();
        const CIsland::Footprint f = CIsland::FootprintOf(xform.GetTranslation(), xform.GetScale());
        EXPECT_EQ((std::array{f.firstColumn, f.lastColumn, f.firstRow, f.lastRow, f.height}), e)
            << "building " << i + 1;
    }

    // Raising the terrain touches only cells inside the grid.
    island.RaiseTerrain(-2, -3, 1, 1, 7.5f, nullptr);
    island.RaiseTerrain(58, 57, 65, 70, 9.99f, nullptr);
    EXPECT_EQ(island.GetHeightAt(1, 0), 7);  // floor of the height
    EXPECT_EQ(island.GetHeightAt(2, 0), 0);
    EXPECT_EQ(island.GetHeightAt(59, 59), 9);
    EXPECT_EQ(island.GetHeightAt(57, 57), 0);
}

TEST(IslandTest, PushOutOfBlocksHoldsTheCraftOnTopAndPushesAwayFromEachSide)
{
    CIsland island;
    const ORV_BoundingBox narrow = CraftOfWidth(0.45f);
    // The target's cell (48, 14), height 5: held at 5.1 from below, left
    // alone above; open sea holds it at 0.1. Only a box counts, and only
    // over the grid; the craft's own cell may be column or row 60, tested as
    // open sea, one cell further is not tested at all.
    const ORV_BoundingBox wide = CraftOfWidth(1.0f);
    const SphereVolume sphere;
    struct Top
    {
        const ORV_BoundingVolume* craft;
        D3DXVECTOR3 p;
        float y;
    };
    const Top tops[] = {
        {&narrow, AtGrid(3.5f, 1.0f, 5.5f), 1.0f},   {&narrow, AtGrid(3.5f, 0.05f, 5.5f), 0.1f},
        {&narrow, AtGrid(48.5f, 5.0f, 14.5f), 5.1f}, {&narrow, AtGrid(48.5f, 5.2f, 14.5f), 5.2f},
        {&sphere, AtGrid(48.5f, 5.0f, 14.5f), 5.0f}, {&narrow, {-25.5f, 0.05f, 0.0f}, 0.05f},
        {&wide, AtGrid(0.2f, 1.05f, 35.5f), 1.1f},  // land at the border, sea beyond
        {&wide, AtGrid(30.5f, 1.5f, 59.7f), 2.1f},  // the last row
        {&wide, AtGrid(60.5f, 0.05f, 30.5f), 0.1f},  {&wide, AtGrid(30.5f, 0.05f, 60.5f), 0.1f},
        {&wide, AtGrid(61.2f, 0.05f, 30.5f), 0.05f}, {&wide, {1e30f, 0.05f, -1e30f}, 0.05f},
    };
    for (const Top& t : tops)
        EXPECT_EQ(island.PushOutOfBlocks(t.craft, t.p), D3DXVECTOR3(t.p.x, t.y, t.p.z)) << t.p.x << ", " << t.p.y;

    // Blocks of height 5 in open sea around cell (10, 5): low X, high X,
    // low grid Z (toward world +Z), high grid Z (toward world -Z).
    const std::array<int, 2> blocks[] = {{5, 9}, {5, 11}, {4, 10}, {6, 10}};
    struct Case
    {
        float gx, gz, width;
        float dx, dz;  // expected push in world units
    };
    const Case cases[] = {
        {10.3f, 5.5f, 1.0f, 0.2f, 0.0f},   // low X, reaching into the block
        {10.7f, 5.5f, 3.0f, -0.2f, 0.0f},  // high X, reaching beyond it
        {10.5f, 5.3f, 3.0f, 0.0f, -0.2f},  // low grid Z, reaching beyond it
        {10.5f, 5.7f, 1.0f, 0.0f, 0.2f},   // high grid Z, reaching into the block
    };
    for (int i = 0; i < 4; ++i) {
        // Each side against its block alone: the wide craft would reach the
        // opposite block too.
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        CIsland single;
        single.RaiseTerrain(blocks[i][0], blocks[i][1], blocks[i][0], blocks[i][1], 5.0f, nullptr);
        const ORV_BoundingBox craft = CraftOfWidth(c.width);
        const D3DXVECTOR3 p = AtGrid(c.gx, 3.0f, c.gz);
        const D3DXVECTOR3 q = single.PushOutOfBlocks(&craft, p);
        EXPECT_NEAR(q.x - p.x, c.dx, 1e-5f);
        EXPECT_NEAR(q.z - p.z, c.dz, 1e-5f);
        EXPECT_EQ(q.y, p.y);
        const D3DXVECTOR3 above = AtGrid(c.gx, 5.001f, c.gz);
        EXPECT_EQ(single.PushOutOfBlocks(&craft, above), above);
        island.RaiseTerrain(blocks[i][0], blocks[i][1], blocks[i][0], blocks[i][1], 5.0f, nullptr);
    }
    // Pushes from several sides add up, and the top applies as well.
    const D3DXVECTOR3 centre = AtGrid(10.5f, 3.0f, 5.5f);
    EXPECT_EQ(island.PushOutOfBlocks(&wide, centre), centre);
    const D3DXVECTOR3 corner = AtGrid(10.3f, 0.05f, 5.3f);
    const D3DXVECTOR3 pushed = island.PushOutOfBlocks(&wide, corner);
    EXPECT_NEAR(pushed.x - corner.x, 0.2f, 1e-5f);
    EXPECT_NEAR(pushed.z - corner.z, -0.2f, 1e-5f);
    EXPECT_FLOAT_EQ(pushed.y, 0.1f);
}

TEST(IslandTest, ThermalLiftInsideTheColumnsOnly)
{
    const std::pair<D3DXVECTOR3, bool> cases[] = {
        {{-21.0f, 9.0f, -20.0f}, true},    // at the top itself
        {{-21.0f, 9.5f, -20.0f}, false},   // above the top
        {{-21.0f, -3.0f, -20.0f}, true},   // underground: no lower limit
        {{-19.0f, 5.0f, -20.0f}, true},    // on the radius
        {{-18.99f, 5.0f, -20.0f}, false},  // 2.01 away
        {{0.0f, 10.9f, 15.0f}, true},      // column 4, top 11
    };
    CIsland island;
    for (const auto& [p, lifted] : cases)
        EXPECT_EQ(island.GetThermalLift(p), D3DXVECTOR3(p.x, lifted ? p.y + 0.1f : p.y, p.z)) << p.x << ", " << p.y;
}

}  // namespace
