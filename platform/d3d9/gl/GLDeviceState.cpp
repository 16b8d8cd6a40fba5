#include "GLDeviceState.h"

#include <cstring>

namespace {

D3DMATRIX Identity()
{
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

}  // namespace

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

GLDeviceState::GLDeviceState(bool hasDepthBuffer)
{
    D3D9DefaultRenderStatesEXT(renderStates, hasDepthBuffer);

    world = view = projection = texture0 = Identity();

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

bool GLDeviceState::IsKnownTransform(D3DTRANSFORMSTATETYPE type)
{
    return type == D3DTS_WORLD || type == D3DTS_VIEW || type == D3DTS_PROJECTION || type == D3DTS_TEXTURE0;
}

D3DMATRIX* GLDeviceState::Transform(D3DTRANSFORMSTATETYPE type)
{
    switch (type) {
    case D3DTS_WORLD: return &world;
    case D3DTS_VIEW: return &view;
    case D3DTS_PROJECTION: return &projection;
    case D3DTS_TEXTURE0: return &texture0;
    default: return nullptr;
    }
}
