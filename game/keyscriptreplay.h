// A key script played into a running game step by step, as the headless game
// plays it, so that a window showing the replay flies the same flight and
// counts the same time: before every step the script's keys for that step
// are held on a key source of the replay's own (the game's keyboard reads
// it), and the game clock advances by 25 ms. Past the end of the script no
// key is held and the craft flies on.
//
// The replay also keeps the pause state its steps have left the game in, so
// that a pause or a resume from outside the script (a window opened or
// closed) can hold the replay or be undone instead of changing the flight.
//
// Owns the script; shares the key source with the keyboard device that reads
// it and the time source with the model's clock.
#pragma once

#include <cstdint>
#include <memory>

#include "DIKeySource.h"
#include "ORV_Clock.h"
#include "keyscript.h"

class CModel;

// Holds exactly keys (KeyScriptKey bits) on source, the script's five keys.
void HoldScriptKeys(ScriptedKeySource& source, unsigned keys);

class CKeyScriptReplay
{
public:
    static constexpr long kStepMilliseconds = 25;

    explicit CKeyScriptReplay(KeyScript script);

    // The source the replay's keyboard must be created on, and the time
    // source the replayed model's clock must read.
    const std::shared_ptr<ScriptedKeySource>& GetKeySource() const { return m_Keys; }
    const std::shared_ptr<ORV_ManualTimeSource>& GetTime() const { return m_Time; }

    // Whether the next step may run now. False while something outside the
    // script holds the game paused that the script has not (a window
    // paused it): the replay waits for it to resume. When something resumed
    // a game the script holds paused, the game is paused again here (the
    // pause blip plays) and the step may run.
    bool MayStep(CModel& model);
    // Before a step: holds the step's keys and advances the clock.
    void BeginStep();
    // After it: whether the model stepped (and so read the clock), and the
    // pause state the step left it in.
    void EndStep(bool stepped, bool pausedAfter);

    // From the script's first step again, with the game just restarted
    // (New Game): the clock is put back to the model's last reading, so the
    // first step after the restart counts 25 ms as a fresh run does.
    void Restart();

    // Steps played since the start or the last restart.
    std::uint64_t GetStep() const { return m_Step; }
    bool IsFinished() const { return m_Step >= m_Script.TotalTicks(); }
    const KeyScript& GetScript() const { return m_Script; }

private:
    KeyScript m_Script;
    std::shared_ptr<ScriptedKeySource> m_Keys;
    std::shared_ptr<ORV_ManualTimeSource> m_Time;
    std::uint64_t m_Step = 0;
    long m_LastClockReading = 0;  // the time of the last step the model stepped in
    bool m_ScriptPaused = false;  // the pause state the script's steps reached
};
