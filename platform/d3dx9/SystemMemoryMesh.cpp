#include "SystemMemoryMesh.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "D3DXFvfLayout.h"
#include "D3DXLastError.h"

namespace {

// Far above anything the game draws; keeps a bad count from asking for
// gigabytes.
constexpr DWORD kMaxVertices = 1u << 24;
constexpr DWORD kMaxFaces = 1u << 24;
constexpr DWORD kMax16BitVertices = 0x10000;

// The buffer objects handed out by GetVertexBuffer / GetIndexBuffer: windows
// onto the mesh's own memory that keep the mesh alive while held.
template <class Interface, HRESULT (SystemMemoryMesh::*LockFn)(DWORD, void**), HRESULT (SystemMemoryMesh::*UnlockFn)(),
          UINT (SystemMemoryMesh::*BytesFn)() const>
class MeshBufferView final : public RefCounted<Interface>
{
public:
    explicit MeshBufferView(SystemMemoryMesh* mesh) : m_Mesh(mesh) { m_Mesh->AddRef(); }

    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) override
    {
        if (!data)
            return D3DXFail(D3DERR_INVALIDCALL, "Lock: no pointer for the data");
        *data = nullptr;
        const UINT total = (m_Mesh->*BytesFn)();
        if (offsetToLock > total || sizeToLock > total - offsetToLock)
            return D3DXFail(D3DERR_INVALIDCALL, "Lock: range " + std::to_string(offsetToLock) + "+" +
                                                    std::to_string(sizeToLock) + " outside the buffer of " +
                                                    std::to_string(total) + " bytes");
        void* base = nullptr;
        const HRESULT hr = (m_Mesh->*LockFn)(flags, &base);
        if (FAILED(hr))
            return hr;
        *data = static_cast<std::byte*>(base) + offsetToLock;
        return D3D_OK;
    }

    HRESULT Unlock() override { return (m_Mesh->*UnlockFn)(); }

private:
    ~MeshBufferView() override { m_Mesh->Release(); }

    SystemMemoryMesh* const m_Mesh;
};

using MeshVertexBuffer = MeshBufferView<IDirect3DVertexBuffer9, &SystemMemoryMesh::LockVertexBuffer,
                                        &SystemMemoryMesh::UnlockVertexBuffer, &SystemMemoryMesh::VertexBytes>;
using MeshIndexBuffer = MeshBufferView<IDirect3DIndexBuffer9, &SystemMemoryMesh::LockIndexBuffer,
                                       &SystemMemoryMesh::UnlockIndexBuffer, &SystemMemoryMesh::IndexBytes>;

}  // namespace

HRESULT SystemMemoryMesh::Create(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice9* device,
                                 ID3DXMesh** mesh)
{
    if (!mesh)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateMeshFVF: no pointer for the mesh");
    *mesh = nullptr;
    if (!device)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateMeshFVF: no device");
    if (numFaces == 0 || numVertices == 0)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateMeshFVF: a mesh needs at least one face and one vertex");
    D3DXFvfLayout layout;
    if (!D3DXGetFvfLayout(fvf, &layout))
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateMeshFVF: unsupported vertex format " + std::to_string(fvf));
    if (!(options & D3DXMESH_32BIT) && numVertices > kMax16BitVertices)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXCreateMeshFVF: " + std::to_string(numVertices) +
                                                " vertices need 32-bit indices (D3DXMESH_32BIT)");
    if (numVertices > kMaxVertices || numFaces > kMaxFaces)
        return D3DXFail(E_OUTOFMEMORY, "D3DXCreateMeshFVF: " + std::to_string(numFaces) + " faces and " +
                                           std::to_string(numVertices) + " vertices is too large a mesh");
    try {
        *mesh = new SystemMemoryMesh(numFaces, numVertices, options, fvf, layout.stride, device);
    } catch (const std::bad_alloc&) {
        return D3DXFail(E_OUTOFMEMORY, "D3DXCreateMeshFVF: out of memory");
    }
    return D3D_OK;
}

SystemMemoryMesh::SystemMemoryMesh(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, UINT stride,
                                   IDirect3DDevice9* device)
    : m_NumFaces(numFaces),
      m_NumVertices(numVertices),
      m_Options(options),
      m_FVF(fvf),
      m_Stride(stride),
      m_Device(device),
      m_Vertices(std::size_t{numVertices} * stride),
      m_Indices(std::size_t{numFaces} * 3 * ((options & D3DXMESH_32BIT) ? 4 : 2)),
      m_Attributes(numFaces, 0)
{
    // Taken last: if an allocation above throws, no reference is left behind.
    m_Device->AddRef();
}

SystemMemoryMesh::~SystemMemoryMesh()
{
    m_Device->ForgetMeshEXT(this);
    m_Device->Release();
}

HRESULT SystemMemoryMesh::GetDevice(IDirect3DDevice9** device)
{
    if (!device)
        return D3DXFail(D3DERR_INVALIDCALL, "GetDevice: no pointer for the device");
    m_Device->AddRef();
    *device = m_Device;
    return D3D_OK;
}

HRESULT SystemMemoryMesh::GetVertexBuffer(IDirect3DVertexBuffer9** vertexBuffer)
{
    if (!vertexBuffer)
        return D3DXFail(D3DERR_INVALIDCALL, "GetVertexBuffer: no pointer for the buffer");
    *vertexBuffer = new MeshVertexBuffer(this);
    return D3D_OK;
}

HRESULT SystemMemoryMesh::GetIndexBuffer(IDirect3DIndexBuffer9** indexBuffer)
{
    if (!indexBuffer)
        return D3DXFail(D3DERR_INVALIDCALL, "GetIndexBuffer: no pointer for the buffer");
    *indexBuffer = new MeshIndexBuffer(this);
    return D3D_OK;
}

HRESULT SystemMemoryMesh::Lock(LockState& state, DWORD flags)
{
    ++state.count;
    if (!(flags & D3DLOCK_READONLY))
        state.written = true;
    return D3D_OK;
}

HRESULT SystemMemoryMesh::Unlock(LockState& state)
{
    if (state.count == 0)
        return D3DXFail(D3DERR_INVALIDCALL, "Unlock of a mesh buffer that is not locked");
    if (--state.count == 0 && state.written) {
        state.written = false;
        ++m_Version;
    }
    return D3D_OK;
}

HRESULT SystemMemoryMesh::LockVertexBuffer(DWORD flags, void** data)
{
    if (!data)
        return D3DXFail(D3DERR_INVALIDCALL, "LockVertexBuffer: no pointer for the data");
    *data = m_Vertices.data();
    return Lock(m_VertexLock, flags);
}

HRESULT SystemMemoryMesh::UnlockVertexBuffer()
{
    return Unlock(m_VertexLock);
}

HRESULT SystemMemoryMesh::LockIndexBuffer(DWORD flags, void** data)
{
    if (!data)
        return D3DXFail(D3DERR_INVALIDCALL, "LockIndexBuffer: no pointer for the data");
    *data = m_Indices.data();
    return Lock(m_IndexLock, flags);
}

HRESULT SystemMemoryMesh::UnlockIndexBuffer()
{
    return Unlock(m_IndexLock);
}

HRESULT SystemMemoryMesh::LockAttributeBuffer(DWORD flags, DWORD** data)
{
    if (!data)
        return D3DXFail(D3DERR_INVALIDCALL, "LockAttributeBuffer: no pointer for the data");
    *data = m_Attributes.data();
    return Lock(m_AttributeLock, flags);
}

HRESULT SystemMemoryMesh::UnlockAttributeBuffer()
{
    return Unlock(m_AttributeLock);
}

DWORD SystemMemoryMesh::IndexAt(std::size_t i) const
{
    if (m_Options & D3DXMESH_32BIT) {
        DWORD v;
        std::memcpy(&v, m_Indices.data() + i * 4, 4);
        return v;
    }
    WORD v;
    std::memcpy(&v, m_Indices.data() + i * 2, 2);
    return v;
}

HRESULT SystemMemoryMesh::BuildSubset(DWORD attribId, Subset* subset) const
{
    std::vector<DWORD> wide;
    DWORD maxIndex = 0;
    for (DWORD face = 0; face < m_NumFaces; ++face) {
        if (m_Attributes[face] != attribId)
            continue;
        for (int corner = 0; corner < 3; ++corner) {
            const DWORD index = IndexAt(std::size_t{face} * 3 + corner);
            // Checked here, once per write, so that no device ever reads
            // outside the vertex data.
            if (index >= m_NumVertices)
                return D3DXFail(D3DERR_INVALIDCALL, "DrawSubset: face " + std::to_string(face) + " uses vertex " +
                                                        std::to_string(index) + " of " + std::to_string(m_NumVertices));
            maxIndex = std::max(maxIndex, index);
            wide.push_back(index);
        }
    }

    subset->indices.resize(wide.size());
    subset->compactVertices.clear();
    subset->numVertices = m_NumVertices;
    if (maxIndex < kMax16BitVertices) {
        for (std::size_t i = 0; i < wide.size(); ++i)
            subset->indices[i] = static_cast<WORD>(wide[i]);
        subset->valid = true;
        return D3D_OK;
    }

    // Renumber the vertices this subset uses, in order of first use.
    std::unordered_map<DWORD, WORD> remap;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        auto [it, inserted] = remap.try_emplace(wide[i], static_cast<WORD>(remap.size()));
        if (inserted) {
            if (remap.size() > kMax16BitVertices)
                return D3DXFail(D3DERR_INVALIDCALL, "DrawSubset: subset " + std::to_string(attribId) +
                                                        " uses more than 65536 distinct vertices");
            const std::byte* src = m_Vertices.data() + std::size_t{wide[i]} * m_Stride;
            subset->compactVertices.insert(subset->compactVertices.end(), src, src + m_Stride);
        }
        subset->indices[i] = it->second;
    }
    subset->numVertices = static_cast<UINT>(remap.size());
    subset->valid = true;
    return D3D_OK;
}

HRESULT SystemMemoryMesh::DrawSubset(DWORD attribId)
{
    // Any write since the cache was built may have changed which faces
    // belong where, or an index.
    if (m_SubsetsVersion != m_Version) {
        m_Subsets.clear();
        m_SubsetsVersion = m_Version;
    }
    auto [it, inserted] = m_Subsets.try_emplace(attribId);
    Subset& subset = it->second;
    if (inserted) {
        HRESULT hr;
        try {
            hr = BuildSubset(attribId, &subset);
        } catch (const std::bad_alloc&) {
            hr = D3DXFail(E_OUTOFMEMORY, "DrawSubset: out of memory");
        }
        if (FAILED(hr)) {
            // Remembered as invalid until the next write: no rescan per draw.
            subset = Subset{};
            return hr;
        }
    }
    if (!subset.valid)
        return D3DXFail(D3DERR_INVALIDCALL,
                        "DrawSubset: subset " + std::to_string(attribId) + " has a vertex index out of range");
    if (subset.indices.empty())
        return D3D_OK;

    D3DMESHSUBSET_EXT draw{};
    draw.key = this;
    draw.subset = attribId;
    draw.version = m_Version;
    draw.fvf = m_FVF;
    draw.stride = m_Stride;
    draw.vertices = subset.compactVertices.empty() ? static_cast<const void*>(m_Vertices.data())
                                                   : static_cast<const void*>(subset.compactVertices.data());
    draw.numVertices = subset.numVertices;
    draw.indices = subset.indices.data();
    draw.numIndices = static_cast<UINT>(subset.indices.size());
    return m_Device->DrawMeshSubsetEXT(draw);
}
