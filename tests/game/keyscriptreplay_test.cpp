// The replay of a key script in the window and pauses from outside the
// script (the end-to-end window replay pins its keys and clock).
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "keyscript.h"
#include "keyscriptreplay.h"

namespace {

using KeyScriptReplayTest = GameFixture;

TEST_F(KeyScriptReplayTest, APauseFromOutsideTheScriptHoldsTheReplayAndAResumeFromOutsideIsUndone)
{
    CKeyScriptReplay replay(KeyScript{});
    CModel& model = Model();
    // A window paused the game: wait, without touching it.
    model.SetPaused(true);
    EXPECT_FALSE(replay.MayStep(model));
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(Blips(), 1u);
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
