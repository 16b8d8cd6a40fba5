#include "VertexFormat.h"

namespace {

constexpr DWORD kXyzRhw = 0x004;
constexpr DWORD kXyzB5 = 0x00E;
constexpr DWORD kXyzW = 0x4002;
constexpr DWORD kKnownBits =
    D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;

UINT PositionSize(DWORD position)
{
    if (position == D3DFVF_XYZ)
        return 12;
    if (position == kXyzRhw || position == kXyzW)
        return 16;
    // XYZB1 .. XYZB5: the position followed by one to five blend weights.
    if (position >= 0x006 && position <= kXyzB5 && (position & 1) == 0)
        return 12 + 4 * ((position - kXyzRhw) / 2);
    return 0;
}

// D3DFVF_TEXCOORDSIZEn: two bits per set from bit 16; 0 means two floats.
UINT TexCoordFloats(DWORD fvf, UINT set)
{
    switch ((fvf >> (16 + 2 * set)) & 3u) {
    case 0: return 2;
    case 1: return 3;
    case 2: return 4;
    default: return 1;
    }
}

}  // namespace

VertexFormat VertexFormat::FromFVF(DWORD fvf)
{
    VertexFormat f;
    f.positionSize = PositionSize(fvf & D3DFVF_POSITION_MASK);
    f.texCoordCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (f.positionSize == 0 || f.texCoordCount > 8)
        return f;
    UINT offset = f.positionSize;
    if (fvf & D3DFVF_NORMAL) {
        f.normalOffset = static_cast<int>(offset);
        offset += 3 * sizeof(float);
    }
    if (fvf & D3DFVF_PSIZE) {
        f.pointSizeOffset = static_cast<int>(offset);
        offset += sizeof(float);
    }
    if (fvf & D3DFVF_DIFFUSE) {
        f.diffuseOffset = static_cast<int>(offset);
        offset += sizeof(DWORD);
    }
    if (fvf & D3DFVF_SPECULAR) {
        f.specularOffset = static_cast<int>(offset);
        offset += sizeof(DWORD);
    }
    if (f.texCoordCount > 0) {
        f.texCoordOffset = static_cast<int>(offset);
        f.texCoord0Floats = TexCoordFloats(fvf, 0);
    }
    bool twoFloatSets = true;
    for (UINT set = 0; set < f.texCoordCount; ++set) {
        const UINT floats = TexCoordFloats(fvf, set);
        twoFloatSets = twoFloatSets && floats == 2;
        offset += floats * sizeof(float);
    }
    f.size = offset;
    f.known = true;
    // The devices hand vertices to the renderer as they stand: untransformed
    // positions and two-float texture coordinates only, and no bits beyond
    // those (the high ones then name texture sizes).
    f.drawable = (fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZ && twoFloatSets && (fvf & ~kKnownBits) == 0;
    return f;
}

UINT VerticesForPrimitives(D3DPRIMITIVETYPE type, UINT primitiveCount)
{
    switch (type) {
    case D3DPT_POINTLIST: return primitiveCount;
    case D3DPT_LINELIST: return primitiveCount * 2;
    case D3DPT_LINESTRIP: return primitiveCount + 1;
    case D3DPT_TRIANGLELIST: return primitiveCount * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitiveCount + 2;
    }
    return 0;
}
