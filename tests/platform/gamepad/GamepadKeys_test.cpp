// Controllers as held keys, on SDL's virtual joysticks.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <string>
#include <utility>

#include "GamepadKeys.h"
#include "SdlSubsystems.h"
#include "VirtualController.h"
#include "dinput.h"

namespace {

// The keys of the game that are down, as the letters a key script uses.
std::string Held(const DIKeyState& keys)
{
    std::string held;
    for (auto [code, letter] :
         {std::pair{DIK_LEFT, 'L'}, {DIK_RIGHT, 'R'}, {DIK_UP, 'U'}, {DIK_DOWN, 'D'}, {DIK_P, 'P'}})
        if (keys[static_cast<std::size_t>(code)] & 0x80)
            held += letter;
    if (std::count_if(keys.begin(), keys.end(), [](BYTE key) { return key != 0; }) != std::ssize(held))
        held += '?';  // a key outside the game's five
    return held.empty() ? "-" : held;
}

class GamepadKeysTest : public ::testing::Test
{
protected:
    // SDL runs before the test plugs controllers in; the reader's start counts up.
    void SetUp() override { ASSERT_TRUE(StartSdlSubsystems(SDL_INIT_GAMECONTROLLER)) << SDL_GetError(); }
    void TearDown() override { StopSdlSubsystems(SDL_INIT_GAMECONTROLLER); }
};

TEST_F(GamepadKeysTest, AMappedPadLeansWithTheLeftStickAndTheDpadAndPausesWithStartOrA)
{
    GamepadKeys keys;
    EXPECT_EQ(Held(keys.Poll()), "-");
    VirtualController pad = VirtualController::Pad();
    ASSERT_TRUE(pad.IsPlugged()) << SDL_GetError();

    // Held only past half the travel, either way; the stick's Y is
    // positive when pulled back. Each is let go before the next.
    const struct
    {
        bool isAxis;
        int which, value;
        const char* held;
    } cases[] = {
        {true, SDL_CONTROLLER_AXIS_LEFTX, 16384, "-"},    {true, SDL_CONTROLLER_AXIS_LEFTX, 16385, "R"},
        {true, SDL_CONTROLLER_AXIS_LEFTX, -16384, "-"},   {true, SDL_CONTROLLER_AXIS_LEFTX, -16385, "L"},
        {true, SDL_CONTROLLER_AXIS_LEFTY, -20000, "U"},   {true, SDL_CONTROLLER_AXIS_LEFTY, 20000, "D"},
        {true, SDL_CONTROLLER_AXIS_RIGHTX, 32767, "-"},   {true, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, "-"},
        {false, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1, "L"}, {false, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1, "R"},
        {false, SDL_CONTROLLER_BUTTON_DPAD_UP, 1, "U"},   {false, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1, "D"},
        {false, SDL_CONTROLLER_BUTTON_START, 1, "P"},     {false, SDL_CONTROLLER_BUTTON_A, 1, "P"},
        {false, SDL_CONTROLLER_BUTTON_B, 1, "-"},
    };
    for (const auto& c : cases) {
        c.isAxis ? pad.SetAxis(c.which, c.value) : pad.SetButton(c.which, true);
        EXPECT_EQ(Held(keys.Poll()), c.held) << (c.isAxis ? "axis " : "button ") << c.which << " at " << c.value;
        c.isAxis ? pad.SetAxis(c.which, 0) : pad.SetButton(c.which, false);
    }

    // A diagonal holds two arrows; the d-pad and the stick together, each once.
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_EQ(Held(keys.Poll()), "LD");
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    pad.SetButton(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(Held(keys.Poll()), "RP");
}

TEST_F(GamepadKeysTest, ControllersPluggedInWorkAtOnceAndUnpluggedOnesHoldNothing)
{
    GamepadKeys keys;
    // Held already as plugged in: read on the first poll. A joystick SDL has no
    // mapping for leans with axes 0 and 1, pauses with button 0 only.
    VirtualController pad = VirtualController::Pad();
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    VirtualController stick = VirtualController::Stick(4, 3);
    ASSERT_TRUE(stick.IsPlugged()) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(1)) << "SDL knows a mapping for the test's stick";
    stick.SetAxis(0, 25000);
    stick.SetAxis(1, 25000);
    stick.SetAxis(2, 32767);
    stick.SetAxis(3, -32768);
    stick.SetButton(1, true);
    stick.SetButton(2, true);
    EXPECT_EQ(Held(keys.Poll()), "LRD");
    stick.SetAxis(1, -25000);
    stick.SetButton(0, true);
    EXPECT_EQ(Held(keys.Poll()), "LRUP");

    // Pulled out mid-lean: its keys go with it; plugged in again, it works.
    pad.Unplug();
    EXPECT_EQ(Held(keys.Poll()), "RUP");
    stick.Unplug();
    EXPECT_EQ(Held(keys.Poll()), "-");
    EXPECT_EQ(keys.GetControllerCount(), 0u);
    VirtualController again = VirtualController::Pad();
    again.SetButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(Held(keys.Poll()), "U");
}

}  // namespace
