// The soare program's command line, run in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "GameTestSupport.h"
#include "ORVD3D_GraphicsSystem.h"
#include "keyscript.h"
#include "soarerun.h"

namespace fs = std::filesystem;

namespace {

struct Outcome
{
    int status;
    std::string out;
    std::string err;
    bool windowed;
    SoareOptions options;       // as the windowed game got them
    std::uint64_t replayTicks;  // of the script it got
};

Outcome RunProgramWith(std::vector<std::string> args)
{
    args.insert(args.begin(), "soare");
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::ostringstream out, err;
    bool windowed = false;
    SoareOptions given;
    std::uint64_t replayTicks = 0;
    const int status = RunSoare(static_cast<int>(argv.size()), argv.data(), out, err,
                                [&](const SoareOptions& options, const KeyScript& replay) {
                                    windowed = true;
                                    given = options;
                                    replayTicks = replay.TotalTicks();
                                    return 0;
                                });
    return {status, out.str(), err.str(), windowed, given, replayTicks};
}

TEST(CommandLineTest, BadArgumentsStopWithOneLineAndStatusTwo)
{
    ScopedDataFolder folder;
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    std::ofstream("bad.keys") << "# fine\n10 L\n5 LQ\n";
    std::ofstream("good.keys") << "3 R\n";
    const std::vector<std::vector<std::string>> bad = {
        {"--no-such-option"},
        {"--headless", "--ticks", "1000000001"},
        {"--headless", "--ticks", "3", "--vario"},
        {"--headless", "--ticks", "3", "--input", "bad.keys", "--trace", "trace.csv"},
        {"--headless", "--ticks", "3", "--trace", "no-such-folder/trace.csv"},
        {"--headless", "--ticks", "3", "--data-dir", "/nonexistent"},
        {"--replay", "missing.keys"},
        {"--replay", "good.keys", "--headless", "--ticks", "3"},
        {"--replay", "good.keys", "--record", "out.keys"},
    };
    for (const auto& args : bad) {
        const Outcome outcome = RunProgramWith(args);
        EXPECT_EQ(outcome.status, 2) << args.back();
        EXPECT_EQ(std::ranges::count(outcome.err, '\n'), 1) << args.back() << ": " << outcome.err;
        EXPECT_FALSE(outcome.windowed) << args.back();
    }
    // The problems are named: the line of the input file, the option.
    EXPECT_NE(RunProgramWith({"--headless", "--ticks", "3", "--input", "bad.keys"}).err.find("bad.keys: line 3: KEYS"),
              std::string::npos);
    // A replay's script is refused as the headless game's input is.
    EXPECT_EQ(RunProgramWith({"--replay", "bad.keys"}).err,
              RunProgramWith({"--headless", "--ticks", "3", "--input", "bad.keys"}).err);
    // Nothing ran: the trace of the refused run was never made.
    EXPECT_FALSE(fs::exists("trace.csv"));
}

TEST(CommandLineTest, HelpAndVersionAnswerAndStopAndTheRestReachesTheWindowedGame)
{
    ScopedDataFolder folder;
    for (const auto& [option, answer] : {std::pair{"--help", "--replay"}, {"--version", "soare "}}) {
        const Outcome outcome = RunProgramWith({option});
        EXPECT_TRUE(outcome.status == 0 && !outcome.windowed && outcome.out.find(answer) != std::string::npos)
            << outcome.out;
    }
    // No headless option: the windowed game.
    const Outcome windowed = RunProgramWith({});
    EXPECT_TRUE(windowed.windowed);
    EXPECT_FALSE(windowed.options.replay || windowed.options.stats || windowed.options.vario);
    // A replay reaches it read, from where the user stands.
    std::ofstream("flight.keys") << "# a flight\n30 R\n12 UP\n";
    const Outcome replay = RunProgramWith({"--replay", "flight.keys", "--stats"});
    EXPECT_EQ(replay.status, 0) << replay.err;
    ASSERT_TRUE(replay.windowed);
    EXPECT_TRUE(replay.options.stats);
    EXPECT_EQ(replay.replayTicks, 42u);
    EXPECT_TRUE(RunProgramWith({"--vario"}).options.vario);
}

}  // namespace
