#pragma once

#include "wintypes.h"

// A colour packed into one 32-bit ARGB word (A<<24 | R<<16 | G<<8 | B), the
// layout of a Direct3D colour, so the word goes to the device as it is.
class ORV_Color
{
public:
    ORV_Color() = default;
    // Channels clamped to 0..255.
    ORV_Color(int r, int g, int b, int a);
    // Channels in 0..1: scaled by 255, rounded half away from zero, clamped.
    ORV_Color(float r, float g, float b, float a);
    ORV_Color(double r, double g, double b, double a);
    // A Windows colour reference 0x00BBGGRR and an alpha (clamped to 0..255).
    ORV_Color(int colorRef, int alpha);

    static ORV_Color FromARGB(DWORD argb);

    bool operator==(const ORV_Color& other) const { return m_ARGB == other.m_ARGB; }
    bool operator!=(const ORV_Color& other) const { return m_ARGB != other.m_ARGB; }

    DWORD GetARGB() const { return m_ARGB; }
    int GetR() const { return static_cast<int>((m_ARGB >> 16) & 255u); }
    int GetG() const { return static_cast<int>((m_ARGB >> 8) & 255u); }
    int GetB() const { return static_cast<int>(m_ARGB & 255u); }
    int GetA() const { return static_cast<int>(m_ARGB >> 24); }
    float GetRf() const { return static_cast<float>(GetR() / 255.0); }
    float GetGf() const { return static_cast<float>(GetG() / 255.0); }
    float GetBf() const { return static_cast<float>(GetB() / 255.0); }
    float GetAf() const { return static_cast<float>(GetA() / 255.0); }

private:
    static DWORD Pack(int r, int g, int b, int a);
    static int FromUnit(double channel);

    DWORD m_ARGB = 0;
};
