// Collapses the Mesh objects of one file into the one mesh the reader
// returns, in file order: each mesh's vertices follow the vertices before
// it, its faces and materials likewise, its face material indices shifted
// past the materials before it. Meshes are added in the coordinates of their
// frame; Finish moves each into world space with its frame's matrix.
#pragma once

#include <string>
#include <vector>

#include "XFileRawMesh.h"
#include "xfile.h"

// Where a frame puts its meshes: the product of its own transform and those
// of the frames around it. An identity moves nothing, not even by rounding.
struct XFileWorld
{
    D3DXMATRIX matrix;
    bool identity = true;
};

class XFileMeshCollector
{
public:
    // Splits vertices by normals, fans polygons and appends the result; the
    // mesh is spent. False with *error set when a cap would be exceeded.
    bool Add(XFileRawMesh& mesh, std::size_t frame, std::string* error);

    // Moves each mesh by worlds[its frame] and hands over the result.
    // False with *error set when a transform makes a number non-finite.
    bool Finish(const std::vector<XFileWorld>& worlds, XFileMesh* out, std::string* error);

    std::size_t MeshCount() const { return m_Meshes; }

private:
    // The vertices one frame holds, from one mesh or a run of meshes.
    struct Span
    {
        std::size_t begin, end, frame;
    };

    XFileMesh m_Result;
    std::vector<Span> m_Spans;
    std::size_t m_Meshes = 0;
    bool m_AnyNormals = false;
    bool m_AnyTexcoords = false;
    bool m_AnyColors = false;
    bool m_AnyMaterialList = false;
    // Materials counted when the first mesh without a list came: its shared
    // plain material goes there once any mesh has a list.
    std::size_t m_PlainMaterialAt = 0;
    bool m_AnyWithoutList = false;
};
