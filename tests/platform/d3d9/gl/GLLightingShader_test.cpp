// Lit probes drawn through the device and compared with Direct3D 9's
// documented vertex lighting, worked out here on the CPU in world space (the
// device works in eye space). A probe is one flat-shaded triangle over its
// own viewport whose first vertex is the vertex being lit. The projection is
// the view's inverse: clip coordinates are world coordinates, while the
// lights still go through a real view. Every case is drawn in a cell of one
// frame and undone before the next, so a change the device fails to hand to
// GL between draws shows too.
#include <algorithm>
#include <cmath>
#include <vector>

#include "RenderTest.h"

namespace {

using Vec3 = D3DXVECTOR3;
float Dot(const Vec3& a, const Vec3& b)
{
    return D3DXVec3Dot(&a, &b);
}
Vec3 Unit(const Vec3& v)
{
    Vec3 u;
    D3DXVec3Normalize(&u, &v);
    return u;
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
using Lights = std::vector<std::pair<DWORD, D3DLIGHT9>>;
using States = std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>>;
// Direct3D 9's per-vertex lighting, as its documentation states it, seen
// through view: the colour before texturing and the specular added after.
std::pair<Rgb, Rgb> Direct3DLighting(const DWORD* rs, const Lights& lights, const D3DMATERIAL9& material, DWORD fvf,
                                     const ProbeVertex& v, const D3DXMATRIX& view)
{
    if (rs[D3DRS_LIGHTING] == FALSE)
        return {fvf & D3DFVF_DIFFUSE ? FromPacked(v.diffuse) : Rgb{1, 1, 1},
                rs[D3DRS_SPECULARENABLE] && (fvf & D3DFVF_SPECULAR) ? FromPacked(v.specular) : Rgb{}};
    D3DXMATRIX toWorld;
    D3DXMatrixInverse(&toWorld, nullptr, &view);
    const Vec3 eye{toWorld._41, toWorld._42, toWorld._43};
    const Vec3 cameraZ = Unit(Vec3{toWorld._31, toWorld._32, toWorld._33});  // the non-local viewer's way
    // Material sources: a vertex colour the FVF lacks falls back to the material.
    const auto source = [&](D3DRENDERSTATETYPE state, const D3DCOLORVALUE& own) {
        if (rs[D3DRS_COLORVERTEX] != FALSE && rs[state] == D3DMCS_COLOR1 && (fvf & D3DFVF_DIFFUSE))
            return FromPacked(v.diffuse);
        if (rs[D3DRS_COLORVERTEX] != FALSE && rs[state] == D3DMCS_COLOR2 && (fvf & D3DFVF_SPECULAR))
            return FromPacked(v.specular);
        return FromValue(own);
    };
    const Vec3 n = rs[D3DRS_NORMALIZENORMALS] != FALSE ? Unit(v.normal) : v.normal;
    Rgb ambient, diffuse, specular;
    for (const auto& [index, light] : lights) {
        Vec3 l = Unit(Vec3(light.Direction)) * -1.0;
        double scale = 1.0;  // attenuation and spot factor
        if (light.Type != D3DLIGHT_DIRECTIONAL) {
            const Vec3 toLight = Vec3(light.Position) - v.position;
            const double d = std::sqrt(Dot(toLight, toLight));
            if (d > light.Range)
                continue;
            l = toLight * (1.0 / d);
            scale = 1.0 / (light.Attenuation0 + light.Attenuation1 * d + light.Attenuation2 * d * d);
            if (light.Type == D3DLIGHT_SPOT) {
                const double rho = Dot(Unit(Vec3(light.Direction)), l * -1.0);
                const double inner = std::cos(light.Theta / 2.0), outer = std::cos(light.Phi / 2.0);
                scale *= rho > inner    ? 1.0
                         : rho <= outer ? 0.0
                                        : std::pow((rho - outer) / (inner - outer), light.Falloff);
            }
        }
        ambient = ambient + FromValue(light.Ambient) * scale;
        const double nl = Dot(n, l);
        diffuse = diffuse + FromValue(light.Diffuse) * (scale * std::max(nl, 0.0));
        if (nl > 0.0) {
            const Vec3 h = Unit(l + (rs[D3DRS_LOCALVIEWER] != FALSE ? Unit(eye - v.position) : cameraZ));
            specular =
                specular + FromValue(light.Specular) * (scale * std::pow(std::max(Dot(n, h), 0.0f), material.Power));
        }
    }
    const Rgb lit = source(D3DRS_AMBIENTMATERIALSOURCE, material.Ambient) * (FromPacked(rs[D3DRS_AMBIENT]) + ambient) +
                    source(D3DRS_DIFFUSEMATERIALSOURCE, material.Diffuse) * diffuse +
                    source(D3DRS_EMISSIVEMATERIALSOURCE, material.Emissive);
    const Rgb shine =
        rs[D3DRS_SPECULARENABLE] ? source(D3DRS_SPECULARMATERIALSOURCE, material.Specular) * specular : Rgb{};
    return {lit.Clamped(), shine.Clamped()};
}

constexpr Vec3 kEye{1.5, 2.0, 4.0};   // the probes' camera, looking at the origin
constexpr Vec3 kAt{-0.9, -0.9, 0.5};  // the probe vertex, at a corner of the viewport
constexpr Vec3 kUp{0.0, 1.0, 0.0};
constexpr D3DCOLORVALUE kWhite{1, 1, 1, 1};

struct Case
{
    const char* what;
    States states;
    Lights lights;
    D3DMATERIAL9 material;
    DWORD fvf;
    ProbeVertex vertex;
    int hand = -1;    // 0xRRGGBB worked out by hand as well, if not -1: a check of the reference
    DWORD texel = 0;  // non-zero: stage 0 shows this texel instead of the lit colour
};

D3DLIGHT9 MakeLight(D3DLIGHTTYPE type, Vec3 position, Vec3 direction, D3DCOLORVALUE diffuse,
                    D3DCOLORVALUE specular = {}, D3DCOLORVALUE ambient = {})
{
    return D3DLIGHT9{type, diffuse, specular, ambient, position, direction, 100.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
}

// A spot light 'distance' from the probe, pointing along −Y, the way from it
// to the probe 'angle' radians off its axis (Theta 0.4, Phi 0.8).
D3DLIGHT9 SpotTowards(double distance, double angle, float falloff)
{
    D3DLIGHT9 light = MakeLight(D3DLIGHT_SPOT, kAt + Vec3(-distance * std::sin(angle), distance * std::cos(angle), 0),
                                {0, -1, 0}, kWhite);
    light.Theta = 0.4f;
    light.Phi = 0.8f;
    light.Falloff = falloff;
    return light;
}

std::vector<Case> Cases()
{
    const D3DMATERIAL9 grey = MakeMaterial({0.8f, 0.7f, 0.6f, 1.0f}, kWhite);
    const D3DMATERIAL9 red =
        MakeMaterial({0.8f, 0, 0, 1}, {0.2f, 0.3f, 0.4f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0.1f, 0, 0.2f, 1}, 8.0f);
    const DWORD lit = D3DFVF_XYZ | D3DFVF_NORMAL;
    const DWORD coloured = lit | D3DFVF_DIFFUSE | D3DFVF_SPECULAR;
    const ProbeVertex up{kAt, kUp, 0xFF66CC33, 0xFF204080};
    const std::pair<D3DRENDERSTATETYPE, DWORD> ambient48{D3DRS_AMBIENT, 0xFF303030},
        specularOn{D3DRS_SPECULARENABLE, 1};
    const std::pair<D3DRENDERSTATETYPE, DWORD> diffuseM{D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL};
    const std::pair<D3DRENDERSTATETYPE, DWORD> specularM{D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL};
    // A point light 3.26 straight above the probe: out of its range 2.5,
    // then reaching and attenuated.
    D3DLIGHT9 farAbove =
        MakeLight(D3DLIGHT_POINT, kAt + Vec3{0, 3.26, 0}, {}, {0.9f, 0.8f, 0.7f, 1}, kWhite, {0.3f, 0.3f, 0.3f, 1});
    farAbove.Range = 2.5f;
    D3DLIGHT9 reaching = farAbove;
    reaching.Range = 3.5f;
    reaching.Attenuation1 = 0.1f;
    reaching.Attenuation2 = 0.05f;
    // Specular of power 200 from straight above, the normal 0.08 rad off the
    // halfway vector to the eye: (N·H)^200 = 0.53 where a power of 128
    // would give 0.66.
    const Vec3 halfway = Unit(kUp + Unit(kEye - kAt));
    const Vec3 aside = Unit(Vec3{halfway.y, -halfway.x, 0.0});
    const Vec3 nearlyHalfway = Unit(halfway * std::cos(0.08) + aside * std::sin(0.08));
    const D3DMATERIAL9 shiny = MakeMaterial({}, {}, kWhite, {}, 200.0f);

    const D3DLIGHT9 sun =
        MakeLight(D3DLIGHT_DIRECTIONAL, {}, {0.3, -1.0, -0.2}, {0.9f, 0.9f, 0.9f, 1}, kWhite, {0.2f, 0.2f, 0.2f, 1});
    const D3DLIGHT9 overhead = MakeLight(D3DLIGHT_DIRECTIONAL, {}, {0, -1, 0}, {0.8f, 0.8f, 0.8f, 1});
    // Eight lights of every type, each adding a little: together red
    // clamps, green and blue do not.
    Lights eight;
    for (DWORD i = 0; i < 8; ++i) {
        const double a = 0.7 * i;
        const D3DCOLORVALUE colour{0.3f, 0.02f + 0.01f * static_cast<float>(i), 0.04f, 1.0f};
        D3DLIGHT9 light = i % 3 == 0
                              ? MakeLight(D3DLIGHT_DIRECTIONAL, {}, Vec3(std::cos(a), -1.5f, std::sin(a)), colour)
                          : i % 3 == 1 ? MakeLight(D3DLIGHT_POINT, kAt + Vec3(std::cos(a), 1, std::sin(a)), {}, colour)
                                       : SpotTowards(1.5, 0.05 * i, 1.0f);
        light.Diffuse = colour;
        light.Specular = {0.05f, 0.05f, 0.05f, 1};
        light.Ambient = {0.02f, 0.02f, 0.02f, 1};
        eight.push_back({i, light});
    }
    constexpr DWORD C1 = D3DMCS_COLOR1, C2 = D3DMCS_COLOR2;
    const Lights sunL{{0, sun}}, overheadL{{0, overhead}};
    const ProbeVertex flat{kAt, kUp}, tilted{kAt, Unit(Vec3{0.3, 1.0, 0.4})}, shortNormal{kAt, {0, 0.5, 0}};
    const ProbeVertex painted{kAt, kUp, 0xFF402010, 0xFF103050};
    const DWORD unlitFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR;
    const std::pair<D3DRENDERSTATETYPE, DWORD> unlit{D3DRS_LIGHTING, FALSE};
    const D3DMATERIAL9 none = MakeMaterial({});
    const D3DLIGHT9 down = MakeLight(D3DLIGHT_DIRECTIONAL, {}, {0, -1, 0}, {}, kWhite);
    const D3DLIGHT9 fromEye = MakeLight(D3DLIGHT_DIRECTIONAL, {}, Unit(kAt - kEye), kWhite, {0.3f, 0.4f, 0.2f, 1});
    const D3DMATERIAL9 manyLights =
        MakeMaterial({0.9f, 0.9f, 0.9f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0.0f, 0.05f, 0.1f, 1}, 4.0f);

    return {
        // Hand figures: full light inside Theta/2, 0.581 of it 0.3 rad off
        // the axis, nothing outside Phi/2; N·L = cos 0.15 and cos 0.3.
        {"point light beyond its range", {ambient48}, {{0, farAbove}}, grey, lit, flat, 0x303030},
        {"spot inside the inner cone", {}, {{0, SpotTowards(2.0, 0.15, 1)}}, grey, lit, flat, 0xCAB097},
        {"spot in the penumbra", {}, {{0, SpotTowards(2.0, 0.3, 1)}}, grey, lit, flat, 0x716355},
        {"spot outside the outer cone", {}, {{0, SpotTowards(2.0, 0.45, 1)}}, grey, lit, flat, 0x000000},
        {"spot in the penumbra, falloff 2", {}, {{5, SpotTowards(2.0, 0.3, 2)}}, grey, lit, flat},
        {"specular power 200", {specularOn}, {{0, down}}, shiny, lit, {kAt, nearlyHalfway}, 0x868686},
        {"point light within range, attenuated", {ambient48}, {{2, reaching}}, grey, lit, flat},
        // Material sources.
        {"default sources: diffuse COLOR1, specular COLOR2", {specularOn}, sunL, red, coloured, up},
        {"ambient from COLOR1",
         {{D3DRS_AMBIENTMATERIALSOURCE, C1}, ambient48, diffuseM, specularM},
         sunL,
         red,
         coloured,
         up},
        {"emissive from COLOR2", {{D3DRS_EMISSIVEMATERIALSOURCE, C2}, diffuseM, specularM}, sunL, red, coloured, up},
        {"specular from COLOR1", {{D3DRS_SPECULARMATERIALSOURCE, C1}, specularOn, diffuseM}, sunL, red, coloured, up},
        {"diffuse from a COLOR2 the vertex lacks",
         {{D3DRS_DIFFUSEMATERIALSOURCE, C2}},
         sunL,
         red,
         lit | D3DFVF_DIFFUSE,
         up},
        {"COLORVERTEX off: the material whatever the sources",
         {{D3DRS_COLORVERTEX, FALSE},
          {D3DRS_AMBIENTMATERIALSOURCE, C1},
          {D3DRS_EMISSIVEMATERIALSOURCE, C2},
          specularOn},
         sunL,
         red,
         coloured,
         up},
        {"eight lights at once", {ambient48, specularOn}, eight, manyLights, lit, {kAt, Unit(Vec3{0.2, 1.0, 0.1})}},
        // The infinite viewer, normals; unlit; specular added after texturing (last: it stays bound).
        {"specular, infinite viewer", {specularOn, {D3DRS_LOCALVIEWER, FALSE}}, sunL, red, lit, tilted},
        {"a short normal, not normalised", {}, overheadL, grey, lit, shortNormal, 0x52473D},
        {"a short normal, normalised", {{D3DRS_NORMALIZENORMALS, TRUE}}, overheadL, grey, lit, shortNormal, 0xA38F7A},
        {"unlit: the vertex's colours", {unlit, specularOn}, {}, none, unlitFvf, painted, 0x505060},
        {"unlit, specular off", {unlit}, {}, none, unlitFvf, painted, 0x402010},
        {"textured, specular on top",
         {specularOn},
         {{0, fromEye}},
         MakeMaterial(kWhite, {}, kWhite, {}, 10.0f),
         lit | D3DFVF_TEX1,
         {kAt, Unit(Vec3{0.2, 1.0, 0.6})},
         -1,
         0xFF2040C0},
    };
}

// The probe's triangle in the FVF's layout: position, normal, diffuse,
// specular, texture coordinates, as far as the FVF has them.
void DrawProbe(IDirect3DDevice9* device, DWORD fvf, const ProbeVertex& v)
{
    std::vector<unsigned char> bytes;
    const auto put = [&bytes](const void* data, size_t size) {
        bytes.insert(bytes.end(), static_cast<const unsigned char*>(data),
                     static_cast<const unsigned char*>(data) + size);
    };
    for (const Vec3& corner : {v.position, Vec3{4.0, -0.9, 0.5}, Vec3{-0.9, 4.0, 0.5}}) {
        const float uv[2] = {0.5f, 0.5f};
        put(&corner, sizeof(D3DVECTOR));
        if (fvf & D3DFVF_NORMAL)
            put(&v.normal, sizeof(D3DVECTOR));
        if (fvf & D3DFVF_DIFFUSE)
            put(&v.diffuse, sizeof v.diffuse);
        if (fvf & D3DFVF_SPECULAR)
            put(&v.specular, sizeof v.specular);
        if (fvf & D3DFVF_TEX1)
            put(uv, sizeof uv);
    }
    device->SetFVF(fvf);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, bytes.data(), static_cast<UINT>(bytes.size() / 3)),
              D3D_OK);
}

TEST_F(RenderTest, LitVerticesShowDirect3DsColours)
{
    const D3DXVECTOR3 origin(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX view, projection, identity;
    D3DXMatrixLookAtRH(&view, &kEye, &origin, &up);
    D3DXMatrixInverse(&projection, nullptr, &view);
    D3DXMatrixIdentity(&identity);
    m_Device->SetTransform(D3DTS_WORLD, &identity);
    m_Device->SetTransform(D3DTS_PROJECTION, &projection);
    m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    m_Device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(m_Device->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr), D3D_OK);
    DWORD defaults[D3DRS_STATECOUNT_EXT];
    D3D9DefaultRenderStatesEXT(defaults, true);

    const std::vector<Case> cases = Cases();
    constexpr int kCell = kSize / 5;
    std::vector<Rgb> expected;
    BeginFrame(0xFF000000);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const D3DVIEWPORT9 cell{
            static_cast<DWORD>(i % 5 * kCell), static_cast<DWORD>(i / 5 * kCell), kCell, kCell, 0, 1};
        m_Device->SetViewport(&cell);
        DWORD rs[D3DRS_STATECOUNT_EXT];
        std::copy(std::begin(defaults), std::end(defaults), rs);
        for (const auto& [state, value] : c.states) {
            rs[state] = value;
            m_Device->SetRenderState(state, value);
        }
        for (const auto& [index, light] : c.lights) {
            EXPECT_EQ(m_Device->SetLight(index, &light), D3D_OK);
            EXPECT_EQ(m_Device->LightEnable(index, TRUE), D3D_OK);
        }
        m_Device->SetMaterial(&c.material);
        if (c.texel) {
            D3DLOCKED_RECT locked{};
            ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
            *static_cast<DWORD*>(locked.pBits) = c.texel;
            texture->UnlockRect(0);
            m_Device->SetTexture(0, texture.Get());
            m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        }
        // Drawn first under another view: the lights must follow the change.
        m_Device->SetTransform(D3DTS_VIEW, &identity);
        DrawProbe(m_Device.Get(), c.fvf, c.vertex);
        m_Device->SetTransform(D3DTS_VIEW, &view);
        DrawProbe(m_Device.Get(), c.fvf, c.vertex);
        const auto [before, specular] = Direct3DLighting(rs, c.lights, c.material, c.fvf, c.vertex, view);
        expected.push_back(((c.texel ? FromPacked(c.texel) : before) + specular).Clamped());
        for (const auto& [state, value] : c.states)
            m_Device->SetRenderState(state, defaults[state]);
        for (const auto& [index, light] : c.lights)
            m_Device->LightEnable(index, FALSE);
    }
    const RgbaImage& frame = EndFrame();
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const int x = static_cast<int>(i % 5) * kCell + kCell / 2, y = static_cast<int>(i / 5) * kCell + kCell / 2;
        const auto channel = [](double v) { return static_cast<int>(std::lround(v * 255.0)); };
        EXPECT_TRUE(PixelNear(frame, x, y, channel(expected[i].r), channel(expected[i].g), channel(expected[i].b), 2));
        if (c.hand >= 0) {  // the hand figure agrees
            EXPECT_TRUE(PixelNear(frame, x, y, c.hand >> 16, (c.hand >> 8) & 0xFF, c.hand & 0xFF, 3));
        }
    }
    EXPECT_GT(expected.back().g - FromPacked(cases.back().texel).g, 0.1);  // the specular shows on the texture
}

}  // namespace
