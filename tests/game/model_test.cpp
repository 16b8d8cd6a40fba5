// The game model as built: its lights, its land, pause and new game.
#include <gtest/gtest.h>

#include <filesystem>

#include "AssetIslandTerrain.h"
#include "GameFixture.h"
#include "ORVD3D_PrimitiveMeshCustom.h"

namespace {

using ModelTest = GameFixture;

TEST_F(ModelTest, EveryFramePutsTheLightsInAsPointDirectionalThenTheSpotOff)
{
    HeadlessDevice& device = Device();
    device.SetRecording(true);
    device.ClearCalls();
    for (int tick = 0; tick < 3; ++tick)
        m_Game->Tick(0);
    std::vector<std::pair<DWORD, DWORD>> enables;
    for (const HeadlessCall& call : device.CallsNamed("LightEnable"))
        enables.emplace_back(call.Arg(0), call.Arg(1));
    ASSERT_GE(enables.size(), 3u);
    EXPECT_EQ(enables[0], std::make_pair(DWORD{1}, DWORD{TRUE}));
    EXPECT_EQ(enables[1], std::make_pair(DWORD{2}, DWORD{TRUE}));
    EXPECT_EQ(enables[2], std::make_pair(DWORD{3}, DWORD{FALSE}));
    EXPECT_EQ(device.EnabledLightIndices(), (std::vector<DWORD>{1, 2}));
}

TEST_F(ModelTest, TheLandIsRaisedAndSavedWhenFirstDrawn)
{
    m_Game->Tick(0);
    EXPECT_TRUE(std::filesystem::exists("MeshFiles/Land.x"));
    auto* land = dynamic_cast<ORVD3D_PrimitiveMeshCustom*>(Model().GetIsland().GetLand().GetPrimitive());
    ASSERT_NE(land, nullptr);
    ASSERT_TRUE(land->IsMeshCreated());
    // Vertex (row r, column c) has the height of grid cell (c, r).
    D3DXVECTOR3 vertex;
    land->SelectControlPoint(55, 28);
    land->GetSelectedPosition(vertex);
    EXPECT_NEAR(vertex.x, -1.0f + 28.0f * 2.0f / 59.0f, 1e-5f);
    // Every vertex stands at the height the asset maker paints the island
    // texture for: the two read one terrain table.
    const assets::IslandHeights painted = assets::MakeIslandHeights();
    int wrong = 0;
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
    auto* land = dynamic_cast<ORVD3D_PrimitiveMeshCustom*>(game.GetModel().GetIsland().GetLand().GetPrimitive());
    ASSERT_NE(land, nullptr);
    EXPECT_TRUE(land->IsMeshCreated());
    D3DXVECTOR3 vertex;
    land->SelectControlPoint(55, 28);
    land->GetSelectedPosition(vertex);
    EXPECT_EQ(vertex.y, 6.0f);
    land->DeselectControlPoint();
    EXPECT_EQ(game.GetModel().GetSoarer().GetXformInfo().GetTranslation().y, 6.1f);
}

TEST_F(ModelTest, EveryPauseRequestPlaysTheBlipAndNewGameUnpausesSilently)
{
    CModel& model = Model();
    model.SetPaused(true);
    model.SetPaused(true);
    EXPECT_TRUE(model.IsPaused());
    ASSERT_EQ(Blips(), 2u);
    EXPECT_EQ(m_Sounds->GetRequests()[0].file, L"Sound/PauseBlip.wav");
    model.NewGame();
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(Blips(), 2u);
    model.SetPaused(false);
    EXPECT_EQ(Blips(), 3u);
}

}  // namespace
