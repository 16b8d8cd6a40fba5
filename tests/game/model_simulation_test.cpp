// The flight simulation, one step at a time: directions, signs, limits and
// the order of the rules. The landing replay pins the whole flight.
#include <gtest/gtest.h>

#include "GameFixture.h"

namespace {

// Open sea far from the island's blocks and columns, high up.
const D3DXVECTOR3 kOpenAir(10.0f, 20.0f, 0.0f);

class SimulationTest : public GameFixture
{
protected:
    // Level, facing +Z, at position, with speed.
    void Place(D3DXVECTOR3 position, float speed)
    {
        Peer().PlaceSoarerLevel(position);
        Peer().SetSpeed(speed);
    }
    D3DXVECTOR3 Position() { return Model().GetSoarerPosition(); }
};

TEST_F(SimulationTest, AStepMovesAlongTheNoseSinksLessWhenFasterAndAHeldLeanBanksToTwenty)
{
    for (const auto& [speed, sink] : {std::pair{0.1f, -0.011f}, std::pair{0.2f, -0.001f}}) {
        Place(kOpenAir, speed);
        Model().Simulate();
        EXPECT_NEAR(Position().z, speed, 1e-6f);
        EXPECT_NEAR(Position().y - kOpenAir.y, sink, 1e-6f);
    }
    // A held lean banks by 1.25 less the 0.25 levelling, up to 20.
    Place(kOpenAir, 0.2f);
    for (int step = 0; step < 20; ++step) {
        Model().LeanLeft();
        Model().Simulate();
    }
    EXPECT_EQ(Model().GetRollAngle(), 20.0);
}

TEST_F(SimulationTest, RightAndBackWinUnlessAtTheirLimitAndPitchCostsSpeedWithinItsBand)
{
    struct Case
    {
        double roll, pitch;
        double rollAfter, pitchAfter;
    };
    const Case cases[] = {
        {0.0, 0.0, -1.0, 1.0},       // right and back win
        {-20.0, 20.0, -18.5, 18.5},  // at their limits the others apply (+1.25 +0.25)
    };
    for (const Case& c : cases) {
        Place(kOpenAir, 0.1f);
        Peer().SetRollAngle(c.roll);
        Peer().SetPitchAngle(c.pitch);
        Model().LeanLeft();
        Model().LeanRight();
        Model().LeanBackward();
        Model().LeanForward();
        Model().Simulate();
        EXPECT_EQ(Model().GetRollAngle(), c.rollAfter) << c.roll;
        EXPECT_EQ(Model().GetPitchAngle(), c.pitchAfter) << c.pitch;
    }
    // Back slows by a step, forward speeds up; the speed stays in its band.
    const struct
    {
        float speed;
        void (CModel::*lean)();
        float after;
    } speeds[] = {{0.1f, &CModel::LeanBackward, 0.095f},
                  {0.1f, &CModel::LeanForward, 0.105f},
                  {0.005f, &CModel::LeanBackward, 0.005f},
                  {0.2f, &CModel::LeanForward, 0.2f}};
    for (const auto& s : speeds) {
        Place(kOpenAir, s.speed);
        (Model().*s.lean)();
        Model().Simulate();
        EXPECT_NEAR(Model().GetSpeed(), s.after, 1e-6f) << s.speed;
    }
}

TEST_F(SimulationTest, TheOceanAndRoofsHoldTheCraftUpAndLandingNeedsPositionHeightAndSpeedInOneStep)
{
    // The ocean holds the craft up.
    Place({-21.5f, 0.5f, 24.5f}, 0.1f);  // open sea in the grid's corner
    Model().Simulate();
    EXPECT_EQ(Position().y, 0.5f);

    const float slow = 0.04999998f;
    struct Case
    {
        const char* name;
        D3DXVECTOR3 start;
        float speed;
        bool lands;
    };
    const Case cases[] = {
        {"just inside the zone", {23.0f, 5.1f, 14.96f}, slow, true},   // d = 0.99 after the move
        {"just outside the zone", {23.0f, 5.1f, 14.9f}, slow, false},  // d = 1.05
        {"too high", {23.0f, 5.3f, 16.0f}, slow, false},
        {"too low, inside the roof", {23.0f, 4.8f, 16.0f}, slow, false},
        {"too fast", {23.0f, 5.1f, 16.0f}, 0.055f, false},
    };
    for (const Case& c : cases) {
        Model().NewGame();
        Place(c.start, c.speed);
        m_Game->Tick(0);
        EXPECT_EQ(Model().IsLanded(), c.lands) << c.name;
    }
}

TEST_F(SimulationTest, ThePausedIntervalCountsAtTheFirstStepAfterAndNewGameMeasuresFromTheLastStep)
{
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);
    ASSERT_TRUE(Model().IsPaused());
    const float pausedAt = Model().GetGameTime();
    for (int tick = 0; tick < 40; ++tick)
        m_Game->Tick(0);
    m_Game->GetTime().Advance(3000);  // time spent in a dialog
    EXPECT_EQ(Model().GetGameTime(), pausedAt);
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);
    EXPECT_FALSE(Model().IsPaused());
    // The tick that paused, 40 paused ticks, the press and the release, 3 s.
    EXPECT_NEAR(Model().GetGameTime(), pausedAt + 0.025f * 43 + 3.0f, 1e-4f);

    // New Game puts the craft back and the time to 0; its first step
    // measures from the previous step, not from NewGame.
    m_Game->GetTime().Advance(1000);
    Model().NewGame();
    EXPECT_EQ(Position(), D3DXVECTOR3(3.0f, 6.0f, -25.5f));
    m_Game->Tick(0);
    EXPECT_NEAR(Model().GetGameTime(), 1.025f, 1e-5f);
}

}  // namespace
