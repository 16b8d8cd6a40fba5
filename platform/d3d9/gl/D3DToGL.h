// Pure translations of Direct3D 9 values into what OpenGL and the device's
// lighting program want: matrices, light records, material sources,
// colours and enum values. No GL calls, so every rule here can be checked
// without a context.
#pragma once

#include <array>

#include "d3d9.h"

namespace d3dtogl {

// GL enum values as plain numbers, so this header needs no GL header.
using Enum = unsigned int;

struct Color4
{
    float v[4];
    bool operator==(const Color4& o) const
    {
        return v[0] == o.v[0] && v[1] == o.v[1] && v[2] == o.v[2] && v[3] == o.v[3];
    }
};

// 0xAARRGGBB → (r, g, b, a) in 0..1.
Color4 FromARGB(D3DCOLOR color);
Color4 FromColorValue(const D3DCOLORVALUE& color);

// The projection GL must load for a D3D projection drawn into a viewport of
// the given size. Direct3D's clip-space depth runs 0..w, GL's −w..w, so z
// becomes 2z − w. And Direct3D 9 samples pixels at integer screen
// coordinates where GL samples at half-integers, so the image is shifted
// right and down by kPixelShift pixels to land on the same pixels: a shade
// under half a pixel, so that an edge lying exactly on a Direct3D pixel
// centre ends up just beside the GL centre rather than on it, where
// Direct3D's top-left rule decides (keep top and left edges) and not GL's
// own tie rule, which differs between implementations.
constexpr float kPixelShift = 0.5f - 1.0f / 32.0f;
D3DXMATRIX ProjectionFromD3D(const D3DMATRIX& projection, UINT viewportWidth, UINT viewportHeight);

// A D3D light as the lighting program takes it: in eye space (the view
// applied), with the cone's half-angles as cosines. Directional lights
// carry the unit way *towards* the light with w = 0.
struct ProgramLight
{
    float position[4];     // point and spot: eye-space position, w = 1
    float direction[4];    // spot: unit eye-space direction it shines along
    float attenuation[4];  // constant, linear, quadratic, Range
    float spot[4];         // cos(Theta/2), cos(Phi/2), Falloff, 1 for a spot light (else 0)
    Color4 ambient;
    Color4 diffuse;
    Color4 specular;

    bool operator==(const ProgramLight& o) const;
};
ProgramLight LightForProgram(const D3DLIGHT9& light, const D3DXMATRIX& view);

// Where the lit colours come from, for the ambient, diffuse, specular and
// emissive colour in that order: D3DMCS_MATERIAL, D3DMCS_COLOR1 (the
// vertex's diffuse colour) or D3DMCS_COLOR2 (its specular colour).
// D3DRS_COLORVERTEX off, or a vertex without the colour named, means the
// material. renderStates: D3DRS_* values by index.
std::array<DWORD, 4> SourcesFromStates(const DWORD* renderStates, bool vertexHasDiffuse, bool vertexHasSpecular);

// Direct3D's specular power as the program's exponent: below zero (and
// NaN) is no power at all.
float SpecularPower(float power);

Enum CompareFunc(DWORD d3dCmp);             // D3DCMP_* → GL_NEVER ... GL_ALWAYS (unknown: GL_LEQUAL)
Enum BlendFactor(DWORD d3dBlend);           // D3DBLEND_* → GL_ZERO ... (unknown: GL_ONE)
Enum BlendEquation(DWORD d3dBlendOp);       // D3DBLENDOP_* → GL_FUNC_ADD ... (unknown: GL_FUNC_ADD)
Enum PolygonMode(DWORD d3dFill);            // D3DFILL_* → GL_POINT, GL_LINE, GL_FILL
Enum ShadeModel(DWORD d3dShade);            // flat → GL_FLAT, else GL_SMOOTH
Enum PrimitiveMode(D3DPRIMITIVETYPE type);  // 0 for an unknown type

// Texture stage 0 as a GL_COMBINE texture environment.
struct TextureCombine
{
    Enum combineRgb;
    Enum sourceRgb[2];
    float rgbScale;
    Enum combineAlpha;
    Enum sourceAlpha[2];
    float alphaScale;

    bool operator==(const TextureCombine& o) const;
};
// colorArgs/alphaArgs are D3DTA_* values of ARG1 and ARG2. An alpha op of
// D3DTOP_DISABLE passes the incoming alpha through.
TextureCombine CombineFromStage(DWORD colorOp, const DWORD colorArgs[2], DWORD alphaOp, const DWORD alphaArgs[2]);

}  // namespace d3dtogl
