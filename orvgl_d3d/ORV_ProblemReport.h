// Problems with the player's data (a mesh or texture that cannot be loaded)
// told to whoever runs the program, beside the status echo that nothing in
// the game shows.
//
// The library does not know the program's name or where its messages go:
// the program installs a reporter (the game writes "soare: LINE" to standard
// error). With none installed a report goes nowhere.
#pragma once

#include <functional>
#include <string>

// Receives one line of UTF-8 text without a line end, already safe to print
// (one line, short, no control characters).
using ORV_ProblemReporter = std::function<void(const std::string& line)>;

// Installs reporter (an empty one silences reports) and returns the
// previous one.
ORV_ProblemReporter SetProblemReporter(ORV_ProblemReporter reporter);

// Passes line to the installed reporter, if any.
void ORV_ReportProblem(const std::string& line);

// Installs a reporter for its lifetime and puts back the previous one.
class ORV_ProblemReporterScope
{
public:
    explicit ORV_ProblemReporterScope(ORV_ProblemReporter reporter)
        : m_Previous(SetProblemReporter(std::move(reporter)))
    {}
    ~ORV_ProblemReporterScope() { SetProblemReporter(std::move(m_Previous)); }
    ORV_ProblemReporterScope(const ORV_ProblemReporterScope&) = delete;
    ORV_ProblemReporterScope& operator=(const ORV_ProblemReporterScope&) = delete;

private:
    ORV_ProblemReporter m_Previous;
};
