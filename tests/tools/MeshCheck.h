// Geometry checks shared by the tests of the generated meshes.
#pragma once

#include <cstddef>

#include "xfile.h"

namespace meshcheck {

struct Bounds
{
    D3DXVECTOR3 lo, hi;
};
Bounds BoundsOf(const XFileMesh& mesh);

// Checks what every generated mesh must satisfy to load and light correctly:
// indices and counts in range, every vertex used, unit normals, texture
// coordinates in 0..1, opaque materials; the surface closed and consistently
// wound (corners welded by position), every connected part of positive
// volume, and the normals on the side the winding faces. Returns the number
// of connected parts.
std::size_t ExpectWellFormed(const XFileMesh& mesh);

}  // namespace meshcheck
