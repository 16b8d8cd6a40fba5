// Geometry checks shared by the mesh tests: welding corners by position,
// closedness, enclosed volume per connected part.
#pragma once

#include <cstddef>
#include <vector>

#include "xfile.h"

namespace meshcheck {

struct Bounds
{
    D3DXVECTOR3 lo, hi;
};
Bounds BoundsOf(const XFileMesh& mesh);

// True when every edge, with corners welded by position, is used exactly
// once in each direction: the surface is closed and consistently wound.
bool IsClosedAndConsistent(const XFileMesh& mesh);

// The signed volume of each connected part (faces joined through welded
// edges); positive when the part's faces wind outward.
std::vector<double> PartVolumes(const XFileMesh& mesh);

// Number of faces whose winding normal, cross(b - a, c - a), points against
// the sum of their vertex normals.
std::size_t FacesAgainstNormals(const XFileMesh& mesh);

}  // namespace meshcheck
