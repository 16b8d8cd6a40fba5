#include "GLLightingProgram.h"

#include <algorithm>
#include <vector>

#include "GLApi.h"

namespace {

// Direct3D 9's vertex lighting, evaluated in eye space:
//   diffuse  = clamp(Ca·(Ga + Σ Atten·Spot·La) + Cd·Σ Atten·Spot·Ld·max(N·L, 0) + Ce)
//   specular = clamp(Cs·Σ Atten·Spot·Ls·(N·H)^P), added after texturing
// with H = normalize(L + V), V the way to the eye (local viewer) or
// (0, 0, 1); Atten = 1/(a0 + a1·d + a2·d²) and no light beyond Range;
// Spot = 1 inside Theta/2, 0 outside Phi/2, ((ρ − cos(Phi/2)) /
// (cos(Theta/2) − cos(Phi/2)))^Falloff between. Ca, Cd, Cs, Ce are the
// material's colours or the vertex's, as the material sources say.
// Unlit vertices keep their colours, and their specular colour is added
// when specular is on.
const char kSource[] = R"(#version 120
const int kMaxLights = 8;
uniform int u_LightCount;
uniform vec4 u_LightPosition[kMaxLights];     // w = 0: directional, xyz the way to the light
uniform vec4 u_LightDirection[kMaxLights];    // spot: unit direction it shines along
uniform vec4 u_LightAttenuation[kMaxLights];  // a0, a1, a2, Range
uniform vec4 u_LightSpot[kMaxLights];         // cos(Theta/2), cos(Phi/2), Falloff, 1: spot
uniform vec4 u_LightAmbient[kMaxLights];
uniform vec4 u_LightDiffuse[kMaxLights];
uniform vec4 u_LightSpecular[kMaxLights];
uniform vec4 u_MaterialAmbient;
uniform vec4 u_MaterialDiffuse;
uniform vec4 u_MaterialSpecular;
uniform vec4 u_MaterialEmissive;
uniform float u_Power;
uniform vec4 u_GlobalAmbient;
uniform vec4 u_Color1Weight;  // ambient, diffuse, specular, emissive: 1 takes the vertex's diffuse colour
uniform vec4 u_Color2Weight;  // 1 takes the vertex's specular colour
uniform vec4 u_Switches;      // lighting, local viewer, normalise normals, specular

vec4 Source(vec4 material, float color1, float color2)
{
    return material + color1 * (gl_Color - material) + color2 * (gl_SecondaryColor - material);
}

void main()
{
    gl_Position = ftransform();
    gl_TexCoord[0] = gl_MultiTexCoord0;
    bool specularOn = u_Switches.w > 0.5;
    if (u_Switches.x < 0.5) {
        gl_FrontColor = gl_Color;
        gl_FrontSecondaryColor = specularOn ? vec4(gl_SecondaryColor.rgb, 0.0) : vec4(0.0);
        return;
    }

    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vec3 p = eye.xyz / eye.w;
    vec3 n = gl_NormalMatrix * gl_Normal;
    if (u_Switches.z > 0.5)
        n *= inversesqrt(max(dot(n, n), 1e-30));
    vec3 toViewer = u_Switches.y > 0.5 ? -p * inversesqrt(max(dot(p, p), 1e-30)) : vec3(0.0, 0.0, 1.0);

    vec3 ambient = vec3(0.0);
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int i = 0; i < kMaxLights; ++i) {
        if (i >= u_LightCount)
            break;
        vec3 l = u_LightPosition[i].xyz;
        float scale = 1.0;  // attenuation times spot factor
        if (u_LightPosition[i].w != 0.0) {
            l -= p;
            float d = length(l);
            vec4 a = u_LightAttenuation[i];
            if (d > a.w)
                continue;
            l /= max(d, 1e-30);
            scale = 1.0 / (a.x + a.y * d + a.z * d * d);
            vec4 s = u_LightSpot[i];
            if (s.w != 0.0) {
                float rho = -dot(u_LightDirection[i].xyz, l);
                if (rho <= s.y)
                    continue;
                if (rho < s.x)
                    scale *= pow((rho - s.y) / (s.x - s.y), s.z);
            }
        }
        ambient += scale * u_LightAmbient[i].rgb;
        float nl = dot(n, l);
        if (nl > 0.0) {
            diffuse += (scale * nl) * u_LightDiffuse[i].rgb;
            if (specularOn) {
                float nh = dot(n, normalize(l + toViewer));
                if (nh > 0.0)
                    specular += (scale * pow(nh, u_Power)) * u_LightSpecular[i].rgb;
            }
        }
    }

    vec4 ca = Source(u_MaterialAmbient, u_Color1Weight.x, u_Color2Weight.x);
    vec4 cd = Source(u_MaterialDiffuse, u_Color1Weight.y, u_Color2Weight.y);
    vec4 cs = Source(u_MaterialSpecular, u_Color1Weight.z, u_Color2Weight.z);
    vec4 ce = Source(u_MaterialEmissive, u_Color1Weight.w, u_Color2Weight.w);
    vec3 lit = (u_GlobalAmbient.rgb + ambient) * ca.rgb + diffuse * cd.rgb + ce.rgb;
    gl_FrontColor = clamp(vec4(lit, cd.a), 0.0, 1.0);
    gl_FrontSecondaryColor = specularOn ? vec4(clamp(specular * cs.rgb, 0.0, 1.0), 0.0) : vec4(0.0);
}
)";

// The driver's log on one line: its lines joined by "; ", trailing blanks
// and NULs dropped.
std::string OneLine(std::vector<char> log)
{
    std::string text(log.data(), ::strnlen(log.data(), log.size()));
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            if (!line.empty() && line.back() != ' ')
                line += "; ";
        } else {
            line += c;
        }
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == ';'))
        line.pop_back();
    return line.empty() ? "(the driver gave no message)" : line;
}

std::string ShaderLog(GLuint shader)
{
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(std::max(length, 1)), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return OneLine(std::move(log));
}

std::string ProgramLog(GLuint program)
{
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(std::max(length, 1)), '\0');
    glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return OneLine(std::move(log));
}

// A linked program of text, or 0 with *error set.
GLuint CompileAndLink(const std::string& text, std::string* error)
{
    const std::string& source = text.empty() ? std::string(kSource) : text;
    const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
    if (shader == 0) {
        *error = "the lighting program cannot be made (glCreateShader failed)";
        return 0;
    }
    const char* sources[1] = {source.c_str()};
    glShaderSource(shader, 1, sources, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        *error = "the lighting program does not compile: " + ShaderLog(shader);
        glDeleteShader(shader);
        return 0;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    glLinkProgram(program);
    // Goes with the program.
    glDeleteShader(shader);
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        *error = "the lighting program does not link: " + ProgramLog(program);
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

std::array<float, 4> ToVec4(const d3dtogl::Color4& c)
{
    return {c.v[0], c.v[1], c.v[2], c.v[3]};
}

}  // namespace

const char* GLLightingProgram::Source()
{
    return kSource;
}

bool GLLightingProgram::Check(const std::string& text, std::string* error)
{
    const GLuint program = CompileAndLink(text, error);
    if (program == 0)
        return false;
    glDeleteProgram(program);
    return true;
}

bool GLLightingProgram::Build(const std::string& text, std::string* error)
{
    *this = GLLightingProgram{};
    m_Program = CompileAndLink(text, error);
    if (m_Program == 0)
        return false;
    glUseProgram(m_Program);
    FindLocations();
    return true;
}

void GLLightingProgram::FindLocations()
{
    const auto at = [this](const std::string& name) { return glGetUniformLocation(m_Program, name.c_str()); };
    for (int i = 0; i < kMaxLights; ++i) {
        const std::string index = "[" + std::to_string(i) + "]";
        m_LightLocations[static_cast<size_t>(i)] = {
            at("u_LightPosition" + index), at("u_LightDirection" + index), at("u_LightAttenuation" + index),
            at("u_LightSpot" + index),     at("u_LightAmbient" + index),   at("u_LightDiffuse" + index),
            at("u_LightSpecular" + index)};
    }
    m_LightCountLocation = at("u_LightCount");
    m_MaterialLocations[0] = at("u_MaterialAmbient");
    m_MaterialLocations[1] = at("u_MaterialDiffuse");
    m_MaterialLocations[2] = at("u_MaterialSpecular");
    m_MaterialLocations[3] = at("u_MaterialEmissive");
    m_PowerLocation = at("u_Power");
    m_GlobalAmbientLocation = at("u_GlobalAmbient");
    m_Color1Location = at("u_Color1Weight");
    m_Color2Location = at("u_Color2Weight");
    m_SwitchesLocation = at("u_Switches");
}

void GLLightingProgram::Send(int location, std::optional<Vec4>& cached, const Vec4& value)
{
    if (cached && *cached == value)
        return;
    cached = value;
    if (location < 0)
        return;  // a replacement text may leave it out
    glUniform4fv(location, 1, value.data());
    ++m_Uploads;
}

void GLLightingProgram::Send(int location, std::optional<float>& cached, float value)
{
    if (cached && *cached == value)
        return;
    cached = value;
    if (location < 0)
        return;
    glUniform1f(location, value);
    ++m_Uploads;
}

void GLLightingProgram::Apply(const GLDeviceState& state)
{
    if (m_Program == 0)
        return;
    const DWORD* rs = state.renderStates;
    const bool lighting = rs[D3DRS_LIGHTING] != FALSE;
    const bool specular = rs[D3DRS_SPECULARENABLE] != FALSE;
    Send(m_SwitchesLocation, m_Switches,
         Vec4{lighting ? 1.0f : 0.0f, rs[D3DRS_LOCALVIEWER] != FALSE ? 1.0f : 0.0f,
              rs[D3DRS_NORMALIZENORMALS] != FALSE ? 1.0f : 0.0f, specular ? 1.0f : 0.0f});
    // Unlit vertices need nothing more.
    if (!lighting)
        return;

    const D3DMATERIAL9& m = state.material;
    const D3DCOLORVALUE* colors[4] = {&m.Ambient, &m.Diffuse, &m.Specular, &m.Emissive};
    for (int i = 0; i < 4; ++i)
        Send(m_MaterialLocations[i], m_Material[i], ToVec4(d3dtogl::FromColorValue(*colors[i])));
    if (specular)
        Send(m_PowerLocation, m_Power, d3dtogl::SpecularPower(m.Power));
    Send(m_GlobalAmbientLocation, m_GlobalAmbient, ToVec4(d3dtogl::FromARGB(rs[D3DRS_AMBIENT])));
    const d3dtogl::MaterialSources sources =
        d3dtogl::SourcesFromStates(rs, (state.fvf & D3DFVF_DIFFUSE) != 0, (state.fvf & D3DFVF_SPECULAR) != 0);
    Send(m_Color1Location, m_Color1, Vec4{sources.color1[0], sources.color1[1], sources.color1[2], sources.color1[3]});
    Send(m_Color2Location, m_Color2, Vec4{sources.color2[0], sources.color2[1], sources.color2[2], sources.color2[3]});
    SendLights(state);
}

void GLLightingProgram::SendLights(const GLDeviceState& state)
{
    // The first kMaxLights enabled lights, by ascending index, take the
    // program's slots in order.
    LightInputs inputs;
    inputs.view = state.view;
    std::array<int, kMaxLights> indices;
    indices.fill(-1);
    for (const auto& [index, slot] : state.lights) {
        if (!slot.enabled || inputs.count == kMaxLights)
            continue;
        indices[static_cast<size_t>(inputs.count)] = static_cast<int>(index);
        inputs.lights[static_cast<size_t>(inputs.count++)] = slot.light;
    }
    m_LightIndex = indices;
    if (m_LightInputs && *m_LightInputs == inputs)
        return;

    const D3DXMATRIX view(state.view);
    for (int i = 0; i < inputs.count; ++i) {
        const auto slot = static_cast<size_t>(i);
        const d3dtogl::ProgramLight light = d3dtogl::LightForProgram(inputs.lights[slot], view);
        if (m_Lights[slot] && *m_Lights[slot] == light)
            continue;
        // Only the fields that differ from what the slot holds.
        const LightLocations& at = m_LightLocations[slot];
        const d3dtogl::ProgramLight* before = m_Lights[slot] ? &*m_Lights[slot] : nullptr;
        const auto send4 = [&](int location, const float* value, const float* old) {
            if (old && std::equal(value, value + 4, old))
                return;
            if (location >= 0) {
                glUniform4fv(location, 1, value);
                ++m_Uploads;
            }
        };
        send4(at.position, light.position, before ? before->position : nullptr);
        send4(at.direction, light.direction, before ? before->direction : nullptr);
        send4(at.attenuation, light.attenuation, before ? before->attenuation : nullptr);
        send4(at.spot, light.spot, before ? before->spot : nullptr);
        send4(at.ambient, light.ambient.v, before ? before->ambient.v : nullptr);
        send4(at.diffuse, light.diffuse.v, before ? before->diffuse.v : nullptr);
        send4(at.specular, light.specular.v, before ? before->specular.v : nullptr);
        m_Lights[slot] = light;
    }
    if (m_LightCount != inputs.count) {
        m_LightCount = inputs.count;
        if (m_LightCountLocation >= 0) {
            glUniform1i(m_LightCountLocation, inputs.count);
            ++m_Uploads;
        }
    }
    m_LightInputs = inputs;
}
