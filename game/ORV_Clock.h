// The step timer of the simulation: each query returns the seconds since
// the previous one (or since construction, for the first).
//
// The time comes from a time source: by default the monotonic wall clock
// (the C library's clock() counts CPU time on Linux, which would freeze the
// game time), or a source a test or a replay steps by hand. The clock shares
// ownership of its source.
#pragma once

#include <memory>

// Milliseconds from an arbitrary fixed start.
class ORV_TimeSource
{
public:
    virtual ~ORV_TimeSource() = default;
    virtual long NowMilliseconds() const = 0;
};

// std::chrono::steady_clock.
class ORV_SteadyTimeSource : public ORV_TimeSource
{
public:
    long NowMilliseconds() const override;
};

// Time that moves only when told to.
class ORV_ManualTimeSource : public ORV_TimeSource
{
public:
    explicit ORV_ManualTimeSource(long start = 0) : m_Now(start) {}
    long NowMilliseconds() const override { return m_Now; }
    void Advance(long milliseconds) { m_Now += milliseconds; }

private:
    long m_Now;
};

class ORV_Clock
{
public:
    // A null source means the steady wall clock. Reads the source now.
    explicit ORV_Clock(std::shared_ptr<const ORV_TimeSource> source = nullptr);

    // (now - previous reading) / 1000.0 as a double, rounded to float; the
    // reading becomes the new previous one.
    float GetElapsedSeconds();

private:
    std::shared_ptr<const ORV_TimeSource> m_Source;
    long m_Time;
};
