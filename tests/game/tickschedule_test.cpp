// The timetable of the timer's steps and the figures of a run.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tickschedule.h"
#include "tickstats.h"

namespace {

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
    };
    const Clock::time_point start = Clock::now();
    const auto time = [start](double ms) {
        return start + duration_cast<Clock::duration>(duration<double, std::milli>(ms));
    };
    for (std::size_t run = 0; run < runs.size(); ++run) {
        CTickSchedule schedule;
        schedule.Start(start);
        EXPECT_EQ(schedule.DelayFrom(start), milliseconds(25));
        for (const Event& event : runs[run]) {
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
    // Twenty events whose work takes 20, 19, ... 1 ms, one a quarter second;
    // two of them paused (no frame), some with made-up steps.
    for (int i = 0; i < 20; ++i) {
        const Clock::time_point at = start + milliseconds(250 * (i + 1));
        stats.AddEvent(i % 3 == 0 ? 2 : 1, i != 4 && i != 5, at, at + milliseconds(20 - i));
    }
    EXPECT_EQ(stats.FormatLine(),
              "27 steps, 18 frames, 5.00 s: 5.40 steps/s, 3.60 frames/s; "
              "timer event work: median 10.50 ms, 95th percentile 19.00 ms");
}

}  // namespace
