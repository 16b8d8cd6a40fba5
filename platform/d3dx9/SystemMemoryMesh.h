// The ID3DXMesh of this library: vertices, indices and one attribute per face
// held in system memory. The mesh holds a reference to its device and reaches
// it only through DrawMeshSubsetEXT / ForgetMeshEXT; the device may keep
// copies of the subsets, keyed by this mesh and refreshed when the version
// changes (every unlock after a writable lock).
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "RefCounted.h"
#include "d3dx9mesh.h"

class SystemMemoryMesh final : public RefCounted<ID3DXMesh>
{
public:
    // Checks the arguments and allocates; the only way to make one.
    static HRESULT Create(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice9* device,
                          ID3DXMesh** mesh);

    HRESULT DrawSubset(DWORD attribId) override;
    DWORD GetNumFaces() override { return m_NumFaces; }
    DWORD GetNumVertices() override { return m_NumVertices; }
    DWORD GetFVF() override { return m_FVF; }
    DWORD GetNumBytesPerVertex() override { return m_Stride; }
    DWORD GetOptions() override { return m_Options; }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** vertexBuffer) override;
    HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** indexBuffer) override;
    HRESULT LockVertexBuffer(DWORD flags, void** data) override;
    HRESULT UnlockVertexBuffer() override;
    HRESULT LockIndexBuffer(DWORD flags, void** data) override;
    HRESULT UnlockIndexBuffer() override;
    HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) override;
    HRESULT UnlockAttributeBuffer() override;

    // Changes after every write to any of the three buffers.
    unsigned long long GetVersionEXT() const { return m_Version; }
    // The version at which D3DXComputeNormals last left the normals correct
    // (0: never), so an unedited mesh is not recomputed on every draw.
    unsigned long long GetNormalsVersionEXT() const { return m_NormalsVersion; }
    void SetNormalsVersionEXT(unsigned long long version) { m_NormalsVersion = version; }

    UINT VertexBytes() const { return static_cast<UINT>(m_Vertices.size()); }
    UINT IndexBytes() const { return static_cast<UINT>(m_Indices.size()); }

private:
    SystemMemoryMesh(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, UINT stride,
                     IDirect3DDevice9* device);
    ~SystemMemoryMesh() override;

    // Lock bookkeeping of one buffer: the version moves when the last of
    // (possibly nested) locks ends, if any of them could write.
    struct LockState
    {
        int count = 0;
        bool written = false;
    };
    HRESULT Lock(LockState& state, DWORD flags);
    HRESULT Unlock(LockState& state);

    // Triangle-list indices of one attribute, 16-bit as the device takes
    // them. A subset reaching past vertex 65535 of a 32-bit mesh draws from a
    // compacted copy of the vertices it uses.
    struct Subset
    {
        bool valid = false;
        std::vector<WORD> indices;
        std::vector<std::byte> compactVertices;  // empty: draw from the mesh's own vertices
        UINT numVertices = 0;
    };
    HRESULT BuildSubset(DWORD attribId, Subset* subset) const;
    DWORD IndexAt(std::size_t i) const;

    const DWORD m_NumFaces;
    const DWORD m_NumVertices;
    const DWORD m_Options;
    const DWORD m_FVF;
    const UINT m_Stride;
    IDirect3DDevice9* const m_Device;  // one reference, released in the destructor

    std::vector<std::byte> m_Vertices;
    std::vector<std::byte> m_Indices;  // WORD or DWORD per index (D3DXMESH_32BIT)
    std::vector<DWORD> m_Attributes;

    LockState m_VertexLock;
    LockState m_IndexLock;
    LockState m_AttributeLock;
    unsigned long long m_Version = 1;
    unsigned long long m_NormalsVersion = 0;

    std::unordered_map<DWORD, Subset> m_Subsets;
    unsigned long long m_SubsetsVersion = 0;
};
