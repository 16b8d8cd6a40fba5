// Lit probes drawn through the device and compared with Direct3D 9's
// documented vertex lighting, worked out here on the CPU in world space
// (the device works in eye space): ambient, diffuse and specular with the
// halfway vector, emissive and global ambient, attenuation and Range, the
// spot cone and falloff, the material sources, clamping, and specular
// added after texturing.
//
// A probe is one flat-shaded triangle over the whole viewport whose first
// vertex is the vertex being lit, so every pixel shows that vertex's
// colour. The view is a turned and moved camera and the projection its
// inverse: clip coordinates are world coordinates, while the lights still
// go through a real view.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "GLInspector.h"
#include "RenderTest.h"

namespace {

struct Vec3
{
    double x, y, z;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
};

double Dot(const Vec3& a, const Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Length(const Vec3& v)
{
    return std::sqrt(Dot(v, v));
}

Vec3 Unit(const Vec3& v)
{
    return v * (1.0 / Length(v));
}

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 FromD3D(const D3DVECTOR& v)
{
    return {v.x, v.y, v.z};
}

struct Rgb
{
    double r = 0.0, g = 0.0, b = 0.0;
    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator*(const Rgb& o) const { return {r * o.r, g * o.g, b * o.b}; }
    Rgb operator*(double s) const { return {r * s, g * s, b * s}; }
    Rgb Clamped() const { return {std::clamp(r, 0.0, 1.0), std::clamp(g, 0.0, 1.0), std::clamp(b, 0.0, 1.0)}; }
};

Rgb FromValue(const D3DCOLORVALUE& c)
{
    return {c.r, c.g, c.b};
}

Rgb FromPacked(DWORD argb)
{
    return {((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0};
}

// The vertex being lit, in world space (the world matrix is the identity).
struct ProbeVertex
{
    Vec3 position;
    Vec3 normal;
    DWORD diffuse = 0;   // used when the FVF has D3DFVF_DIFFUSE
    DWORD specular = 0;  // used when the FVF has D3DFVF_SPECULAR
};

struct Light
{
    DWORD index;
    D3DLIGHT9 light;
};

// Direct3D 9's per-vertex lighting, as its documentation states it, for
// the camera whose view matrix is view. Returns the colour a pixel of the
// vertex shows before texturing (diffuse) and the specular colour added
// after it.
struct LitVertex
{
    Rgb diffuse;
    Rgb specular;
};

LitVertex Direct3DLighting(const DWORD* rs, const std::vector<Light>& lights, const D3DMATERIAL9& material, DWORD fvf,
                           const ProbeVertex& v, const D3DXMATRIX& view)
{
    D3DXMATRIX toWorld;
    D3DXMatrixInverse(&toWorld, nullptr, &view);
    const Vec3 eye{toWorld._41, toWorld._42, toWorld._43};
    // The non-local viewer looks along the camera's +Z.
    const Vec3 cameraZ = Unit(Vec3{toWorld._31, toWorld._32, toWorld._33});

    // Material sources: a vertex colour the FVF lacks falls back to the material.
    const auto source = [&](D3DRENDERSTATETYPE state, const D3DCOLORVALUE& own) {
        if (rs[D3DRS_COLORVERTEX] != FALSE) {
            if (rs[state] == D3DMCS_COLOR1 && (fvf & D3DFVF_DIFFUSE))
                return FromPacked(v.diffuse);
            if (rs[state] == D3DMCS_COLOR2 && (fvf & D3DFVF_SPECULAR))
                return FromPacked(v.specular);
        }
        return FromValue(own);
    };
    const Rgb ca = source(D3DRS_AMBIENTMATERIALSOURCE, material.Ambient);
    const Rgb cd = source(D3DRS_DIFFUSEMATERIALSOURCE, material.Diffuse);
    const Rgb cs = source(D3DRS_SPECULARMATERIALSOURCE, material.Specular);
    const Rgb ce = source(D3DRS_EMISSIVEMATERIALSOURCE, material.Emissive);

    const Vec3 n = rs[D3DRS_NORMALIZENORMALS] != FALSE ? Unit(v.normal) : v.normal;
    Rgb ambient;
    Rgb diffuse;
    Rgb specular;
    for (const Light& entry : lights) {
        const D3DLIGHT9& light = entry.light;
        Vec3 l;
        double attenuation = 1.0;
        double spot = 1.0;
        if (light.Type == D3DLIGHT_DIRECTIONAL) {
            l = Unit(FromD3D(light.Direction)) * -1.0;
        } else {
            const Vec3 toLight = FromD3D(light.Position) - v.position;
            const double d = Length(toLight);
            if (d > light.Range)
                continue;
            l = toLight * (1.0 / d);
            attenuation = 1.0 / (light.Attenuation0 + light.Attenuation1 * d + light.Attenuation2 * d * d);
            if (light.Type == D3DLIGHT_SPOT) {
                const double rho = Dot(Unit(FromD3D(light.Direction)), l * -1.0);
                const double inner = std::cos(light.Theta / 2.0);
                const double outer = std::cos(light.Phi / 2.0);
                if (rho > inner)
                    spot = 1.0;
                else if (rho <= outer)
                    spot = 0.0;
                else
                    spot = std::pow((rho - outer) / (inner - outer), light.Falloff);
            }
        }
        const double scale = attenuation * spot;
        ambient = ambient + FromValue(light.Ambient) * scale;
        const double nl = Dot(n, l);
        diffuse = diffuse + FromValue(light.Diffuse) * (scale * std::max(nl, 0.0));
        if (nl > 0.0) {
            const Vec3 toViewer = rs[D3DRS_LOCALVIEWER] != FALSE ? Unit(eye - v.position) : cameraZ;
            const Vec3 h = Unit(l + toViewer);
            specular =
                specular + FromValue(light.Specular) * (scale * std::pow(std::max(Dot(n, h), 0.0), material.Power));
        }
    }
    LitVertex lit;
    lit.diffuse = (ca * (FromPacked(rs[D3DRS_AMBIENT]) + ambient) + cd * diffuse + ce).Clamped();
    lit.specular = rs[D3DRS_SPECULARENABLE] != FALSE ? (cs * specular).Clamped() : Rgb{};
    return lit;
}

// Where the probes' camera stands, looking at the origin.
constexpr Vec3 kEye{1.5, 2.0, 4.0};

// One frame's worth: render states over Direct3D's defaults, lights,
// material and the vertex.
struct Case
{
    const char* what;
    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> states;
    std::vector<Light> lights;
    D3DMATERIAL9 material;
    DWORD fvf;
    ProbeVertex vertex;
    // For the rows checked against figures worked out by hand as well: the
    // expected pixel (-1: the reference alone).
    int r = -1, g = -1, b = -1;
};

// A light 'distance' away from 'at', placed so that the way from it to
// 'at' makes 'angle' radians with its direction, which points along −Y.
D3DLIGHT9 SpotTowards(const Vec3& at, double distance, double angle, float falloff)
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_SPOT;
    light.Position = {static_cast<float>(at.x - distance * std::sin(angle)),
                      static_cast<float>(at.y + distance * std::cos(angle)), static_cast<float>(at.z)};
    light.Direction = {0.0f, -1.0f, 0.0f};
    light.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    light.Range = 100.0f;
    light.Attenuation0 = 1.0f;
    light.Theta = 0.4f;
    light.Phi = 0.8f;
    light.Falloff = falloff;
    return light;
}

D3DLIGHT9 Directional(Vec3 direction, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular = {}, D3DCOLORVALUE ambient = {})
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Direction = {static_cast<float>(direction.x), static_cast<float>(direction.y),
                       static_cast<float>(direction.z)};
    light.Diffuse = diffuse;
    light.Specular = specular;
    light.Ambient = ambient;
    return light;
}

D3DLIGHT9 Point(Vec3 position, D3DCOLORVALUE diffuse, float range, float a0, float a1, float a2)
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Position = {static_cast<float>(position.x), static_cast<float>(position.y), static_cast<float>(position.z)};
    light.Diffuse = diffuse;
    light.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
    light.Ambient = {0.3f, 0.3f, 0.3f, 1.0f};
    light.Range = range;
    light.Attenuation0 = a0;
    light.Attenuation1 = a1;
    light.Attenuation2 = a2;
    return light;
}

class LightingProbe : public RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        if (!IsSkipped())
            PlaceCamera();
    }

    void PlaceCamera()
    {
        const D3DXVECTOR3 eye(static_cast<float>(kEye.x), static_cast<float>(kEye.y), static_cast<float>(kEye.z));
        const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
        const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
        D3DXMatrixLookAtRH(&m_View, &eye, &at, &up);
        D3DXMATRIX projection;
        D3DXMatrixInverse(&projection, nullptr, &m_View);
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        m_Device->SetTransform(D3DTS_WORLD, &identity);
        m_Device->SetTransform(D3DTS_VIEW, &m_View);
        m_Device->SetTransform(D3DTS_PROJECTION, &projection);
        m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        m_Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    }

    // The probe's triangle in the FVF's layout: position, normal, diffuse,
    // specular, texture coordinates, as far as the FVF has them.
    static std::vector<unsigned char> Triangle(DWORD fvf, const ProbeVertex& v, UINT* stride)
    {
        std::vector<unsigned char> bytes;
        const auto put = [&bytes](const void* data, size_t size) {
            const auto* p = static_cast<const unsigned char*>(data);
            bytes.insert(bytes.end(), p, p + size);
        };
        const Vec3 corners[3] = {v.position, {4.0, -0.9, 0.5}, {-0.9, 4.0, 0.5}};
        for (const Vec3& c : corners) {
            const float position[3] = {static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.z)};
            put(position, sizeof position);
            if (fvf & D3DFVF_NORMAL) {
                const float normal[3] = {static_cast<float>(v.normal.x), static_cast<float>(v.normal.y),
                                         static_cast<float>(v.normal.z)};
                put(normal, sizeof normal);
            }
            if (fvf & D3DFVF_DIFFUSE)
                put(&v.diffuse, sizeof v.diffuse);
            if (fvf & D3DFVF_SPECULAR)
                put(&v.specular, sizeof v.specular);
            if (fvf & D3DFVF_TEX1) {
                const float uv[2] = {0.5f, 0.5f};
                put(uv, sizeof uv);
            }
        }
        *stride = static_cast<UINT>(bytes.size() / 3);
        return bytes;
    }

    void DrawProbe(DWORD fvf, const ProbeVertex& v)
    {
        UINT stride = 0;
        const std::vector<unsigned char> triangle = Triangle(fvf, v, &stride);
        m_Device->SetFVF(fvf);
        EXPECT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle.data(), stride), D3D_OK);
    }

    // Sets up the case on the device and returns Direct3D's colour for it.
    Rgb Prepare(const Case& c, const Rgb* texture = nullptr)
    {
        DWORD rs[D3DRS_STATECOUNT_EXT];
        D3D9DefaultRenderStatesEXT(rs, true);
        for (const auto& [state, value] : c.states) {
            rs[state] = value;
            m_Device->SetRenderState(state, value);
        }
        for (const Light& light : c.lights) {
            EXPECT_EQ(m_Device->SetLight(light.index, &light.light), D3D_OK);
            EXPECT_EQ(m_Device->LightEnable(light.index, TRUE), D3D_OK);
        }
        m_Device->SetMaterial(&c.material);
        const LitVertex lit = Direct3DLighting(rs, c.lights, c.material, c.fvf, c.vertex, m_View);
        const Rgb before = texture ? *texture : lit.diffuse;
        return (before + lit.specular).Clamped();
    }

    D3DXMATRIX m_View;
};

constexpr D3DCOLORVALUE kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr D3DCOLORVALUE kBlack{0.0f, 0.0f, 0.0f, 1.0f};

::testing::AssertionResult Shows(const RgbaImage& frame, int x, int y, const Rgb& expected, int tolerance)
{
    return PixelNear(frame, x, y, static_cast<int>(std::lround(expected.r * 255.0)),
                     static_cast<int>(std::lround(expected.g * 255.0)),
                     static_cast<int>(std::lround(expected.b * 255.0)), tolerance);
}

std::vector<Case> Cases()
{
    // The probe vertex sits at a corner of the viewport (see Triangle).
    const Vec3 at{-0.9, -0.9, 0.5};
    const Vec3 up{0.0, 1.0, 0.0};
    const D3DMATERIAL9 grey = MakeMaterial({0.8f, 0.7f, 0.6f, 1.0f}, kWhite, kBlack, kBlack, 0.0f);
    const DWORD lit = D3DFVF_XYZ | D3DFVF_NORMAL;
    const DWORD coloured = lit | D3DFVF_DIFFUSE | D3DFVF_SPECULAR;
    const ProbeVertex facingUp{at, up, 0xFF66CC33, 0xFF204080};
    const std::pair<D3DRENDERSTATETYPE, DWORD> ambient48{D3DRS_AMBIENT, 0xFF303030};
    // Every material source the material, as the game has it.
    const std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> materialOnly = {
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL}, {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL}};

    // A point light 3.26 from the probe, straight above it.
    const D3DLIGHT9 farAbove = Point(at + Vec3{0.0, 3.26, 0.0}, {0.9f, 0.8f, 0.7f, 1.0f}, 2.5f, 1.0f, 0.0f, 0.0f);
    D3DLIGHT9 reaching = farAbove;
    reaching.Range = 3.5f;
    reaching.Attenuation1 = 0.1f;
    reaching.Attenuation2 = 0.05f;

    // Specular of power 200 from a light straight above, the normal turned
    // 0.08 rad off the halfway vector to the eye: (N·H)^200 = 0.53 where a
    // power of 128 would give 0.66.
    const Vec3 halfway = Unit(up + Unit(kEye - at));
    const Vec3 aside = Unit(Cross(halfway, Vec3{0.0, 0.0, 1.0}));
    const Vec3 nearlyHalfway = Unit(halfway * std::cos(0.08) + aside * std::sin(0.08));
    const D3DMATERIAL9 shiny = MakeMaterial(kBlack, kBlack, kWhite, kBlack, 200.0f);

    D3DMATERIAL9 redMaterial = MakeMaterial({0.8f, 0.0f, 0.0f, 1.0f}, {0.2f, 0.3f, 0.4f, 1.0f},
                                            {0.5f, 0.5f, 0.5f, 1.0f}, {0.1f, 0.0f, 0.2f, 1.0f}, 8.0f);
    const D3DLIGHT9 sun =
        Directional(Vec3{0.3, -1.0, -0.2}, {0.9f, 0.9f, 0.9f, 1.0f}, kWhite, {0.2f, 0.2f, 0.2f, 1.0f});
    const D3DLIGHT9 frontSun = Directional(Vec3{0.0, -1.0, 0.0}, {0.8f, 0.8f, 0.8f, 1.0f});

    // Each adds a little: together red clamps, green and blue do not.
    std::vector<Light> eight;
    for (DWORD i = 0; i < 8; ++i) {
        const double a = 0.7 * i;
        const float green = 0.02f + 0.01f * static_cast<float>(i);
        if (i % 3 == 0) {
            eight.push_back({i, Directional(Vec3{std::cos(a), -1.5, std::sin(a)}, {0.3f, green, 0.04f, 1.0f},
                                            {0.05f, 0.05f, 0.05f, 1.0f})});
        } else if (i % 3 == 1) {
            D3DLIGHT9 point =
                Point(at + Vec3{std::cos(a), 1.0, std::sin(a)}, {0.3f, green, 0.03f, 1.0f}, 10.0f, 0.5f, 0.2f, 0.0f);
            point.Ambient = {0.02f, 0.02f, 0.02f, 1.0f};
            point.Specular = {0.05f, 0.05f, 0.05f, 1.0f};
            eight.push_back({i, point});
        } else {
            D3DLIGHT9 spot = SpotTowards(at, 1.5, 0.05 * i, 1.0f);
            spot.Diffuse = {0.3f, green, 0.05f, 1.0f};
            eight.push_back({i, spot});
        }
    }

    std::vector<Case> cases = {
        // The five differences fixed function showed, with the figures
        // Direct3D gives.
        {"point light beyond its range", {ambient48}, {{0, farAbove}}, grey, lit, {at, up}, 48, 48, 48},
        // Full light inside Theta/2; 0.581 of it 0.3 rad off the axis
        // (Theta 0.4, Phi 0.8); and N·L = cos 0.15 and cos 0.3.
        {"spot light inside the inner cone",
         {},
         {{0, SpotTowards(at, 2.0, 0.15, 1.0f)}},
         grey,
         lit,
         {at, up},
         202,
         176,
         151},
        {"spot light in the penumbra", {}, {{0, SpotTowards(at, 2.0, 0.3, 1.0f)}}, grey, lit, {at, up}, 113, 99, 85},
        {"specular power 200",
         {{D3DRS_SPECULARENABLE, TRUE}},
         {{0, Directional(up * -1.0, kBlack, kWhite)}},
         shiny,
         lit,
         {at, nearlyHalfway},
         134,
         134,
         134},
        {"vertex colour as diffuse by default",
         {},
         {{0, frontSun}},
         MakeMaterial({0.8f, 0.0f, 0.0f, 1.0f}, kBlack, kBlack, kBlack, 0.0f),
         lit | D3DFVF_DIFFUSE,
         {at, up, 0xFF80FF40},
         102,
         204,
         51},

        // Range and attenuation of a light that reaches.
        {"point light within range, attenuated", {ambient48}, {{0, reaching}}, grey, lit, {at, up}},
        // Outside the outer cone, and a falloff other than 1.
        {"spot light outside the outer cone",
         {},
         {{0, SpotTowards(at, 2.0, 0.45, 1.0f)}},
         grey,
         lit,
         {at, up},
         0,
         0,
         0},
        {"spot light in the penumbra, falloff 2", {}, {{0, SpotTowards(at, 2.0, 0.3, 2.0f)}}, grey, lit, {at, up}},

        // Material sources.
        {"default sources: diffuse COLOR1, specular COLOR2",
         {{D3DRS_SPECULARENABLE, TRUE}},
         {{0, sun}},
         redMaterial,
         coloured,
         facingUp},
        {"ambient from COLOR1",
         {{D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1}, ambient48, materialOnly[0], materialOnly[1]},
         {{0, sun}},
         redMaterial,
         coloured,
         facingUp},
        {"emissive from COLOR2",
         {{D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR2}, materialOnly[0], materialOnly[1]},
         {{0, sun}},
         redMaterial,
         coloured,
         facingUp},
        {"specular from COLOR1",
         {{D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR1}, {D3DRS_SPECULARENABLE, TRUE}, materialOnly[0]},
         {{0, sun}},
         redMaterial,
         coloured,
         facingUp},
        {"diffuse from COLOR2 of a vertex without one: the material",
         {{D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR2}},
         {{0, sun}},
         redMaterial,
         lit | D3DFVF_DIFFUSE,
         facingUp},
        {"COLORVERTEX off: the material whatever the sources",
         {{D3DRS_COLORVERTEX, FALSE},
          {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1},
          {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR2},
          {D3DRS_SPECULARENABLE, TRUE}},
         {{0, sun}},
         redMaterial,
         coloured,
         facingUp},

        // Eight lights of every type, clamped.
        {"eight lights at once",
         {ambient48, {D3DRS_SPECULARENABLE, TRUE}},
         eight,
         MakeMaterial({0.9f, 0.9f, 0.9f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f},
                      {0.0f, 0.05f, 0.1f, 1.0f}, 4.0f),
         lit,
         {at, Unit(Vec3{0.2, 1.0, 0.1})}},

        // Viewers, normals and specular switched off.
        {"specular, local viewer",
         {{D3DRS_SPECULARENABLE, TRUE}},
         {{0, sun}},
         redMaterial,
         lit,
         {at, Unit(Vec3{0.3, 1.0, 0.4})}},
        {"specular, infinite viewer",
         {{D3DRS_SPECULARENABLE, TRUE}, {D3DRS_LOCALVIEWER, FALSE}},
         {{0, sun}},
         redMaterial,
         lit,
         {at, Unit(Vec3{0.3, 1.0, 0.4})}},
        {"specular off", {{D3DRS_SPECULARENABLE, FALSE}}, {{0, sun}}, redMaterial, lit, {at, up}},
        {"a short normal, not normalised",
         {{D3DRS_NORMALIZENORMALS, FALSE}},
         {{0, frontSun}},
         grey,
         lit,
         {at, Vec3{0.0, 0.5, 0.0}},
         82,
         71,
         61},
        {"a short normal, normalised",
         {{D3DRS_NORMALIZENORMALS, TRUE}},
         {{0, frontSun}},
         grey,
         lit,
         {at, Vec3{0.0, 0.5, 0.0}},
         163,
         143,
         122},
    };
    return cases;
}

TEST_F(LightingProbe, LitVerticesShowDirect3DsColours)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        // Every case starts from Direct3D's defaults.
        m_Device = NewDevice(m_Window);
        ASSERT_TRUE(m_Device);
        PlaceCamera();
        const Rgb expected = Prepare(c);
        BeginFrame(0xFF000000);
        DrawProbe(c.fvf, c.vertex);
        const RgbaImage& frame = EndFrame();
        EXPECT_TRUE(Shows(frame, 64, 64, expected, 2));
        // Where worked out by hand as well, the figure agrees.
        if (c.r >= 0) {
            EXPECT_TRUE(PixelNear(frame, 64, 64, c.r, c.g, c.b, 3));
        }
    }
}

TEST_F(LightingProbe, ALightSwitchedOffMidFrameLightsOnlyTheDrawsBeforeIt)
{
    const Vec3 at{-0.9, -0.9, 0.5};
    const Case c{"two lights",
                 {},
                 {{0, Directional(Vec3{0.0, -1.0, 0.0}, {0.3f, 0.2f, 0.1f, 1.0f})},
                  {3, Point(at + Vec3{0.5, 1.0, 0.0}, {0.4f, 0.5f, 0.6f, 1.0f}, 5.0f, 1.0f, 0.0f, 0.0f)}},
                 MakeMaterial(kWhite, kBlack, kBlack, kBlack, 0.0f),
                 D3DFVF_XYZ | D3DFVF_NORMAL,
                 {at, Vec3{0.0, 1.0, 0.0}}};
    const Rgb both = Prepare(c);
    Case first = c;
    first.lights.pop_back();
    const Rgb one = Prepare(first);  // the light at index 3 stays set as well

    BeginFrame(0xFF000000);
    const D3DVIEWPORT9 left{0, 0, kSize / 2, kSize, 0.0f, 1.0f};
    const D3DVIEWPORT9 right{kSize / 2, 0, kSize / 2, kSize, 0.0f, 1.0f};
    m_Device->SetViewport(&left);
    DrawProbe(c.fvf, c.vertex);
    m_Device->LightEnable(3, FALSE);
    m_Device->SetViewport(&right);
    DrawProbe(c.fvf, c.vertex);
    const RgbaImage& frame = EndFrame();
    EXPECT_TRUE(Shows(frame, 32, 64, both, 2));
    EXPECT_TRUE(Shows(frame, 96, 64, one, 2));
    EXPECT_GT(both.b - one.b, 0.1);  // the point light made a difference worth seeing
    EXPECT_EQ(Gl()->GLLightSlotIndex(0), 0);
    EXPECT_EQ(Gl()->GLLightSlotIndex(1), -1);
}

TEST_F(LightingProbe, SpecularIsAddedAfterTexturingAndUnlitVerticesAddTheirOwn)
{
    const Vec3 at{-0.9, -0.9, 0.5};
    // Lit and textured: stage 0 takes the texture alone, the specular comes on top.
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(m_Device->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    *static_cast<DWORD*>(locked.pBits) = 0xFF2040C0;
    texture->UnlockRect(0);
    m_Device->SetTexture(0, texture.Get());
    m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    const Vec3 towardsEye = Unit(kEye - at);
    const Case shiny{"textured",
                     {{D3DRS_SPECULARENABLE, TRUE}},
                     {{0, Directional(towardsEye * -1.0, kWhite, {0.3f, 0.4f, 0.2f, 1.0f})}},
                     MakeMaterial(kWhite, kBlack, kWhite, kBlack, 10.0f),
                     D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1,
                     {at, Unit(Vec3{0.2, 1.0, 0.6})}};
    const Rgb texel = FromPacked(0xFF2040C0);
    const Rgb expected = Prepare(shiny, &texel);
    BeginFrame(0xFF000000);
    DrawProbe(shiny.fvf, shiny.vertex);
    const RgbaImage& textured = EndFrame();
    EXPECT_TRUE(Shows(textured, 64, 64, expected, 2));
    EXPECT_GT(expected.g - texel.g, 0.1);
    m_Device->SetTexture(0, nullptr);

    // Unlit: the vertex's colours as they stand, the specular one only while
    // specular is on.
    const ProbeVertex v{at, {0.0, 1.0, 0.0}, 0xFF402010, 0xFF103050};
    for (const BOOL specular : {TRUE, FALSE}) {
        m_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
        m_Device->SetRenderState(D3DRS_SPECULARENABLE, specular);
        BeginFrame(0xFF000000);
        DrawProbe(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR, v);
        const RgbaImage& unlit = EndFrame();
        EXPECT_TRUE(specular ? PixelNear(unlit, 64, 64, 0x50, 0x50, 0x60, 1)
                             : PixelNear(unlit, 64, 64, 0x40, 0x20, 0x10, 1))
            << (specular ? "specular on" : "specular off");
    }
}

}  // namespace
