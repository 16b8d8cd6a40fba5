#include "VarioSynth.h"

#include <cmath>
#include <numbers>

VarioSynth::VarioSynth(int sampleRate) : m_SampleRate(sampleRate > 0 ? sampleRate : 48000) {}

void VarioSynth::SetTone(const VarioTone& tone)
{
    // Beeps that start from silence start with a beep, not with a pause.
    if (tone.sounding && !m_Tone.sounding && m_Envelope <= 0.0f)
        m_BeepPhase = 0.0;
    m_Tone = tone;
}

void VarioSynth::Mix(float* out, std::size_t count)
{
    const auto rate = static_cast<float>(m_SampleRate);
    const float rampStep = 1.0f / (kRampSeconds * rate);
    const float glide = 1.0f - std::exp(-1.0f / (kGlideSeconds * rate));
    const double beepStep = static_cast<double>(m_Tone.beepsPerSecond) / rate;
    for (std::size_t i = 0; i < count; ++i) {
        // From silence a sound starts at its own pitch, not gliding from an
        // old one.
        if (m_Envelope <= 0.0f)
            m_Pitch = m_Tone.pitchHz;
        bool open = m_Tone.sounding;
        if (open && m_Tone.beepsPerSecond > 0.0f) {
            open = m_BeepPhase < 0.5;
            m_BeepPhase += beepStep;
            m_BeepPhase -= std::floor(m_BeepPhase);
        }
        if (open)
            m_Envelope = std::fmin(1.0f, m_Envelope + rampStep);
        else
            m_Envelope = std::fmax(0.0f, m_Envelope - rampStep);
        if (m_Envelope <= 0.0f)
            continue;
        m_Pitch += (m_Tone.pitchHz - m_Pitch) * glide;
        out[i] += kLevel * m_Envelope * static_cast<float>(std::sin(2.0 * std::numbers::pi * m_Phase));
        m_Phase += static_cast<double>(m_Pitch) / rate;
        m_Phase -= std::floor(m_Phase);
    }
}
