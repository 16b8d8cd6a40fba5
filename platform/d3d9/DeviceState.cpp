#include "DeviceState.h"

#include <cstring>

namespace {

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

}  // namespace

DeviceState::DeviceState(bool hasDepthBuffer)
{
    D3D9DefaultRenderStatesEXT(renderStates, hasDepthBuffer);

    view = projection = Identity();
    for (D3DMATRIX& m : textureMatrices)
        m = Identity();
    for (D3DMATRIX& m : worlds)
        m = Identity();

    for (DWORD stage = 0; stage < D3DTEXTURESTAGECOUNT_EXT; ++stage) {
        DWORD* ss = stageStates[stage];
        // Stage 0 modulates the texture with the diffuse colour; every later
        // stage starts switched off.
        ss[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ss[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ss[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ss[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    }
}

D3DMATRIX* DeviceState::Transform(D3DTRANSFORMSTATETYPE type)
{
    const DWORD t = type;
    if (t == D3DTS_VIEW)
        return &view;
    if (t == D3DTS_PROJECTION)
        return &projection;
    if (t >= D3DTS_TEXTURE0 && t < D3DTS_TEXTURE0 + D3DTEXTURESTAGECOUNT_EXT)
        return &textureMatrices[t - D3DTS_TEXTURE0];
    // D3DTS_WORLDMATRIX(n) is D3DTS_WORLD + n.
    if (t >= D3DTS_WORLD && t < D3DTS_WORLD + kWorldMatrixCount)
        return &worlds[t - D3DTS_WORLD];
    return nullptr;
}

D3DLIGHT9 DefaultLight()
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
    return light;
}

DWORD FloatBits(float value)
{
    DWORD bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsToFloat(DWORD bits)
{
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
