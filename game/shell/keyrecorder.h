// Records what a run of the windowed game would need to be replayed by the
// headless game (--record): the keys each step read, step by step (the
// steps a late timer event made up included), as a key script.
//
// Only ticks that matter to a replay are kept: a tick that starts and ends
// paused with P up does nothing in either game, and leaving such ticks out
// makes a pause taken by the Options or How To Play window (which the key
// script cannot express) vanish from the replay, as it vanishes from the
// flight. When a window resumes a game that P had paused, a P press is
// inserted so that the replay resumes too. Not expressible, and so not
// replayed: "New Game", and P held down across the moment a window pauses
// or resumes the game.
#pragma once

#include <filesystem>

#include "keyscript.h"

class CKeyboardInput;

class CKeyRecorder
{
public:
    // One tick: keys are the KeyScriptKey bits the tick read; pausedBefore
    // and pausedAfter the model's pause state around it.
    void RecordTick(unsigned keys, bool pausedBefore, bool pausedAfter);

    // The keys of the game's five script keys held in keyboard's last poll.
    static unsigned HeldKeys(const CKeyboardInput& keyboard);

    const KeyScript& GetScript() const { return m_Script; }
    bool WriteFile(const std::filesystem::path& file) const { return m_Script.WriteFile(file); }

private:
    KeyScript m_Script;
    bool m_ReplayPaused = false;  // the pause state a replay of the script has reached
};
