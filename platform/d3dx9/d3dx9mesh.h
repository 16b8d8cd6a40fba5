// System-memory meshes with D3DX's names and results: 16-bit indices (32-bit
// on request), an attribute buffer giving each face its subset, and the .x
// file load and save of xfile.h underneath.
#pragma once

#include <string>

#include "d3d9.h"
#include "d3dx9math.h"

class ID3DXBuffer : public IUnknown
{
public:
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

HRESULT D3DXCreateBuffer(DWORD numBytes, ID3DXBuffer** buffer);

// One entry of the material buffer of D3DXLoadMeshFromXW. pTextureFilename
// points into the same buffer (null when the material names no texture).
struct D3DXMATERIAL
{
    D3DMATERIAL9 MatD3D;
    char* pTextureFilename;
};

enum _D3DXMESH : DWORD {
    D3DXMESH_32BIT = 0x001,
    D3DXMESH_SYSTEMMEM = 0x110,
    D3DXMESH_MANAGED = 0x220,
};

enum D3DXF_FILEFORMAT_EXT : DWORD {
    D3DXF_FILEFORMAT_BINARY = 0,
    D3DXF_FILEFORMAT_TEXT = 1,
    D3DXF_FILEFORMAT_COMPRESSED = 2,
};

class ID3DXBaseMesh : public IUnknown
{
public:
    // Draws the faces whose attribute is attribId, as a triangle list, with
    // the device's current states. A subset with no faces draws nothing and
    // succeeds; one whose faces name a vertex past the end is refused with
    // D3DERR_INVALIDCALL until the indices are written again.
    virtual HRESULT DrawSubset(DWORD attribId) = 0;
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
    virtual DWORD GetFVF() = 0;
    virtual DWORD GetNumBytesPerVertex() = 0;
    virtual DWORD GetOptions() = 0;
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** vertexBuffer) = 0;
    virtual HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** indexBuffer) = 0;
    virtual HRESULT LockVertexBuffer(DWORD flags, void** data) = 0;
    virtual HRESULT UnlockVertexBuffer() = 0;
    virtual HRESULT LockIndexBuffer(DWORD flags, void** data) = 0;
    virtual HRESULT UnlockIndexBuffer() = 0;
};

class ID3DXMesh : public ID3DXBaseMesh
{
public:
    virtual HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) = 0;
    virtual HRESULT UnlockAttributeBuffer() = 0;
};

// Vertex and index contents start zeroed; every attribute starts at 0.
// Needs a device, at least one face and vertex, a format with a position,
// and D3DXMESH_32BIT for more than 65536 vertices.
HRESULT D3DXCreateMeshFVF(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice9* device,
                          ID3DXMesh** mesh);

// Per-vertex normals: the normals of the faces around each vertex, weighted by
// face area, normalised; a vertex without (non-degenerate) faces gets zero.
// The mesh's FVF must hold D3DFVF_NORMAL. A mesh of this library that was
// not written since the last call is left as it is (no version change).
HRESULT D3DXComputeNormals(ID3DXBaseMesh* mesh, const DWORD* adjacency);

// Smallest box around numVertices positions spaced stride bytes apart.
HRESULT D3DXComputeBoundingBox(const D3DXVECTOR3* firstPosition, DWORD numVertices, DWORD stride, D3DXVECTOR3* min,
                               D3DXVECTOR3* max);

UINT D3DXGetFVFVertexSize(DWORD fvf);

// Reads a .x file, text, binary or compressed, every Mesh in it collapsed
// into one (see xfile.h). materials receives numMaterials
// D3DXMATERIAL entries (at least one: a mesh without materials gets a plain
// white one, as D3DX does). adjacency and effectInstances are not
// supported: pass null (asking for them fails with E_NOTIMPL). Meshes of
// more than 65536 vertices get 32-bit indices. On failure returns an error
// code, sets *mesh (and *materials) to null and D3DXGetLastErrorEXT tells
// why.
HRESULT D3DXLoadMeshFromXW(const wchar_t* filename, DWORD options, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                           ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* numMaterials,
                           ID3DXMesh** mesh);

// Writes mesh as a text .x file: positions, normals and texture coordinates
// as its FVF holds them, faces, and the materials given (with their texture
// names) and the attribute of each face. Only D3DXF_FILEFORMAT_TEXT is
// supported.
HRESULT D3DXSaveMeshToXW(const wchar_t* filename, ID3DXMesh* mesh, const DWORD* adjacency,
                         const D3DXMATERIAL* materials, const void* effectInstances, DWORD numMaterials, DWORD format);

// What went wrong in the last failing D3DX call of this thread, in one line.
// A failed load gives the reason only ("line 12: ...", "cannot open: ..."),
// names and tokens from the file cut short and escaped: the caller knows
// which file it asked for. A failed save names the file.
const std::string& D3DXGetLastErrorEXT();
