// What a run of the game did, for --stats: how many steps it ran and frames
// it drew in how many seconds, and how long the work of one timer event (its
// steps and its drawing) took. Every event's work is kept, so that the median
// and the 95th percentile are exact.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class CTickStats
{
public:
    using Clock = std::chrono::steady_clock;

    // Forgets everything; the run's seconds count from now.
    void Start(Clock::time_point now);

    // One timer event that ran steps steps, drew a frame or not, and worked
    // from start to end.
    void AddEvent(int steps, bool drewFrame, Clock::time_point start, Clock::time_point end);

    std::uint64_t GetSteps() const { return m_Steps; }
    std::uint64_t GetFrames() const { return m_Frames; }
    std::uint64_t GetEvents() const { return m_WorkMilliseconds.size(); }
    // From Start to the end of the last event (0 before any).
    double GetSeconds() const;
    // When the last event began (the start before any).
    Clock::time_point GetLastEventStart() const { return m_LastStart; }
    // The p-th percentile (0 < p <= 100, nearest rank) of the events' work
    // in milliseconds, and the median (the mean of the middle two of an even
    // count); 0 without events.
    double GetWorkPercentileMilliseconds(double p) const;
    double GetWorkMedianMilliseconds() const;

    // The one line --stats prints, without a line end, for example
    // "1200 steps, 1187 frames, 30.01 s: 39.99 steps/s, 39.55 frames/s;
    // timer event work: median 11.84 ms, 95th percentile 16.20 ms".
    std::string FormatLine() const;

private:
    std::vector<double> SortedWork() const;

    Clock::time_point m_Start{};
    Clock::time_point m_LastStart{};
    Clock::time_point m_LastEnd{};
    std::uint64_t m_Steps = 0;
    std::uint64_t m_Frames = 0;
    std::vector<float> m_WorkMilliseconds;
};
