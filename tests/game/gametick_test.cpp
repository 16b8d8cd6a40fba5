// The tick shared by the main window and the headless game, and the frame
// every game view draws.
#include <gtest/gtest.h>

#include <algorithm>

#include "GameFixture.h"
#include "gametick.h"

namespace {

using TickTest = GameFixture;

TEST_F(TickTest, PTogglesThePauseOnceWhenReleasedWithOneBlipAndLostFocusReleasesIt)
{
    for (int tick = 0; tick < 3; ++tick)
        m_Game->Tick(kKeyP);
    EXPECT_FALSE(Model().IsPaused());
    EXPECT_EQ(Blips(), 0u);
    m_Game->Tick(0);
    EXPECT_TRUE(Model().IsPaused());
    EXPECT_EQ(Blips(), 1u);
    for (int tick = 0; tick < 3; ++tick)
        m_Game->Tick(0);
    EXPECT_TRUE(Model().IsPaused());
    EXPECT_EQ(Blips(), 1u);
    m_Game->Tick(kKeyP);
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);
    EXPECT_FALSE(Model().IsPaused());
    EXPECT_EQ(Blips(), 2u);

    // The window leaves the foreground with P held: every key reads up, so
    // the next tick sees P released; keys stay up while the focus is away.
    m_Game->Tick(kKeyP);
    m_Game->GetKeys().SetActive(false);
    m_Game->Tick(kKeyP);
    EXPECT_TRUE(Model().IsPaused());
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);
    EXPECT_TRUE(Model().IsPaused());
    EXPECT_EQ(Blips(), 3u);
}

TEST_F(TickTest, WhilePausedNothingStepsMovesOrDraws)
{
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);
    ASSERT_TRUE(Model().IsPaused());
    const D3DXVECTOR3 craft = Model().GetSoarerPosition();
    const D3DXVECTOR3 chaseEye = m_Game->GetMainView().GetCamera()->GetPosition();
    const int presents = Device().PresentCount();
    const int mainDraws = m_Game->GetMainView().GetDrawCount();
    for (int tick = 0; tick < 5; ++tick)
        m_Game->Tick(kKeyLeft | kKeyUp | kKeyDown | kKeyRight);
    EXPECT_EQ(Model().GetSoarerPosition(), craft);
    EXPECT_EQ(Model().GetRollAngle(), 0.0);
    EXPECT_EQ(m_Game->GetMainView().GetCamera()->GetPosition(), chaseEye);
    EXPECT_EQ(Device().PresentCount(), presents);
    EXPECT_EQ(m_Game->GetMainView().GetDrawCount(), mainDraws);

    // New game while paused resumes play.
    Model().NewGame();
    m_Game->Tick(0);
    EXPECT_EQ(m_Game->GetMainView().GetDrawCount(), mainDraws + 1);
}

TEST_F(TickTest, CamerasFollowTheCraftAndASwitchedOffViewIsNeitherMovedNorDrawn)
{
    CHeadlessView& main = m_Game->GetMainView();
    CHeadlessView& ground = m_Game->GetGroundView();
    CHeadlessView& map = m_Game->GetMapView();
    const D3DXVECTOR3 mapEye = map.GetCamera()->GetPosition();

    m_Game->Tick(kKeyLeft);
    CModel& model = Model();
    const D3DXVECTOR3 p = model.GetSoarerPosition();
    const D3DXVECTOR3 f = model.GetSoarerForward();
    D3DXVECTOR3 chaseEye = p - 4.0f * f;
    chaseEye.y += 0.1f;
    EXPECT_EQ(main.GetCamera()->GetPosition(), chaseEye);
    EXPECT_EQ(main.GetCamera()->GetLookAt(), model.GetSoarerAheadPoint());
    EXPECT_EQ(ground.GetCamera()->GetPosition(), p - 2.0f * f);
    EXPECT_EQ(ground.GetCamera()->GetLookAt(), D3DXVECTOR3(p.x, 0.0f, p.z));
    EXPECT_EQ(map.GetCamera()->GetPosition(), mapEye);  // only the mouse moves it

    model.SetGroundViewOff(TRUE);
    model.SetMapViewOff(TRUE);
    const D3DXVECTOR3 groundEye = ground.GetCamera()->GetPosition();
    m_Game->Tick(0);
    m_Game->Tick(0);
    EXPECT_EQ(ground.GetCamera()->GetPosition(), groundEye);
    EXPECT_EQ(main.GetDrawCount(), 3);
    EXPECT_EQ(ground.GetDrawCount(), 1);
    EXPECT_EQ(map.GetDrawCount(), 1);
    EXPECT_EQ(Device().PresentCount(ground.GetWindow()), 1);

    // Switched on again, both resume at the next tick.
    model.SetGroundViewOff(FALSE);
    model.SetMapViewOff(FALSE);
    m_Game->Tick(0);
    EXPECT_NE(ground.GetCamera()->GetPosition(), groundEye);
    EXPECT_EQ(ground.GetDrawCount(), 2);
    EXPECT_EQ(map.GetDrawCount(), 2);
}

TEST_F(TickTest, AViewFrameClearsToTheSkyThenDrawsTheSceneAndPresents)
{
    HeadlessDevice& device = Device();
    device.SetRecording(true);
    device.ClearCalls();
    m_Game->GetMainView().DrawGraphics();
    const std::vector<std::string> names = device.CallNames();
    auto at = [&](const std::string& name, std::size_t from = 0) {
        return std::find(names.begin() + static_cast<std::ptrdiff_t>(from), names.end(), name) - names.begin();
    };
    const auto begin = static_cast<std::size_t>(at("BeginScene"));
    const auto clear = static_cast<std::size_t>(at("Clear"));
    const auto end = static_cast<std::size_t>(at("EndScene"));
    ASSERT_LT(static_cast<std::size_t>(at("Present")), names.size());
    EXPECT_LT(at("SetRenderTarget"), begin);
    EXPECT_LT(end, at("Present"));

    // Between the scene's start and the clear: view, projection, then the
    // world reset to the identity.
    std::vector<DWORD> transforms;
    for (std::size_t i = begin; i < clear; ++i)
        if (names[i] == "SetTransform")
            transforms.push_back(device.Calls()[i].Arg(0));
    EXPECT_EQ(transforms, (std::vector<DWORD>{D3DTS_VIEW, D3DTS_PROJECTION, D3DTS_WORLD}));
    EXPECT_EQ(device.Calls()[clear].Arg(1), DWORD{D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER});
    // The meshes go to the device between the clear and the end.
    const auto firstMesh = static_cast<std::size_t>(at("DrawMeshSubsetEXT"));
    EXPECT_GT(firstMesh, clear);
    EXPECT_LT(firstMesh, end);

    // A view that has no device draws nothing at all.
    CModelOwner noModels;
    CHeadlessView detached(noModels, 100, 100);
    device.ClearCalls();
    detached.DrawGraphics();
    EXPECT_TRUE(device.Calls().empty());
}

}  // namespace
