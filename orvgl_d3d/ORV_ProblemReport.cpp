#include "ORV_ProblemReport.h"

#include <utility>

namespace {

ORV_ProblemReporter& Reporter()
{
    static ORV_ProblemReporter reporter;
    return reporter;
}

}  // namespace

ORV_ProblemReporter SetProblemReporter(ORV_ProblemReporter reporter)
{
    return std::exchange(Reporter(), std::move(reporter));
}

void ORV_ReportProblem(const std::string& line)
{
    // A copy: the reporter may install another one while it runs.
    if (const ORV_ProblemReporter reporter = Reporter())
        reporter(line);
}
