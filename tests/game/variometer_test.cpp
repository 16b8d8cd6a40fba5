// The audio variometer: its mapping at chosen climb rates, and a whole
// flight with it on, fed as the main window feeds it: the tone follows the climb of every step, is silent while paused
// and after landing, and the flight is the same as with it off.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "GameTestSupport.h"
#include "ORVD3D_GraphicsSystem.h"
#include "SoundSinks.h"
#include "TestWindow.h"
#include "dinput.h"
#include "headlessgame.h"
#include "keyboardinput.h"
#include "keyscript.h"
#include "variometer.h"

namespace {

TEST(VariometerTest, TheMappingBeepsInLiftHumsInStrongSinkAndIsSilentBetween)
{
    // Climb per step; the figures in the comments are per second (x40).
    struct Case
    {
        float climb;
        VarioTone tone;
    };
    const Case cases[] = {
        {-0.0205f, {}},                     // the slowest glide: -0.82
        {0.0024f, {}},                      // 0.096: too weak to beep
        {0.0026f, {true, 613.0f, 2.104f}},  // 0.104
        {0.2f, {true, 1600.0f, 10.0f}},     // two thermals: 8
        {-0.0249f, {}},                     // -0.996
        {-0.07f, {true, 255.0f, 0.0f}},     // a dive: -2.8
        {-0.2f, {true, 200.0f, 0.0f}},      // -8: as low as it goes
        {0.6f, {}},                         // a jump of 24 a second: a new game
        {std::numeric_limits<float>::quiet_NaN(), {}},
    };
    for (const Case& c : cases) {
        const VarioTone tone = CVariometer::ToneForClimb(c.climb);
        EXPECT_EQ(tone.sounding, c.tone.sounding) << c.climb;
        EXPECT_NEAR(tone.pitchHz, c.tone.pitchHz, 0.5f) << c.climb;
        EXPECT_NEAR(tone.beepsPerSecond, c.tone.beepsPerSecond, 0.01f) << c.climb;
    }
}

// A flight of the headless game with a variometer fed after every tick, as
// the main window feeds it, and V pressed on the ticks asked for.
class VariometerFlight : public ::testing::Test
{
protected:
    struct Flight
    {
        std::string trace;
        std::vector<std::optional<VarioTone>> heard;     // what the sound sink got
        std::vector<std::optional<VarioTone>> expected;  // from each step's climb
        std::vector<bool> on;                            // after each tick
        std::vector<bool> paused;
    };

    Flight Fly(const std::vector<unsigned>& ticks, bool startOn, const std::vector<std::size_t>& vTicks)
    {
        Flight flight;
        const auto expect = [&flight](const std::optional<VarioTone>& tone) {
            // Only changes are handed over.
            if (flight.expected.empty() || flight.expected.back() != tone)
                flight.expected.push_back(tone);
        };
        ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
        CHeadlessGame game;
        std::string error;
        EXPECT_TRUE(game.Start(error)) << error;
        auto sound = std::make_shared<RecordingSoundSink>();
        std::shared_ptr<SoundSink> previousSound = SetSoundSink(sound);
        auto window = std::make_shared<TestWindow>();
        CKeyboardInput keyboard;  // reads the game's scripted keys
        EXPECT_TRUE(keyboard.Initialize(HWND(window)));

        std::ostringstream trace;
        CHeadlessGame::WriteTraceHeader(trace);
        CVariometer vario;
        vario.SetOn(startOn);
        if (startOn)
            expect(VarioTone{});
        // The first step it sees has no climb yet: it had no height before.
        std::optional<float> height;
        for (std::size_t tick = 0; tick < ticks.size(); ++tick) {
            const bool vDown = std::ranges::count(vTicks, tick) > 0;
            game.GetKeys().SetKeyDown(DIK_V, vDown);
            game.Tick(ticks[tick]);
            keyboard.Poll();
            const bool wasOn = vario.IsOn();
            vario.OnStep(keyboard, game.GetModel());
            game.WriteTraceRow(trace);

            CModel& model = game.GetModel();
            const float now = model.GetSoarerPosition().y;
            if (vario.IsOn()) {
                if (!wasOn)
                    expect(VarioTone{});  // switched on: silent until it has a climb
                expect(model.IsPaused() || model.IsLanded() || !height ? VarioTone{}
                                                                       : CVariometer::ToneForClimb(now - *height));
            } else if (wasOn) {
                expect(std::nullopt);
            }
            height = now;
            flight.on.push_back(vario.IsOn());
            flight.paused.push_back(model.IsPaused());
        }
        SetSoundSink(previousSound);
        flight.trace = trace.str();
        flight.heard = sound->GetVarioTones();
        return flight;
    }

    // The landing flight, with a pause of 40 ticks taken after tick 100.
    std::vector<unsigned> LandingWithAPause()
    {
        KeyScript script;
        std::string error;
        EXPECT_TRUE(script.ParseFile(std::string(SOARE_TEST_SOURCE_DIR) + "/landing.keys", error)) << error;
        std::vector<unsigned> ticks;
        for (std::uint64_t tick = 0; tick < script.TotalTicks(); ++tick) {
            if (tick == 100) {
                ticks.push_back(kKeyP);
                ticks.insert(ticks.end(), 40, 0u);
                ticks.push_back(kKeyP);
            }
            ticks.push_back(script.KeysAt(tick));
        }
        // Flies on, landed, for a while.
        ticks.insert(ticks.end(), 80, 0u);
        return ticks;
    }

    ScopedDataFolder m_Folder;
};

TEST_F(VariometerFlight, ItSoundsEveryStepsClimbIsSilentPausedAndLandedAndChangesNothing)
{
    const std::vector<unsigned> ticks = LandingWithAPause();
    const Flight off = Fly(ticks, false, {});
    EXPECT_TRUE(off.heard.empty()) << "an unused variometer sent something";

    // On from the start; V held over ticks 30..32 switches it off when let
    // go, and held on 60 switches it on again.
    const Flight on = Fly(ticks, true, {30, 31, 32, 60});
    EXPECT_EQ(on.trace, off.trace) << "the variometer changed the flight";
    EXPECT_TRUE(on.on[32] && !on.on[33] && !on.on[60] && on.on[61]);
    EXPECT_EQ(on.heard, on.expected);

    // The flight climbed and sank audibly, and went quiet for the pause
    // and after landing.
    int beeping = 0;
    for (const auto& tone : on.heard)
        beeping += tone && tone->sounding && tone->beepsPerSecond > 0.0f ? 1 : 0;
    EXPECT_GT(beeping, 0) << "no lift was heard on the whole flight";
    ASSERT_FALSE(on.heard.empty());
    EXPECT_EQ(on.heard.back(), VarioTone{}) << "the variometer sounds after landing";
    EXPECT_TRUE(on.paused[110]) << "the flight did not pause";
    EXPECT_FALSE(on.paused[150]);
}

}  // namespace
