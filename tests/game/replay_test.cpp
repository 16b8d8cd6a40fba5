// The landing replay: the real soare program flies tests/game/landing.keys
// (made by landing_planner) headless, and the trace shows the landing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "GameFixture.h"
#include "GameTestSupport.h"
#include "ORVD3D_GraphicsSystem.h"
#include "dinput.h"
#include "keyscript.h"
#include "keyscriptreplay.h"
#include "soarerun.h"

namespace {

const std::string kKeys = std::string(SOARE_TEST_SOURCE_DIR) + "/landing.keys";

struct Row
{
    long tick;
    double x, y, z, roll, pitch, speed, time;
    int landed, paused;
};

std::vector<Row> ParseTrace(const std::string& text)
{
    std::vector<Row> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "tick,x,y,z,qx,qy,qz,qw,roll,pitch,speed,landed,paused,time");
    while (std::getline(in, line))
    {
        Row row{};
        double q[4];
        const int fields = std::sscanf(line.c_str(), "%ld,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%d,%d,%lf", &row.tick,
                                       &row.x, &row.y, &row.z, &q[0], &q[1], &q[2], &q[3], &row.roll, &row.pitch,
                                       &row.speed, &row.landed, &row.paused, &row.time);
        EXPECT_EQ(fields, 14) << line;
        rows.push_back(row);
    }
    return rows;
}

std::string RunProgram(const std::string& arguments, int& status)
{
    const std::string command = std::string("'") + SOARE_TEST_EXECUTABLE + "' " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    if (!pipe)
    {
        status = -1;
        return output;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

TEST(ReplayTest, TheRecordedApproachLandsOnTheTargetAndTheTimeThenStandsStill)
{
    KeyScript keys;
    std::string error;
    ASSERT_TRUE(keys.ParseFile(kKeys, error)) << kKeys << ": " << error;
    const std::uint64_t ticks = keys.TotalTicks() + 120;

    // The real program, in a private copy of the data (the game writes its
    // land mesh into MeshFiles/ as it starts).
    ScopedDataFolder folder;
    int status = 0;
    const std::string trace =
        RunProgram("--headless --ticks " + std::to_string(ticks) + " --input '" + kKeys + "' --trace - 2>&1", status);
    ASSERT_EQ(status, 0) << trace.substr(0, 500);
    const std::vector<Row> rows = ParseTrace(trace);
    ASSERT_EQ(rows.size(), ticks);

    std::size_t landing = rows.size();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].landed == 1)
        {
            landing = i;
            break;
        }
    ASSERT_LT(landing, rows.size()) << "the craft never landed";
    // Landed on the target: within the zone, just above the roof, slow.
    const Row& at = rows[landing];
    EXPECT_EQ(static_cast<std::uint64_t>(at.tick), keys.TotalTicks());
    EXPECT_LE(std::hypot(at.x - 23.0, at.z - 16.0), 1.0);
    EXPECT_LE(std::fabs(at.y - 5.05), 0.15);
    EXPECT_LE(at.speed, 0.05);
    EXPECT_EQ(at.paused, 0);
    EXPECT_GT(at.time, 1.0);
    EXPECT_NEAR(at.time, at.tick * 0.025, 0.01);

    // From then on the flag stays, the clock stands and the craft moves on.
    for (std::size_t i = landing; i < rows.size(); ++i)
    {
        EXPECT_EQ(rows[i].landed, 1) << "tick " << rows[i].tick;
        EXPECT_EQ(rows[i].time, at.time) << "tick " << rows[i].tick;
    }
    EXPECT_GT(std::hypot(rows.back().x - at.x, rows.back().z - at.z), 4.0);
    // Before it the clock ran.
    EXPECT_LT(rows[landing - 1].time, at.time);

    // The same driver in-process gives the same trace, byte for byte.
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    const std::string count = std::to_string(ticks);
    const char* argv[] = {"soare", "--headless", "--ticks", count.c_str(), "--input", kKeys.c_str(), "--trace", "-"};
    std::ostringstream out, err;
    ASSERT_EQ(RunSoare(8, argv, out, err, [](const SoareOptions&, const KeyScript&) { return 1; }), 0) << err.str();
    EXPECT_EQ(out.str(), trace);
}

unsigned HeldOn(const ScriptedKeySource& source)
{
    const DIKeyState keys = source.ReadKeys();
    const std::pair<int, unsigned> pairs[] = {
        {DIK_LEFT, kKeyLeft}, {DIK_RIGHT, kKeyRight}, {DIK_UP, kKeyUp}, {DIK_DOWN, kKeyDown}, {DIK_P, kKeyP}};
    unsigned held = 0;
    for (const auto& [code, key] : pairs)
        if (keys[static_cast<std::size_t>(code)] & 0x80)
            held |= key;
    return held;
}

using KeyScriptReplayTest = GameFixture;

TEST_F(KeyScriptReplayTest, HoldsEachStepsKeysAdvancesTheClockAndRestartsAtTheModelsLastReading)
{
    KeyScript script;
    script.Append(kKeyLeft | kKeyUp, 2);
    script.Append(kKeyP, 1);
    script.Append(kKeyRight | kKeyDown, 1);
    CKeyScriptReplay replay(script);
    const ScriptedKeySource& keys = *replay.GetKeySource();
    ORV_ManualTimeSource& time = *replay.GetTime();
    EXPECT_TRUE(keys.IsActive());

    const unsigned expected[] = {kKeyLeft | kKeyUp, kKeyLeft | kKeyUp, kKeyP, kKeyRight | kKeyDown, 0, 0};
    for (std::uint64_t step = 0; step < 6; ++step)
    {
        replay.BeginStep();
        EXPECT_EQ(HeldOn(keys), expected[step]) << "step " << step;
        EXPECT_EQ(time.NowMilliseconds(), static_cast<long>(25 * (step + 1)));
        // The model stepped (read the clock) in the first three steps only.
        replay.EndStep(step < 3, false);
        EXPECT_EQ(replay.IsFinished(), step >= 3);
    }
    EXPECT_EQ(replay.GetStep(), 6u);

    // The clock goes back to the last reading, so the next step counts 25 ms.
    replay.Restart();
    EXPECT_EQ(replay.GetStep(), 0u);
    EXPECT_EQ(time.NowMilliseconds(), 75);
    EXPECT_EQ(HeldOn(keys), 0u);
    replay.BeginStep();
    EXPECT_EQ(HeldOn(keys), kKeyLeft | kKeyUp);
    EXPECT_EQ(time.NowMilliseconds(), 100);
}

TEST_F(KeyScriptReplayTest, APauseFromOutsideTheScriptHoldsTheReplayAndAResumeFromOutsideIsUndone)
{
    CKeyScriptReplay replay(KeyScript{});
    CModel& model = Model();
    EXPECT_TRUE(replay.MayStep(model));
    // A window paused the game: wait, without touching it.
    model.SetPaused(true);
    const std::size_t blips = Blips();
    EXPECT_FALSE(replay.MayStep(model));
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(Blips(), blips);
    model.SetPaused(false);
    EXPECT_TRUE(replay.MayStep(model));

    // The script paused it; a window's OK resumed it: paused again.
    replay.BeginStep();
    model.SetPaused(true);
    replay.EndStep(false, true);
    EXPECT_TRUE(replay.MayStep(model));
    model.SetPaused(false);
    EXPECT_TRUE(replay.MayStep(model));
    EXPECT_TRUE(model.IsPaused());
    // New Game resumes the game and the script alike.
    model.NewGame();
    replay.Restart();
    EXPECT_TRUE(replay.MayStep(model));
    EXPECT_FALSE(model.IsPaused());
}

}  // namespace
