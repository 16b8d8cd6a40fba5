// The replay of a key script in the window: the keys of each step, the
// clock, and pauses from outside the script.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "dinput.h"
#include "keyscript.h"
#include "keyscriptreplay.h"

namespace {

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
    for (std::uint64_t step = 0; step < 6; ++step) {
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
