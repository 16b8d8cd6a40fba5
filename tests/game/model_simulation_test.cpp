// The flight simulation, one step at a time: directions, signs, limits and
// the order of the rules. The landing replay pins the whole flight.
#include <gtest/gtest.h>

#include <cmath>

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
    D3DXVECTOR3 Position() { return Model().GetSoarer().GetXformInfo().GetTranslation(); }
    double Heading() { return HeadingDegrees(Model().GetSoarerForward()); }
};

TEST_F(SimulationTest, AStepMovesAlongTheNoseAndSinksLessWhenFaster)
{
    Place(kOpenAir, 0.1f);
    Model().Simulate();
    EXPECT_NEAR(Position().x, kOpenAir.x, 1e-6f);
    EXPECT_NEAR(Position().z, 0.1f, 1e-6f);
    EXPECT_NEAR(Position().y - kOpenAir.y, -0.011f, 1e-6f);
    EXPECT_NEAR(Heading(), 0.0, 1e-6);
    Place(kOpenAir, 0.2f);
    Model().Simulate();
    EXPECT_NEAR(Position().y - kOpenAir.y, -0.001f, 1e-6f);
}

TEST_F(SimulationTest, AHeldLeanBanksToAboutTwentyTurnsThatWayAndLevelsOutWhenLetGo)
{
    Place(kOpenAir, 0.2f);
    for (int step = 0; step < 40; ++step) {
        Model().LeanLeft();
        Model().Simulate();
        const double bank = Model().GetRollAngle();
        // +1.25 levelled by 0.25 up to 20, then it cycles just around 20.
        if (step < 20)
            EXPECT_EQ(bank, step + 1.0) << "step " << step + 1;
        else
            EXPECT_TRUE(bank >= 19.75 && bank <= 20.75) << "step " << step + 1 << ": " << bank;
    }
    // A left bank turns toward +X: the heading grows, by a tenth of the bank.
    EXPECT_GT(Heading(), 60.0);
    for (int step = 0; step < 100; ++step)
        Model().Simulate();
    EXPECT_EQ(Model().GetRollAngle(), 0.0);
    const double settled = Heading();
    Model().Simulate();
    EXPECT_NEAR(Heading(), settled, 1e-4);

    struct Case
    {
        double bankBefore;
        void (CModel::*lean)();
        double turn;  // degrees of heading in the step
    };
    const Case cases[] = {
        {18.75, &CModel::LeanLeft, 2.0},     // 20.0 at the turn
        {-18.75, &CModel::LeanRight, -2.0},  // banked right: the heading falls
        {0.25, nullptr, 0.025},              // without a lean the bank still turns
    };
    for (const Case& c : cases) {
        Place(kOpenAir, 0.1f);
        Peer().SetRollAngle(c.bankBefore);
        const double before = Heading();
        if (c.lean)
            (Model().*c.lean)();
        Model().Simulate();
        EXPECT_NEAR(Heading() - before, c.turn, 5e-4) << "bank " << c.bankBefore;
    }
}

TEST_F(SimulationTest, RightAndBackWinUnlessAtTheirLimitAndPitchCostsSpeed)
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
        EXPECT_FALSE(Peer().LeanLeftSet() || Peer().LeanRightSet() || Peer().LeanForwardSet() ||
                     Peer().LeanBackwardSet());
    }

    // Back slows by a step, forward speeds up; the speed stays in its band.
    Place(kOpenAir, 0.1f);
    Model().LeanBackward();
    Model().Simulate();
    EXPECT_NEAR(Model().GetSpeed(), 0.095f, 1e-6f);
    Model().LeanForward();
    Model().Simulate();
    Model().LeanForward();
    Model().Simulate();
    EXPECT_NEAR(Model().GetSpeed(), 0.105f, 1e-6f);
    Place(kOpenAir, 0.005f);
    Model().LeanBackward();
    Model().Simulate();
    EXPECT_EQ(Model().GetSpeed(), 0.005f);
    Place(kOpenAir, 0.2f);
    Model().LeanForward();
    Model().Simulate();
    EXPECT_EQ(Model().GetSpeed(), 0.2f);
}

TEST_F(SimulationTest, LandingNeedsPositionHeightAndSpeedInTheSameStep)
{
    const float slow = 0.04999998f;
    struct Case
    {
        const char* name;
        D3DXVECTOR3 start;
        float speed;
        bool lands;
    };
    const Case cases[] = {
        {"slowly on the target", {23.0f, 5.1f, 16.0f}, slow, true},
        {"just inside the zone", {23.0f, 5.1f, 14.96f}, slow, true},   // d = 0.99 after the move
        {"just outside the zone", {23.0f, 5.1f, 14.9f}, slow, false},  // d = 1.05
        {"too high", {23.0f, 5.3f, 16.0f}, slow, false},
        {"too low, inside the roof", {23.0f, 4.8f, 16.0f}, slow, false},
        {"too fast", {23.0f, 5.1f, 16.0f}, 0.055f, false},
    };
    for (const Case& c : cases) {
        Model().NewGame();
        Place(c.start, c.speed);
        Model().Simulate();
        EXPECT_EQ(Model().IsLanded(), c.lands) << c.name;
    }

    // Landed, the time stands still while the craft moves on.
    Model().NewGame();
    Place({23.0f, 5.1f, 16.0f}, slow);
    m_Game->Tick(0);
    ASSERT_TRUE(Model().IsLanded());
    const float landedAt = Model().GetGameTime();
    const D3DXVECTOR3 there = Position();
    for (int tick = 0; tick < 60; ++tick)
        m_Game->Tick(0);
    EXPECT_EQ(Model().GetGameTime(), landedAt);
    EXPECT_GT(Position().z - there.z, 2.0f);
}

TEST_F(SimulationTest, TheOceanAndTheIslandHoldTheCraftUpAndTheReadOutsShowIt)
{
    Place({-21.5f, 0.5f, 24.5f}, 0.1f);  // open sea in the grid's corner
    Model().Simulate();
    EXPECT_EQ(Position().y, 0.5f);
    EXPECT_EQ(m_Status[1]->Last(), L"0.500000");
    // On the start's roof (height 6), gliding down into it: held above it.
    Place({3.0f, 6.05f, -25.5f}, 0.1f);
    Model().Simulate();
    EXPECT_GE(Position().y, 6.09f);
}

TEST_F(SimulationTest, ThePausedIntervalCountsAtTheFirstStepAfter)
{
    m_Game->Tick(0);
    EXPECT_FLOAT_EQ(Model().GetGameTime(), 0.025f);
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
}

TEST_F(SimulationTest, NewGameRestartsTheFlightButNotTheClockOrTheUpdrafts)
{
    for (int tick = 0; tick < 10; ++tick)
        m_Game->Tick(kKeyLeft | kKeyDown);
    Peer().SetLanded(true);
    const ORV_XformInfo updraftsBefore = Model().GetUpdrafts().GetXformInfo();
    m_Game->GetTime().Advance(1000);
    Model().NewGame();
    EXPECT_FALSE(Model().IsLanded());
    EXPECT_EQ(Model().GetSpeed(), 0.1f);
    EXPECT_EQ(Position(), D3DXVECTOR3(3.0f, 6.0f, -25.5f));
    EXPECT_EQ(Model().GetUpdrafts().GetXformInfo().GetRotation(), updraftsBefore.GetRotation());

    // The first step measures from the previous step, not from NewGame.
    m_Game->Tick(0);
    EXPECT_NEAR(Model().GetGameTime(), 1.025f, 1e-5f);
    // The updrafts turn a tenth of a degree about +Z every step: eleven so far.
    const ORV_Quaternion q = Model().GetUpdrafts().GetXformInfo().GetRotation();
    EXPECT_NEAR(2.0 * std::asin(static_cast<double>(q.z)) * 180.0 / M_PI, 1.1, 1e-3);
}

}  // namespace
