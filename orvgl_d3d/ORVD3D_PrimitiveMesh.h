// A primitive that draws one mesh file from the graphics system's shared mesh
// table (the craft, the island's buildings, the light markers).
//
// Holds only the file name: the mesh resource belongs to the table and is
// looked up by that name on every use, never kept. A name that cannot be
// loaded leaves the primitive drawing nothing until a later lookup succeeds.
#pragma once

#include <string>

#include "ORV_Primitive.h"

class ORVD3D_MeshResource;

class ORVD3D_PrimitiveMesh : public ORV_Primitive
{
public:
    // Loads the mesh now (if the table does not hold it yet) and takes its
    // subset 0 material as the primitive's material.
    explicit ORVD3D_PrimitiveMesh(const wchar_t* meshFileName);
    ~ORVD3D_PrimitiveMesh() override;

    // The resource's box in mesh coordinates, owned by the resource; null
    // while the mesh cannot be had.
    ORV_BoundingVolume* GetBoundingVolume(int lod) override;
    // The base attributes, shade colour, shade and fill modes; then the
    // primitive's material becomes the shared mesh's subset 0 material.
    void SetupDrawAttributes(ORV_DrawHelper& helper) override;
    // Lit: the mesh's materials; unlit: one flat colour.
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

    const wchar_t* GetMeshFileName() const { return m_MeshFileName.c_str(); }

protected:
    // For a mesh the program builds and writes itself: until it is written
    // its file is missing, which the status slot hears of as usual but is
    // no problem to tell the player. A file that is there but bad still is.
    struct FileWrittenByProgram
    {};
    ORVD3D_PrimitiveMesh(const wchar_t* meshFileName, FileWrittenByProgram);

    // The table's resource for m_MeshFileName, loaded if missing; null when
    // there is no context or the file cannot be loaded.
    ORVD3D_MeshResource* LookUpMesh() const;

    std::wstring m_MeshFileName;
};
