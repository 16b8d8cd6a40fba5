#include "tickschedule.h"

void CTickSchedule::Start(Clock::time_point now)
{
    m_NextDue = now + kStep;
    m_Dropped = 0;
}

int CTickSchedule::TakeDueSteps(Clock::time_point now)
{
    // Steps due by now: the one at m_NextDue and every whole step after it.
    std::int64_t due = 1;
    if (now >= m_NextDue)
        due += (now - m_NextDue) / kStep;
    m_NextDue += due * kStep;
    if (due <= kMaxStepsPerEvent)
        return static_cast<int>(due);
    m_Dropped += static_cast<std::uint64_t>(due - kMaxStepsPerEvent);
    return kMaxStepsPerEvent;
}

std::chrono::milliseconds CTickSchedule::DelayFrom(Clock::time_point now) const
{
    using namespace std::chrono;
    constexpr milliseconds kLeastDelay{1};
    if (m_NextDue <= now + kLeastDelay)
        return kLeastDelay;
    // Rounded up: a timer never fires before its step is due.
    return ceil<milliseconds>(m_NextDue - now);
}
