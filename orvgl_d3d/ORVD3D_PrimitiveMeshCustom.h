// A square grid mesh built in code: N x N vertices spanning -1..1 in X and
// Z at height 0, saved as an .x file, taken into the shared mesh table under
// its file name and then edited in place by moving control points (the
// island's terrain, the editor grid).
//
// m_pMesh is the table's mesh, not owned: the table keeps it until the
// graphics context is released. The primitive only ever writes vertex
// positions of that mesh (and lets D3DX refresh its normals).
#pragma once

#include "ORVD3D_PrimitiveMesh.h"
#include "d3dx9mesh.h"

class ORVD3D_PrimitiveMeshCustom : public ORVD3D_PrimitiveMesh
{
public:
    // A null name means "YourMeshFileName.x".
    ORVD3D_PrimitiveMeshCustom(int resolution, const wchar_t* meshFileName);
    ~ORVD3D_PrimitiveMeshCustom() override;

    // Builds the grid, saves it, and takes the table's mesh of that name.
    virtual bool CreateMesh();
    // Writes the flat grid's vertices and indices into m_pMesh.
    virtual void FillMesh();

    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

    int GetResolution() const { return m_Resolution; }
    void SetShowNormals(bool show) { m_ShowNormals = show; }
    bool IsShowNormals() const { return m_ShowNormals; }
    void SetShowControlGrid(bool show) { m_ShowControlGrid = show; }
    bool IsShowControlGrid() const { return m_ShowControlGrid; }

    // Control points are edited by selection: select reads the point's
    // position, set stores a new one, and the stored position reaches the
    // mesh at the next draw or selection. A row or column outside 0..N-1 is
    // ignored.
    void SelectControlPoint(int row, int column);
    void GetSelectedPosition(D3DXVECTOR3& out);
    void SetSelectedPosition(float x, float y, float z);
    void DeselectControlPoint();

    int GetSelectedIndex() const { return m_SelectedIndex; }
    bool IsMeshCreated() const { return m_MeshCreated; }

    // Vertex layout of the grid: position, normal, diffuse, u, v.
    static constexpr DWORD kFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    static constexpr UINT kStride = 36;

protected:
    // Creates the mesh unless it exists; false when it cannot be had. Also
    // notices a mesh that went away with its graphics context.
    bool EnsureMesh();
    // Writes m_SelectedPosition into the selected vertex if it differs.
    void WritePendingSelection();
    // Recomputes the normals only when a vertex was written since the last
    // computation.
    void UpdateNormals();
    void DrawControlGrid(int lod, ORV_DrawHelper& helper);
    void DrawNormals(int lod, ORV_DrawHelper& helper);
    // Position of vertex index in a locked vertex block.
    D3DXVECTOR3 PositionAt(const void* vertices, int index) const;

    bool m_MeshCreated = false;
    bool m_ShowNormals = false;
    bool m_ShowControlGrid = false;
    ID3DXMesh* m_pMesh = nullptr;
    int m_Resolution;
    int m_NumFaces;
    int m_NumVertices;
    int m_SelectedIndex = -1;
    D3DXVECTOR3 m_SelectedPosition;
    float m_Spacing;

private:
    // True when the table's mesh has had a vertex written since its normals
    // were last computed.
    bool m_NormalsStale = true;
};
