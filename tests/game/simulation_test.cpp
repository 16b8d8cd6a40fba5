// The flight simulation, one step at a time.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "GameFixture.h"
#include "ORV_ProblemReport.h"
#include "soarerun.h"

namespace {

// Open sea far from the island's blocks and columns, high up.
const D3DXVECTOR3 kOpenAir(10.0f, 20.0f, 0.0f);

class SimulationTest : public GameFixture
{
protected:
    // Level, facing +Z, at position, with speed.
    void Place(D3DXVECTOR3 position, float speed)
    {
        Peer().PlaceSoarerLevel(position);
        Peer().SetSpeed(speed);
    }
    D3DXVECTOR3 Position() { return Model().GetSoarer().GetXformInfo().GetTranslation(); }
    double Heading() { return HeadingDegrees(Model().GetSoarerForward()); }
};

TEST_F(SimulationTest, APlainStepMovesAlongTheNoseAndSinks)
{
    Place(kOpenAir, 0.1f);
    Model().Simulate();
    const D3DXVECTOR3 p = Position();
    EXPECT_NEAR(p.x, 10.0f, 1e-6f);
    EXPECT_NEAR(p.z, 0.1f, 1e-6f);
    // 0.1 / 10 - 0.021 in double precision, added as a float.
    EXPECT_EQ(p.y, 20.0f + static_cast<float>(static_cast<double>(0.1f) / 10.0 - 0.021));
    EXPECT_NEAR(p.y - 20.0f, -0.011f, 1e-6f);
    // No bank, no turn.
    EXPECT_NEAR(Heading(), 0.0, 1e-6);
}

TEST_F(SimulationTest, AHeldLeanCyclesTheBankAboveTwentyAndTurnsByItsTenth)
{
    Place(kOpenAir, 0.2f);  // fast: it hardly sinks
    double expectedHeading = Heading();
    std::vector<double> banks;
    for (int step = 0; step < 31; ++step)
    {
        // Turn sees the bank after the lean, before it levels out.
        const double roll = Model().GetRollAngle();
        const double bankAtTurn = roll < 20.0 ? roll + 1.25 : roll;
        Model().LeanLeft();
        Model().Simulate();
        expectedHeading += static_cast<float>(static_cast<float>(bankAtTurn) * 0.1);
        banks.push_back(Model().GetRollAngle());
    }
    for (int step = 0; step < 20; ++step)
        EXPECT_EQ(banks[step], step + 1.0) << "step " << step + 1;
    const double cycle[5] = {19.75, 20.75, 20.5, 20.25, 20.0};
    for (int step = 20; step < 31; ++step)
        EXPECT_EQ(banks[step], cycle[(step - 20) % 5]) << "step " << step + 1;
    // A left bank turns toward +X (the heading grows).
    EXPECT_NEAR(Heading(), expectedHeading, 1e-3);

    // Let go: the bank returns to exactly 0 by quarters and the heading
    // stops changing.
    for (int step = 0; step < 100; ++step)
        Model().Simulate();
    EXPECT_EQ(Model().GetRollAngle(), 0.0);
    const double settled = Heading();
    Model().Simulate();
    EXPECT_NEAR(Heading(), settled, 1e-4);
}

TEST_F(SimulationTest, TheTurnPerStepIsATenthOfTheBankWithItsSign)
{
    struct Case
    {
        double bankBefore;
        void (CModel::*lean)();
        double turn;  // degrees of heading in the step
    };
    const Case cases[] = {
        {19.75, &CModel::LeanLeft, 2.1},     // 21.0 at the turn
        {18.75, &CModel::LeanLeft, 2.0},     // 20.0 at the turn
        {-18.75, &CModel::LeanRight, -2.0},  // banked right: the heading falls
        {0.0, nullptr, 0.0},                 // no bank, no turn
        {0.25, nullptr, 0.025},              // without a lean the bank still turns
    };
    for (const Case& c : cases)
    {
        Place(kOpenAir, 0.1f);
        Peer().SetRollAngle(c.bankBefore);
        const double before = Heading();
        if (c.lean)
            (Model().*c.lean)();
        Model().Simulate();
        EXPECT_NEAR(Heading() - before, c.turn, 5e-4) << "bank " << c.bankBefore;
    }
}

TEST_F(SimulationTest, RightWinsOverLeftUnlessTheBankIsAtItsRightLimit)
{
    Place(kOpenAir, 0.1f);
    Model().LeanLeft();
    Model().LeanRight();
    Model().Simulate();
    EXPECT_EQ(Model().GetRollAngle(), -1.0);  // -1.25, then levelled by 0.25
    EXPECT_FALSE(Peer().LeanLeftSet());
    EXPECT_FALSE(Peer().LeanRightSet());

    Peer().SetRollAngle(-20.0);
    Model().LeanLeft();
    Model().LeanRight();
    Model().Simulate();
    EXPECT_EQ(Model().GetRollAngle(), -18.5);  // +1.25 +0.25

    // The same rule for pitch: backward wins, forward applies at the limit.
    Peer().SetRollAngle(0.0);
    Model().LeanBackward();
    Model().LeanForward();
    Model().Simulate();
    EXPECT_EQ(Model().GetPitchAngle(), 1.0);
    EXPECT_EQ(Model().GetSpeed(), static_cast<float>(0.1f - static_cast<double>(0.005f)));
    Peer().SetPitchAngle(20.0);
    Model().LeanBackward();
    Model().LeanForward();
    Model().Simulate();
    EXPECT_EQ(Model().GetPitchAngle(), 18.5);
}

TEST_F(SimulationTest, TheSpeedBandHoldsAfterTheMove)
{
    // A backward lean at the lowest speed moves with 0: only the sink.
    Place(kOpenAir, 0.005f);
    Model().LeanBackward();
    Model().Simulate();
    D3DXVECTOR3 p = Position();
    EXPECT_NEAR(p.x, kOpenAir.x, 1e-6f);
    EXPECT_NEAR(p.z, kOpenAir.z, 1e-6f);
    EXPECT_NEAR(p.y - kOpenAir.y, -0.021f, 1e-5f);
    EXPECT_EQ(Model().GetSpeed(), 0.005f);

    // A forward lean at the highest speed moves 0.205 along the (slightly
    // lowered) nose and is clamped back to 0.2.
    Place(kOpenAir, 0.2f);
    Model().LeanForward();
    Model().Simulate();
    p = Position();
    const float sink = static_cast<float>(static_cast<double>(0.205f) / 10.0 - 0.021);
    const D3DXVECTOR3 along = p - kOpenAir - D3DXVECTOR3(0.0f, sink, 0.0f);
    EXPECT_NEAR(D3DXVec3Length(&along), 0.205f, 2e-5f);
    EXPECT_LT(along.y, 0.0f);  // the nose went down
    EXPECT_EQ(Model().GetSpeed(), 0.2f);

    // Ten backward increments from the start speed reach just under 0.05.
    Place(kOpenAir, 0.1f);
    for (int step = 0; step < 10; ++step)
    {
        Model().LeanBackward();
        Model().Simulate();
    }
    EXPECT_NEAR(Model().GetSpeed(), 0.04999998f, 1e-8f);
    EXPECT_LE(static_cast<double>(Model().GetSpeed()), 0.05);
}

TEST_F(SimulationTest, LandingNeedsPositionHeightAndSpeedInTheSameStep)
{
    const float slow = 0.04999998f;
    struct Case
    {
        const char* name;
        D3DXVECTOR3 start;
        float speed;
        bool lands;
    };
    const Case cases[] = {
        {"slowly on the target", {23.0f, 5.1f, 16.0f}, slow, true},
        {"just inside the zone", {23.0f, 5.1f, 14.96f}, slow, true},   // d = 0.99 after the move
        {"just outside the zone", {23.0f, 5.1f, 14.9f}, slow, false},  // d = 1.05
        {"too high", {23.0f, 5.3f, 16.0f}, slow, false},
        {"too fast", {23.0f, 5.1f, 16.0f}, 0.055f, false},
        {"a fast pass", {23.0f, 5.1f, 15.5f}, 0.1f, false},
    };
    for (const Case& c : cases)
    {
        Model().NewGame();
        Place(c.start, c.speed);
        Model().Simulate();
        EXPECT_EQ(Model().IsLanded(), c.lands) << c.name;
    }
}

TEST_F(SimulationTest, AfterLandingTheTimeStandsStillWhileTheCraftMovesOn)
{
    Place({23.0f, 5.1f, 16.0f}, 0.04999998f);
    m_Game->Tick(0);
    ASSERT_TRUE(Model().IsLanded());
    const float landedAt = Model().GetGameTime();
    const D3DXVECTOR3 there = Position();
    for (int tick = 0; tick < 60; ++tick)
        m_Game->Tick(0);
    EXPECT_TRUE(Model().IsLanded());
    EXPECT_EQ(Model().GetGameTime(), landedAt);
    EXPECT_GT(Position().z - there.z, 2.0f);  // it has left the target
    EXPECT_EQ(m_Status[3]->Last(), L"0.025000");
}

TEST_F(SimulationTest, TheOceanHoldsTheCraftAtItsSurface)
{
    // Open sea in the north-west corner of the grid.
    Place({-21.5f, 0.5f, 24.5f}, 0.1f);
    Model().Simulate();
    EXPECT_EQ(Position().y, 0.5f);
    EXPECT_EQ(m_Status[1]->Last(), L"0.500000");
    EXPECT_EQ(m_Status[2]->Last(), L"0.100000");
    EXPECT_EQ(m_Status[3]->Last(), L"0.000000");
    // The read-outs go to slots 1 to 3 only.
    EXPECT_TRUE(m_Status[0]->Texts().empty());
}

TEST_F(SimulationTest, ThePausedIntervalCountsAtTheFirstStepAfter)
{
    m_Game->Tick(0);
    EXPECT_FLOAT_EQ(Model().GetGameTime(), 0.025f);
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);  // released: paused, no step
    ASSERT_TRUE(Model().IsPaused());
    const float pausedAt = Model().GetGameTime();
    for (int tick = 0; tick < 40; ++tick)
        m_Game->Tick(0);
    m_Game->GetTime().Advance(3000);  // time spent in a dialog
    EXPECT_EQ(Model().GetGameTime(), pausedAt);
    m_Game->Tick(kKeyP);
    m_Game->Tick(0);  // released: resumed, and this tick steps
    EXPECT_FALSE(Model().IsPaused());
    // Since the last step: the tick that paused, 40 paused ticks, the press
    // and the release (43 ticks), and 3 s more.
    EXPECT_NEAR(Model().GetGameTime(), pausedAt + 0.025f * 43 + 3.0f, 1e-4f);
}

TEST_F(SimulationTest, NewGameRestartsTheFlightButNotTheClockOrTheUpdrafts)
{
    for (int tick = 0; tick < 10; ++tick)
        m_Game->Tick(kKeyLeft | kKeyDown);
    Peer().SetLanded(true);
    const ORV_XformInfo updraftsBefore = Model().GetUpdrafts().GetXformInfo();

    m_Game->GetTime().Advance(1000);
    Model().NewGame();
    EXPECT_FALSE(Model().IsLanded());
    EXPECT_EQ(Model().GetGameTime(), 0.0f);
    EXPECT_EQ(Model().GetSpeed(), 0.1f);
    EXPECT_EQ(Model().GetRollAngle(), 0.0);
    EXPECT_EQ(Model().GetPitchAngle(), 0.0);
    EXPECT_EQ(Position(), D3DXVECTOR3(3.0f, 6.0f, -25.5f));
    ORV_XformInfo start;
    start.RotateYDegrees(180.0f);
    EXPECT_EQ(Model().GetSoarer().GetXformInfo().GetRotation(), start.GetRotation());
    EXPECT_EQ(Model().GetSoarer().GetXformInfo().GetScale(), D3DXVECTOR3(0.15f, 0.15f, 0.15f));
    EXPECT_EQ(Model().GetUpdrafts().GetXformInfo().GetRotation(), updraftsBefore.GetRotation());

    // The first step measures from the previous step, not from NewGame.
    m_Game->Tick(0);
    EXPECT_NEAR(Model().GetGameTime(), 1.025f, 1e-5f);

    // The updraft group turns 0.1 degree about its Z axis every step.
    ORV_XformInfo expected = updraftsBefore;
    expected.RotateZDegrees(0.1f);
    const ORV_Quaternion q = Model().GetUpdrafts().GetXformInfo().GetRotation();
    EXPECT_FLOAT_EQ(q.z, expected.GetRotation().z);
    EXPECT_FLOAT_EQ(q.w, expected.GetRotation().w);
    EXPECT_GT(q.z, 0.0f);
    // Eleven steps so far: the turn is 1.1 degrees.
    EXPECT_NEAR(2.0 * std::asin(static_cast<double>(q.z)) * 180.0 / M_PI, 1.1, 1e-3);
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
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    const std::string dataDir = folder.Path().string();
    const char* argv[] = {"soare", "--headless", "--ticks", "1000", "--input", "flight.keys",
                          "--trace", "-", "--data-dir", dataDir.c_str()};
    std::ostringstream out;
    std::ostringstream err;
    DamagedRun run;
    run.status = RunSoare(static_cast<int>(std::size(argv)), argv, out, err, [](const SoareOptions&, const KeyScript&) { return 1; });
    std::istringstream trace(out.str());
    std::istringstream problems(err.str());
    std::string line;
    std::getline(trace, line);  // the header
    while (std::getline(trace, line))
        run.rows.push_back(line);
    while (std::getline(problems, line))
        run.problems.push_back(line);
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
    EXPECT_EQ(missing.problems, std::vector<std::string>{
                                    "soare: shusui.x: not found (looked in the working folder, Textures and MeshFiles)"});
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
        {"cut in half", [&] { ReplaceCraftMesh(mesh.substr(0, mesh.size() / 2)); },
         "soare: MeshFiles/shusui.x: line "},
        {"not a mesh file at all", [] { ReplaceCraftMesh("\x89PNG\r\n\x1a\n"); }, "soare: MeshFiles/shusui.x: "},
        {"vertices reaching 3.4e38 both ways",
         [&] { ReplaceCraftMesh(WithFirstVertices(mesh, {" 3.4e38;3.4e38;3.4e38;,", " -3.4e38;-3.4e38;-3.4e38;,"})); },
         "soare: MeshFiles/shusui.x: "},
        {"one vertex at 3e38", [&] { ReplaceCraftMesh(WithFirstVertices(mesh, {" 3e38;0;0;,"})); },
         "soare: shusui.x: the craft's size from this mesh ("},
        {"a vertex that is not a number", [&] { ReplaceCraftMesh(WithFirstVertices(mesh, {" nan;0;0;,"})); },
         "soare: MeshFiles/shusui.x: "},
        {"a link to an endless file",
         [] {
             std::filesystem::remove("MeshFiles/shusui.x");
             std::filesystem::create_symlink("/dev/zero", "MeshFiles/shusui.x");
         },
         "soare: MeshFiles/shusui.x: not a regular file"},
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

TEST(DamagedDataTest, TheWindowedGameTellsProblemsOnStderrToo)
{
    ScopedDataFolder folder;
    const std::string dataDir = folder.Path().string();
    const char* argv[] = {"soare", "--data-dir", dataDir.c_str()};
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunSoare(static_cast<int>(std::size(argv)), argv, out, err, [](const SoareOptions&, const KeyScript&) {
        ORV_ReportProblem("MeshFiles/shusui.x: told from the window");
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(err.str(), "soare: MeshFiles/shusui.x: told from the window\n");
    // Only while the program runs.
    ORV_ReportProblem("after the run");
    EXPECT_EQ(err.str(), "soare: MeshFiles/shusui.x: told from the window\n");
}

}  // namespace
