// The game model as built: its land, pause and new game.
#include <gtest/gtest.h>

#include <filesystem>

#include "AssetIslandTerrain.h"
#include "GameFixture.h"
#include "ORVD3D_PrimitiveMeshCustom.h"

namespace {

using ModelTest = GameFixture;

ORVD3D_PrimitiveMeshCustom* Land(CModel& model)
{
    return dynamic_cast<ORVD3D_PrimitiveMeshCustom*>(model.GetIsland().GetLand().GetPrimitive());
}

TEST_F(ModelTest, TheLandIsRaisedAndSavedWhenFirstDrawnAtTheHeightsItsTextureIsPaintedFor)
{
    m_Game->Tick(0);
    EXPECT_TRUE(std::filesystem::exists("MeshFiles/Land.x"));
    ORVD3D_PrimitiveMeshCustom* land = Land(Model());
    ASSERT_TRUE(land && land->IsMeshCreated());
    // Vertex (row r, column c) has the height the asset maker paints for it.
    const assets::IslandHeights painted = assets::MakeIslandHeights();
    int wrong = 0;
    D3DXVECTOR3 vertex;
    for (int r = 0; r < kIslandTerrainSize; ++r)
        for (int c = 0; c < kIslandTerrainSize; ++c) {
            land->SelectControlPoint(r, c);
            land->GetSelectedPosition(vertex);
            const int expected = painted[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (vertex.y != static_cast<float>(expected) && ++wrong <= 5)
                ADD_FAILURE() << "row " << r << ", column " << c << ": " << vertex.y << ", not " << expected;
        }
    EXPECT_EQ(wrong, 0);
    land->DeselectControlPoint();
}

TEST(ReadOnlyDataTest, TheLandWorksWhenItsFileCannotBeWritten)
{
    // A folder in the way of MeshFiles/Land.x stands for a data folder the
    // program may not write (root ignores permission bits).
    ScopedDataFolder folder;
    std::filesystem::create_directory("MeshFiles/Land.x");
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    CHeadlessGame game;
    std::string error;
    ASSERT_TRUE(game.Start(error)) << error;
    for (int tick = 0; tick < 3; ++tick)
        game.Tick(0);
    ASSERT_TRUE(Land(game.GetModel()) && Land(game.GetModel())->IsMeshCreated());
    EXPECT_EQ(game.GetModel().GetSoarerPosition().y, 6.1f);
}

TEST_F(ModelTest, EveryPauseRequestPlaysTheBlipAndNewGameUnpausesSilently)
{
    CModel& model = Model();
    model.SetPaused(true);
    model.SetPaused(true);
    ASSERT_EQ(Blips(), 2u);
    model.NewGame();
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(Blips(), 2u);
    model.SetPaused(false);
    EXPECT_EQ(Blips(), 3u);
}

}  // namespace
