#include "D3DToGL.h"

#include <algorithm>
#include <cmath>

#include "GLApi.h"

namespace d3dtogl {

Color4 FromARGB(D3DCOLOR color)
{
    return Color4{{static_cast<float>((color >> 16) & 0xFFu) / 255.0f, static_cast<float>((color >> 8) & 0xFFu) / 255.0f,
                   static_cast<float>(color & 0xFFu) / 255.0f, static_cast<float>((color >> 24) & 0xFFu) / 255.0f}};
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
    const D3DXMATRIX remap(1.0f, 0.0f, 0.0f, 0.0f,
                           0.0f, 1.0f, 0.0f, 0.0f,
                           0.0f, 0.0f, 2.0f, 0.0f,
                           shiftX, -shiftY, -1.0f, 1.0f);
    const D3DXMATRIX p(projection);
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, &p, &remap);
    return out;
}

bool LightParameters::operator==(const LightParameters& o) const
{
    return ambient == o.ambient && diffuse == o.diffuse && specular == o.specular &&
           std::equal(position, position + 4, o.position) &&
           std::equal(spotDirection, spotDirection + 3, o.spotDirection) && spotExponent == o.spotExponent &&
           spotCutoff == o.spotCutoff && std::equal(attenuation, attenuation + 3, o.attenuation);
}

LightParameters LightFromD3D(const D3DLIGHT9& light)
{
    LightParameters p{};
    p.ambient = FromColorValue(light.Ambient);
    p.diffuse = FromColorValue(light.Diffuse);
    p.specular = FromColorValue(light.Specular);
    p.spotDirection[0] = 0.0f;
    p.spotDirection[1] = 0.0f;
    p.spotDirection[2] = -1.0f;
    p.spotExponent = 0.0f;
    p.spotCutoff = 180.0f;
    p.attenuation[0] = 1.0f;
    p.attenuation[1] = 0.0f;
    p.attenuation[2] = 0.0f;

    if (light.Type == D3DLIGHT_DIRECTIONAL) {
        p.position[0] = -light.Direction.x;
        p.position[1] = -light.Direction.y;
        p.position[2] = -light.Direction.z;
        p.position[3] = 0.0f;
        return p;
    }

    p.position[0] = light.Position.x;
    p.position[1] = light.Position.y;
    p.position[2] = light.Position.z;
    p.position[3] = 1.0f;
    // All three zero would divide by zero; D3D's drivers treat that as no
    // attenuation, and so do we.
    if (light.Attenuation0 != 0.0f || light.Attenuation1 != 0.0f || light.Attenuation2 != 0.0f) {
        p.attenuation[0] = light.Attenuation0;
        p.attenuation[1] = light.Attenuation1;
        p.attenuation[2] = light.Attenuation2;
    }

    if (light.Type == D3DLIGHT_SPOT) {
        p.spotDirection[0] = light.Direction.x;
        p.spotDirection[1] = light.Direction.y;
        p.spotDirection[2] = light.Direction.z;
        // D3D: full light inside Theta, none outside Phi, a falloff between.
        // GL has a hard cut-off and a cosine power: cut off at Phi/2 and pick
        // the power that halves the light midway between the two cones.
        constexpr float kDegreesPerRadian = 57.29577951f;
        const float outer = std::clamp(light.Phi * 0.5f, 0.0f, 1.5707963f);
        const float inner = std::clamp(light.Theta * 0.5f, 0.0f, outer);
        p.spotCutoff = outer * kDegreesPerRadian;
        const float middle = std::cos((inner + outer) * 0.5f);
        if (middle > 0.0f && middle < 1.0f)
            p.spotExponent = std::clamp(std::log(0.5f) / std::log(middle), 0.0f, 128.0f);
    }
    return p;
}

D3DLIGHT9 DefaultLight()
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
    return light;
}

float ClampShininess(float power)
{
    if (!(power > 0.0f))  // also NaN
        return 0.0f;
    return std::min(power, 128.0f);
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

UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitiveCount)
{
    switch (type) {
    case D3DPT_POINTLIST: return primitiveCount;
    case D3DPT_LINELIST: return primitiveCount * 2;
    case D3DPT_LINESTRIP: return primitiveCount + 1;
    case D3DPT_TRIANGLELIST: return primitiveCount * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitiveCount + 2;
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
    case D3DTOP_SELECTARG1:
        *combine = GL_REPLACE;
        break;
    case D3DTOP_SELECTARG2:
        *combine = GL_REPLACE;
        sources[0] = sources[1];
        break;
    case D3DTOP_ADD:
        *combine = GL_ADD;
        break;
    case D3DTOP_MODULATE2X:
        *combine = GL_MODULATE;
        *scale = 2.0f;
        break;
    case D3DTOP_MODULATE4X:
        *combine = GL_MODULATE;
        *scale = 4.0f;
        break;
    default:
        *combine = GL_MODULATE;
        break;
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
