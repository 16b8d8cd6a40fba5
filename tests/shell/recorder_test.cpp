// The recording of a windowed run (--record): replayed by the headless game
// it flies the same flight, pauses by P and by the small windows included.
#include <sstream>

#include "ShellTestSupport.h"
#include "headlessgame.h"
#include "keyrecorder.h"
#include "keyscript.h"
#include "model.h"

namespace {

// One step of a scripted run: keys held, and what the windows do first.
struct Step
{
    unsigned keys;
    int ticks;
    enum
    {
        None,
        WindowPauses,   // Options or How To Play opened
        WindowResumes,  // its OK
        NewGame,
    } window = None;
};

struct Flight
{
    D3DXVECTOR3 position;
    double roll;
    double pitch;
    float speed;
    bool paused;
};

Flight EndOf(CHeadlessGame& game)
{
    CModel& model = game.GetModel();
    return {model.GetSoarerPosition(), model.GetRollAngle(), model.GetPitchAngle(), model.GetSpeed(),
            model.IsPaused()};
}

// Runs the steps as the window would, recording as the window does.
Flight FlyAndRecord(const std::vector<Step>& steps, CKeyRecorder& recorder)
{
    CHeadlessGame game;
    std::string error;
    EXPECT_TRUE(game.Start(error)) << error;
    for (const Step& step : steps)
    {
        if (step.window == Step::WindowPauses)
            game.GetModel().SetPaused(true);
        if (step.window == Step::WindowResumes)
            game.GetModel().SetPaused(false);
        for (int i = 0; i < step.ticks; ++i)
        {
            const bool pausedBefore = game.GetModel().IsPaused();
            game.Tick(step.keys);
            recorder.RecordTick(step.keys, pausedBefore, game.GetModel().IsPaused());
        }
    }
    return EndOf(game);
}

Flight Replay(const KeyScript& script)
{
    // Through the text form, as the file is read back.
    std::stringstream text;
    script.Write(text);
    KeyScript read;
    std::string error;
    EXPECT_TRUE(read.Parse(text, error)) << error;
    CHeadlessGame game;
    EXPECT_TRUE(game.Start(error)) << error;
    for (std::uint64_t tick = 0; tick < read.TotalTicks(); ++tick)
        game.Tick(read.KeysAt(tick));
    return EndOf(game);
}

void ExpectSameFlight(const Flight& flown, const Flight& replayed)
{
    EXPECT_FLOAT_EQ(replayed.position.x, flown.position.x);
    EXPECT_FLOAT_EQ(replayed.position.y, flown.position.y);
    EXPECT_FLOAT_EQ(replayed.position.z, flown.position.z);
    EXPECT_DOUBLE_EQ(replayed.roll, flown.roll);
    EXPECT_DOUBLE_EQ(replayed.pitch, flown.pitch);
    EXPECT_FLOAT_EQ(replayed.speed, flown.speed);
    EXPECT_EQ(replayed.paused, flown.paused);
}

}  // namespace

TEST_F(ShellTest, ARecordingReplaysTheSameFlightThroughPausesOfPAndOfWindows)
{
    const std::vector<Step> steps = {
        {kKeyRight, 30},
        {kKeyRight | kKeyUp, 10},
        {kKeyP, 3},           // P held: nothing yet
        {0, 40},              // let go: paused for 40 ticks
        {kKeyLeft, 10},       // arrows while paused do nothing
        {kKeyP | kKeyLeft, 2},
        {kKeyLeft, 25},       // resumed, banking left
        {0, 30, Step::WindowPauses},
        {kKeyDown, 20, Step::WindowResumes},
        {kKeyP, 1},
        {0, 15},              // paused by P ...
        {kKeyUp, 20, Step::WindowResumes},  // ... resumed by a window's OK
        {kKeyP, 2, Step::WindowPauses},     // P pressed while a window pauses
        {kKeyRight, 10},                    // its release resumes
        {kKeyLeft | kKeyDown, 15},
    };
    CKeyRecorder recorder;
    const Flight flown = FlyAndRecord(steps, recorder);
    EXPECT_FALSE(flown.paused);
    ExpectSameFlight(flown, Replay(recorder.GetScript()));

    // The idle ticks of the pauses are not in the recording.
    int flownTicks = 0;
    for (const Step& step : steps)
        flownTicks += step.ticks;
    EXPECT_LT(recorder.GetScript().TotalTicks(), static_cast<std::uint64_t>(flownTicks - 40 - 30));
}

TEST_F(ShellTest, ARecordingEndingPausedReplaysPaused)
{
    CKeyRecorder recorder;
    const Flight flown = FlyAndRecord({{kKeyUp, 12}, {kKeyP, 1}, {0, 5}}, recorder);
    EXPECT_TRUE(flown.paused);
    ExpectSameFlight(flown, Replay(recorder.GetScript()));
}
