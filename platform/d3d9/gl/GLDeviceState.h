// Everything a Direct3D 9 device was told, as Direct3D keeps it: the Get
// calls answer from here and the GL side is brought up to date from here
// before each draw. Starts at Direct3D's own defaults.
#pragma once

#include <map>

#include "d3d9.h"

class GLTexture;

struct GLDeviceState
{
    struct LightSlot
    {
        D3DLIGHT9 light{};
        bool enabled = false;
    };

    // hasDepthBuffer: the device was made with an automatic depth buffer,
    // which is what switches D3DRS_ZENABLE on by default.
    explicit GLDeviceState(bool hasDepthBuffer);

    DWORD renderStates[D3DRS_STATECOUNT_EXT]{};
    D3DMATRIX world{};
    D3DMATRIX view{};
    D3DMATRIX projection{};
    D3DMATRIX texture0{};
    std::map<DWORD, LightSlot> lights;  // indices ever set or enabled
    D3DMATERIAL9 material{};
    // Not counted here: the device holds the references (see GLDevice).
    GLTexture* textures[D3DTEXTURESTAGECOUNT_EXT]{};
    DWORD stageStates[D3DTEXTURESTAGECOUNT_EXT][D3DTSS_STATECOUNT_EXT]{};
    DWORD fvf = 0;
    D3DVIEWPORT9 viewport{};

    static bool IsKnownTransform(D3DTRANSFORMSTATETYPE type);
    D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE type);  // null for an unknown type
};

// A float render state (D3DRS_POINTSIZE ...) is stored as its bits.
DWORD FloatBits(float value);
float BitsToFloat(DWORD bits);
