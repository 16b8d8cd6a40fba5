// The timetable of the game's steps in the window: one step falls due every
// 25 ms from the start. A timer event runs the steps that fell due by its
// time, so the flight keeps 40 steps a second even when a frame takes longer
// than 25 ms to draw; at most kMaxStepsPerEvent of them, so that a long stall
// (a dragged window, a suspended laptop) is dropped instead of being made up
// in one burst.
//
// Only arithmetic on times handed in: the window reads the clock and arms
// its timer.
#pragma once

#include <chrono>
#include <cstdint>

class CTickSchedule
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kStep{25};
    static constexpr int kMaxStepsPerEvent = 4;

    // The first step falls due one step after now.
    void Start(Clock::time_point now);

    // A timer event at now: the number of steps to run (1 to
    // kMaxStepsPerEvent), counted off the timetable. An event that comes
    // early still runs one step, as every timer event did before steps were
    // made up; steps due past the fourth are dropped, and the timetable goes
    // on from the first step due after now.
    int TakeDueSteps(Clock::time_point now);

    // How long the timer should wait, from now, for the next step: never
    // less than a millisecond, so that a late event still lets the toolkit
    // repaint before the next one.
    std::chrono::milliseconds DelayFrom(Clock::time_point now) const;

    Clock::time_point GetNextDue() const { return m_NextDue; }
    std::uint64_t GetDroppedSteps() const { return m_Dropped; }

private:
    Clock::time_point m_NextDue{};
    std::uint64_t m_Dropped = 0;
};
