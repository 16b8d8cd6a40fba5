// One linked lighting program (the text of one GLLightingShader) and the
// values it was last given: uniforms belong to the program object, so a
// draw sends only what changed since this program was last used.
//
// Lives in one GL context, used only while that context is current. Knows
// its program object's name; whoever holds the context deletes it (see
// GLDevice).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "D3DToGL.h"
#include "DeviceState.h"
#include "GLLightingShader.h"

class GLLightingProgram
{
public:
    static constexpr int kMaxLights = GLLightingShader::kMaxLights;

    // Compiles and links text in the current context. False, with *error
    // one line that quotes the driver's message, when it does not compile or
    // link; no program is then made.
    bool Build(const std::string& text, std::string* error);
    // Compiles and links text in the current context and deletes it again:
    // whether the context's GL takes it. Leaves the current program alone.
    static bool Check(const std::string& text, std::string* error);

    unsigned int Name() const { return m_Program; }
    // Sends what changed of the material, the lighting states and lights;
    // this program must be the current one.
    void Send(const DeviceState& state, const GLLightingShader::Lights& lights);
    // Uniform values sent so far (one per glUniform call).
    int Uploads() const { return m_Uploads; }

private:
    using Vec4 = std::array<float, 4>;

    struct LightLocations
    {
        int position, direction, attenuation, spot, ambient, diffuse, specular;
    };

    void FindLocations();
    void Send(int location, std::optional<Vec4>& cached, const Vec4& value);
    void Send(int location, std::optional<float>& cached, float value);
    void SendLights(const GLLightingShader::Lights& lights);

    unsigned int m_Program = 0;
    int m_Uploads = 0;

    std::array<LightLocations, kMaxLights> m_LightLocations{};
    int m_MaterialLocations[4] = {-1, -1, -1, -1};  // ambient, diffuse, specular, emissive
    int m_PowerLocation = -1;
    int m_GlobalAmbientLocation = -1;

    std::optional<GLLightingShader::Lights> m_LightInputs;
    std::array<std::optional<d3dtogl::ProgramLight>, kMaxLights> m_Lights;
    std::optional<Vec4> m_Material[4];
    std::optional<float> m_Power;
    std::optional<Vec4> m_GlobalAmbient;
};
