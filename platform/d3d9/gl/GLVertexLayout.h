// Where the fields of a flexible-vertex-format vertex lie, so vertex bytes
// laid out for Direct3D can be handed to GL's vertex arrays as they stand.
#pragma once

#include "d3d9.h"

struct GLVertexLayout
{
    bool valid = false;      // false: a position other than XYZ, unknown bits, or texture sizes other than 2
    UINT size = 0;           // bytes of the fields (a stride may be larger)
    int normalOffset = -1;   // -1: field absent
    int pointSizeOffset = -1;
    int diffuseOffset = -1;  // packed 0xAARRGGBB, bytes B, G, R, A in memory
    int specularOffset = -1;
    int texCoordOffset = -1; // first set only; each set is two floats
    UINT texCoordCount = 0;

    static GLVertexLayout FromFVF(DWORD fvf);
};
