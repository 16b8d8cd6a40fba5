// The translation rules from Direct3D values to GL's, and the choice of
// lighting program, checked without a context.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "D3DToGL.h"
#include "DeviceState.h"
#include "GLLightingShader.h"

namespace {

TEST(D3DToGL, LightsReachTheProgramInEyeSpaceWithTheirConeAsCosines)
{
    // A view that turns the world a quarter turn about Y and moves it 5
    // units away.
    D3DXMATRIX view;
    const D3DXVECTOR3 yAxis(0.0f, 1.0f, 0.0f);
    D3DXMatrixRotationAxis(&view, &yAxis, 1.5707963f);
    view._43 = -5.0f;

    D3DLIGHT9 sun{};
    sun.Type = D3DLIGHT_DIRECTIONAL;
    sun.Direction = {0.0f, -2.0f, 0.0f};  // not unit length
    sun.Diffuse = {0.8f, 0.7f, 0.6f, 1.0f};
    sun.Range = 0.0f;  // no meaning for a directional light
    const d3dtogl::ProgramLight s = d3dtogl::LightForProgram(sun, view);
    // The unit way towards the light, with w = 0; no attenuation.
    EXPECT_NEAR(s.position[1], 1.0f, 1e-6f);
    EXPECT_EQ(s.position[3], 0.0f);
    EXPECT_EQ(s.attenuation[0], 1.0f);
    EXPECT_EQ(s.spot[3], 0.0f);
    EXPECT_EQ(s.diffuse.v[1], 0.7f);

    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Position = {1.0f, 2.0f, 3.0f};
    point.Attenuation1 = 0.5f;
    point.Range = 2.5f;
    d3dtogl::ProgramLight p = d3dtogl::LightForProgram(point, view);
    D3DXVECTOR3 expected;
    const D3DXVECTOR3 world(1.0f, 2.0f, 3.0f);
    D3DXVec3TransformCoord(&expected, &world, &view);
    EXPECT_NEAR(p.position[0], expected.x, 1e-5f);
    EXPECT_NEAR(p.position[1], expected.y, 1e-5f);
    EXPECT_NEAR(p.position[2], expected.z, 1e-5f);
    EXPECT_EQ(p.position[3], 1.0f);
    EXPECT_EQ(p.attenuation[0], 0.0f);
    EXPECT_EQ(p.attenuation[1], 0.5f);
    EXPECT_EQ(p.attenuation[3], 2.5f);
    point.Attenuation1 = 0.0f;    // all zero: no attenuation rather than a division by zero
    point.Range = std::nanf("");  // not a distance: reaches nothing
    p = d3dtogl::LightForProgram(point, view);
    EXPECT_EQ(p.attenuation[0], 1.0f);
    EXPECT_EQ(p.attenuation[3], 0.0f);

    D3DLIGHT9 spot = point;
    spot.Type = D3DLIGHT_SPOT;
    spot.Direction = {3.0f, 0.0f, 0.0f};
    spot.Theta = 0.4f;
    spot.Phi = 0.8f;
    spot.Falloff = 2.0f;
    const d3dtogl::ProgramLight c = d3dtogl::LightForProgram(spot, view);
    // +X seen through the quarter turn (not moved), unit length.
    const D3DXVECTOR3 xAxis(1.0f, 0.0f, 0.0f);
    D3DXVECTOR3 turned;
    D3DXVec3TransformNormal(&turned, &xAxis, &view);
    EXPECT_NEAR(std::fabs(turned.z), 1.0f, 1e-6f);
    EXPECT_NEAR(c.direction[0], turned.x, 1e-6f);
    EXPECT_NEAR(c.direction[2], turned.z, 1e-6f);
    EXPECT_NEAR(c.spot[0], std::cos(0.2f), 1e-6f);
    EXPECT_NEAR(c.spot[1], std::cos(0.4f), 1e-6f);
    EXPECT_EQ(c.spot[2], 2.0f);
    EXPECT_EQ(c.spot[3], 1.0f);
    // An inner cone wider than the outer one is the outer one.
    spot.Theta = 1.0f;
    EXPECT_NEAR(d3dtogl::LightForProgram(spot, view).spot[0], std::cos(0.4f), 1e-6f);

    EXPECT_EQ(d3dtogl::SpecularPower(200.0f), 200.0f);  // no limit of 128
    EXPECT_EQ(d3dtogl::SpecularPower(-1.0f), 0.0f);
    EXPECT_EQ(d3dtogl::SpecularPower(std::nanf("")), 0.0f);
}

TEST(D3DToGL, MaterialSourcesPickTheVertexColoursOnlyWhereTheyExist)
{
    using Sources = std::array<DWORD, 4>;  // ambient, diffuse, specular, emissive
    constexpr DWORD M = D3DMCS_MATERIAL, C1 = D3DMCS_COLOR1, C2 = D3DMCS_COLOR2;
    DWORD rs[D3DRS_STATECOUNT_EXT];
    D3D9DefaultRenderStatesEXT(rs, true);
    // Defaults: diffuse from COLOR1, specular from COLOR2, the rest from the material.
    EXPECT_EQ(d3dtogl::SourcesFromStates(rs, true, true), (Sources{M, C1, C2, M}));
    // A vertex without a colour: the material's instead.
    EXPECT_EQ(d3dtogl::SourcesFromStates(rs, true, false), (Sources{M, C1, M, M}));
    EXPECT_EQ(d3dtogl::SourcesFromStates(rs, false, true), (Sources{M, M, C2, M}));

    rs[D3DRS_AMBIENTMATERIALSOURCE] = C2;
    rs[D3DRS_EMISSIVEMATERIALSOURCE] = C1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = M;
    EXPECT_EQ(d3dtogl::SourcesFromStates(rs, true, true), (Sources{C2, C1, M, C1}));
    // Colour vertex off: the material everywhere.
    rs[D3DRS_COLORVERTEX] = FALSE;
    EXPECT_EQ(d3dtogl::SourcesFromStates(rs, true, true), (Sources{M, M, M, M}));
}

TEST(D3DToGL, EveryCombinationOfLightsAndSwitchesHasAProgramOfItsOwn)
{
    DeviceState state(true);
    state.fvf = D3DFVF_XYZ | D3DFVF_NORMAL;
    D3DLIGHT9 point = DefaultLight();
    point.Type = D3DLIGHT_POINT;
    state.lights[4] = {point, true};
    state.lights[2] = {DefaultLight(), true};
    state.lights[7] = {point, false};
    GLLightingShader::Lights lights;
    std::array<int, GLLightingShader::kMaxLights> indices{};
    const GLLightingShader base = GLLightingShader::ForState(state, &lights, &indices);
    // Enabled lights by ascending index.
    EXPECT_EQ(base.lightCount, 2);
    EXPECT_EQ(base.lightTypes[0], D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(base.lightTypes[1], D3DLIGHT_POINT);
    EXPECT_EQ(indices[0], 2);
    EXPECT_EQ(indices[1], 4);
    EXPECT_EQ(indices[2], -1);
    EXPECT_EQ(lights.count, 2);

    // Each change below needs another text, and so another key.
    const std::vector<std::pair<const char*, std::function<void(DeviceState&)>>> changes = {
        {"lighting off", [](DeviceState& s) { s.renderStates[D3DRS_LIGHTING] = FALSE; }},
        {"specular on", [](DeviceState& s) { s.renderStates[D3DRS_SPECULARENABLE] = TRUE; }},
        {"specular, infinite viewer",
         [](DeviceState& s) {
             s.renderStates[D3DRS_SPECULARENABLE] = TRUE;
             s.renderStates[D3DRS_LOCALVIEWER] = FALSE;
         }},
        {"normalised normals", [](DeviceState& s) { s.renderStates[D3DRS_NORMALIZENORMALS] = TRUE; }},
        {"a third light", [](DeviceState& s) { s.lights[7].enabled = true; }},
        {"the point light a spot", [](DeviceState& s) { s.lights[4].light.Type = D3DLIGHT_SPOT; }},
        {"the lights' order",
         [](DeviceState& s) {
             s.lights[1] = s.lights[4];
             s.lights.erase(4);
         }},
        {"a vertex colour", [](DeviceState& s) { s.fvf |= D3DFVF_DIFFUSE; }},
        {"emissive from COLOR2",
         [](DeviceState& s) {
             s.fvf |= D3DFVF_SPECULAR;
             s.renderStates[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_COLOR2;
         }},
    };
    std::vector<std::uint32_t> keys{base.Key()};
    for (const auto& [what, change] : changes) {
        DeviceState changed = state;
        change(changed);
        const GLLightingShader s = GLLightingShader::ForState(changed, &lights, &indices);
        EXPECT_EQ(std::count(keys.begin(), keys.end(), s.Key()), 0) << what;
        EXPECT_NE(s.Text(), base.Text()) << what;
        keys.push_back(s.Key());
    }
    // What the text does not depend on leaves the key alone.
    DeviceState moved = state;
    moved.lights[4].light.Position = {9.0f, 9.0f, 9.0f};
    moved.renderStates[D3DRS_AMBIENT] = 0xFF102030;
    moved.material.Power = 50.0f;
    moved.renderStates[D3DRS_LOCALVIEWER] = FALSE;  // no specular, no viewer
    EXPECT_EQ(GLLightingShader::ForState(moved, &lights, &indices).Key(), base.Key());
    // Unlit, the lights do not matter.
    DeviceState unlit = state;
    unlit.renderStates[D3DRS_LIGHTING] = FALSE;
    const std::uint32_t unlitKey = GLLightingShader::ForState(unlit, &lights, &indices).Key();
    unlit.lights.clear();
    EXPECT_EQ(GLLightingShader::ForState(unlit, &lights, &indices).Key(), unlitKey);
}

}  // namespace
