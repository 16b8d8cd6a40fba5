// The recording of a windowed run (--record): replayed by the headless game
// it flies the same flight, pauses by P and by the small windows included.
// And a replay in the window (--replay) flies and counts time as the
// headless game does.
#include <sstream>

#include "GLDevice.h"
#include "ShellTestSupport.h"
#include "headlessgame.h"
#include "keyrecorder.h"
#include "keyscript.h"
#include "keyscriptreplay.h"
#include "model.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"

namespace {

// One step of a scripted run: keys held, and what the windows do first.
struct Step
{
    unsigned keys;
    int ticks;
    enum {
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
    return {model.GetSoarerPosition(), model.GetRollAngle(), model.GetPitchAngle(), model.GetSpeed(), model.IsPaused()};
}

// Runs the steps as the window would, recording as the window does.
Flight FlyAndRecord(const std::vector<Step>& steps, CKeyRecorder& recorder)
{
    CHeadlessGame game;
    std::string error;
    EXPECT_TRUE(game.Start(error)) << error;
    for (const Step& step : steps) {
        if (step.window == Step::WindowPauses)
            game.GetModel().SetPaused(true);
        if (step.window == Step::WindowResumes)
            game.GetModel().SetPaused(false);
        for (int i = 0; i < step.ticks; ++i) {
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
    EXPECT_FLOAT_EQ(replayed.speed, flown.speed);
    EXPECT_EQ(replayed.paused, flown.paused);
}

}  // namespace

TEST_F(ShellTest, ARecordingReplaysTheSameFlightThroughPausesOfPAndOfWindows)
{
    const std::vector<Step> steps = {
        {kKeyRight | kKeyUp, 30},
        {kKeyP, 3},      // P held: nothing yet
        {kKeyLeft, 40},  // let go: paused, arrows do nothing
        {kKeyP | kKeyLeft, 2},
        {kKeyLeft, 25},  // resumed, banking left
        {0, 30, Step::WindowPauses},
        {kKeyP, 1, Step::WindowResumes},
        {0, 15},                            // paused by P ...
        {kKeyUp, 20, Step::WindowResumes},  // ... resumed by a window's OK
        {kKeyP, 2, Step::WindowPauses},     // P pressed while a window pauses
        {kKeyRight | kKeyDown, 10},         // its release resumes
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

TEST_F(ShellTest, AReplayInTheWindowFliesAndCountsTimeAsTheHeadlessGameWhateverTheViewerDoes)
{
    // Right, a pause held by the script itself, then Up and Left; past the
    // end the craft flies on with nothing held.
    KeyScript script;
    script.Append(kKeyRight, 20);
    script.Append(kKeyP, 1);
    script.Append(0, 10);
    script.Append(kKeyP, 1);
    script.Append(kKeyUp | kKeyLeft, 15);
    struct Row
    {
        Flight flight;
        float time;
    };
    std::vector<Row> headless;
    {
        CHeadlessGame game;
        std::string error;
        ASSERT_TRUE(game.Start(error)) << error;
        for (std::uint64_t tick = 0; tick < 70; ++tick) {
            game.Tick(script.KeysAt(tick));
            headless.push_back({EndOf(game), game.GetModel().GetGameTime()});
        }
        ASSERT_TRUE(headless[25].flight.paused);
    }

    App().SetReplay(script);
    CTutorialDlg& dialog = MakeMainWindow();
    CModel& model = *App().GetModel();
    CKeyScriptReplay& replay = *App().GetReplay();
    GLDevice* device = CurrentGLDevice();
    auto expectStep = [&](std::uint64_t steps) {
        SCOPED_TRACE("step " + std::to_string(steps));
        ASSERT_EQ(replay.GetStep(), steps);
        const Row& row = headless[steps - 1];
        ExpectSameFlight(row.flight, {model.GetSoarerPosition(), model.GetRollAngle(), model.GetPitchAngle(),
                                      model.GetSpeed(), model.IsPaused()});
        EXPECT_EQ(model.GetGameTime(), row.time) << "step " << steps;
    };

    // The keyboard does not steer; made-up steps replay as single ones and
    // the views draw once an event.
    SendKey(WXK_LEFT, true);
    const int presents = device->PresentCount();
    dialog.RunTimerEvent(3);
    expectStep(3);
    dialog.RunTimerEvent(4);
    expectStep(7);
    EXPECT_EQ(device->PresentCount(), presents + 6);
    SendKey(WXK_LEFT, false);

    // P pauses the viewing when let go (with the blip) and resumes it; the
    // game itself is not paused, and nothing steps meanwhile.
    SendKey('P', true);
    Tick();
    expectStep(8);
    SendKey('P', false);
    Tick(3);
    EXPECT_TRUE(dialog.IsViewingPaused());
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 1);
    expectStep(8);
    SendKey('P', true);
    Tick();
    SendKey('P', false);
    Tick();
    EXPECT_FALSE(dialog.IsViewingPaused());
    expectStep(9);

    // New Game starts the replay again, the clock counting from 0 as a fresh
    // run's does (the paused steps before it are not counted).
    ClickButton(&dialog, CTutorialDlg::IDC_NEW_GAME);
    dialog.RunTimerEvent(4);
    expectStep(4);
    EXPECT_FLOAT_EQ(model.GetGameTime(), 0.1f);
    while (replay.GetStep() < 66)
        dialog.RunTimerEvent(static_cast<int>(std::min<std::uint64_t>(3, 66 - replay.GetStep())));
    expectStep(66);
    EXPECT_TRUE(replay.IsFinished());
    // The read-out shows the time the headless game counts.
    const wxString time = dialog.FindWindow(CTutorialDlg::IDC_TIME)->GetLabel();
    EXPECT_NEAR(std::stod(time.ToStdString()), headless[65].time, 1e-6) << time;
}
