#include "soarerun.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "ORV_ProblemReport.h"
#include "datafolder.h"
#include "headlessgame.h"
#include "keyscript.h"
#include "tickstats.h"

namespace fs = std::filesystem;

int RunHeadlessGame(std::uint64_t ticks, const KeyScript& keys, std::ostream* trace, std::ostream* stats,
                    std::ostream& err)
{
    CHeadlessGame game;
    std::string error;
    if (!game.Start(error)) {
        err << "soare: " << error << std::endl;
        return 1;
    }
    if (trace)
        CHeadlessGame::WriteTraceHeader(*trace);
    CTickStats tickStats;
    tickStats.Start(CTickStats::Clock::now());
    for (std::uint64_t tick = 0; tick < ticks; ++tick) {
        const CTickStats::Clock::time_point start = CTickStats::Clock::now();
        game.Tick(keys.KeysAt(tick));
        tickStats.AddEvent(1, !game.GetModel().IsPaused(), start, CTickStats::Clock::now());
        if (trace)
            game.WriteTraceRow(*trace);
    }
    if (trace) {
        trace->flush();
        if (!*trace) {
            err << "soare: writing the trace failed" << std::endl;
            return 1;
        }
    }
    if (stats)
        *stats << tickStats.FormatLine() << std::endl;
    return 0;
}

int RunSoare(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
             const WindowedGameEntry& windowedGame)
{
    // A data file the game cannot use is told on err, in the window and headless alike.
    const ORV_ProblemReporterScope problems([&err](const std::string& line) { err << "soare: " << line << std::endl; });
    SoareOptions options;
    if (const std::optional<int> status = ParseCommandLine(argc, argv, options, out, err))
        return *status;

    // Files named on the command line are relative to where the user stands,
    // so they are read and opened before the program changes to its data
    // folder.
    // --input and --replay never come together: one script at most.
    KeyScript keys;
    if (const std::optional<fs::path>& script = options.input ? options.input : options.replay) {
        std::string error;
        if (!keys.ParseFile(*script, error)) {
            err << "soare: " << script->string() << ": " << error << std::endl;
            return 2;
        }
    }
    std::ofstream traceFile;
    std::ostream* trace = nullptr;
    if (options.trace) {
        if (*options.trace == "-") {
            trace = &out;
        } else {
            traceFile.open(*options.trace, std::ios::trunc);
            if (!traceFile) {
                err << "soare: " << options.trace->string() << ": cannot open for writing" << std::endl;
                return 2;
            }
            trace = &traceFile;
        }
    }
    if (options.record)
        options.record = fs::absolute(*options.record);

    std::string error;
    if (!EnterDataFolder(options.dataDir, error)) {
        err << "soare: " << error << std::endl;
        return 2;
    }
    if (!error.empty())
        err << "soare: warning: " << error << std::endl;

    if (options.headless)
        return RunHeadlessGame(options.ticks, keys, trace, options.stats ? &out : nullptr, err);
    return windowedGame(options, keys);
}
