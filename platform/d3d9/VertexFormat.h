// Where the fields of a flexible-vertex-format vertex lie, in bytes from the
// start of the vertex: position, normal, point size, diffuse, specular, then
// the texture coordinate sets. One layout for the devices and the meshes.
#pragma once

#include "d3d9.h"

struct VertexFormat
{
    bool known = false;     // false: a position type or bits we cannot lay out
    bool drawable = false;  // known, an XYZ position and every texture set two floats
    UINT size = 0;          // bytes of the fields (a stride may be larger)
    UINT positionSize = 0;
    int normalOffset = -1;  // -1: field absent
    int pointSizeOffset = -1;
    int diffuseOffset = -1;  // packed 0xAARRGGBB, bytes B, G, R, A in memory
    int specularOffset = -1;
    int texCoordOffset = -1;  // first set
    UINT texCoordCount = 0;
    UINT texCoord0Floats = 0;

    static VertexFormat FromFVF(DWORD fvf);
};

// Vertices a draw of primitiveCount primitives of type reads; 0 for an
// unknown type.
UINT VerticesForPrimitives(D3DPRIMITIVETYPE type, UINT primitiveCount);
