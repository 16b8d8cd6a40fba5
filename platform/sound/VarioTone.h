// What the audio variometer sounds at a moment, and the call that hands it
// to the program's sound sink.
#pragma once

#include <optional>

struct VarioTone
{
    bool sounding = false;        // false: silence
    float pitchHz = 0.0f;         // of the tone, while sounding
    float beepsPerSecond = 0.0f;  // 0: one steady tone; else beeps, half the cycle on

    bool operator==(const VarioTone&) const = default;
};

// Hands the variometer's tone to the installed sound sink (SoundSinks.h)
// and returns at once. Nothing (std::nullopt) while the variometer is off:
// the sink then keeps no audio device open for it. A silent tone while it
// is on but has nothing to say (paused, landed, gliding).
void SetVarioSound(const std::optional<VarioTone>& tone);
