// D3DXLoadMeshFromXW and D3DXSaveMeshToXW: the device-free .x reader and
// writer of xfile.h, moved into and out of a system-memory mesh.
#include <cstring>
#include <new>

#include "D3DXFvfLayout.h"
#include "D3DXLastError.h"
#include "RefCounted.h"
#include "d3dx9mesh.h"
#include "xfile.h"

namespace {

constexpr HRESULT kInvalidData = static_cast<HRESULT>(0x88760B59u);  // D3DXERR_INVALIDDATA

// D3DXMATERIAL entries followed by the texture names they point at, all in
// one buffer, so releasing the buffer frees everything.
HRESULT MakeMaterialBuffer(const std::vector<XFileMaterial>& materials, ID3DXBuffer** buffer)
{
    std::size_t bytes = materials.size() * sizeof(D3DXMATERIAL);
    for (const XFileMaterial& m : materials)
        if (!m.textureFilename.empty())
            bytes += m.textureFilename.size() + 1;
    if (bytes > 0xFFFFFFFFu)
        return E_OUTOFMEMORY;
    HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(bytes), buffer);
    if (FAILED(hr))
        return hr;
    auto* entries = static_cast<D3DXMATERIAL*>((*buffer)->GetBufferPointer());
    char* names = reinterpret_cast<char*>(entries + materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        entries[i].MatD3D = materials[i].material;
        entries[i].pTextureFilename = nullptr;
        const std::string& name = materials[i].textureFilename;
        if (!name.empty()) {
            std::memcpy(names, name.c_str(), name.size() + 1);
            entries[i].pTextureFilename = names;
            names += name.size() + 1;
        }
    }
    return D3D_OK;
}

HRESULT FillMesh(const XFileMesh& x, ID3DXMesh* mesh)
{
    D3DXFvfLayout layout;
    D3DXGetFvfLayout(mesh->GetFVF(), &layout);
    void* vertexData = nullptr;
    if (FAILED(mesh->LockVertexBuffer(0, &vertexData)))
        return E_FAIL;
    auto* vertices = static_cast<std::byte*>(vertexData);
    for (std::size_t i = 0; i < x.positions.size(); ++i) {
        std::byte* v = vertices + i * layout.stride;
        std::memcpy(v, &x.positions[i].x, 12);
        if (!x.normals.empty())
            std::memcpy(v + layout.normalOffset, &x.normals[i].x, 12);
        if (!x.texcoords.empty())
            std::memcpy(v + layout.texcoordOffset, x.texcoords[i].data(), 8);
        if (layout.hasDiffuse) {
            const DWORD color = x.colors.empty() ? 0xFFFFFFFFu : x.colors[i];
            std::memcpy(v + layout.diffuseOffset, &color, 4);
        }
    }
    mesh->UnlockVertexBuffer();

    void* indexData = nullptr;
    if (FAILED(mesh->LockIndexBuffer(0, &indexData)))
        return E_FAIL;
    const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    for (std::size_t f = 0; f < x.faces.size(); ++f) {
        for (std::size_t k = 0; k < 3; ++k) {
            if (wide) {
                static_cast<DWORD*>(indexData)[f * 3 + k] = x.faces[f][k];
            } else {
                static_cast<WORD*>(indexData)[f * 3 + k] = static_cast<WORD>(x.faces[f][k]);
            }
        }
    }
    mesh->UnlockIndexBuffer();

    DWORD* attributes = nullptr;
    if (FAILED(mesh->LockAttributeBuffer(0, &attributes)))
        return E_FAIL;
    for (std::size_t f = 0; f < x.faces.size(); ++f)
        attributes[f] = x.faceMaterials.empty() ? 0 : x.faceMaterials[f];
    mesh->UnlockAttributeBuffer();
    return D3D_OK;
}

// Reads the mesh's buffers back into the writer's form.
HRESULT ExtractMesh(ID3DXMesh* mesh, XFileMesh* x)
{
    D3DXFvfLayout layout;
    if (!D3DXGetFvfLayout(mesh->GetFVF(), &layout))
        return D3DERR_INVALIDCALL;
    const DWORD numVertices = mesh->GetNumVertices();
    const DWORD numFaces = mesh->GetNumFaces();
    const UINT stride = mesh->GetNumBytesPerVertex();
    const bool hasTexcoords = layout.texcoordCount > 0 && layout.texcoord0Floats >= 2;

    void* vertexData = nullptr;
    if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertexData)))
        return E_FAIL;
    const auto* vertices = static_cast<const std::byte*>(vertexData);
    x->positions.resize(numVertices);
    x->normals.resize(layout.hasNormal ? numVertices : 0);
    x->texcoords.resize(hasTexcoords ? numVertices : 0);
    x->colors.resize(layout.hasDiffuse ? numVertices : 0);
    for (DWORD i = 0; i < numVertices; ++i) {
        const std::byte* v = vertices + std::size_t{i} * stride;
        std::memcpy(&x->positions[i].x, v, 12);
        if (layout.hasNormal)
            std::memcpy(&x->normals[i].x, v + layout.normalOffset, 12);
        if (hasTexcoords)
            std::memcpy(x->texcoords[i].data(), v + layout.texcoordOffset, 8);
        if (layout.hasDiffuse)
            std::memcpy(&x->colors[i], v + layout.diffuseOffset, 4);
    }
    mesh->UnlockVertexBuffer();

    void* indexData = nullptr;
    if (FAILED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &indexData)))
        return E_FAIL;
    const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    x->faces.resize(numFaces);
    for (DWORD f = 0; f < numFaces; ++f)
        for (std::size_t k = 0; k < 3; ++k)
            x->faces[f][k] = wide ? static_cast<const DWORD*>(indexData)[std::size_t{f} * 3 + k]
                                  : static_cast<const WORD*>(indexData)[std::size_t{f} * 3 + k];
    mesh->UnlockIndexBuffer();

    DWORD* attributes = nullptr;
    if (FAILED(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes)))
        return E_FAIL;
    x->faceMaterials.assign(attributes, attributes + numFaces);
    mesh->UnlockAttributeBuffer();
    return D3D_OK;
}

}  // namespace

HRESULT D3DXLoadMeshFromXW(const wchar_t* filename, DWORD options, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                           ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* numMaterials,
                           ID3DXMesh** mesh)
{
    if (!mesh)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXLoadMeshFromXW: no pointer for the mesh");
    *mesh = nullptr;
    if (materials)
        *materials = nullptr;
    if (numMaterials)
        *numMaterials = 0;
    if (adjacency)
        *adjacency = nullptr;
    if (effectInstances)
        *effectInstances = nullptr;
    if (adjacency || effectInstances)
        return D3DXFail(E_NOTIMPL, "D3DXLoadMeshFromXW: adjacency and effect instances are not supported");
    if (!device)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXLoadMeshFromXW: no device");
    const std::optional<std::string> utf8 = D3DXFilePath(filename, "D3DXLoadMeshFromXW");
    if (!utf8)
        return D3DERR_INVALIDCALL;
    const std::string& path = *utf8;

    try {
        XFileMesh x;
        std::string error;
        if (!ReadXFile(path, &x, &error))
            return D3DXFail(kInvalidData, error);
        if (x.faces.empty())
            return D3DXFail(kInvalidData, "the mesh has no faces");

        DWORD fvf = D3DFVF_XYZ;
        if (!x.normals.empty())
            fvf |= D3DFVF_NORMAL;
        if (!x.colors.empty())
            fvf |= D3DFVF_DIFFUSE;
        if (!x.texcoords.empty())
            fvf |= D3DFVF_TEX1;
        // A file with more vertices than 16-bit indices reach still loads.
        if (x.positions.size() > 0x10000)
            options |= D3DXMESH_32BIT;
        ComPtr<ID3DXMesh> loaded;
        HRESULT hr = D3DXCreateMeshFVF(static_cast<DWORD>(x.faces.size()), static_cast<DWORD>(x.positions.size()),
                                       options, fvf, device, loaded.Out());
        if (FAILED(hr))
            return hr;  // the reason is already set
        if (FAILED(FillMesh(x, loaded.Get())))
            return D3DXFail(E_FAIL, "cannot fill the mesh");

        std::vector<XFileMaterial> list = std::move(x.materials);
        if (list.empty())
            list.push_back(XFilePlainMaterial());
        if (materials) {
            hr = MakeMaterialBuffer(list, materials);
            if (FAILED(hr))
                return D3DXFail(hr, "out of memory for the materials");
        }
        if (numMaterials)
            *numMaterials = static_cast<DWORD>(list.size());
        *mesh = loaded.Get();
        (*mesh)->AddRef();
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        if (materials && *materials) {
            (*materials)->Release();
            *materials = nullptr;
        }
        return D3DXFail(E_OUTOFMEMORY, "out of memory");
    }
}

HRESULT D3DXSaveMeshToXW(const wchar_t* filename, ID3DXMesh* mesh, const DWORD* /*adjacency*/,
                         const D3DXMATERIAL* materials, const void* /*effectInstances*/, DWORD numMaterials,
                         DWORD format)
{
    if (!mesh)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXSaveMeshToXW: no mesh");
    if (numMaterials && !materials)
        return D3DXFail(D3DERR_INVALIDCALL, "D3DXSaveMeshToXW: materials counted but not given");
    const std::optional<std::string> utf8 = D3DXFilePath(filename, "D3DXSaveMeshToXW");
    if (!utf8)
        return D3DERR_INVALIDCALL;
    const std::string& path = *utf8;
    if (format != D3DXF_FILEFORMAT_TEXT)
        return D3DXFail(E_NOTIMPL, path + ": only text .x files can be written");

    try {
        XFileMesh x;
        if (FAILED(ExtractMesh(mesh, &x)))
            return D3DXFail(D3DERR_INVALIDCALL, path + ": cannot read the mesh's buffers");
        for (DWORD i = 0; i < numMaterials; ++i) {
            XFileMaterial m;
            m.material = materials[i].MatD3D;
            if (materials[i].pTextureFilename)
                m.textureFilename = materials[i].pTextureFilename;
            x.materials.push_back(std::move(m));
        }
        // Without materials the attributes have nothing to name.
        if (numMaterials == 0)
            x.faceMaterials.clear();
        std::string error;
        if (!WriteXFile(path, x, &error))
            return D3DXFail(E_FAIL, error);
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return D3DXFail(E_OUTOFMEMORY, path + ": out of memory");
    }
}
