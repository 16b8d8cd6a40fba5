// Which vertex program a draw needs, and its GLSL 1.20 text: the lights
// switched on and their types, lighting, specular, the viewer, normalising
// and the material sources each make a text of their own, so that a vertex
// runs no code for what is off (as GL's own fixed function does, and as
// fast). The program evaluates Direct3D 9's vertex lighting in eye space;
// see the text for the equations. No GL calls.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "DeviceState.h"

struct GLLightingShader
{
    static constexpr int kMaxLights = 8;

    // The lights a draw is lit by: the first kMaxLights enabled ones by
    // ascending index, and the view they are seen through.
    struct Lights
    {
        int count = 0;
        D3DMATRIX view{};
        std::array<D3DLIGHT9, kMaxLights> lights{};
        bool operator==(const Lights& o) const;
    };

    bool lighting = false;
    bool specular = false;
    bool localViewer = false;
    bool normalize = false;
    int lightCount = 0;
    std::array<D3DLIGHTTYPE, kMaxLights> lightTypes{};
    // Ambient, diffuse, specular and emissive: D3DMCS_MATERIAL, COLOR1 (the
    // vertex's diffuse colour) or COLOR2 (its specular colour).
    std::array<DWORD, 4> sources{};

    // For a draw with state (its FVF included); *lights and *indices (the
    // D3D index each light slot shows, -1 for none) are filled in.
    static GLLightingShader ForState(const DeviceState& state, Lights* lights, std::array<int, kMaxLights>* indices);
    // Every feature on and eight spot lights: the longest text.
    static GLLightingShader Largest();

    // Different for every different text.
    std::uint32_t Key() const;
    std::string Text() const;
};
