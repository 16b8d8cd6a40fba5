#include "GLVertexLayout.h"

GLVertexLayout GLVertexLayout::FromFVF(DWORD fvf)
{
    constexpr DWORD kKnownBits =
        D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
    GLVertexLayout layout;
    // The high 16 bits give texture coordinate sizes other than two floats,
    // which our vertex arrays do not read.
    if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ || (fvf & ~kKnownBits) != 0)
        return layout;
    const UINT texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (texCount > 8)
        return layout;

    UINT offset = 3 * sizeof(float);
    if (fvf & D3DFVF_NORMAL) {
        layout.normalOffset = static_cast<int>(offset);
        offset += 3 * sizeof(float);
    }
    if (fvf & D3DFVF_PSIZE) {
        layout.pointSizeOffset = static_cast<int>(offset);
        offset += sizeof(float);
    }
    if (fvf & D3DFVF_DIFFUSE) {
        layout.diffuseOffset = static_cast<int>(offset);
        offset += sizeof(DWORD);
    }
    if (fvf & D3DFVF_SPECULAR) {
        layout.specularOffset = static_cast<int>(offset);
        offset += sizeof(DWORD);
    }
    if (texCount > 0) {
        layout.texCoordOffset = static_cast<int>(offset);
        offset += texCount * 2 * sizeof(float);
    }
    layout.texCoordCount = texCount;
    layout.size = offset;
    layout.valid = true;
    return layout;
}
