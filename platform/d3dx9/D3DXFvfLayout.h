// Where each field of a flexible-vertex-format vertex lies, in bytes from the
// start of the vertex: position, normal, point size, diffuse, specular, then
// the texture coordinate sets.
#pragma once

#include "wintypes.h"

struct D3DXFvfLayout
{
    UINT positionSize = 0;  // 0 when the format has no position
    UINT normalOffset = 0;  // valid when hasNormal
    bool hasNormal = false;
    UINT diffuseOffset = 0;  // valid when hasDiffuse
    bool hasDiffuse = false;
    UINT texcoordOffset = 0;   // first texture coordinate set
    UINT texcoordCount = 0;    // number of sets
    UINT texcoord0Floats = 0;  // floats in the first set
    UINT stride = 0;
};

// False for formats this library cannot lay out (no position, more than
// eight texture coordinate sets, an unknown position type).
bool D3DXGetFvfLayout(DWORD fvf, D3DXFvfLayout* layout);
