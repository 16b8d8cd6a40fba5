// The tick shared by the main window and the headless game, and the frame
// every game view draws.
#include <gtest/gtest.h>

#include <algorithm>

#include "GameFixture.h"
#include "gametick.h"
#include "tickschedule.h"
#include "tickstats.h"

namespace {

using TickTest = GameFixture;

TEST_F(TickTest, PTogglesThePauseOnceWhenReleasedWithOneBlip)
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
    EXPECT_EQ(Model().GetPitchAngle(), 0.0);
    EXPECT_FALSE(Peer().LeanLeftSet() || Peer().LeanRightSet() || Peer().LeanForwardSet() || Peer().LeanBackwardSet());
    EXPECT_EQ(m_Game->GetMainView().GetCamera()->GetPosition(), chaseEye);
    EXPECT_EQ(Device().PresentCount(), presents);
    EXPECT_EQ(m_Game->GetMainView().GetDrawCount(), mainDraws);

    // New game while paused resumes play.
    Model().NewGame();
    m_Game->Tick(0);
    EXPECT_EQ(m_Game->GetMainView().GetDrawCount(), mainDraws + 1);
}

TEST_F(TickTest, ArrowsLeanAndBothBanksInOneTickLeaveTheRightOne)
{
    m_Game->Tick(kKeyLeft | kKeyRight);
    EXPECT_EQ(Model().GetRollAngle(), -1.0);
    m_Game->Tick(kKeyUp);  // forward: nose down, faster
    EXPECT_EQ(Model().GetPitchAngle(), -1.0);
    EXPECT_GT(Model().GetSpeed(), 0.1f);
    m_Game->Tick(kKeyDown);
    m_Game->Tick(kKeyDown);
    EXPECT_EQ(Model().GetPitchAngle(), 1.0);
    EXPECT_LT(Model().GetSpeed(), 0.1f);
}

TEST_F(TickTest, CamerasFollowTheCraftAndASwitchedOffViewIsNeitherMovedNorDrawn)
{
    CHeadlessView& main = m_Game->GetMainView();
    CHeadlessView& ground = m_Game->GetGroundView();
    CHeadlessView& map = m_Game->GetMapView();
    const D3DXVECTOR3 mapEye = map.GetCamera()->GetPosition();
    EXPECT_EQ(mapEye, D3DXVECTOR3(-0.01f, 60.0f, 0.0f));

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
    EXPECT_EQ(main.GetDrawCount(), 1);
    EXPECT_EQ(ground.GetDrawCount(), 1);
    EXPECT_EQ(map.GetDrawCount(), 1);

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
    const auto present = static_cast<std::size_t>(at("Present"));
    ASSERT_LT(present, names.size());
    EXPECT_LT(at("SetRenderTarget"), begin);
    EXPECT_LT(begin, clear);
    EXPECT_LT(clear, end);
    EXPECT_LT(end, present);

    // Between the scene's start and the clear: view, projection, then the
    // world reset to the identity.
    std::vector<DWORD> transforms;
    for (std::size_t i = begin; i < clear; ++i)
        if (names[i] == "SetTransform")
            transforms.push_back(device.Calls()[i].Arg(0));
    EXPECT_EQ(transforms, (std::vector<DWORD>{D3DTS_VIEW, D3DTS_PROJECTION, D3DTS_WORLD}));
    const HeadlessCall& clearCall = device.Calls()[clear];
    EXPECT_EQ(clearCall.Arg(0), 0u);
    EXPECT_EQ(clearCall.Arg(1), DWORD{D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER});
    EXPECT_EQ(clearCall.Arg(2), DWORD{0x7F99B2B2u});
    EXPECT_EQ(clearCall.Arg(3), 0u);
    EXPECT_EQ(clearCall.value, 1.0f);
    // The scene is drawn inside the frame: the meshes go to the device
    // between the clear and the end.
    const auto firstMesh = static_cast<std::size_t>(at("DrawMeshSubsetEXT"));
    EXPECT_GT(firstMesh, clear);
    EXPECT_LT(firstMesh, end);
    EXPECT_EQ(device.DrawsOutsideSceneCount(), 0);

    // A view that has no device draws nothing at all.
    CModelOwner noModels;
    CHeadlessView detached(noModels, 100, 100);
    device.ClearCalls();
    detached.DrawGraphics();
    EXPECT_TRUE(device.Calls().empty());
}

TEST_F(TickTest, LosingTheFocusWhileHoldingPCountsAsReleasingIt)
{
    m_Game->Tick(kKeyP);
    EXPECT_FALSE(Model().IsPaused());
    // The window leaves the foreground with P still held: every key reads
    // up, so the next tick sees P released.
    m_Game->GetKeys().SetActive(false);
    m_Game->Tick(kKeyP);
    EXPECT_TRUE(Model().IsPaused());
    EXPECT_EQ(Blips(), 1u);
    // Keys stay up while the focus is away.
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);
    EXPECT_TRUE(Model().IsPaused());
    EXPECT_EQ(Blips(), 1u);
}

// Timer events at chosen times: the steps each runs, the steps dropped, and
// the wait it asks for after its work.
TEST(TickScheduleTest, LateEventsMakeUpTheStepsDueAtMostFourAndTheTimetableKeepsItsPhase)
{
    using namespace std::chrono;
    using Clock = CTickSchedule::Clock;
    struct Event
    {
        double at, end;  // milliseconds after the start: the event and the end of its work
        int steps;
        std::uint64_t dropped;  // in all, after it
        long delay;             // the timer's wait after it, milliseconds
    };
    const std::vector<std::vector<Event>> runs = {
        // Keeping up: one step an event, the next 25 ms after the last was
        // due, whenever the work ended; an early event still runs one step.
        {{25, 30, 1, 0, 20}, {50, 51, 1, 0, 24}, {75.4, 75.9, 1, 0, 25}, {99, 99.5, 1, 0, 26}},
        // Frames of 60 ms: the steps due are made up, the next event comes a
        // moment after the work, and a caught-up event waits again.
        {{25, 85, 1, 0, 1}, {86, 146, 2, 0, 1}, {147, 160, 2, 0, 1}, {161, 170, 1, 0, 5}},
        // Four due is made up whole; five is four and one dropped, and the
        // timetable goes on from the first step due after the event.
        {{25, 26, 1, 0, 24}, {125, 126, 4, 0, 24}, {149.9, 150, 1, 0, 25}, {275, 276, 4, 1, 24}},
        // A long stall: four steps, the rest dropped.
        {{25, 26, 1, 0, 24}, {300, 301, 4, 7, 24}, {325, 326, 1, 7, 24}},
    };
    const Clock::time_point start = Clock::now();
    const auto time = [start](double ms) {
        return start + duration_cast<Clock::duration>(duration<double, std::milli>(ms));
    };
    for (std::size_t run = 0; run < runs.size(); ++run)
    {
        CTickSchedule schedule;
        schedule.Start(start);
        EXPECT_EQ(schedule.DelayFrom(start), milliseconds(25));
        for (const Event& event : runs[run])
        {
            SCOPED_TRACE("run " + std::to_string(run) + ", event at " + std::to_string(event.at));
            EXPECT_EQ(schedule.TakeDueSteps(time(event.at)), event.steps);
            EXPECT_EQ(schedule.GetDroppedSteps(), event.dropped);
            EXPECT_EQ(schedule.DelayFrom(time(event.end)).count(), event.delay);
        }
    }
}

TEST(TickStatsTest, CountsStepsAndFramesAndTakesTheMedianAndNinetyFifthPercentileOfTheWork)
{
    using namespace std::chrono;
    using Clock = CTickStats::Clock;
    CTickStats stats;
    const Clock::time_point start = Clock::now();
    stats.Start(start);
    EXPECT_EQ(stats.GetWorkMedianMilliseconds(), 0.0);
    EXPECT_EQ(stats.GetSeconds(), 0.0);

    // Twenty events whose work takes 20, 19, ... 1 ms, one a quarter second;
    // two of them paused (no frame), some with made-up steps.
    for (int i = 0; i < 20; ++i)
    {
        const Clock::time_point at = start + milliseconds(250 * (i + 1));
        stats.AddEvent(i % 3 == 0 ? 2 : 1, i != 4 && i != 5, at, at + milliseconds(20 - i));
    }
    EXPECT_EQ(stats.GetSteps(), 27u);
    EXPECT_EQ(stats.GetFrames(), 18u);
    EXPECT_EQ(stats.GetEvents(), 20u);
    EXPECT_DOUBLE_EQ(stats.GetSeconds(), 5.001);
    EXPECT_EQ(stats.GetLastEventStart(), start + milliseconds(5000));
    EXPECT_NEAR(stats.GetWorkMedianMilliseconds(), 10.5, 1e-4);
    EXPECT_NEAR(stats.GetWorkPercentileMilliseconds(95), 19.0, 1e-4);
    EXPECT_NEAR(stats.GetWorkPercentileMilliseconds(100), 20.0, 1e-4);
    EXPECT_NEAR(stats.GetWorkPercentileMilliseconds(1), 1.0, 1e-4);
    EXPECT_EQ(stats.FormatLine(), "27 steps, 18 frames, 5.00 s: 5.40 steps/s, 3.60 frames/s; "
                                  "timer event work: median 10.50 ms, 95th percentile 19.00 ms");
    // An odd count has a middle value.
    stats.AddEvent(1, true, start + milliseconds(6000), start + milliseconds(6000) + microseconds(500));
    EXPECT_NEAR(stats.GetWorkMedianMilliseconds(), 10.0, 1e-4);

    stats.Start(start + seconds(10));
    EXPECT_EQ(stats.GetSteps(), 0u);
    EXPECT_EQ(stats.GetEvents(), 0u);
}

}  // namespace
