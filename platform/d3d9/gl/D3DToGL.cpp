#include "D3DToGL.h"

#include <algorithm>
#include <cmath>

#include "GLApi.h"

namespace d3dtogl {

Color4 FromARGB(D3DCOLOR color)
{
    return Color4{{static_cast<float>((color >> 16) & 0xFFu) / 255.0f,
                   static_cast<float>((color >> 8) & 0xFFu) / 255.0f, static_cast<float>(color & 0xFFu) / 255.0f,
                   static_cast<float>((color >> 24) & 0xFFu) / 255.0f}};
}

Color4 FromColorValue(const D3DCOLORVALUE& color)
{
    return Color4{{color.r, color.g, color.b, color.a}};
}

D3DXMATRIX ProjectionFromD3D(const D3DMATRIX& projection, UINT viewportWidth, UINT viewportHeight)
{
    // Row-vector remap applied after the projection: x' = x + s·w, y' = y − s·w,
    // z' = 2z − w, w' = w, where s is the shift in clip units (2/size is one
    // pixel).
    const float shiftX = viewportWidth > 0 ? 2.0f * kPixelShift / static_cast<float>(viewportWidth) : 0.0f;
    const float shiftY = viewportHeight > 0 ? 2.0f * kPixelShift / static_cast<float>(viewportHeight) : 0.0f;
    // clang-format off
    const D3DXMATRIX remap(1.0f, 0.0f, 0.0f, 0.0f,
                           0.0f, 1.0f, 0.0f, 0.0f,
                           0.0f, 0.0f, 2.0f, 0.0f,
                           shiftX, -shiftY, -1.0f, 1.0f);
    // clang-format on
    const D3DXMATRIX p(projection);
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, &p, &remap);
    return out;
}

bool ProgramLight::operator==(const ProgramLight& o) const
{
    return std::equal(position, position + 4, o.position) && std::equal(direction, direction + 4, o.direction) &&
           std::equal(attenuation, attenuation + 4, o.attenuation) && std::equal(spot, spot + 4, o.spot) &&
           ambient == o.ambient && diffuse == o.diffuse && specular == o.specular;
}

namespace {

// v · m's upper 3x3 (a direction under a row-vector matrix), made unit
// length; a zero vector stays zero.
void UnitDirection(const D3DVECTOR& v, const D3DXMATRIX& m, float sign, float out[4])
{
    float d[3];
    for (int c = 0; c < 3; ++c)
        d[c] = sign * (v.x * m.m[0][c] + v.y * m.m[1][c] + v.z * m.m[2][c]);
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const float scale = length > 0.0f ? 1.0f / length : 0.0f;
    out[0] = d[0] * scale;
    out[1] = d[1] * scale;
    out[2] = d[2] * scale;
    out[3] = 0.0f;
}

}  // namespace

ProgramLight LightForProgram(const D3DLIGHT9& light, const D3DXMATRIX& view)
{
    ProgramLight p{};
    p.ambient = FromColorValue(light.Ambient);
    p.diffuse = FromColorValue(light.Diffuse);
    p.specular = FromColorValue(light.Specular);
    p.attenuation[0] = 1.0f;

    if (light.Type == D3DLIGHT_DIRECTIONAL) {
        // No attenuation and no range: position stays the way to the light.
        UnitDirection(light.Direction, view, -1.0f, p.position);
        return p;
    }

    const D3DVECTOR& q = light.Position;
    for (int c = 0; c < 3; ++c)
        p.position[c] = q.x * view.m[0][c] + q.y * view.m[1][c] + q.z * view.m[2][c] + view.m[3][c];
    p.position[3] = 1.0f;
    // All three zero would divide by zero; D3D's drivers treat that as no
    // attenuation, and so do we.
    if (light.Attenuation0 != 0.0f || light.Attenuation1 != 0.0f || light.Attenuation2 != 0.0f) {
        p.attenuation[0] = light.Attenuation0;
        p.attenuation[1] = light.Attenuation1;
        p.attenuation[2] = light.Attenuation2;
    }
    // A range that is not a distance (negative, NaN) reaches nothing.
    p.attenuation[3] = light.Range >= 0.0f ? light.Range : 0.0f;

    if (light.Type == D3DLIGHT_SPOT) {
        UnitDirection(light.Direction, view, 1.0f, p.direction);
        // Direct3D allows 0 <= Theta <= Phi <= pi.
        constexpr float kPi = 3.14159265f;
        const float phi = std::clamp(light.Phi, 0.0f, kPi);
        const float theta = std::clamp(light.Theta, 0.0f, phi);
        p.spot[0] = std::cos(theta * 0.5f);
        p.spot[1] = std::cos(phi * 0.5f);
        p.spot[2] = light.Falloff >= 0.0f ? light.Falloff : 0.0f;
        p.spot[3] = 1.0f;
    }
    return p;
}

std::array<DWORD, 4> SourcesFromStates(const DWORD* renderStates, bool vertexHasDiffuse, bool vertexHasSpecular)
{
    std::array<DWORD, 4> sources{D3DMCS_MATERIAL, D3DMCS_MATERIAL, D3DMCS_MATERIAL, D3DMCS_MATERIAL};
    if (renderStates[D3DRS_COLORVERTEX] == FALSE)
        return sources;
    const D3DRENDERSTATETYPE states[4] = {D3DRS_AMBIENTMATERIALSOURCE, D3DRS_DIFFUSEMATERIALSOURCE,
                                          D3DRS_SPECULARMATERIALSOURCE, D3DRS_EMISSIVEMATERIALSOURCE};
    for (size_t i = 0; i < 4; ++i) {
        const DWORD source = renderStates[states[i]];
        if ((source == D3DMCS_COLOR1 && vertexHasDiffuse) || (source == D3DMCS_COLOR2 && vertexHasSpecular))
            sources[i] = source;
    }
    return sources;
}

float SpecularPower(float power)
{
    return power > 0.0f ? power : 0.0f;
}

Enum CompareFunc(DWORD d3dCmp)
{
    switch (d3dCmp) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    case D3DCMP_ALWAYS: return GL_ALWAYS;
    default: return GL_LEQUAL;
    }
}

Enum BlendFactor(DWORD d3dBlend)
{
    switch (d3dBlend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
    }
}

Enum BlendEquation(DWORD d3dBlendOp)
{
    switch (d3dBlendOp) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
    }
}

Enum PolygonMode(DWORD d3dFill)
{
    switch (d3dFill) {
    case D3DFILL_POINT: return GL_POINT;
    case D3DFILL_WIREFRAME: return GL_LINE;
    default: return GL_FILL;
    }
}

Enum ShadeModel(DWORD d3dShade)
{
    return d3dShade == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH;
}

Enum PrimitiveMode(D3DPRIMITIVETYPE type)
{
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST: return GL_TRIANGLES;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return 0;
    }
}

bool TextureCombine::operator==(const TextureCombine& o) const
{
    return combineRgb == o.combineRgb && sourceRgb[0] == o.sourceRgb[0] && sourceRgb[1] == o.sourceRgb[1] &&
           rgbScale == o.rgbScale && combineAlpha == o.combineAlpha && sourceAlpha[0] == o.sourceAlpha[0] &&
           sourceAlpha[1] == o.sourceAlpha[1] && alphaScale == o.alphaScale;
}

namespace {

Enum Source(DWORD d3dArg)
{
    switch (d3dArg & 0xFu) {
    case D3DTA_TEXTURE: return GL_TEXTURE;
    case D3DTA_DIFFUSE: return GL_PRIMARY_COLOR;
    default: return GL_PREVIOUS;  // D3DTA_CURRENT: at stage 0, the diffuse colour
    }
}

// One half (colour or alpha) of a stage: combine function, sources, scale.
void CombineOf(DWORD op, const DWORD args[2], Enum* combine, Enum sources[2], float* scale)
{
    sources[0] = Source(args[0]);
    sources[1] = Source(args[1]);
    *scale = 1.0f;
    switch (op) {
    case D3DTOP_DISABLE:
        *combine = GL_REPLACE;
        sources[0] = GL_PREVIOUS;
        break;
    case D3DTOP_SELECTARG1: *combine = GL_REPLACE; break;
    case D3DTOP_SELECTARG2:
        *combine = GL_REPLACE;
        sources[0] = sources[1];
        break;
    case D3DTOP_ADD: *combine = GL_ADD; break;
    case D3DTOP_MODULATE2X:
        *combine = GL_MODULATE;
        *scale = 2.0f;
        break;
    case D3DTOP_MODULATE4X:
        *combine = GL_MODULATE;
        *scale = 4.0f;
        break;
    default: *combine = GL_MODULATE; break;
    }
}

}  // namespace

TextureCombine CombineFromStage(DWORD colorOp, const DWORD colorArgs[2], DWORD alphaOp, const DWORD alphaArgs[2])
{
    TextureCombine c{};
    CombineOf(colorOp, colorArgs, &c.combineRgb, c.sourceRgb, &c.rgbScale);
    CombineOf(alphaOp, alphaArgs, &c.combineAlpha, c.sourceAlpha, &c.alphaScale);
    return c;
}

}  // namespace d3dtogl
