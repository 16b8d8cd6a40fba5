// The soare program run in-process and as a process: the headless run's
// trace, the landing replay (tests/game/landing.keys), and damaged data
// told once on stderr.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "GameTestSupport.h"
#include "ORVD3D_GraphicsSystem.h"
#include "keyscript.h"
#include "soarerun.h"

namespace fs = std::filesystem;

namespace {

// Runs the program in-process; the windowed game, if asked for, is not run.
int RunSoareWith(std::vector<std::string> args, std::string& out, std::string& err)
{
    args.insert(args.begin(), "soare");
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    std::ostringstream o, e;
    const int status = RunSoare(static_cast<int>(argv.size()), argv.data(), o, e,
                                [](const SoareOptions&, const KeyScript&) { return 1; });
    out = o.str();
    err = e.str();
    return status;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(SoareRunTest, TheHeadlessRunWritesOneTraceRowPerTickAndStatsWhenAsked)
{
    ScopedDataFolder folder;
    std::ofstream("pause.keys") << "2 L\n1 P\n3 -\n";
    std::string out, err;
    ASSERT_EQ(RunSoareWith({"--headless", "--ticks", "8", "--input", "pause.keys", "--trace", "-"}, out, err), 0)
        << err;
    const std::vector<std::string> rows = Lines(out);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], "tick,x,y,z,qx,qy,qz,qw,roll,pitch,speed,landed,paused,time");
    EXPECT_EQ(rows[8].rfind("8,", 0), 0u);
    // Two ticks of Left, then P held and released (tick 4): paused from
    // tick 4 on, and the rows stand still while the ticks go on.
    EXPECT_NE(rows[2].find(",2,0,0.100000001,0,0,0.0500000007"), std::string::npos) << rows[2];
    EXPECT_NE(rows[4].find(",0,1,0.075000003"), std::string::npos) << rows[4];
    EXPECT_EQ(rows[8].substr(rows[8].find(',')), rows[4].substr(rows[4].find(',')));

    // --stats: one line when the run ends; the paused ticks draw no frame.
    ASSERT_EQ(RunSoareWith({"--headless", "--ticks", "8", "--input", "pause.keys", "--stats"}, out, err), 0) << err;
    ASSERT_EQ(Lines(out).size(), 1u) << out;
    EXPECT_EQ(out.rfind("8 steps, 3 frames, ", 0), 0u) << out;
}

TEST(SoareRunTest, TheRecordedApproachLandsOnTheTargetAndTheTimeThenStandsStill)
{
    const std::string keysFile = std::string(SOARE_TEST_SOURCE_DIR) + "/landing.keys";
    KeyScript keys;
    std::string error;
    ASSERT_TRUE(keys.ParseFile(keysFile, error)) << keysFile << ": " << error;
    const std::uint64_t ticks = keys.TotalTicks() + 120;

    // The real program, in a private copy of the data.
    ScopedDataFolder folder;
    const std::string command = std::string("'") + SOARE_TEST_EXECUTABLE + "' --headless --ticks " +
                                std::to_string(ticks) + " --input '" + keysFile + "' --trace - 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string trace;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        trace.append(buffer, n);
    ASSERT_EQ(pclose(pipe), 0) << trace.substr(0, 500);

    struct Row
    {
        long tick;
        double x, y, z, speed, time;
        int landed, paused;
    };
    std::vector<Row> rows;
    const std::vector<std::string> lines = Lines(trace);
    ASSERT_EQ(lines.size(), ticks + 1);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        Row row{};
        double skip;
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "%ld,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%d,%d,%lf", &row.tick,
                              &row.x, &row.y, &row.z, &skip, &skip, &skip, &skip, &skip, &skip, &row.speed, &row.landed,
                              &row.paused, &row.time),
                  14)
            << lines[i];
        rows.push_back(row);
    }
    std::size_t landing = 0;
    while (landing < rows.size() && rows[landing].landed != 1)
        ++landing;
    ASSERT_LT(landing, rows.size()) << "the craft never landed";
    // Landed on the target: within the zone, just above the roof, slow.
    const Row& at = rows[landing];
    EXPECT_EQ(static_cast<std::uint64_t>(at.tick), keys.TotalTicks());
    EXPECT_LE(std::hypot(at.x - 23.0, at.z - 16.0), 1.0);
    EXPECT_LE(std::fabs(at.y - 5.05), 0.15);
    EXPECT_LE(at.speed, 0.05);
    EXPECT_EQ(at.paused, 0);
    EXPECT_NEAR(at.time, at.tick * 0.025, 0.01);
    EXPECT_LT(rows[landing - 1].time, at.time);
    // From then on the flag stays, the clock stands and the craft moves on.
    for (std::size_t i = landing; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].landed, 1) << "tick " << rows[i].tick;
        EXPECT_EQ(rows[i].time, at.time) << "tick " << rows[i].tick;
    }
    EXPECT_GT(std::hypot(rows.back().x - at.x, rows.back().z - at.z), 4.0);

    // The same driver in-process gives the same trace, byte for byte.
    std::string out, err;
    ASSERT_EQ(
        RunSoareWith({"--headless", "--ticks", std::to_string(ticks), "--input", keysFile, "--trace", "-"}, out, err),
        0)
        << err;
    EXPECT_EQ(out, trace);
}

// A run of the program, headless, in a private copy of the data whose craft
// mesh damage() has replaced (it runs in that folder).
struct DamagedRun
{
    int status = 0;
    std::vector<std::string> rows;
    std::vector<std::string> problems;  // the lines written to stderr
};

std::string CraftMeshText()
{
    std::ifstream file(ScopedDataFolder::RunFolder() / "MeshFiles" / "shusui.x", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The folder links its meshes to the shared run folder: the link goes
// first, so the damage lands in the copy only.
void ReplaceCraftMesh(const std::string& text)
{
    std::filesystem::remove("MeshFiles/shusui.x");
    std::ofstream("MeshFiles/shusui.x", std::ios::binary) << text;
}

// The craft mesh with its first vertex lines replaced by lines.
std::string WithFirstVertices(std::string text, const std::vector<std::string>& lines)
{
    std::size_t at = text.find('\n', text.find("Mesh {")) + 1;  // the vertex count
    at = text.find('\n', at) + 1;
    for (const std::string& line : lines) {
        const std::size_t end = text.find('\n', at);
        text.replace(at, end - at, line);
        at = text.find('\n', at) + 1;
    }
    return text;
}

DamagedRun FlyWithCraftMesh(const std::function<void()>& damage)
{
    ScopedDataFolder folder;
    damage();
    // Banks both ways, climbs and dives: more of the flight than a straight
    // line, with the craft pushed out of blocks on the way.
    std::ofstream("flight.keys") << "150 L\n100 U\n250 -\n150 R\n100 D\n250 -\n";
    DamagedRun run;
    std::string out, err;
    run.status = RunSoareWith({"--headless", "--ticks", "1000", "--input", "flight.keys", "--trace", "-", "--data-dir",
                               folder.Path().string()},
                              out, err);
    run.rows = Lines(out);
    run.rows.erase(run.rows.begin());  // the header
    run.problems = Lines(err);
    return run;
}

// Every field of every row a finite number, and the craft inside the
// world (the ocean is 400 units across; nothing lifts it past 1000).
void ExpectFiniteFlightInTheWorld(const DamagedRun& run)
{
    ASSERT_EQ(run.rows.size(), 1000u);
    for (const std::string& row : run.rows) {
        std::istringstream fields(row);
        std::string field;
        std::vector<double> values;
        while (std::getline(fields, field, ','))
            values.push_back(std::strtod(field.c_str(), nullptr));
        ASSERT_EQ(values.size(), 14u) << row;
        for (const double value : values)
            ASSERT_TRUE(std::isfinite(value)) << row;
        ASSERT_LE(std::fabs(values[1]), 200.0) << row;
        ASSERT_LE(std::fabs(values[3]), 200.0) << row;
        ASSERT_TRUE(values[2] >= 0.0 && values[2] <= 1000.0) << row;
    }
}

TEST(DamagedDataTest, EveryDamagedCraftMeshIsToldOnceAndFliesAsAMissingOne)
{
    const DamagedRun intact = FlyWithCraftMesh([] {});
    ASSERT_EQ(intact.status, 0);
    EXPECT_TRUE(intact.problems.empty());
    ExpectFiniteFlightInTheWorld(intact);
    const DamagedRun missing = FlyWithCraftMesh([] { std::filesystem::remove("MeshFiles/shusui.x"); });
    ASSERT_EQ(missing.status, 0);
    EXPECT_EQ(
        missing.problems,
        std::vector<std::string>{"soare: shusui.x: not found (looked in the working folder, Textures and MeshFiles)"});
    ExpectFiniteFlightInTheWorld(missing);
    // The craft's size matters to the flight: the cases below would pass
    // for nothing if it did not.
    ASSERT_NE(intact.rows, missing.rows);

    const std::string mesh = CraftMeshText();
    ASSERT_NE(mesh.find("Mesh {"), std::string::npos);
    struct Case
    {
        const char* what;
        std::function<void()> damage;
        const char* told;  // the start of the one line on stderr
    };
    const Case cases[] = {
        {"cut in half", [&] { ReplaceCraftMesh(mesh.substr(0, mesh.size() / 2)); }, "soare: MeshFiles/shusui.x: line "},
        {"one vertex at 3e38", [&] { ReplaceCraftMesh(WithFirstVertices(mesh, {" 3e38;0;0;,"})); },
         "soare: shusui.x: the craft's size from this mesh ("},
        {"a pipe",
         [] {
             std::filesystem::remove("MeshFiles/shusui.x");
             ASSERT_EQ(mkfifo("MeshFiles/shusui.x", 0600), 0);
         },
         "soare: MeshFiles/shusui.x: not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DamagedRun run = FlyWithCraftMesh(c.damage);
        EXPECT_EQ(run.status, 0);
        ASSERT_EQ(run.problems.size(), 1u);
        EXPECT_EQ(run.problems[0].rfind(c.told, 0), 0u) << run.problems[0];
        ExpectFiniteFlightInTheWorld(run);
        EXPECT_EQ(run.rows, missing.rows);
    }
}

}  // namespace
