#include "commandline.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

#ifndef SOARE_VERSION
#define SOARE_VERSION "unknown"
#endif

namespace {

// CLI11's texts may run over several lines; the program reports one.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, const char* const* argv, SoareOptions& options, std::ostream& out,
                                    std::ostream& err)
{
    CLI::App app{"Soare!: guide the soarer around the island to the target.", "soare"};
    app.set_version_flag("--version", std::string("soare ") + SOARE_VERSION);

    std::string dataDir;
    std::string input;
    std::string trace;
    std::string record;
    std::string replay;
    CLI::Option* headless = app.add_flag("--headless", options.headless, "Run the game with no window and no graphics");
    CLI::Option* ticks = app.add_option("--ticks", options.ticks, "Number of ticks (25 ms each) to run headless")
                             ->check(CLI::Range(std::uint64_t{0}, kMaxTicks));
    CLI::Option* inputOption =
        app.add_option("--input", input, "Key script to replay headless: lines of 'COUNT KEYS' (L R U D P, or -)");
    CLI::Option* traceOption = app.add_option(
        "--trace", trace, "Write a CSV line of the craft's state after every tick ('-': standard output)");
    CLI::Option* recordOption = app.add_option("--record", record, "Write the keys held at every tick to a key script");
    CLI::Option* replayOption = app.add_option(
        "--replay", replay, "Play a key script in the window at 40 steps a second (P pauses the viewing)");
    app.add_flag("--stats", options.stats,
                 "At the end, print steps, drawn frames, seconds, steps/s, frames/s and the median and 95th-percentile "
                 "milliseconds of a timer event's work");
    CLI::Option* dataDirOption =
        app.add_option("--data-dir", dataDir, "Folder holding MeshFiles/, Textures/ and Sound/");
    app.add_flag("--vario", options.vario, "Start with the audio variometer on (V toggles it)")->excludes(headless);

    headless->needs(ticks);
    ticks->needs(headless);
    inputOption->needs(headless);
    traceOption->needs(headless);
    recordOption->excludes(headless);
    replayOption->excludes(headless);
    replayOption->excludes(recordOption);
    for (CLI::Option* option : {inputOption, traceOption, recordOption, replayOption, dataDirOption})
        option->check([](const std::string& value) { return value.empty() ? "must not be empty" : ""; });

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {
        return app.exit(success, out, err);
    } catch (const CLI::ParseError& error) {
        err << "soare: " << OneLine(error.what()) << " (see soare --help)" << std::endl;
        return 2;
    }

    if (inputOption->count() > 0)
        options.input = input;
    if (traceOption->count() > 0)
        options.trace = trace;
    if (recordOption->count() > 0)
        options.record = record;
    if (replayOption->count() > 0)
        options.replay = replay;
    if (dataDirOption->count() > 0)
        options.dataDir = dataDir;
    return std::nullopt;
}
