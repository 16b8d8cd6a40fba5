// The translation rules from Direct3D values to GL's that the lit probes
// cannot show, and the choice of lighting program, checked without a context.
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

TEST(D3DToGL, LightValuesWithoutMeaningGiveNoLightRatherThanNonsense)
{
    D3DXMATRIX view;
    D3DXMatrixIdentity(&view);
    D3DLIGHT9 spot = DefaultLight();
    spot.Type = D3DLIGHT_SPOT;
    spot.Range = std::nanf("");  // not a distance: reaches nothing
    spot.Theta = 1.0f;           // an inner cone wider than the outer one is the outer one
    spot.Phi = 0.8f;
    const d3dtogl::ProgramLight p = d3dtogl::LightForProgram(spot, view);
    EXPECT_EQ(p.attenuation[0], 1.0f);  // all zero: no attenuation rather than a division by zero
    EXPECT_EQ(p.attenuation[3], 0.0f);
    EXPECT_NEAR(p.spot[0], std::cos(0.4f), 1e-6f);
    EXPECT_EQ(d3dtogl::SpecularPower(-1.0f), 0.0f);
    EXPECT_EQ(d3dtogl::SpecularPower(std::nanf("")), 0.0f);
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
    EXPECT_EQ(base.lightTypes[1], D3DLIGHT_POINT);
    EXPECT_EQ(indices[0], 2);
    EXPECT_EQ(indices[1], 4);
    EXPECT_EQ(indices[2], -1);
    // Each change below needs another text, and so another key.
    using Change = std::function<void(DeviceState&)>;
    const std::vector<Change> changes = {
        [](DeviceState& s) { s.renderStates[D3DRS_LIGHTING] = FALSE; },
        [](DeviceState& s) { s.renderStates[D3DRS_SPECULARENABLE] = TRUE; },
        [](DeviceState& s) {
            s.renderStates[D3DRS_SPECULARENABLE] = TRUE;
            s.renderStates[D3DRS_LOCALVIEWER] = FALSE;
        },
        [](DeviceState& s) { s.renderStates[D3DRS_NORMALIZENORMALS] = TRUE; },
        [](DeviceState& s) { s.lights[7].enabled = true; },
        [](DeviceState& s) { s.lights[4].light.Type = D3DLIGHT_SPOT; },
        [](DeviceState& s) {  // the lights' order
            s.lights[1] = s.lights[4];
            s.lights.erase(4);
        },
        [](DeviceState& s) { s.fvf |= D3DFVF_DIFFUSE; },
        [](DeviceState& s) {
            s.fvf |= D3DFVF_SPECULAR;
            s.renderStates[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_COLOR2;
        },
    };
    std::vector<std::uint32_t> keys{base.Key()};
    for (size_t i = 0; i < changes.size(); ++i) {
        DeviceState changed = state;
        changes[i](changed);
        const GLLightingShader s = GLLightingShader::ForState(changed, &lights, &indices);
        EXPECT_EQ(std::count(keys.begin(), keys.end(), s.Key()), 0) << "change " << i;
        EXPECT_NE(s.Text(), base.Text()) << "change " << i;
        keys.push_back(s.Key());
    }
    // What the text does not depend on leaves the key alone.
    DeviceState moved = state;
    moved.lights[4].light.Position = {9.0f, 9.0f, 9.0f};
    moved.renderStates[D3DRS_AMBIENT] = 0xFF102030;
    moved.renderStates[D3DRS_LOCALVIEWER] = FALSE;  // no specular, no viewer
    EXPECT_EQ(GLLightingShader::ForState(moved, &lights, &indices).Key(), base.Key());
}

}  // namespace
