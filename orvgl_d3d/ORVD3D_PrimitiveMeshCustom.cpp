#include "ORVD3D_PrimitiveMeshCustom.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "ORVD3D_GraphicsSystem.h"
#include "ORV_DrawHelper.h"
#include "ORV_PrimitiveLine.h"
#include "ORV_PrimitivePoint.h"
#include "ORV_StatusEcho.h"

namespace {

// One grid vertex as kFVF lays it out.
struct GridVertex
{
    float x, y, z;
    float nx, ny, nz;
    DWORD diffuse;
    float u, v;
};
static_assert(sizeof(GridVertex) == ORVD3D_PrimitiveMeshCustom::kStride);

// 16-bit indices reach 65536 vertices: a 256 x 256 grid.
constexpr int kMaxResolution = 256;

bool IsBuildable(int resolution)
{
    return resolution >= 2 && resolution <= kMaxResolution;
}

ORVD3D_GraphicsSystem& System()
{
    return ORVD3D_GraphicsSystem::GetInstance();
}

}  // namespace

ORVD3D_PrimitiveMeshCustom::ORVD3D_PrimitiveMeshCustom(int resolution, const wchar_t* meshFileName)
    : ORVD3D_PrimitiveMesh(meshFileName != nullptr ? meshFileName : L"YourMeshFileName.x", FileWrittenByProgram{}),
      m_Resolution(resolution),
      // A resolution that cannot be built gets no counts rather than an
      // overflowing product; CreateMesh refuses it.
      m_NumFaces(IsBuildable(resolution) ? (resolution - 1) * (resolution - 1) * 2 : 0),
      m_NumVertices(IsBuildable(resolution) ? resolution * resolution : 0),
      m_Spacing(resolution > 1 ? 2.0f / static_cast<float>(resolution - 1) : 0.0f)
{}

ORVD3D_PrimitiveMeshCustom::~ORVD3D_PrimitiveMeshCustom()
{
    // The table owns the mesh.
    m_pMesh = nullptr;
}

bool ORVD3D_PrimitiveMeshCustom::CreateMesh()
{
    IDirect3DDevice9* device = System().GetD3DDevice();
    if (device == nullptr || !IsBuildable(m_Resolution))
        return false;
    if (FAILED(D3DXCreateMeshFVF(static_cast<DWORD>(m_NumFaces), static_cast<DWORD>(m_NumVertices), D3DXMESH_SYSTEMMEM,
                                 kFVF, device, &m_pMesh)) ||
        m_pMesh == nullptr) {
        // Not created: the next draw or edit tries again.
        m_pMesh = nullptr;
        return false;
    }
    FillMesh();

    // The file did not exist when this primitive was made; once written it
    // must be read at once, not after the failed first look expires.
    System().ForgetFailedLoad(m_MeshFileName.c_str());
    if (FAILED(
            D3DXSaveMeshToXW(m_MeshFileName.c_str(), m_pMesh, nullptr, nullptr, nullptr, 0, D3DXF_FILEFORMAT_TEXT))) {
        // The file is only a copy: the mesh just built is used all the same
        // (a read-only data folder must still give the game its terrain).
        const std::wstring message = L"**ERROR** [" + m_MeshFileName + L"]: save failed!";
        EchoToStatus0(message.c_str());
        System().AdoptMeshResource(m_MeshFileName.c_str(), m_pMesh);
    }
    m_pMesh->Release();
    m_pMesh = nullptr;

    // The mesh to edit is the table's: a mesh of this name loaded earlier
    // (say from the file of an earlier run) wins over the one just written.
    if (ORVD3D_MeshResource* resource = System().GetMeshResource(m_MeshFileName.c_str())) {
        m_pMesh = resource->GetD3DXMesh();
        m_MeshCreated = m_pMesh != nullptr;
        m_NormalsStale = true;
    }
    return m_MeshCreated;
}

void ORVD3D_PrimitiveMeshCustom::FillMesh()
{
    if (m_pMesh == nullptr)
        return;
    const int n = m_Resolution;
    const float s = m_Spacing;

    void* vertexData = nullptr;
    if (SUCCEEDED(m_pMesh->LockVertexBuffer(0, &vertexData)) && vertexData != nullptr) {
        auto* out = static_cast<unsigned char*>(vertexData);
        int column = 0;
        int row = 0;
        for (int i = 0; i < m_NumVertices; ++i) {
            GridVertex vertex{};
            vertex.x = static_cast<float>(column) * s - 1.0f;
            vertex.y = 0.0f;
            vertex.z = 1.0f - static_cast<float>(row) * s;
            vertex.nx = 0.0f;
            vertex.ny = 1.0f;
            vertex.nz = 0.0f;
            vertex.u = vertex.x / 2.0f + 0.5f;
            vertex.v = vertex.z / 2.0f + 0.5f;
            // The diffuse field keeps what the buffer holds: every material
            // source is the material, so it never shows.
            std::memcpy(out + static_cast<std::size_t>(i) * kStride, &vertex, offsetof(GridVertex, diffuse));
            std::memcpy(out + static_cast<std::size_t>(i) * kStride + offsetof(GridVertex, u), &vertex.u,
                        2 * sizeof(float));
            if (++column > n - 1) {
                column = 0;
                ++row;
            }
        }
        m_pMesh->UnlockVertexBuffer();
    }

    void* indexData = nullptr;
    if (SUCCEEDED(m_pMesh->LockIndexBuffer(0, &indexData)) && indexData != nullptr) {
        auto* out = static_cast<WORD*>(indexData);
        std::size_t k = 0;
        for (int row = 0; row < n - 1; ++row) {
            for (int column = 0; column < n - 1; ++column) {
                const auto a = static_cast<WORD>(row * n + column);
                const auto b = static_cast<WORD>((row + 1) * n + column);
                const WORD face[6] = {a, static_cast<WORD>(a + 1), b,
                                      b, static_cast<WORD>(a + 1), static_cast<WORD>(b + 1)};
                std::memcpy(out + k, face, sizeof(face));
                k += 6;
            }
        }
        m_pMesh->UnlockIndexBuffer();
    }
}

bool ORVD3D_PrimitiveMeshCustom::EnsureMesh()
{
    if (m_MeshCreated) {
        // The table owns the mesh and frees it with the graphics context;
        // after that m_pMesh must not be touched, and a new context needs
        // the grid built again.
        ORVD3D_MeshResource* resource = System().GetMeshResource(m_MeshFileName.c_str(), false);
        if (resource != nullptr && resource->GetD3DXMesh() == m_pMesh)
            return true;
        m_MeshCreated = false;
        m_pMesh = nullptr;
    }
    return CreateMesh();
}

D3DXVECTOR3 ORVD3D_PrimitiveMeshCustom::PositionAt(const void* vertices, int index) const
{
    D3DXVECTOR3 position;
    std::memcpy(
        &position.x,
        static_cast<const unsigned char*>(vertices) + static_cast<std::size_t>(index) * m_pMesh->GetNumBytesPerVertex(),
        3 * sizeof(float));
    return position;
}

void ORVD3D_PrimitiveMeshCustom::WritePendingSelection()
{
    if (m_SelectedIndex < 0 || m_pMesh == nullptr || m_SelectedIndex >= static_cast<int>(m_pMesh->GetNumVertices()))
        return;
    // A selection stays pending for as long as it is selected (the terrain
    // keeps its last raised point): write only a changed position, so an
    // unedited mesh is neither re-uploaded nor has its normals redone.
    void* data = nullptr;
    if (FAILED(m_pMesh->LockVertexBuffer(D3DLOCK_READONLY, &data)) || data == nullptr)
        return;
    const D3DXVECTOR3 current = PositionAt(data, m_SelectedIndex);
    m_pMesh->UnlockVertexBuffer();
    if (current == m_SelectedPosition)
        return;

    if (FAILED(m_pMesh->LockVertexBuffer(0, &data)) || data == nullptr)
        return;
    std::memcpy(
        static_cast<unsigned char*>(data) + static_cast<std::size_t>(m_SelectedIndex) * m_pMesh->GetNumBytesPerVertex(),
        &m_SelectedPosition.x, 3 * sizeof(float));
    m_pMesh->UnlockVertexBuffer();
    m_NormalsStale = true;
}

void ORVD3D_PrimitiveMeshCustom::UpdateNormals()
{
    if (m_NormalsStale && SUCCEEDED(D3DXComputeNormals(m_pMesh, nullptr)))
        m_NormalsStale = false;
}

void ORVD3D_PrimitiveMeshCustom::SelectControlPoint(int row, int column)
{
    // Outside the grid there is no control point; the index would reach
    // past the vertex buffer.
    if (row < 0 || row >= m_Resolution || column < 0 || column >= m_Resolution)
        return;
    if (!EnsureMesh())
        return;
    const int index = row * m_Resolution + column;
    // A mesh of this name read from an older file may be smaller.
    if (index >= static_cast<int>(m_pMesh->GetNumVertices()))
        return;

    WritePendingSelection();
    m_SelectedIndex = index;
    void* data = nullptr;
    if (SUCCEEDED(m_pMesh->LockVertexBuffer(D3DLOCK_READONLY, &data)) && data != nullptr) {
        m_SelectedPosition = PositionAt(data, m_SelectedIndex);
        m_pMesh->UnlockVertexBuffer();
    }
}

void ORVD3D_PrimitiveMeshCustom::GetSelectedPosition(D3DXVECTOR3& out)
{
    if (!EnsureMesh())
        return;
    out = m_SelectedPosition;
}

void ORVD3D_PrimitiveMeshCustom::SetSelectedPosition(float x, float y, float z)
{
    if (!EnsureMesh())
        return;
    m_SelectedPosition = D3DXVECTOR3(x, y, z);
}

void ORVD3D_PrimitiveMeshCustom::DeselectControlPoint()
{
    if (!EnsureMesh())
        return;
    WritePendingSelection();
    m_SelectedIndex = -1;
}

bool ORVD3D_PrimitiveMeshCustom::DrawPrimitive(int lod, ORV_DrawHelper& helper)
{
    if (!EnsureMesh())
        return false;
    WritePendingSelection();
    UpdateNormals();
    const bool drawn = ORVD3D_PrimitiveMesh::DrawPrimitive(lod, helper);
    if (m_ShowControlGrid)
        DrawControlGrid(lod, helper);
    if (m_ShowNormals)
        DrawNormals(lod, helper);
    return drawn;
}

void ORVD3D_PrimitiveMeshCustom::DrawControlGrid(int lod, ORV_DrawHelper& helper)
{
    ORV_PrimitivePoint point;
    point.SetLighting(false);
    point.SetShadeMode(0);
    point.SetColor(ORV_Color(0.8f, 0.8f, 0.8f, 0.0f));
    point.SetPointSize(10.0f);

    void* data = nullptr;
    if (SUCCEEDED(m_pMesh->LockVertexBuffer(D3DLOCK_READONLY, &data)) && data != nullptr) {
        const int count = static_cast<int>(m_pMesh->GetNumVertices());
        for (int i = 0; i < count; ++i) {
            const D3DXVECTOR3 p = PositionAt(data, i);
            point.SetLocation(p.x, p.y, p.z);
            point.Draw(lod, helper);
        }
        m_pMesh->UnlockVertexBuffer();
    }
    if (m_SelectedIndex != -1) {
        point.SetColor(ORV_Color(1.0f, 0.0f, 0.0f, 0.0f));
        point.SetPointSize(15.0f);
        point.SetLocation(m_SelectedPosition.x, m_SelectedPosition.y, m_SelectedPosition.z);
        point.Draw(lod, helper);
    }
}

void ORVD3D_PrimitiveMeshCustom::DrawNormals(int lod, ORV_DrawHelper& helper)
{
    // A foreign mesh of this name may carry no normals to show.
    if ((m_pMesh->GetFVF() & D3DFVF_NORMAL) == 0)
        return;
    ORV_PrimitiveLine line;
    line.SetLighting(false);
    line.SetShadeMode(0);
    line.SetColor(ORV_Color(1.0f, 1.0f, 1.0f, 0.0f));

    void* data = nullptr;
    if (FAILED(m_pMesh->LockVertexBuffer(D3DLOCK_READONLY, &data)) || data == nullptr)
        return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const std::size_t stride = m_pMesh->GetNumBytesPerVertex();
    const int count = static_cast<int>(m_pMesh->GetNumVertices());
    for (int i = 0; i < count; ++i) {
        const D3DXVECTOR3 p = PositionAt(data, i);
        D3DXVECTOR3 n;
        std::memcpy(&n.x, bytes + static_cast<std::size_t>(i) * stride + 3 * sizeof(float), 3 * sizeof(float));
        const D3DXVECTOR3 end = p + 0.1f * n;
        line.SetStartPoint(p.x, p.y, p.z);
        line.SetEndPoint(end.x, end.y, end.z);
        line.Draw(lod, helper);
    }
    m_pMesh->UnlockVertexBuffer();
}
