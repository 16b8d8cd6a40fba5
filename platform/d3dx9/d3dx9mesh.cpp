// The free mesh functions of D3DX: creation, normals, bounds, buffers.
#include "d3dx9mesh.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "D3DXBlob.h"
#include "D3DXFvfLayout.h"
#include "D3DXLastError.h"
#include "SystemMemoryMesh.h"

namespace {

// Holds a mesh buffer lock and gives it back on every way out.
class ScopedMeshLock
{
public:
    using UnlockFn = HRESULT (ID3DXBaseMesh::*)();
    ScopedMeshLock(ID3DXBaseMesh* mesh, UnlockFn unlock) : m_Mesh(mesh), m_Unlock(unlock) {}
    ScopedMeshLock(const ScopedMeshLock&) = delete;
    ScopedMeshLock& operator=(const ScopedMeshLock&) = delete;
    ~ScopedMeshLock() { Release(); }
    void Release()
    {
        if (m_Mesh)
            (m_Mesh->*m_Unlock)();
        m_Mesh = nullptr;
    }

private:
    ID3DXBaseMesh* m_Mesh;
    UnlockFn m_Unlock;
};

D3DXVECTOR3 ReadVector(const std::byte* p)
{
    D3DXVECTOR3 v;
    std::memcpy(&v.x, p, 4);
    std::memcpy(&v.y, p + 4, 4);
    std::memcpy(&v.z, p + 8, 4);
    return v;
}

void WriteVector(std::byte* p, const D3DXVECTOR3& v)
{
    std::memcpy(p, &v.x, 4);
    std::memcpy(p + 4, &v.y, 4);
    std::memcpy(p + 8, &v.z, 4);
}

}  // namespace

HRESULT D3DXCreateBuffer(DWORD numBytes, ID3DXBuffer** buffer)
{
    if (!buffer)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateBuffer: no pointer for the buffer");
    *buffer = nullptr;
    try {
        *buffer = new D3DXBlob(numBytes);
    } catch (const std::bad_alloc&) {
        return D3DXFail(E_OUTOFMEMORY, "D3DXCreateBuffer: out of memory for " + std::to_string(numBytes) + " bytes");
    }
    return D3D_OK;
}

HRESULT D3DXCreateMeshFVF(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice9* device,
                          ID3DXMesh** mesh)
{
    return SystemMemoryMesh::Create(numFaces, numVertices, options, fvf, device, mesh);
}

HRESULT D3DXComputeNormals(ID3DXBaseMesh* mesh, const DWORD* /*adjacency*/)
{
    if (!mesh)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeNormals: no mesh");
    D3DXFvfLayout layout;
    if (!D3DXGetFvfLayout(mesh->GetFVF(), &layout) || !layout.hasNormal)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeNormals: the mesh's vertices have no normal");

    // Normals are recomputed on every draw of an editable mesh: skip the work,
    // and above all the write that would make the device upload the mesh
    // again, when nothing was written since the last computation.
    auto* own = dynamic_cast<SystemMemoryMesh*>(mesh);
    if (own && own->GetNormalsVersionEXT() == own->GetVersionEXT())
        return D3D_OK;

    const DWORD numVertices = mesh->GetNumVertices();
    const DWORD numFaces = mesh->GetNumFaces();
    const UINT stride = mesh->GetNumBytesPerVertex();
    const bool wideIndices = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;

    void* vertexData = nullptr;
    if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertexData)))
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeNormals: cannot lock the vertices");
    ScopedMeshLock vertexLock(mesh, &ID3DXBaseMesh::UnlockVertexBuffer);
    void* indexData = nullptr;
    if (FAILED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &indexData)))
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeNormals: cannot lock the indices");
    ScopedMeshLock indexLock(mesh, &ID3DXBaseMesh::UnlockIndexBuffer);

    const auto* vertices = static_cast<const std::byte*>(vertexData);
    auto indexAt = [&](std::size_t i) -> DWORD {
        if (wideIndices) {
            DWORD v;
            std::memcpy(&v, static_cast<const std::byte*>(indexData) + i * 4, 4);
            return v;
        }
        WORD v;
        std::memcpy(&v, static_cast<const std::byte*>(indexData) + i * 2, 2);
        return v;
    };

    std::vector<D3DXVECTOR3> sums;
    try {
        sums.assign(numVertices, D3DXVECTOR3());
    } catch (const std::bad_alloc&) {
        return D3DXFail(E_OUTOFMEMORY, "D3DXComputeNormals: out of memory");
    }
    for (DWORD face = 0; face < numFaces; ++face) {
        const DWORD i0 = indexAt(std::size_t{face} * 3);
        const DWORD i1 = indexAt(std::size_t{face} * 3 + 1);
        const DWORD i2 = indexAt(std::size_t{face} * 3 + 2);
        if (i0 >= numVertices || i1 >= numVertices || i2 >= numVertices)
            return D3DXFail(D3DERR_INVALIDCALL,
                            "D3DXComputeNormals: face " + std::to_string(face) + " uses a vertex index out of range");
        const D3DXVECTOR3 p0 = ReadVector(vertices + std::size_t{i0} * stride);
        const D3DXVECTOR3 p1 = ReadVector(vertices + std::size_t{i1} * stride);
        const D3DXVECTOR3 p2 = ReadVector(vertices + std::size_t{i2} * stride);
        // The unnormalised cross product is twice the face's area long, so
        // summing it weights each face by its area. (p1 - p0) x (p2 - p0) is
        // D3D's winding: a triangle that runs clockwise seen from one side,
        // in left-handed coordinates, faces that side.
        D3DXVECTOR3 n;
        const D3DXVECTOR3 e1 = p1 - p0;
        const D3DXVECTOR3 e2 = p2 - p0;
        D3DXVec3Cross(&n, &e1, &e2);
        sums[i0] += n;
        sums[i1] += n;
        sums[i2] += n;
    }
    for (D3DXVECTOR3& n : sums) {
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        // A vertex without faces, or only degenerate or non-finite ones,
        // gets a zero normal rather than NaN.
        if (length > 0.0f && std::isfinite(length))
            n /= length;
        else
            n = D3DXVECTOR3();
    }

    bool changed = false;
    for (DWORD v = 0; v < numVertices && !changed; ++v)
        changed = std::memcmp(vertices + std::size_t{v} * stride + layout.normalOffset, &sums[v].x, 12) != 0;
    indexLock.Release();
    vertexLock.Release();

    if (changed) {
        void* writable = nullptr;
        if (FAILED(mesh->LockVertexBuffer(0, &writable)))
            return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeNormals: cannot lock the vertices");
        for (DWORD v = 0; v < numVertices; ++v)
            WriteVector(static_cast<std::byte*>(writable) + std::size_t{v} * stride + layout.normalOffset, sums[v]);
        mesh->UnlockVertexBuffer();
    }
    if (own)
        own->SetNormalsVersionEXT(own->GetVersionEXT());
    return D3D_OK;
}

HRESULT D3DXComputeBoundingBox(const D3DXVECTOR3* firstPosition, DWORD numVertices, DWORD stride, D3DXVECTOR3* min,
                               D3DXVECTOR3* max)
{
    if (!min || !max)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeBoundingBox: no pointer for the corners");
    // Callers may ignore the result and use the corners, so they are always
    // written.
    *min = D3DXVECTOR3();
    *max = D3DXVECTOR3();
    if (!firstPosition || numVertices == 0)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeBoundingBox: no vertices");

    constexpr float inf = std::numeric_limits<float>::infinity();
    D3DXVECTOR3 lo(inf, inf, inf);
    D3DXVECTOR3 hi(-inf, -inf, -inf);
    const auto* base = reinterpret_cast<const std::byte*>(firstPosition);
    for (DWORD i = 0; i < numVertices; ++i) {
        const D3DXVECTOR3 p = ReadVector(base + std::size_t{i} * stride);
        // Written so that NaN coordinates are passed over.
        if (p.x < lo.x)
            lo.x = p.x;
        if (p.y < lo.y)
            lo.y = p.y;
        if (p.z < lo.z)
            lo.z = p.z;
        if (p.x > hi.x)
            hi.x = p.x;
        if (p.y > hi.y)
            hi.y = p.y;
        if (p.z > hi.z)
            hi.z = p.z;
    }
    if (!(lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z))
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXComputeBoundingBox: no finite position");
    *min = lo;
    *max = hi;
    return D3D_OK;
}
