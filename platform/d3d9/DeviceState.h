// Everything a Direct3D 9 device was told, as Direct3D keeps it, starting
// at Direct3D's own defaults: the Get calls answer from here, and a device
// that renders brings its renderer up to date from here before each draw.
// Plain values: the device that holds it keeps the references of the
// bound textures.
#pragma once

#include <map>

#include "VertexFormat.h"
#include "d3d9.h"

struct DeviceState
{
    struct LightSlot
    {
        D3DLIGHT9 light{};
        bool enabled = false;
    };

    static constexpr DWORD kWorldMatrixCount = 256;

    // hasDepthBuffer: the device was made with an automatic depth buffer,
    // which is what switches D3DRS_ZENABLE on by default.
    explicit DeviceState(bool hasDepthBuffer);

    // The matrix a transform-state type names (D3DTS_VIEW, D3DTS_PROJECTION,
    // D3DTS_TEXTURE0..7, D3DTS_WORLDMATRIX(0..255)); null for any other.
    D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE type);
    const D3DMATRIX& World() const { return worlds[0]; }

    DWORD renderStates[D3DRS_STATECOUNT_EXT]{};
    D3DMATRIX view{};
    D3DMATRIX projection{};
    D3DMATRIX textureMatrices[D3DTEXTURESTAGECOUNT_EXT]{};
    D3DMATRIX worlds[kWorldMatrixCount]{};
    std::map<DWORD, LightSlot> lights;  // indices ever set or enabled
    D3DMATERIAL9 material{};
    IDirect3DBaseTexture9* textures[D3DTEXTURESTAGECOUNT_EXT]{};
    DWORD stageStates[D3DTEXTURESTAGECOUNT_EXT][D3DTSS_STATECOUNT_EXT]{};
    DWORD fvf = 0;
    VertexFormat vertexFormat = VertexFormat::FromFVF(0);  // of fvf, kept with it
    D3DVIEWPORT9 viewport{};
    bool inScene = false;
};

// The light Direct3D makes for LightEnable on an index never set: white,
// directional, shining along +Z.
D3DLIGHT9 DefaultLight();

// A float render state (D3DRS_POINTSIZE ...) is stored as its bits.
DWORD FloatBits(float value);
float BitsToFloat(DWORD bits);
