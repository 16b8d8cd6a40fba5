// The recording of a windowed run (--record): replayed by the headless game
// it flies the same flight, pauses by P and by the small windows included.
#include <sstream>

#include "ShellTestSupport.h"
#include "headlessgame.h"
#include "keyrecorder.h"
#include "keyscript.h"
#include "model.h"

TEST_F(ShellTest, ARecordingReplaysTheSameFlightThroughPausesOfPAndOfWindows)
{
    // Keys held, ticks, and what a window does first: 1 pauses (Options or
    // How To Play opened), -1 resumes (its OK).
    const std::tuple<unsigned, int, int> steps[] = {
        {kKeyRight | kKeyUp, 30, 0},
        {kKeyP, 3, 0},      // P held: nothing yet
        {kKeyLeft, 40, 0},  // let go: paused, arrows do nothing
        {kKeyP | kKeyLeft, 2, 0},
        {kKeyLeft, 25, 0},  // resumed, banking left
        {0, 30, 1},
        {kKeyP, 1, -1},
        {0, 15, 0},                     // paused by P ...
        {kKeyUp, 20, -1},               // ... resumed by a window's OK
        {kKeyP, 2, 1},                  // P pressed while a window pauses
        {kKeyRight | kKeyDown, 10, 0},  // its release resumes
    };
    CKeyRecorder recorder;
    std::string error;
    std::tuple<D3DXVECTOR3, double, float> flown;
    {
        CHeadlessGame game;
        ASSERT_TRUE(game.Start(error)) << error;
        CModel& model = game.GetModel();
        for (const auto& [keys, ticks, window] : steps) {
            if (window != 0)
                model.SetPaused(window > 0);
            for (int i = 0; i < ticks; ++i) {
                const bool pausedBefore = model.IsPaused();
                game.Tick(keys);
                recorder.RecordTick(keys, pausedBefore, model.IsPaused());
            }
        }
        flown = {model.GetSoarerPosition(), model.GetRollAngle(), model.GetSpeed()};
    }
    // The idle ticks of the pauses (40 and 30 at least) are not recorded.
    EXPECT_LT(recorder.GetScript().TotalTicks(), 178u - 70u);

    // Replayed through the text form, as the file is read back.
    std::stringstream text;
    recorder.GetScript().Write(text);
    KeyScript read;
    ASSERT_TRUE(read.Parse(text, error)) << error;
    CHeadlessGame replayed;
    ASSERT_TRUE(replayed.Start(error)) << error;
    for (std::uint64_t tick = 0; tick < read.TotalTicks(); ++tick)
        replayed.Tick(read.KeysAt(tick));
    CModel& model = replayed.GetModel();
    EXPECT_EQ(std::tuple(model.GetSoarerPosition(), model.GetRollAngle(), model.GetSpeed()), flown);
    EXPECT_FALSE(model.IsPaused());
}
