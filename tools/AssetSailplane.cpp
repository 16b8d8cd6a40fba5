#include "AssetSailplane.h"

#include <cmath>
#include <vector>

#include "AssetMeshBuilder.h"
#include "AssetVector.h"

namespace assets {

namespace {

using Ring = std::vector<D3DXVECTOR3>;

constexpr int kRingPoints = 16;

// An elliptical section across Z: half-width w, half-height h, centre height yc.
Ring Ellipse(float z, float w, float h, float yc)
{
    Ring ring;
    for (int j = 0; j < kRingPoints; ++j) {
        const float a = 2.0f * kPi * static_cast<float>(j) / kRingPoints;
        ring.push_back({w * std::cos(a), yc + h * std::sin(a), z});
    }
    return ring;
}

// A four-digit style aerofoil section with a closed trailing edge, which is
// ring point 0 (the loft creases there). The chord
// runs along +Z from the leading edge `le`; `up` is the direction of
// thickness (Y for wings, X for the fin). tc is thickness over chord, camber
// the maximum camber over chord at 40 % chord.
Ring Aerofoil(const D3DXVECTOR3& le, float chord, const D3DXVECTOR3& up, float tc, float camber)
{
    // Cosine spacing puts more points round the nose, where the curve is.
    constexpr int kHalf = kRingPoints / 2;
    auto thickness = [&](float x) {
        return 5.0f * tc *
               (0.2969f * std::sqrt(x) - 0.1260f * x - 0.3516f * x * x + 0.2843f * x * x * x - 0.1036f * x * x * x * x);
    };
    auto camberLine = [&](float x) {
        constexpr float p = 0.4f;
        return x < p ? camber / (p * p) * (2 * p * x - x * x)
                     : camber / ((1 - p) * (1 - p)) * ((1 - 2 * p) + 2 * p * x - x * x);
    };
    auto point = [&](float x, float side) {
        const float offset = (camberLine(x) + side * thickness(x)) * chord;
        return le + D3DXVECTOR3{0.0f, 0.0f, x * chord} + up * offset;
    };
    Ring ring;
    for (int i = kHalf; i >= 0; --i) {  // upper surface, trailing edge to nose
        const float x = 0.5f * (1.0f - std::cos(kPi * static_cast<float>(i) / kHalf));
        ring.push_back(point(x, 1.0f));
    }
    for (int i = 1; i < kHalf; ++i) {  // lower surface back to the trailing edge
        const float x = 0.5f * (1.0f - std::cos(kPi * static_cast<float>(i) / kHalf));
        ring.push_back(point(x, -1.0f));
    }
    return ring;
}

void AddFuselage(AssetMeshBuilder& b)
{
    struct Station
    {
        float z, w, h, yc;
    };
    // A round pod for the pilot tapering into a slim boom that carries the fin.
    const Station stations[] = {
        {-0.600f, 0.004f, 0.004f, -0.006f}, {-0.588f, 0.022f, 0.024f, -0.005f}, {-0.560f, 0.038f, 0.042f, -0.002f},
        {-0.510f, 0.052f, 0.058f, 0.002f},  {-0.430f, 0.062f, 0.070f, 0.006f},  {-0.330f, 0.066f, 0.075f, 0.008f},
        {-0.210f, 0.065f, 0.073f, 0.009f},  {-0.100f, 0.059f, 0.065f, 0.012f},  {0.000f, 0.049f, 0.053f, 0.016f},
        {0.100f, 0.035f, 0.037f, 0.020f},   {0.220f, 0.025f, 0.027f, 0.024f},   {0.400f, 0.019f, 0.021f, 0.028f},
        {0.600f, 0.016f, 0.018f, 0.032f},   {0.760f, 0.014f, 0.017f, 0.036f},   {0.840f, 0.010f, 0.013f, 0.039f},
        {0.865f, 0.004f, 0.005f, 0.041f},
    };
    std::vector<Ring> rings;
    std::vector<std::uint32_t> materials;
    for (const Station& s : stations) {
        rings.push_back(Ellipse(s.z, s.w, s.h, s.yc));
        // A coloured nose cap makes the direction of flight readable.
        materials.push_back(s.z < -0.56f ? kTrim : kAirframe);
    }
    materials.pop_back();
    b.AddLoft(rings, materials);
}

void AddCanopy(AssetMeshBuilder& b)
{
    struct Station
    {
        float z, w, h, yc;
    };
    // A teardrop bubble sunk into the top of the pod.
    const Station stations[] = {
        {-0.505f, 0.008f, 0.006f, 0.040f}, {-0.480f, 0.030f, 0.028f, 0.046f}, {-0.430f, 0.043f, 0.043f, 0.052f},
        {-0.360f, 0.048f, 0.049f, 0.056f}, {-0.290f, 0.046f, 0.045f, 0.056f}, {-0.230f, 0.038f, 0.036f, 0.056f},
        {-0.185f, 0.020f, 0.020f, 0.056f}, {-0.170f, 0.006f, 0.006f, 0.056f},
    };
    std::vector<Ring> rings;
    for (const Station& s : stations)
        rings.push_back(Ellipse(s.z, s.w, s.h, s.yc));
    b.AddLoft(rings, std::vector<std::uint32_t>(rings.size() - 1, kCanopy));
}

// One loft from tip to tip through the fuselage, so the wing is one closed
// body with its dihedral bend at the centre line.
void AddWing(AssetMeshBuilder& b)
{
    struct Station
    {
        float span, chord, tc, camber;
    };
    // Double-trapezoid planform, straight quarter-chord line.
    const Station half[] = {
        {0.00f, 0.220f, 0.15f, 0.020f}, {0.30f, 0.215f, 0.15f, 0.020f}, {0.60f, 0.200f, 0.145f, 0.018f},
        {0.90f, 0.180f, 0.14f, 0.016f}, {1.15f, 0.150f, 0.13f, 0.012f}, {1.30f, 0.125f, 0.12f, 0.008f},
        {1.42f, 0.098f, 0.12f, 0.004f}, {1.50f, 0.060f, 0.12f, 0.000f},
    };
    constexpr float kQuarterChordZ = -0.085f;
    constexpr float kRootY = 0.048f;
    const float dihedral = std::tan(3.5f * kPi / 180.0f);
    const float trimFrom = 1.30f;

    std::vector<Ring> rings;
    std::vector<float> spans;
    const int n = static_cast<int>(std::size(half));
    for (int i = n - 1; i >= 0; --i)
        spans.push_back(-half[i].span);
    for (int i = 1; i < n; ++i)
        spans.push_back(half[i].span);
    for (float x : spans) {
        const float ax = std::fabs(x);
        int i = 0;
        while (i + 1 < n && half[i].span < ax - 1e-6f)
            ++i;
        const Station& s = half[i];
        const D3DXVECTOR3 le{x, kRootY + ax * dihedral, kQuarterChordZ - 0.25f * s.chord};
        rings.push_back(Aerofoil(le, s.chord, {0.0f, 1.0f, 0.0f}, s.tc, s.camber));
    }
    std::vector<std::uint32_t> materials;
    for (std::size_t k = 0; k + 1 < spans.size(); ++k) {
        const float mid = std::fabs(0.5f * (spans[k] + spans[k + 1]));
        materials.push_back(mid > trimFrom ? kTrim : kAirframe);
    }
    b.AddLoft(rings, materials, true);
}

constexpr float kTailplaneY = 0.305f;

void AddFin(AssetMeshBuilder& b)
{
    struct Station
    {
        float y, le, chord;
    };
    // Swept fin rising from the boom; its top carries the tailplane.
    const Station stations[] = {
        {0.025f, 0.595f, 0.250f},
        {0.120f, 0.645f, 0.195f},
        {0.220f, 0.695f, 0.145f},
        {kTailplaneY, 0.725f, 0.115f},
    };
    std::vector<Ring> rings;
    for (const Station& s : stations) {
        Ring ring = Aerofoil({0.0f, s.y, s.le}, s.chord, {1.0f, 0.0f, 0.0f}, 0.12f, 0.0f);
        rings.push_back(ring);
    }
    // The rudder's upper part in the trim colour, seen from behind and aside.
    b.AddLoft(rings, {kAirframe, kAirframe, kTrim}, true);
}

void AddTailplane(AssetMeshBuilder& b)
{
    struct Station
    {
        float span, chord;
    };
    const Station half[] = {{0.0f, 0.115f}, {0.18f, 0.100f}, {0.29f, 0.075f}, {0.32f, 0.050f}};
    constexpr float kQuarterChordZ = 0.755f;
    std::vector<Ring> rings;
    const int n = static_cast<int>(std::size(half));
    auto ringAt = [&](float x, const Station& s) {
        const D3DXVECTOR3 le{x, kTailplaneY + 0.004f, kQuarterChordZ - 0.25f * s.chord};
        return Aerofoil(le, s.chord, {0.0f, 1.0f, 0.0f}, 0.10f, 0.0f);
    };
    for (int i = n - 1; i > 0; --i)
        rings.push_back(ringAt(-half[i].span, half[i]));
    for (int i = 0; i < n; ++i)
        rings.push_back(ringAt(half[i].span, half[i]));
    b.AddLoft(rings, std::vector<std::uint32_t>(rings.size() - 1, kAirframe), true);
}

}  // namespace

XFileMesh MakeSailplaneMesh()
{
    AssetMeshBuilder b;
    // Glossy white composite, a signal red-orange for the trim, smoked glass.
    b.AddMaterial(MakeMaterial(0.96f, 0.96f, 0.94f, 0.6f, 32.0f, 0.06f));
    b.AddMaterial(MakeMaterial(0.92f, 0.22f, 0.08f, 0.5f, 24.0f, 0.05f));
    b.AddMaterial(MakeMaterial(0.10f, 0.17f, 0.26f, 0.9f, 64.0f, 0.02f));
    AddFuselage(b);
    AddCanopy(b);
    AddWing(b);
    AddFin(b);
    AddTailplane(b);
    return b.Take();
}

}  // namespace assets
