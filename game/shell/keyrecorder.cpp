#include "keyrecorder.h"

#include "dinput.h"
#include "keyboardinput.h"

void CKeyRecorder::RecordTick(unsigned keys, bool pausedBefore, bool pausedAfter)
{
    if (pausedBefore && !m_ReplayPaused) {
        // Paused from outside the ticks (a window opened): the replay flies
        // on, so these ticks are left out until the game resumes. A tick
        // that resumes by letting go of P flies in both.
        if (!pausedAfter)
            m_Script.Append(keys);
        return;
    }
    if (!pausedBefore && m_ReplayPaused) {
        // Resumed from outside the ticks (a window's OK, "New Game") while
        // the replay stands paused by P: P down for one tick, and this tick
        // (P up) resumes the replay as it flies on.
        m_Script.Append(kKeyP);
        m_ReplayPaused = false;
    }
    // A tick that starts and ends paused with P up only watches P.
    if (pausedBefore && pausedAfter && (keys & kKeyP) == 0)
        return;
    m_Script.Append(keys);
    m_ReplayPaused = pausedAfter;
}

unsigned CKeyRecorder::HeldKeys(const CKeyboardInput& keyboard)
{
    unsigned keys = 0;
    if (keyboard.IsKeyDown(DIK_LEFT))
        keys |= kKeyLeft;
    if (keyboard.IsKeyDown(DIK_RIGHT))
        keys |= kKeyRight;
    if (keyboard.IsKeyDown(DIK_UP))
        keys |= kKeyUp;
    if (keyboard.IsKeyDown(DIK_DOWN))
        keys |= kKeyDown;
    if (keyboard.IsKeyDown(DIK_P))
        keys |= kKeyP;
    return keys;
}
