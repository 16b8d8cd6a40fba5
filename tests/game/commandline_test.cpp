// The soare program's command line, run in-process, and the data folder it
// finds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "GameTestSupport.h"
#include "ORVD3D_GraphicsSystem.h"
#include "datafolder.h"
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
    std::ostringstream out;
    std::ostringstream err;
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

int Lines(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class CommandLineTest : public ::testing::Test
{
protected:
    void SetUp() override { ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT(); }
    void WriteFile(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }

    ScopedDataFolder m_Folder;
};

TEST_F(CommandLineTest, BadArgumentsStopWithOneLineAndStatusTwo)
{
    WriteFile("bad.keys", "# fine\n10 L\n5 LQ\n");
    WriteFile("good.keys", "3 R\n");
    const std::vector<std::vector<std::string>> bad = {
        {"--no-such-option"},
        {"--ticks", "10"},
        {"--headless"},
        {"--headless", "--ticks", "ten"},
        {"--headless", "--ticks", "-1"},
        {"--headless", "--ticks", "1000000001"},
        {"--input", "bad.keys"},
        {"--headless", "--ticks", "3", "--record", "out.keys"},
        {"--headless", "--ticks", "3", "--vario"},
        {"--headless", "--ticks", "3", "--input", "missing.keys"},
        {"--headless", "--ticks", "3", "--input", "bad.keys", "--trace", "trace.csv"},
        {"--headless", "--ticks", "3", "--trace", "no-such-folder/trace.csv"},
        {"--headless", "--ticks", "3", "--data-dir", "/nonexistent"},
        {"--headless", "--ticks", "3", "--trace", ""},
        {"--replay", "bad.keys"},
        {"--replay", "missing.keys"},
        {"--replay", ""},
        {"--replay", "good.keys", "--headless", "--ticks", "3"},
        {"--replay", "good.keys", "--record", "out.keys"},
        {"--replay", "good.keys", "--input", "good.keys"},
        {"stray"},
    };
    for (const auto& args : bad)
    {
        const Outcome outcome = RunProgramWith(args);
        std::string shown;
        for (const std::string& arg : args)
            shown += arg + ' ';
        EXPECT_EQ(outcome.status, 2) << shown;
        EXPECT_EQ(Lines(outcome.err), 1) << shown << ": " << outcome.err;
        EXPECT_EQ(outcome.err.rfind("soare: ", 0), 0u) << shown;
        EXPECT_TRUE(outcome.out.empty()) << shown;
        EXPECT_FALSE(outcome.windowed) << shown;
    }
    // The problems are named: the line of the input file, the option.
    EXPECT_NE(RunProgramWith({"--headless", "--ticks", "3", "--input", "bad.keys"}).err.find("bad.keys: line 3: KEYS"),
              std::string::npos);
    EXPECT_NE(RunProgramWith({"--ticks", "3"}).err.find("--headless"), std::string::npos);
    // A replay's script is refused as the headless game's input is.
    EXPECT_EQ(RunProgramWith({"--replay", "bad.keys"}).err,
              RunProgramWith({"--headless", "--ticks", "3", "--input", "bad.keys"}).err);
    // Nothing ran: the trace of the refused run was never made.
    EXPECT_FALSE(fs::exists("trace.csv"));
}

TEST_F(CommandLineTest, HelpAndVersionAnswerAndStop)
{
    const Outcome help = RunProgramWith({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--headless", "--ticks", "--input", "--trace", "--record", "--data-dir", "--version"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    const Outcome version = RunProgramWith({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("soare ", 0), 0u);
    EXPECT_FALSE(help.windowed || version.windowed);
    // No headless option: the windowed game.
    const Outcome windowed = RunProgramWith({});
    EXPECT_TRUE(windowed.windowed);
    EXPECT_FALSE(windowed.options.replay || windowed.options.stats);
    // A replay reaches it read, from where the user stands.
    WriteFile("flight.keys", "# a flight\n30 R\n12 UP\n");
    const Outcome replay = RunProgramWith({"--replay", "flight.keys", "--stats"});
    EXPECT_EQ(replay.status, 0) << replay.err;
    ASSERT_TRUE(replay.windowed);
    EXPECT_TRUE(replay.options.stats);
    EXPECT_EQ(replay.replayTicks, 42u);
    for (const char* option : {"--replay", "--stats"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST_F(CommandLineTest, TheHeadlessRunWritesOneTraceRowPerTick)
{
    WriteFile("pause.keys", "2 L\n1 P\n3 -\n");
    const Outcome run = RunProgramWith({"--headless", "--ticks", "8", "--input", "pause.keys", "--trace", "-"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "tick,x,y,z,qx,qy,qz,qw,roll,pitch,speed,landed,paused,time");
    std::vector<std::string> rows;
    while (std::getline(lines, line))
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].rfind("1,", 0), 0u);
    EXPECT_EQ(rows[7].rfind("8,", 0), 0u);
    // Two ticks of Left, then P held and released (tick 4): paused from
    // tick 4 on, and the rows stand still while the ticks go on.
    EXPECT_NE(rows[1].find(",2,0,0.100000001,0,0,0.0500000007"), std::string::npos) << rows[1];
    EXPECT_NE(rows[3].find(",0,1,0.075000003"), std::string::npos) << rows[3];
    EXPECT_EQ(rows[7].substr(rows[7].find(',')), rows[3].substr(rows[3].find(',')));

    // --stats: one more line when the run ends, the paused ticks drawing no
    // frame.
    const Outcome measured = RunProgramWith({"--headless", "--ticks", "8", "--input", "pause.keys", "--stats"});
    ASSERT_EQ(measured.status, 0) << measured.err;
    EXPECT_EQ(Lines(measured.out), 1) << measured.out;
    EXPECT_EQ(measured.out.rfind("8 steps, 3 frames, ", 0), 0u) << measured.out;
    EXPECT_NE(measured.out.find(" steps/s, "), std::string::npos) << measured.out;
    EXPECT_NE(measured.out.find("95th percentile"), std::string::npos) << measured.out;

    // Without --input no key is held; a trace file is written where the
    // user stands, not in the data folder.
    std::string pattern = (fs::temp_directory_path() / "soare-trace-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path elsewhere = pattern;
    fs::current_path(elsewhere);
    const Outcome quiet =
        RunProgramWith({"--headless", "--ticks", "2", "--trace", "t.csv", "--data-dir", m_Folder.Path().string()});
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_TRUE(quiet.out.empty());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), m_Folder.Path()));  // the run changed to its data folder
    std::ifstream trace(elsewhere / "t.csv");
    std::string header, first;
    std::getline(trace, header);
    std::getline(trace, first);
    EXPECT_EQ(first.find("1,3.22500038,6.0999999,-25.3999996,"), 0u) << first;
    fs::remove_all(elsewhere);
}

TEST(DataFolderTest, TheFirstFolderHoldingTheDataWins)
{
    std::string pattern = (fs::temp_directory_path() / "soare-data-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    const fs::path build = root / "build";
    const fs::path run = build / "run";
    const fs::path installed = root / "share" / "soare";
    const fs::path cwd = root / "somewhere";
    for (const fs::path& dir : {run / "bin", installed / "MeshFiles", cwd})
        fs::create_directories(dir);
    std::string error;

    // Nothing anywhere but the install folder.
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "bin" / "soare", installed, error), installed);
    // Beside the program, or above it, before the install folder.
    fs::create_directories(run / "MeshFiles");
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "bin" / "soare", installed, error), run);
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "soare", installed, error), run);
    // The working directory before both.
    fs::create_directories(cwd / "MeshFiles");
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, run / "soare", installed, error), cwd);
    // An explicit --data-dir before everything; it must hold the data.
    EXPECT_EQ(FindDataFolder(cwd, installed, run / "soare", installed, error), installed);
    EXPECT_FALSE(FindDataFolder(cwd, build, run / "soare", installed, error));
    EXPECT_NE(error.find("--data-dir"), std::string::npos);
    // An installed tree moved away from its configured prefix: share/soare
    // beside bin/ is found from the program's own place.
    fs::remove_all(cwd / "MeshFiles");
    fs::remove_all(run / "MeshFiles");
    const fs::path moved = root / "moved";
    fs::create_directories(moved / "bin");
    fs::create_directories(moved / "share" / "soare" / "MeshFiles");
    EXPECT_EQ(FindDataFolder(cwd, std::nullopt, moved / "bin" / "soare", root / "nowhere", error),
              moved / "share" / "soare");
    // None at all.
    fs::remove_all(moved);
    fs::remove_all(installed);
    EXPECT_FALSE(FindDataFolder(cwd, std::nullopt, run / "soare", root / "nowhere", error));
    EXPECT_NE(error.find("MeshFiles"), std::string::npos);
    fs::remove_all(root);
}

}  // namespace
