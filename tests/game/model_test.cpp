// The game model as built, its scene, its lights, pause and new game, and
// the owner that makes it once.
#include <gtest/gtest.h>

#include <filesystem>

#include "AssetIslandTerrain.h"
#include "GameFixture.h"
#include "ORVD3D_Cloud.h"
#include "ORVD3D_PrimitiveMeshCustom.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "mmsystem.h"
#include "modelowner.h"

namespace {

void ExpectNear(D3DXVECTOR3 actual, D3DXVECTOR3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectColor(const D3DCOLORVALUE& c, float r, float g, float b, float a)
{
    EXPECT_EQ(c.r, r);
    EXPECT_EQ(c.g, g);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.a, a);
}

using ModelTest = GameFixture;

TEST_F(ModelTest, StartsWithTheCraftAtItsStartFacingWorldPlusZ)
{
    CModel& model = Model();
    EXPECT_EQ(model.GetGameTime(), 0.0f);
    EXPECT_EQ(model.GetSpeed(), 0.1f);
    EXPECT_EQ(model.GetRollAngle(), 0.0);
    EXPECT_EQ(model.GetPitchAngle(), 0.0);
    EXPECT_FALSE(model.IsPaused());
    EXPECT_FALSE(model.IsLanded());
    EXPECT_EQ(model.IsMapViewOff(), FALSE);
    EXPECT_EQ(model.IsGroundViewOff(), FALSE);
    CModelTestPeer peer = Peer();
    EXPECT_FALSE(peer.LeanLeftSet() || peer.LeanRightSet() || peer.LeanForwardSet() || peer.LeanBackwardSet());

    const ORV_XformInfo start = model.GetSoarer().GetXformInfo();
    EXPECT_EQ(start.GetTranslation(), D3DXVECTOR3(3.0f, 6.0f, -25.5f));
    EXPECT_EQ(start.GetScale(), D3DXVECTOR3(0.15f, 0.15f, 0.15f));

    // The axes carry the craft's scale; the half turn about Y maps the
    // nose (local -Z) to world +Z and the local right (+X) to world -X.
    ExpectNear(model.GetSoarerPosition(), {3.0f, 6.0f, -25.5f});
    ExpectNear(model.GetSoarerForward(), {0.0f, 0.0f, 0.15f});
    ExpectNear(model.GetSoarerAheadPoint(), {3.0f, 6.0f, -25.35f});
    ExpectNear(model.GetSoarerUp(), {0.0f, 0.15f, 0.0f});
    ExpectNear(model.GetSoarerRight(), {-0.15f, 0.0f, 0.0f});

    // The target: centred at (23, 5.05, 16), covering x 22..24 and z 15..17.
    const ORV_XformInfo target = model.GetTarget().GetXformInfo();
    EXPECT_EQ(target.GetTranslation(), D3DXVECTOR3(23.0f, 5.05f, 16.0f));
    EXPECT_EQ(target.GetScale(), D3DXVECTOR3(1.0f, 1.0f, 1.0f));
    auto* square = dynamic_cast<ORV_PrimitiveRectangleXZ*>(model.GetTarget().GetPrimitive());
    ASSERT_NE(square, nullptr);
    auto* extent = dynamic_cast<ORV_BoundingBox*>(square->GetBoundingVolume(0));
    ASSERT_NE(extent, nullptr);
    EXPECT_EQ(extent->GetMin() + target.GetTranslation(), D3DXVECTOR3(22.0f, 5.05f, 15.0f));
    EXPECT_EQ(extent->GetMax() + target.GetTranslation(), D3DXVECTOR3(24.0f, 5.05f, 17.0f));
    EXPECT_TRUE(square->IsTexturing());
    EXPECT_STREQ(square->GetTextureFileName(), L"Textures/target.jpg");
}

TEST_F(ModelTest, SceneNodesAreNamedCountedAndOrdered)
{
    CModel& model = Model();
    EXPECT_STREQ(model.GetSoarer().GetName(), L"Soarer");
    EXPECT_STREQ(model.GetTarget().GetName(), L"Target");
    EXPECT_NE(model.GetSoarer().GetPrimitive(), nullptr);

    ORV_SceneNode* root = model.GetRootNode();
    EXPECT_STREQ(root->GetName(), L"root node");
    ASSERT_EQ(root->NumChildren(), 2);
    EXPECT_STREQ(root->GetChildNode(0)->GetName(), L"CustomMesh");
    EXPECT_STREQ(root->GetChildNode(1)->GetName(), L"axis frame");
    EXPECT_EQ(root->GetChildNode(0)->GetPrimitive(), model.GetCustomMesh());
    ASSERT_NE(model.GetCustomMesh(), nullptr);
    EXPECT_EQ(model.GetCustomMesh()->GetResolution(), 30);
    EXPECT_STREQ(model.GetCustomMesh()->GetTextureFileName(), L"Textures/central-park.jpg");

    const ORV_SceneNode& clouds = model.GetUpdrafts();
    EXPECT_STREQ(clouds.GetName(), L"Cloud");
    ASSERT_EQ(clouds.NumChildren(), 7);
    const D3DXVECTOR3 positions[7] = {{0, 8, 30},    {5, 13, 50},  {15, 13, 10}, {-5, 10, 15},
                                      {-15, 17, 15}, {-25, 10, 15}, {-35, 15, 35}};
    for (int i = 0; i < 7; ++i)
    {
        const ORV_SceneNode* node = clouds.GetChildNode(i);
        EXPECT_STREQ(node->GetName(), L"SceneNode");
        EXPECT_EQ(node->GetXformInfo().GetTranslation(), positions[i]) << "updraft " << i + 1;
        const float scale = i == 0 ? 3.0f : 10.0f;
        EXPECT_EQ(node->GetXformInfo().GetScale(), D3DXVECTOR3(scale, scale, scale));
        auto* cloud = dynamic_cast<ORVD3D_Cloud*>(node->GetPrimitive());
        ASSERT_NE(cloud, nullptr);
        EXPECT_TRUE(cloud->IsBlending());
        EXPECT_TRUE(cloud->IsTexturing());
        EXPECT_STREQ(cloud->GetTextureFileName(), L"Textures/updraft.png");
    }
}

TEST_F(ModelTest, LightsAreSetAsTheGameSetsThemAndTheSpotStaysOff)
{
    CModel& model = Model();
    const ORVD3D_PointLight& point = model.GetPointLight();
    EXPECT_TRUE(point.IsOn());
    EXPECT_EQ(point.GetLightIndex(), 1);
    const D3DLIGHT9& p = point.GetLightRecord();
    EXPECT_EQ(p.Type, D3DLIGHT_POINT);
    EXPECT_EQ(D3DXVECTOR3(p.Position), D3DXVECTOR3(-60.0f, 60.0f, -60.0f));
    EXPECT_EQ(D3DXVECTOR3(p.Direction), D3DXVECTOR3(60.0f, 0.5f, 60.0f));
    ExpectColor(p.Diffuse, 0.5f, 1.0f, 0.8f, 1.0f);
    ExpectColor(p.Specular, 0.4f, 0.4f, 0.3f, 1.0f);
    ExpectColor(p.Ambient, 0.75f, 0.3f, 0.4f, 1.0f);

    const ORVD3D_DirectionalLight& directional = model.GetDirectionalLight();
    EXPECT_TRUE(directional.IsOn());
    EXPECT_EQ(directional.GetLightIndex(), 2);
    const D3DLIGHT9& d = directional.GetLightRecord();
    EXPECT_EQ(d.Type, D3DLIGHT_DIRECTIONAL);
    ExpectColor(d.Diffuse, 0.5f, 0.5f, 0.5f, 1.0f);
    ExpectColor(d.Specular, 0.6f, 0.6f, 0.6f, 1.0f);
    ExpectColor(d.Ambient, 0.1f, 1.0f, 0.7f, 1.0f);

    EXPECT_FALSE(model.GetSpotLight().IsOn());
    EXPECT_EQ(model.GetSpotLight().GetLightIndex(), 3);

    // Every frame puts the lights in as point, directional, spot: the two
    // that are on are set and enabled, the spot only disabled.
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
    for (const auto& enable : enables)
    {
        if (enable.first == 3)
        {
            EXPECT_EQ(enable.second, DWORD{FALSE});
        }
    }
    for (const HeadlessCall& call : device.CallsNamed("SetLight"))
        EXPECT_NE(call.Arg(0), DWORD{3});
    EXPECT_EQ(device.EnabledLightIndices(), (std::vector<DWORD>{1, 2}));
}

TEST_F(ModelTest, TheLandIsRaisedAndSavedWhenFirstDrawn)
{
    m_Game->Tick(0);
    // The land mesh wrote its file into the working directory's MeshFiles.
    EXPECT_TRUE(std::filesystem::exists("MeshFiles/Land.x"));
    auto* land = dynamic_cast<ORVD3D_PrimitiveMeshCustom*>(Model().GetIsland().GetLand().GetPrimitive());
    ASSERT_NE(land, nullptr);
    ASSERT_TRUE(land->IsMeshCreated());
    // Vertex (row r, column c) has the height of grid cell (c, r).
    D3DXVECTOR3 vertex;
    land->SelectControlPoint(55, 28);
    land->GetSelectedPosition(vertex);
    EXPECT_EQ(vertex.y, 6.0f);
    EXPECT_NEAR(vertex.x, -1.0f + 28.0f * 2.0f / 59.0f, 1e-5f);
    EXPECT_NEAR(vertex.z, 1.0f - 55.0f * 2.0f / 59.0f, 1e-5f);
    // Every vertex stands at the height the asset maker paints the island
    // texture for: the two read one terrain table.
    const assets::IslandHeights painted = assets::MakeIslandHeights();
    int wrong = 0;
    for (int r = 0; r < kIslandTerrainSize; ++r)
        for (int c = 0; c < kIslandTerrainSize; ++c)
        {
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
    const auto requests = m_Sounds->GetRequests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests)
    {
        EXPECT_EQ(request.file, L"Sound/PauseBlip.wav");
        EXPECT_EQ(request.flags, SND_ASYNC);
    }
    model.NewGame();
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(Blips(), 2u);
    model.SetPaused(false);
    EXPECT_EQ(Blips(), 3u);
}

TEST(ModelOwnerTest, MakesTheModelOnceOnFirstRequest)
{
    ScopedDataFolder folder;
    int made = 0;
    CModelOwner owner([&] {
        ++made;
        return std::make_unique<CModel>(std::make_shared<ORV_ManualTimeSource>());
    });
    EXPECT_FALSE(owner.HasModel());
    EXPECT_EQ(made, 0);
    CModel* first = owner.GetModel();
    CModel* second = owner.GetModel();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(made, 1);
    owner.DeleteModel();
    EXPECT_FALSE(owner.HasModel());
    EXPECT_NE(owner.GetModel(), nullptr);
    EXPECT_EQ(made, 2);
}

}  // namespace
