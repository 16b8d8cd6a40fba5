// The audio variometer: it sounds the craft's climb over the last step, so
// that the pilot hears lift before seeing it. In lift, short beeps whose
// pitch and rate rise with the climb; in strong sink, a low steady tone;
// silence in between, while paused and after landing. Off at start unless
// asked for (--vario); V toggles it, acting when let go as P does.
//
// Fed once per step by the tick; it only reads the model and the keyboard's
// snapshot, so the flight is the same with it on or off. The sound goes to
// the installed sound sink (SetVarioSound); nothing is sent while it is off.
// Owns only its own state.
#pragma once

#include <optional>

#include "VarioTone.h"

class CKeyboardInput;
class CModel;

class CVariometer
{
public:
    // The tick's rate, for the mapping's figures per second.
    static constexpr float kStepsPerSecond = 40.0f;

    // The mapping, from the climb over one step (scene units, negative in
    // sink) to the tone; v is the climb per second (40 steps):
    //   v >= 0.1: beeps of 600 + 125 v Hz (up to 1600), 2 + v a second
    //             (up to 10), on for half of each cycle;
    //   v <= -1:  a steady tone of 325 + 25 v Hz (down to 200);
    //   otherwise, and when |v| > 20 (a jump, not a climb: a new game,
    //   a push onto a roof): silence.
    static VarioTone ToneForClimb(float climbPerStep);

    CVariometer() = default;
    ~CVariometer();
    CVariometer(const CVariometer&) = delete;
    CVariometer& operator=(const CVariometer&) = delete;

    // Switches it on (a silent tone until the next step) or off.
    void SetOn(bool on);
    bool IsOn() const { return m_On; }

    // After every step of the tick, paused or not: keyboard holds the keys
    // the step read, model is the game after the step.
    void OnStep(const CKeyboardInput& keyboard, CModel& model);
    // While nothing steps (a replay held by its viewer): V still toggles,
    // and the variometer is silent.
    void OnIdle(const CKeyboardInput& keyboard);

private:
    void ReadToggle(const CKeyboardInput& keyboard);
    void Send(const std::optional<VarioTone>& tone);

    bool m_On = false;
    bool m_VKeyWasDown = false;
    std::optional<float> m_LastHeight;
    std::optional<VarioTone> m_Sent;  // the last tone handed over
};
