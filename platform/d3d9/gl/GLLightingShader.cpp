#include "GLLightingShader.h"

#include <cstring>

#include "D3DToGL.h"

bool GLLightingShader::Lights::operator==(const Lights& o) const
{
    return count == o.count && std::memcmp(&view, &o.view, sizeof view) == 0 &&
           std::memcmp(lights.data(), o.lights.data(), sizeof(D3DLIGHT9) * static_cast<size_t>(count)) == 0;
}

GLLightingShader GLLightingShader::ForState(const DeviceState& state, Lights* lights,
                                            std::array<int, kMaxLights>* indices)
{
    const DWORD* rs = state.renderStates;
    GLLightingShader s;
    s.lighting = rs[D3DRS_LIGHTING] != FALSE;
    s.specular = rs[D3DRS_SPECULARENABLE] != FALSE;
    indices->fill(-1);
    lights->count = 0;
    if (!s.lighting)
        return s;

    // The viewer matters to specular alone.
    s.localViewer = s.specular && rs[D3DRS_LOCALVIEWER] != FALSE;
    s.normalize = rs[D3DRS_NORMALIZENORMALS] != FALSE;
    s.sources = d3dtogl::SourcesFromStates(rs, (state.fvf & D3DFVF_DIFFUSE) != 0, (state.fvf & D3DFVF_SPECULAR) != 0);
    lights->view = state.view;
    for (const auto& [index, slot] : state.lights) {
        if (!slot.enabled || lights->count == kMaxLights)
            continue;
        const auto i = static_cast<size_t>(lights->count++);
        (*indices)[i] = static_cast<int>(index);
        lights->lights[i] = slot.light;
        s.lightTypes[i] = slot.light.Type;
    }
    s.lightCount = lights->count;
    return s;
}

GLLightingShader GLLightingShader::Largest()
{
    GLLightingShader s;
    s.lighting = s.specular = s.localViewer = s.normalize = true;
    s.lightCount = kMaxLights;
    s.lightTypes.fill(D3DLIGHT_SPOT);
    s.sources = {D3DMCS_COLOR1, D3DMCS_COLOR2, D3DMCS_COLOR1, D3DMCS_COLOR2};
    return s;
}

std::uint32_t GLLightingShader::Key() const
{
    // 1 + 1 bits of switches, then (when lit) 2 more, 4 for the count, 2
    // for each light's type and 2 for each source: 32 bits in all.
    std::uint32_t key = (lighting ? 1u : 0u) | (specular ? 2u : 0u);
    if (!lighting)
        return key;
    key |= (localViewer ? 4u : 0u) | (normalize ? 8u : 0u) | static_cast<std::uint32_t>(lightCount) << 4;
    for (int i = 0; i < lightCount; ++i)
        key |= (static_cast<std::uint32_t>(lightTypes[static_cast<size_t>(i)]) & 3u) << (8 + 2 * i);
    for (size_t i = 0; i < 4; ++i)
        key |= (sources[i] & 3u) << (24 + 2 * i);
    return key;
}

namespace {

// Direct3D 9's vertex lighting, in eye space:
//   diffuse  = clamp(Ca·(Ga + Σ Atten·Spot·La) + Cd·Σ Atten·Spot·Ld·max(N·L, 0) + Ce)
//   specular = clamp(Cs·Σ Atten·Spot·Ls·(N·H)^P), added after texturing,
//              from lights with N·L > 0
// with H = normalize(L + V), V the way to the eye (local viewer) or
// (0, 0, 1); Atten = 1/(a0 + a1·d + a2·d²) and no light beyond Range;
// Spot = 1 inside Theta/2, 0 outside Phi/2, ((ρ − cos(Phi/2)) /
// (cos(Theta/2) − cos(Phi/2)))^Falloff between, ρ the cosine of the angle
// between the light's direction and the way from it to the vertex.
// Unlit vertices keep their colours, and their specular colour is added
// when specular is on.
const char kUniforms[] = R"(uniform vec4 u_LightPosition[LIGHTS];     // w = 0: directional, xyz the way to the light
uniform vec4 u_LightDirection[LIGHTS];    // spot: unit direction it shines along
uniform vec4 u_LightAttenuation[LIGHTS];  // a0, a1, a2, Range
uniform vec4 u_LightSpot[LIGHTS];         // cos(Theta/2), cos(Phi/2), Falloff
uniform vec4 u_LightAmbient[LIGHTS];
uniform vec4 u_LightDiffuse[LIGHTS];
uniform vec4 u_LightSpecular[LIGHTS];
)";

const char* ColorOf(DWORD source, const char* material)
{
    switch (source) {
    case D3DMCS_COLOR1: return "gl_Color";
    case D3DMCS_COLOR2: return "gl_SecondaryColor";
    default: return material;
    }
}

}  // namespace

std::string GLLightingShader::Text() const
{
    std::string t = "#version 120\n";
    if (!lighting) {
        t += "void main()\n{\n"
             "    gl_Position = ftransform();\n"
             "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
             "    gl_FrontColor = gl_Color;\n";
        t += specular ? "    gl_FrontSecondaryColor = vec4(gl_SecondaryColor.rgb, 0.0);\n"
                      : "    gl_FrontSecondaryColor = vec4(0.0);\n";
        return t + "}\n";
    }

    if (lightCount > 0) {
        std::string uniforms = kUniforms;
        for (size_t at = uniforms.find("LIGHTS"); at != std::string::npos; at = uniforms.find("LIGHTS", at))
            uniforms.replace(at, 6, std::to_string(lightCount));
        t += uniforms;
    }
    t += "uniform vec4 u_MaterialAmbient;\n"
         "uniform vec4 u_MaterialDiffuse;\n"
         "uniform vec4 u_MaterialSpecular;\n"
         "uniform vec4 u_MaterialEmissive;\n"
         "uniform float u_Power;\n"
         "uniform vec4 u_GlobalAmbient;\n"
         "void main()\n{\n"
         "    gl_Position = ftransform();\n"
         "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
         "    vec3 ambient = vec3(0.0);\n"
         "    vec3 diffuse = vec3(0.0);\n"
         "    vec3 specular = vec3(0.0);\n";
    if (lightCount > 0) {
        t += "    vec4 eye = gl_ModelViewMatrix * gl_Vertex;\n"
             "    vec3 p = eye.xyz / eye.w;\n"
             "    vec3 n = gl_NormalMatrix * gl_Normal;\n";
        if (normalize)
            t += "    n *= inversesqrt(max(dot(n, n), 1e-30));\n";
        if (specular)
            t += localViewer ? "    vec3 toViewer = -p * inversesqrt(max(dot(p, p), 1e-30));\n"
                             : "    vec3 toViewer = vec3(0.0, 0.0, 1.0);\n";
        t += "    vec3 l;\n"
             "    float d, scale, nl, nh, rho;\n";
    }
    // Kept as written: the GLSL reads line by line.
    // clang-format off
    for (int i = 0; i < lightCount; ++i) {
        const std::string at = "[" + std::to_string(i) + "]";
        const D3DLIGHTTYPE type = lightTypes[static_cast<size_t>(i)];
        if (type == D3DLIGHT_DIRECTIONAL) {
            t += "    l = u_LightPosition" + at + ".xyz;\n"
                 "    scale = 1.0;\n";
        } else {
            t += "    l = u_LightPosition" + at + ".xyz - p;\n"
                 "    d = length(l);\n"
                 "    l /= max(d, 1e-30);\n"
                 "    scale = (d > u_LightAttenuation" + at + ".w ? 0.0 : 1.0) / dot(u_LightAttenuation" + at +
                 ".xyz, vec3(1.0, d, d * d));\n";
            if (type == D3DLIGHT_SPOT) {
                t += "    rho = -dot(u_LightDirection" + at + ".xyz, l);\n"
                     "    scale *= rho > u_LightSpot" + at + ".x ? 1.0 : (rho > u_LightSpot" + at +
                     ".y ? pow((rho - u_LightSpot" + at + ".y) / (u_LightSpot" + at + ".x - u_LightSpot" + at +
                     ".y), u_LightSpot" + at + ".z) : 0.0);\n";
            }
        }
        t += "    ambient += scale * u_LightAmbient" + at + ".rgb;\n"
             "    nl = dot(n, l);\n"
             "    diffuse += (scale * max(nl, 0.0)) * u_LightDiffuse" + at + ".rgb;\n";
        if (specular) {
            t += "    nh = dot(n, normalize(l + toViewer));\n"
                 "    specular += (nl > 0.0 && nh > 0.0 ? scale * pow(nh, u_Power) : 0.0) * u_LightSpecular" + at +
                 ".rgb;\n";
        }
    }
    // clang-format on
    t += std::string("    vec4 cd = ") + ColorOf(sources[1], "u_MaterialDiffuse") + ";\n" +
         "    vec3 lit = (u_GlobalAmbient.rgb + ambient) * " + ColorOf(sources[0], "u_MaterialAmbient") +
         ".rgb + diffuse * cd.rgb + " + ColorOf(sources[3], "u_MaterialEmissive") + ".rgb;\n" +
         "    gl_FrontColor = clamp(vec4(lit, cd.a), 0.0, 1.0);\n";
    if (specular)
        t += std::string("    gl_FrontSecondaryColor = vec4(clamp(specular * ") +
             ColorOf(sources[2], "u_MaterialSpecular") + ".rgb, 0.0, 1.0), 0.0);\n";
    else
        t += "    gl_FrontSecondaryColor = vec4(0.0);\n";
    return t + "}\n";
}
