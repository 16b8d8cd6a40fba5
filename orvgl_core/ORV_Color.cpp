#include "ORV_Color.h"

#include <algorithm>
#include <cmath>

DWORD ORV_Color::Pack(int r, int g, int b, int a)
{
    auto channel = [](int v) { return static_cast<DWORD>(std::clamp(v, 0, 255)); };
    return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

int ORV_Color::FromUnit(double channel)
{
    double x = channel * 255.0;
    // Half away from zero; a NaN channel becomes 0 rather than undefined.
    if (std::isnan(x))
        return 0;
    x = std::clamp(x, -1.0e6, 1.0e6);  // keeps the int conversion defined
    const double rounded = x > 0.0 ? std::floor(x + 0.5) : -std::floor(0.5 - x);
    return static_cast<int>(rounded);
}

ORV_Color::ORV_Color(int r, int g, int b, int a) : m_ARGB(Pack(r, g, b, a)) {}

ORV_Color::ORV_Color(float r, float g, float b, float a)
    : ORV_Color(static_cast<double>(r), static_cast<double>(g), static_cast<double>(b), static_cast<double>(a))
{}

ORV_Color::ORV_Color(double r, double g, double b, double a)
    : m_ARGB(Pack(FromUnit(r), FromUnit(g), FromUnit(b), FromUnit(a)))
{}

ORV_Color::ORV_Color(int colorRef, int alpha)
    : m_ARGB(Pack(colorRef & 255, (colorRef >> 8) & 255, (colorRef >> 16) & 255, alpha))
{}

ORV_Color ORV_Color::FromARGB(DWORD argb)
{
    ORV_Color color;
    color.m_ARGB = argb;
    return color;
}
