#include "GLLightingProgram.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "GLApi.h"

namespace {

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
    const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
    if (shader == 0) {
        *error = "the lighting program cannot be made (glCreateShader failed)";
        return 0;
    }
    const char* sources[1] = {text.c_str()};
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
    FindLocations();
    return true;
}

void GLLightingProgram::FindLocations()
{
    // Uniforms a text leaves out (no lights, no specular ...) answer -1.
    const auto at = [this](const std::string& name) { return glGetUniformLocation(m_Program, name.c_str()); };
    for (int i = 0; i < kMaxLights; ++i) {
        const std::string index = "[" + std::to_string(i) + "]";
        m_LightLocations[static_cast<size_t>(i)] = {at("u_LightPosition" + index),    at("u_LightDirection" + index),
                                                    at("u_LightAttenuation" + index), at("u_LightSpot" + index),
                                                    at("u_LightAmbient" + index),     at("u_LightDiffuse" + index),
                                                    at("u_LightSpecular" + index)};
    }
    m_MaterialLocations[0] = at("u_MaterialAmbient");
    m_MaterialLocations[1] = at("u_MaterialDiffuse");
    m_MaterialLocations[2] = at("u_MaterialSpecular");
    m_MaterialLocations[3] = at("u_MaterialEmissive");
    m_PowerLocation = at("u_Power");
    m_GlobalAmbientLocation = at("u_GlobalAmbient");
}

void GLLightingProgram::Send(int location, std::optional<Vec4>& cached, const Vec4& value)
{
    if (location < 0 || (cached && *cached == value))
        return;
    cached = value;
    glUniform4fv(location, 1, value.data());
    ++m_Uploads;
}

void GLLightingProgram::Send(int location, std::optional<float>& cached, float value)
{
    if (location < 0 || (cached && *cached == value))
        return;
    cached = value;
    glUniform1f(location, value);
    ++m_Uploads;
}

void GLLightingProgram::Send(const DeviceState& state, const GLLightingShader::Lights& lights)
{
    const D3DMATERIAL9& m = state.material;
    const D3DCOLORVALUE* colors[4] = {&m.Ambient, &m.Diffuse, &m.Specular, &m.Emissive};
    for (int i = 0; i < 4; ++i)
        Send(m_MaterialLocations[i], m_Material[i], ToVec4(d3dtogl::FromColorValue(*colors[i])));
    Send(m_PowerLocation, m_Power, d3dtogl::SpecularPower(m.Power));
    Send(m_GlobalAmbientLocation, m_GlobalAmbient, ToVec4(d3dtogl::FromARGB(state.renderStates[D3DRS_AMBIENT])));
    SendLights(lights);
}

void GLLightingProgram::SendLights(const GLLightingShader::Lights& lights)
{
    if (m_LightInputs && *m_LightInputs == lights)
        return;
    const D3DXMATRIX view(lights.view);
    for (int i = 0; i < lights.count; ++i) {
        const auto slot = static_cast<size_t>(i);
        const d3dtogl::ProgramLight light = d3dtogl::LightForProgram(lights.lights[slot], view);
        const d3dtogl::ProgramLight* before = m_Lights[slot] ? &*m_Lights[slot] : nullptr;
        if (before && *before == light)
            continue;
        // Only the fields that differ from what the slot holds.
        const LightLocations& at = m_LightLocations[slot];
        const auto send = [&](int location, const float* value, const float* old) {
            if (location < 0 || (old && std::equal(value, value + 4, old)))
                return;
            glUniform4fv(location, 1, value);
            ++m_Uploads;
        };
        send(at.position, light.position, before ? before->position : nullptr);
        send(at.direction, light.direction, before ? before->direction : nullptr);
        send(at.attenuation, light.attenuation, before ? before->attenuation : nullptr);
        send(at.spot, light.spot, before ? before->spot : nullptr);
        send(at.ambient, light.ambient.v, before ? before->ambient.v : nullptr);
        send(at.diffuse, light.diffuse.v, before ? before->diffuse.v : nullptr);
        send(at.specular, light.specular.v, before ? before->specular.v : nullptr);
        m_Lights[slot] = light;
    }
    m_LightInputs = lights;
}
