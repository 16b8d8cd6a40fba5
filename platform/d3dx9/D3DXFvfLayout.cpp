#include "D3DXFvfLayout.h"

#include "VertexFormat.h"
#include "d3dx9mesh.h"

bool D3DXGetFvfLayout(DWORD fvf, D3DXFvfLayout* layout)
{
    // The devices' own layout, so a mesh's vertices and a draw agree.
    const VertexFormat format = VertexFormat::FromFVF(fvf);
    if (!format.known)
        return false;
    D3DXFvfLayout l;
    l.positionSize = format.positionSize;
    l.hasNormal = format.normalOffset >= 0;
    l.normalOffset = l.hasNormal ? static_cast<UINT>(format.normalOffset) : 0u;
    l.hasDiffuse = format.diffuseOffset >= 0;
    l.diffuseOffset = l.hasDiffuse ? static_cast<UINT>(format.diffuseOffset) : 0u;
    l.texcoordCount = format.texCoordCount;
    l.texcoordOffset = format.texCoordOffset >= 0 ? static_cast<UINT>(format.texCoordOffset) : format.size;
    l.texcoord0Floats = format.texCoord0Floats;
    l.stride = format.size;
    *layout = l;
    return true;
}

UINT D3DXGetFVFVertexSize(DWORD fvf)
{
    return VertexFormat::FromFVF(fvf).size;
}
