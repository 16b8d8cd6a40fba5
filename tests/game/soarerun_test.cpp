// The soare program run in-process: the headless run's trace, the landing
// replay (tests/game/landing.keys), and damaged data told once on stderr.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
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

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A trace row's fields: tick,x,y,z,qx,qy,qz,qw,roll,pitch,speed,landed,paused,time.
std::vector<double> Fields(const std::string& row)
{
    std::istringstream in(row);
    std::vector<double> v;
    for (std::string field; std::getline(in, field, ',');)
        v.push_back(std::strtod(field.c_str(), nullptr));
    return v;
}

// Runs the program in-process, headless; the rows of its output and the
// lines of its errors.
int RunSoareWith(std::vector<std::string> args, std::vector<std::string>& out, std::vector<std::string>& err)
{
    args.insert(args.begin(), "soare");
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    std::ostringstream o, e;
    const int status = RunSoare(static_cast<int>(argv.size()), argv.data(), o, e,
                                [](const SoareOptions&, const KeyScript&) { return 1; });
    out = Lines(o.str());
    err = Lines(e.str());
    return status;
}

TEST(SoareRunTest, TheHeadlessRunWritesOneTraceRowPerTickAndStatsWhenAsked)
{
    ScopedDataFolder folder;
    std::ofstream("pause.keys") << "2 L\n1 P\n3 -\n";
    std::vector<std::string> rows, err;
    ASSERT_EQ(RunSoareWith({"--headless", "--ticks", "8", "--input", "pause.keys", "--trace", "-"}, rows, err), 0);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], "tick,x,y,z,qx,qy,qz,qw,roll,pitch,speed,landed,paused,time");
    // Two ticks of Left, then P held and released (tick 4): paused from
    // tick 4 on, and the rows stand still while the ticks go on.
    EXPECT_NE(rows[2].find(",2,0,0.100000001,0,0,0.0500000007"), std::string::npos) << rows[2];
    EXPECT_NE(rows[4].find(",0,1,0.075000003"), std::string::npos) << rows[4];
    EXPECT_EQ(rows[8].substr(rows[8].find(',')), rows[4].substr(rows[4].find(',')));
    // --stats: one line when the run ends; the paused ticks draw no frame.
    ASSERT_EQ(RunSoareWith({"--headless", "--ticks", "8", "--input", "pause.keys", "--stats"}, rows, err), 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].rfind("8 steps, 3 frames, ", 0), 0u) << rows[0];
}

TEST(SoareRunTest, TheRecordedApproachLandsOnTheTargetAndTheTimeThenStandsStill)
{
    const std::string keysFile = std::string(SOARE_TEST_SOURCE_DIR) + "/landing.keys";
    KeyScript keys;
    std::string error;
    ASSERT_TRUE(keys.ParseFile(keysFile, error)) << keysFile << ": " << error;
    const std::uint64_t ticks = keys.TotalTicks() + 120;
    ScopedDataFolder folder;
    std::vector<std::string> lines, err;
    ASSERT_EQ(
        RunSoareWith({"--headless", "--ticks", std::to_string(ticks), "--input", keysFile, "--trace", "-"}, lines, err),
        0);
    ASSERT_EQ(lines.size(), ticks + 1);
    std::vector<std::vector<double>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i)
        rows.push_back(Fields(lines[i]));
    enum { Tick = 0, X = 1, Y = 2, Z = 3, Speed = 10, Landed = 11, Paused = 12, Time = 13 };
    const auto landing = static_cast<std::size_t>(
        std::ranges::find_if(rows, [](const auto& r) { return r[Landed] == 1; }) - rows.begin());
    ASSERT_LT(landing, rows.size()) << "the craft never landed";
    // Landed on the target: within the zone, just above the roof, slow.
    const std::vector<double>& at = rows[landing];
    EXPECT_EQ(at[Tick], static_cast<double>(keys.TotalTicks()));
    EXPECT_LE(std::hypot(at[X] - 23.0, at[Z] - 16.0), 1.0);
    EXPECT_LE(std::fabs(at[Y] - 5.05), 0.15);
    EXPECT_LE(at[Speed], 0.05);
    EXPECT_EQ(at[Paused], 0);
    EXPECT_NEAR(at[Time], at[Tick] * 0.025, 0.01);
    // From then on the flag stays, the clock stands and the craft moves on.
    for (std::size_t i = landing; i < rows.size(); ++i)
        EXPECT_TRUE(rows[i][Landed] == 1 && rows[i][Time] == at[Time]) << "tick " << rows[i][Tick];
    EXPECT_GT(std::hypot(rows.back()[X] - at[X], rows.back()[Z] - at[Z]), 4.0);
}

// A headless flight in a private copy of the data whose craft mesh damage()
// has replaced; the craft ends inside the world (the ocean is 400 units
// across; nothing lifts it past 1000).
struct DamagedRun
{
    std::vector<std::string> rows, problems;
};

DamagedRun FlyWithCraftMesh(const std::function<void()>& damage)
{
    ScopedDataFolder folder;
    damage();
    // Banks both ways, climbs and dives, pushed out of blocks on the way.
    std::ofstream("flight.keys") << "150 L\n100 U\n250 -\n150 R\n100 D\n250 -\n";
    DamagedRun run;
    EXPECT_EQ(RunSoareWith({"--headless", "--ticks", "1000", "--input", "flight.keys", "--trace", "-", "--data-dir",
                            folder.Path().string()},
                           run.rows, run.problems),
              0);
    EXPECT_EQ(run.rows.size(), 1001u);
    // A non-finite number stays so, and a craft flung off the world stays off it: the last row shows both.
    const std::vector<double> last = Fields(run.rows.back());
    EXPECT_TRUE(last.size() == 14 && std::all_of(last.begin(), last.end(), [](double v) { return std::isfinite(v); }) &&
                std::fabs(last[1]) <= 200.0 && std::fabs(last[3]) <= 200.0 && last[2] >= 0.0 && last[2] <= 1000.0)
        << run.rows.back();
    return run;
}

// The folder links its meshes to the shared run folder: the link goes
// first, so the damage lands in the copy only.
void ReplaceCraftMesh(const std::string& text)
{
    std::filesystem::remove("MeshFiles/shusui.x");
    std::ofstream("MeshFiles/shusui.x", std::ios::binary) << text;
}

TEST(DamagedDataTest, EveryDamagedCraftMeshIsToldOnceAndFliesAsAMissingOne)
{
    const DamagedRun intact = FlyWithCraftMesh([] {});
    EXPECT_TRUE(intact.problems.empty());
    const DamagedRun missing = FlyWithCraftMesh([] { std::filesystem::remove("MeshFiles/shusui.x"); });
    EXPECT_EQ(
        missing.problems,
        std::vector<std::string>{"soare: shusui.x: not found (looked in the working folder, Textures and MeshFiles)"});
    // The craft's size matters to the flight: the cases below would pass
    // for nothing if it did not.
    ASSERT_NE(intact.rows, missing.rows);

    std::ifstream file(ScopedDataFolder::RunFolder() / "MeshFiles" / "shusui.x", std::ios::binary);
    const std::string mesh(std::istreambuf_iterator<char>(file), {});
    // The line after the vertex count: the first vertex.
    const std::size_t first = mesh.find('\n', mesh.find('\n', mesh.find("Mesh {")) + 1) + 1;
    ASSERT_NE(mesh.find("Mesh {"), std::string::npos);
    std::string huge = mesh;
    huge.replace(first, mesh.find('\n', first) - first, " 3e38;0;0;,");
    struct Case
    {
        std::function<void()> damage;
        const char* told;  // the start of the one line on stderr
    };
    const Case cases[] = {
        {[&] { ReplaceCraftMesh(mesh.substr(0, mesh.size() / 2)); }, "soare: MeshFiles/shusui.x: line "},
        {[&] { ReplaceCraftMesh(huge); }, "soare: shusui.x: the craft's size from this mesh ("},
        {[] {
             std::filesystem::remove("MeshFiles/shusui.x");
             ASSERT_EQ(mkfifo("MeshFiles/shusui.x", 0600), 0);
         },
         "soare: MeshFiles/shusui.x: not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.told);
        const DamagedRun run = FlyWithCraftMesh(c.damage);
        ASSERT_EQ(run.problems.size(), 1u);
        EXPECT_EQ(run.problems[0].rfind(c.told, 0), 0u) << run.problems[0];
        EXPECT_EQ(run.rows, missing.rows);
    }
}

}  // namespace
