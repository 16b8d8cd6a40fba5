#include "ORV_Clock.h"

#include <chrono>

long ORV_SteadyTimeSource::NowMilliseconds() const
{
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

ORV_Clock::ORV_Clock(std::shared_ptr<const ORV_TimeSource> source)
    : m_Source(source ? std::move(source) : std::make_shared<ORV_SteadyTimeSource>()),
      m_Time(m_Source->NowMilliseconds())
{}

float ORV_Clock::GetElapsedSeconds()
{
    const long now = m_Source->NowMilliseconds();
    const float elapsed = static_cast<float>(static_cast<double>(now - m_Time) / 1000.0);
    m_Time = now;
    return elapsed;
}
