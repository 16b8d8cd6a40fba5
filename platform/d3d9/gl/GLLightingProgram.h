// The vertex program that transforms and lights as Direct3D 9's fixed
// function does (up to eight lights of every type, range, spot cone and
// falloff, material sources, any specular power), and the values it was
// last given, so a draw sends only what changed. Texturing, blending,
// depth and culling stay with GL's fixed-function fragment stage; the
// program hands it the lit colour and, for adding after texturing, the
// specular colour.
//
// One per GL context, used only while that context is current. Owns its
// program object in the sense of knowing its name: whoever holds the
// context deletes it (see GLDevice).
#pragma once

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "D3DToGL.h"
#include "GLDeviceState.h"

class GLLightingProgram
{
public:
    static constexpr int kMaxLights = 8;

    // The device's own GLSL 1.20 text.
    static const char* Source();

    // Compiles and links text (Source() when empty) in the current context
    // and makes it the current program. False, with *error one line that
    // quotes the driver's message, when it does not compile or link; the
    // program is then not made.
    bool Build(const std::string& text, std::string* error);
    // Compiles and links text in the current context and deletes it again:
    // whether the context's GL takes it. Leaves the current program alone.
    static bool Check(const std::string& text, std::string* error);

    unsigned int Name() const { return m_Program; }
    // Sends what changed of the lights, material and lighting states.
    void Apply(const GLDeviceState& state);

    // Uniform values sent so far (one per glUniform call).
    int UniformUploads() const { return m_Uploads; }
    // Light slot i of the program: which D3D light index it shows (-1: none).
    int LightSlotIndex(int slot) const { return m_LightIndex[static_cast<size_t>(slot)]; }

private:
    using Vec4 = std::array<float, 4>;

    // The D3D inputs the light uniforms were made from.
    struct LightInputs
    {
        int count = 0;
        D3DMATRIX view{};
        std::array<D3DLIGHT9, kMaxLights> lights{};
        bool operator==(const LightInputs& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
    };

    struct LightLocations
    {
        int position, direction, attenuation, spot, ambient, diffuse, specular;
    };

    void FindLocations();
    void SendLights(const GLDeviceState& state);
    void Send(int location, std::optional<Vec4>& cached, const Vec4& value);
    void Send(int location, std::optional<float>& cached, float value);

    unsigned int m_Program = 0;
    int m_Uploads = 0;

    std::array<LightLocations, kMaxLights> m_LightLocations{};
    int m_LightCountLocation = -1;
    int m_MaterialLocations[4] = {-1, -1, -1, -1};  // ambient, diffuse, specular, emissive
    int m_PowerLocation = -1;
    int m_GlobalAmbientLocation = -1;
    int m_Color1Location = -1;
    int m_Color2Location = -1;
    int m_SwitchesLocation = -1;

    std::optional<LightInputs> m_LightInputs;
    std::array<std::optional<d3dtogl::ProgramLight>, kMaxLights> m_Lights;
    std::optional<int> m_LightCount;
    std::array<int, kMaxLights> m_LightIndex{-1, -1, -1, -1, -1, -1, -1, -1};
    std::optional<Vec4> m_Material[4];
    std::optional<float> m_Power;
    std::optional<Vec4> m_GlobalAmbient, m_Color1, m_Color2, m_Switches;
};
