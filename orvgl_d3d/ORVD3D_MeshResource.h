// A mesh loaded from an .x file with its per-subset materials and textures;
// owned by the graphics system's mesh table, which hands it out by file name.
//
// Owns the mesh and the subset textures (one reference each). The subset
// textures are the mesh's own, found beside the mesh file; they never enter
// the texture table.
#pragma once

#include "ORVD3D_Resource.h"
#include "ORV_Array.h"
#include "ORV_BoundingBox.h"
#include "ORV_Color.h"
#include "ORV_Material.h"
#include "d3dx9mesh.h"

class ORVD3D_MeshResource : public ORVD3D_Resource
{
public:
    ORVD3D_MeshResource();
    ~ORVD3D_MeshResource() override;

    void Unload() override;
    bool CreateFromPath(const wchar_t* locatedPath) override;

    // Takes a mesh built in memory instead of loading a file (for a mesh
    // whose file could not be written). Holds its own reference to mesh and
    // gives it one plain white material, as a file without materials gets.
    bool Adopt(IDirect3DDevice9* device, const wchar_t* fileName, ID3DXMesh* mesh);

    ID3DXMesh* GetD3DXMesh() const { return m_pMesh; }
    // Box of the vertex positions in mesh coordinates; invalid while unloaded.
    ORV_BoundingBox* GetBoundingBox() { return &m_BoundingBox; }

    // Material of subset 0 (the default material when there is none).
    ORV_Material GetMaterial() const;
    // Overwrites subset 0's material; nothing when the mesh has none.
    void SetMaterial(const ORV_Material& material);

    // Draws every subset with its material (and, with texturing, its
    // texture). With overrideColor and no texturing the mesh shows color as
    // one flat emissive colour; lighting is forced on for the draw.
    void Render(bool texturing, bool overrideColor, ORV_Color color);

    int GetSubsetCount() const { return m_Materials.Count(); }
    // Subset i's own texture, null when it has none; i must be in range.
    IDirect3DTexture9* GetSubsetTexture(int i) const { return m_SubsetTextures[i]; }

    // Longest composed path of a subset texture, in characters; a longer one
    // is refused rather than cut, so the subset stays untextured.
    static constexpr std::size_t kMaxTexturePath = 259;

protected:
    // Sets m_BoundingBox from the mesh's vertex positions.
    void ComputeBoundingBox();
    // The texture at path for a subset of the mesh found at meshPath; null,
    // and one line to the problem reporter, when it cannot be had.
    IDirect3DTexture9* LoadSubsetTexture(const std::wstring& path, const wchar_t* meshPath);

    ID3DXMesh* m_pMesh = nullptr;
    ORV_Array<D3DMATERIAL9> m_Materials;
    ORV_Array<IDirect3DTexture9*> m_SubsetTextures;
    ORV_BoundingBox m_BoundingBox;
};
