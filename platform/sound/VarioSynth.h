// The variometer's voice: a sine wave gated into beeps or held as a steady
// tone. Its pitch and beep rate may change at any sample: the wave's phase
// and the beep cycle's phase carry on, so a change never makes the wave
// jump, and every start and stop of the sound is a short ramp. Mono float
// samples; used by the SDL player inside its audio callback.
#pragma once

#include <cstddef>

#include "VarioTone.h"

class VarioSynth
{
public:
    static constexpr float kLevel = 0.25f;          // peak of the wave
    static constexpr float kRampSeconds = 0.004f;   // of every start and stop
    static constexpr float kGlideSeconds = 0.015f;  // time constant of a pitch change

    explicit VarioSynth(int sampleRate);

    // The tone from the next sample on.
    void SetTone(const VarioTone& tone);
    const VarioTone& GetTone() const { return m_Tone; }

    // Adds count samples of the voice to out.
    void Mix(float* out, std::size_t count);

    // Nothing sounds and the last ramp has ended.
    bool IsQuiet() const { return !m_Tone.sounding && m_Envelope <= 0.0f; }

private:
    int m_SampleRate;
    VarioTone m_Tone;
    double m_Phase = 0.0;      // of the wave, in cycles, 0..1
    double m_BeepPhase = 0.0;  // of the beep cycle, 0..1; on in the first half
    float m_Pitch = 0.0f;      // the wave's current pitch, gliding to the tone's
    float m_Envelope = 0.0f;   // 0..1
};
