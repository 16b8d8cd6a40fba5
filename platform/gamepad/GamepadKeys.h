// Gamepads and joysticks read as held keys of the keyboard: the left stick
// and the d-pad hold the arrow keys, Start or A holds P. The game then
// steers, pauses on release and records exactly as with the keyboard.
//
// Any controller that SDL's game-controller database knows is read through
// its mapping; a joystick without one through its axes 0 and 1 and its
// button 0. A stick holds an arrow while it is past half its travel.
// Controllers are found on every poll, so one plugged in mid-game works at
// once and one pulled out holds nothing any more.
//
// Owns the SDL handles of the controllers it opened and its start of SDL's
// game-controller subsystem, which happens on the first Poll (so making one
// costs nothing). GUI thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "DIKeySource.h"

// What one controller holds, as the game reads it. Axes run from -32768
// (left, forward) to 32767 (right, back), as SDL reports them.
struct GamepadReading
{
    int x = 0;
    int y = 0;
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool pause = false;
};

// Sets, in keys, the keys that reading holds (0x80), leaving the others.
// A stick counts past half its travel: beyond kGamepadHalfTravel either way.
void HoldGamepadKeys(const GamepadReading& reading, DIKeyState& keys);
constexpr int kGamepadHalfTravel = 16384;

class GamepadKeys
{
public:
    GamepadKeys();
    ~GamepadKeys();
    GamepadKeys(const GamepadKeys&) = delete;
    GamepadKeys& operator=(const GamepadKeys&) = delete;

    // Opens controllers plugged in since the last poll, lets go of those
    // pulled out, and returns the keys that all of them hold together.
    // Without SDL's controller support every key reads up.
    DIKeyState Poll();

    // Controllers open after the last poll.
    std::size_t GetControllerCount() const { return m_Controllers.size(); }

private:
    struct Controller;

    bool Start();
    void DropUnplugged();
    bool OpenPluggedIn();

    std::vector<std::unique_ptr<Controller>> m_Controllers;
    std::vector<int> m_Unopenable;  // instance ids SDL could not open
    bool m_Tried = false;
    bool m_Started = false;
};
