// The tick shared by the main window and the headless game.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "gametick.h"

namespace {

using TickTest = GameFixture;

TEST_F(TickTest, PTogglesThePauseWhenReleasedWithOneBlipAndWhilePausedNothingMovesOrDraws)
{
    // P held over ticks, then let go: paused, blip; again: resumed, blip.
    const struct
    {
        int held, up;
        bool paused;
    } presses[] = {{3, 1, true}, {2, 4, false}};
    for (std::size_t i = 0; i < 2; ++i) {
        for (int tick = 0; tick < presses[i].held; ++tick)
            m_Game->Tick(kKeyP);
        EXPECT_NE(Model().IsPaused(), presses[i].paused);
        for (int tick = 0; tick < presses[i].up; ++tick)
            m_Game->Tick(0);
        EXPECT_EQ(Model().IsPaused(), presses[i].paused);
        EXPECT_EQ(Blips(), i + 1);
    }

    // The window leaves the foreground with P held: every key reads up, so
    // the next tick sees P released; keys stay up while the focus is away.
    m_Game->Tick(kKeyP);
    m_Game->GetKeys().SetActive(false);
    for (int tick = 0; tick < 3; ++tick)
        m_Game->Tick(kKeyP | kKeyLeft);
    EXPECT_TRUE(Model().IsPaused());
    EXPECT_EQ(Blips(), 3u);

    const D3DXVECTOR3 craft = Model().GetSoarerPosition();
    const int presents = Device().PresentCount();
    m_Game->GetKeys().SetActive(true);
    for (int tick = 0; tick < 5; ++tick)
        m_Game->Tick(kKeyLeft | kKeyUp);
    EXPECT_EQ(Model().GetSoarerPosition(), craft);
    EXPECT_EQ(Model().GetRollAngle(), 0.0);
    EXPECT_EQ(Device().PresentCount(), presents);
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
    // Switched on again, both resume at the next tick.
    model.SetGroundViewOff(FALSE);
    model.SetMapViewOff(FALSE);
    m_Game->Tick(0);
    EXPECT_NE(ground.GetCamera()->GetPosition(), groundEye);
    EXPECT_EQ(ground.GetDrawCount() + map.GetDrawCount(), 4);
}

}  // namespace
