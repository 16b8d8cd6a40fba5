#include "D3DXFvfLayout.h"

#include "d3d9.h"
#include "d3dx9mesh.h"

namespace {

constexpr DWORD kXyzRhw = 0x004;
constexpr DWORD kXyzB5 = 0x00E;
constexpr DWORD kXyzW = 0x4002;

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
UINT TexcoordFloats(DWORD fvf, UINT set)
{
    switch ((fvf >> (16 + 2 * set)) & 3u) {
    case 0: return 2;
    case 1: return 3;
    case 2: return 4;
    default: return 1;
    }
}

}  // namespace

bool D3DXGetFvfLayout(DWORD fvf, D3DXFvfLayout* layout)
{
    D3DXFvfLayout l;
    l.positionSize = PositionSize(fvf & D3DFVF_POSITION_MASK);
    if (l.positionSize == 0)
        return false;
    UINT offset = l.positionSize;
    if (fvf & D3DFVF_NORMAL) {
        l.hasNormal = true;
        l.normalOffset = offset;
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE)
        offset += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        l.hasDiffuse = true;
        l.diffuseOffset = offset;
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR)
        offset += 4;
    l.texcoordCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (l.texcoordCount > 8)
        return false;
    l.texcoordOffset = offset;
    for (UINT set = 0; set < l.texcoordCount; ++set)
        offset += 4 * TexcoordFloats(fvf, set);
    l.texcoord0Floats = l.texcoordCount ? TexcoordFloats(fvf, 0) : 0;
    l.stride = offset;
    *layout = l;
    return true;
}

UINT D3DXGetFVFVertexSize(DWORD fvf)
{
    D3DXFvfLayout layout;
    return D3DXGetFvfLayout(fvf, &layout) ? layout.stride : 0;
}
