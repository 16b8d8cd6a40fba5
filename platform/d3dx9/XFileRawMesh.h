// A Mesh object as the walker reads it: polygons not yet fanned, normals
// still given per corner. The collector turns it into result vertices.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "xfile.h"

struct XFileRawMesh
{
    std::vector<D3DXVECTOR3> positions;
    std::vector<std::uint32_t> polygonStart;  // one per polygon, plus the end
    std::vector<std::uint32_t> corners;       // vertex index of each corner
    bool hasNormals = false;
    std::vector<D3DXVECTOR3> normals;
    std::vector<std::uint32_t> normalCorners;  // normal index of each corner
    bool hasTexcoords = false;
    std::vector<std::array<float, 2>> texcoords;
    bool hasColors = false;
    std::vector<DWORD> colors;  // packed ARGB; vertices the file leaves out are white
    bool materialListRead = false;
    bool hasMaterialList = false;  // a list with materials in it
    std::vector<std::uint32_t> polygonMaterials;
    std::vector<XFileMaterial> materials;

    std::size_t PolygonCount() const { return polygonStart.empty() ? 0 : polygonStart.size() - 1; }
};
