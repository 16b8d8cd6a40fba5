#include "tickstats.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Two decimals with a point whatever the locale, so scripts can read the line.
std::string Fixed(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return std::string(text, result.ptr);
}

}  // namespace

void CTickStats::Start(Clock::time_point now)
{
    m_Start = now;
    m_LastStart = now;
    m_LastEnd = now;
    m_Steps = 0;
    m_Frames = 0;
    m_WorkMilliseconds.clear();
}

void CTickStats::AddEvent(int steps, bool drewFrame, Clock::time_point start, Clock::time_point end)
{
    m_Steps += static_cast<std::uint64_t>(std::max(steps, 0));
    if (drewFrame)
        ++m_Frames;
    m_WorkMilliseconds.push_back(std::chrono::duration<float, std::milli>(end - start).count());
    m_LastStart = start;
    m_LastEnd = std::max(m_LastEnd, end);
}

double CTickStats::GetSeconds() const
{
    return std::chrono::duration<double>(m_LastEnd - m_Start).count();
}

std::vector<double> CTickStats::SortedWork() const
{
    std::vector<double> sorted(m_WorkMilliseconds.begin(), m_WorkMilliseconds.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

double CTickStats::GetWorkPercentileMilliseconds(double p) const
{
    const std::vector<double> sorted = SortedWork();
    if (sorted.empty())
        return 0.0;
    // Nearest rank: the smallest value with at least p percent at or below it.
    const double rank = std::ceil(std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(sorted.size()));
    const std::size_t index = rank < 1.0 ? 0 : static_cast<std::size_t>(rank) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

double CTickStats::GetWorkMedianMilliseconds() const
{
    const std::vector<double> sorted = SortedWork();
    if (sorted.empty())
        return 0.0;
    const std::size_t half = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[half] : (sorted[half - 1] + sorted[half]) / 2.0;
}

std::string CTickStats::FormatLine() const
{
    const double seconds = GetSeconds();
    const auto perSecond = [seconds](std::uint64_t count) {
        return Fixed(seconds > 0.0 ? static_cast<double>(count) / seconds : 0.0);
    };
    return std::to_string(m_Steps) + " steps, " + std::to_string(m_Frames) + " frames, " + Fixed(seconds) +
           " s: " + perSecond(m_Steps) + " steps/s, " + perSecond(m_Frames) + " frames/s; timer event work: median " +
           Fixed(GetWorkMedianMilliseconds()) + " ms, 95th percentile " + Fixed(GetWorkPercentileMilliseconds(95.0)) +
           " ms";
}
