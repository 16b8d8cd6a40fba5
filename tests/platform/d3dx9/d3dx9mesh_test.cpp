#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "RecordingDevice.h"
#include "d3dx9mesh.h"

namespace {

constexpr DWORD kGridFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;  // 0x152, 36 bytes

// Owns one reference to a test device for the length of a test.
struct DeviceHolder
{
    ComPtr<RecordingDevice> device{new RecordingDevice};
    RecordingDevice* operator->() const { return device.Get(); }
    RecordingDevice* Get() const { return device.Get(); }
};

ComPtr<ID3DXMesh> MakeMesh(DWORD faces, DWORD vertices, DWORD options, DWORD fvf, IDirect3DDevice9* device)
{
    ComPtr<ID3DXMesh> mesh;
    EXPECT_EQ(D3DXCreateMeshFVF(faces, vertices, options, fvf, device, mesh.Out()), D3D_OK) << D3DXGetLastErrorEXT();
    return mesh;
}

void SetPositions(ID3DXMesh* mesh, const std::vector<D3DXVECTOR3>& positions)
{
    void* data = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(0, &data), D3D_OK);
    for (std::size_t i = 0; i < positions.size(); ++i)
        std::memcpy(static_cast<std::byte*>(data) + i * mesh->GetNumBytesPerVertex(), &positions[i].x, 12);
    mesh->UnlockVertexBuffer();
}

void SetIndices16(ID3DXMesh* mesh, const std::vector<WORD>& indices)
{
    void* data = nullptr;
    ASSERT_EQ(mesh->LockIndexBuffer(0, &data), D3D_OK);
    std::memcpy(data, indices.data(), indices.size() * 2);
    mesh->UnlockIndexBuffer();
}

void SetAttributes(ID3DXMesh* mesh, const std::vector<DWORD>& attributes)
{
    DWORD* data = nullptr;
    ASSERT_EQ(mesh->LockAttributeBuffer(0, &data), D3D_OK);
    std::copy(attributes.begin(), attributes.end(), data);
    mesh->UnlockAttributeBuffer();
}

D3DXVECTOR3 NormalOf(ID3DXMesh* mesh, DWORD vertex)
{
    void* data = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
    D3DXVECTOR3 n;
    std::memcpy(&n.x, static_cast<std::byte*>(data) + vertex * mesh->GetNumBytesPerVertex() + 12, 12);
    mesh->UnlockVertexBuffer();
    return n;
}

}  // namespace

TEST(Mesh, VertexSizesFollowTheFormat)
{
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ), 12u);
    EXPECT_EQ(D3DXGetFVFVertexSize(kGridFVF), 36u);
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1), 32u);
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_PSIZE | D3DFVF_SPECULAR | D3DFVF_TEX2), 12u + 4 + 4 + 16);
    EXPECT_EQ(D3DXGetFVFVertexSize(0x004 /* XYZRHW */ | D3DFVF_DIFFUSE), 20u);
    // Three-float first set (D3DFVF_TEXCOORDSIZE3(0)).
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_TEX1 | (1u << 16)), 24u);
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_NORMAL), 0u);  // no position
}

TEST(Mesh, CreationSizesBuffersAndHoldsTheDevice)
{
    DeviceHolder device;
    const ULONG before = device->Count();
    {
        ComPtr<ID3DXMesh> mesh = MakeMesh(2, 4, D3DXMESH_SYSTEMMEM, kGridFVF, device.Get());
        ASSERT_TRUE(mesh);
        EXPECT_EQ(device->Count(), before + 1);
        EXPECT_EQ(mesh->GetNumFaces(), 2u);
        EXPECT_EQ(mesh->GetNumVertices(), 4u);
        EXPECT_EQ(mesh->GetFVF(), kGridFVF);
        EXPECT_EQ(mesh->GetNumBytesPerVertex(), 36u);

        ComPtr<IDirect3DDevice9> got;
        ASSERT_EQ(mesh->GetDevice(got.Out()), D3D_OK);
        EXPECT_EQ(got.Get(), device.Get());
        got.Reset();

        // Contents start zeroed, up to the last byte (the sanitizer build
        // checks the size).
        void* v = nullptr;
        mesh->LockVertexBuffer(D3DLOCK_READONLY, &v);
        EXPECT_EQ(static_cast<const std::byte*>(v)[4 * 36 - 1], std::byte{0});
        mesh->UnlockVertexBuffer();
        EXPECT_EQ(mesh->UnlockVertexBuffer(), D3DERR_INVALIDCALL);  // not locked any more
    }
    // Destroyed: the device was told to drop its copies, and let go.
    EXPECT_EQ(device->forgotten.size(), 1u);
    EXPECT_EQ(device->Count(), before);

    ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(1);
    for (auto [faces, vertices, options, fvf, dev] :
         {std::tuple<DWORD, DWORD, DWORD, DWORD, IDirect3DDevice9*>{0, 3, 0, D3DFVF_XYZ, device.Get()},
          {1, 0, 0, D3DFVF_XYZ, device.Get()},
          {1, 3, 0, D3DFVF_XYZ, nullptr},
          {1, 3, 0, D3DFVF_NORMAL, device.Get()},
          {1, 70000, 0, D3DFVF_XYZ, device.Get()},
          {0x7FFFFFFF, 3, D3DXMESH_32BIT, D3DFVF_XYZ, device.Get()}}) {
        EXPECT_TRUE(FAILED(D3DXCreateMeshFVF(faces, vertices, options, fvf, dev, &mesh)));
        EXPECT_EQ(mesh, nullptr);
        EXPECT_FALSE(D3DXGetLastErrorEXT().empty());
    }
    EXPECT_EQ(device->Count(), before);
}

TEST(Mesh, BufferObjectsShareTheMeshMemoryAndKeepItAlive)
{
    DeviceHolder device;
    ComPtr<ID3DXMesh> mesh = MakeMesh(1, 3, 0, D3DFVF_XYZ, device.Get());
    ComPtr<IDirect3DVertexBuffer9> vb;
    ComPtr<IDirect3DIndexBuffer9> ib;
    ASSERT_EQ(mesh->GetVertexBuffer(vb.Out()), D3D_OK);
    ASSERT_EQ(mesh->GetIndexBuffer(ib.Out()), D3D_OK);

    void* p = nullptr;
    ASSERT_EQ(vb->Lock(12, 12, &p, 0), D3D_OK);  // the second vertex only
    const float second[3] = {1, 2, 3};
    std::memcpy(p, second, 12);
    vb->Unlock();
    void* whole = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &whole);
    EXPECT_EQ(static_cast<float*>(whole)[4], 2.0f);
    mesh->UnlockVertexBuffer();

    EXPECT_EQ(vb->Lock(30, 8, &p, 0), D3DERR_INVALIDCALL);  // past the end
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(ib->Lock(0, 7, &p, 0), D3DERR_INVALIDCALL);  // 6 bytes of indices

    // The buffers outlive the caller's reference to the mesh.
    mesh.Reset();
    EXPECT_TRUE(device->forgotten.empty());
    ASSERT_EQ(ib->Lock(0, 0, &p, 0), D3D_OK);
    static_cast<WORD*>(p)[2] = 2;
    ib->Unlock();
    ASSERT_EQ(vb->Lock(0, 0, &p, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<float*>(p)[5], 3.0f);
    vb->Unlock();
    vb.Reset();
    EXPECT_TRUE(device->forgotten.empty());
    ib.Reset();
    EXPECT_EQ(device->forgotten.size(), 1u);
}

TEST(Mesh, DrawSubsetHandsTheFacesOfOneAttributeAndVersionsWrites)
{
    DeviceHolder device;
    ComPtr<ID3DXMesh> mesh = MakeMesh(4, 5, 0, D3DFVF_XYZ, device.Get());
    SetIndices16(mesh.Get(), {0, 1, 2, 1, 2, 3, 2, 3, 4, 4, 3, 0});
    SetAttributes(mesh.Get(), {1, 0, 1, 2});

    ASSERT_EQ(mesh->DrawSubset(1), D3D_OK);
    ASSERT_EQ(device->draws.size(), 1u);
    const RecordingDevice::Draw first = device->draws[0];
    EXPECT_EQ(first.key, static_cast<const void*>(mesh.Get()));
    EXPECT_EQ(first.subset, 1u);
    EXPECT_EQ(first.fvf, static_cast<DWORD>(D3DFVF_XYZ));
    EXPECT_EQ(first.stride, 12u);
    EXPECT_EQ(first.numVertices, 5u);
    EXPECT_EQ(first.indices, (std::vector<WORD>{0, 1, 2, 2, 3, 4}));  // faces 0 and 2, in order

    // Nothing to draw: no call, no failure.
    EXPECT_EQ(mesh->DrawSubset(7), D3D_OK);
    EXPECT_EQ(device->draws.size(), 1u);

    // Reading changes no version; drawing again hands the same version.
    void* p = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &p);
    mesh->UnlockVertexBuffer();
    DWORD* a = nullptr;
    mesh->LockAttributeBuffer(D3DLOCK_READONLY, &a);
    mesh->UnlockAttributeBuffer();
    mesh->DrawSubset(1);
    EXPECT_EQ(device->draws.back().version, first.version);

    // Each kind of write moves the version on, and the subset is rebuilt.
    unsigned long long version = first.version;
    SetPositions(mesh.Get(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 2, 2}});
    mesh->DrawSubset(1);
    EXPECT_GT(device->draws.back().version, version);
    version = device->draws.back().version;
    float x;
    std::memcpy(&x, device->draws.back().vertices.data() + 12, 4);
    EXPECT_EQ(x, 1.0f);

    SetAttributes(mesh.Get(), {0, 0, 0, 1});
    mesh->DrawSubset(1);
    EXPECT_GT(device->draws.back().version, version);
    version = device->draws.back().version;
    EXPECT_EQ(device->draws.back().indices, (std::vector<WORD>{4, 3, 0}));

    SetIndices16(mesh.Get(), {0, 1, 2, 1, 2, 3, 2, 3, 4, 1, 1, 1});
    mesh->DrawSubset(1);
    EXPECT_GT(device->draws.back().version, version);
    EXPECT_EQ(device->draws.back().indices, (std::vector<WORD>{1, 1, 1}));

    // Nested locks: the version moves once, when the last one ends.
    version = device->draws.back().version;
    mesh->LockVertexBuffer(0, &p);
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &p);
    mesh->UnlockVertexBuffer();
    mesh->DrawSubset(1);
    EXPECT_EQ(device->draws.back().version, version);
    mesh->UnlockVertexBuffer();
    mesh->DrawSubset(1);
    EXPECT_EQ(device->draws.back().version, version + 1);
}

TEST(Mesh, ABadIndexNeverReachesTheDevice)
{
    DeviceHolder device;
    ComPtr<ID3DXMesh> mesh = MakeMesh(2, 4, 0, D3DFVF_XYZ, device.Get());
    SetIndices16(mesh.Get(), {0, 1, 2, 2, 1, 4});  // 4 is one past the last vertex
    SetAttributes(mesh.Get(), {0, 1});

    EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
    EXPECT_EQ(mesh->DrawSubset(1), D3DERR_INVALIDCALL);
    EXPECT_NE(D3DXGetLastErrorEXT().find("vertex 4 of 4"), std::string::npos) << D3DXGetLastErrorEXT();
    EXPECT_EQ(mesh->DrawSubset(1), D3DERR_INVALIDCALL);  // still refused
    EXPECT_EQ(device->draws.size(), 1u);

    SetIndices16(mesh.Get(), {0, 1, 2, 2, 1, 3});
    EXPECT_EQ(mesh->DrawSubset(1), D3D_OK);
    EXPECT_EQ(device->draws.size(), 2u);

    // D3DXComputeNormals refuses the same fault instead of reading past the end.
    ComPtr<ID3DXMesh> lit = MakeMesh(1, 3, 0, D3DFVF_XYZ | D3DFVF_NORMAL, device.Get());
    SetIndices16(lit.Get(), {0, 1, 3});
    EXPECT_EQ(D3DXComputeNormals(lit.Get(), nullptr), D3DERR_INVALIDCALL);
}

TEST(Mesh, SubsetsBeyond16BitIndicesDrawFromACompactedCopy)
{
    DeviceHolder device;
    const DWORD n = 70000;
    ComPtr<ID3DXMesh> mesh = MakeMesh(2, n, D3DXMESH_32BIT, D3DFVF_XYZ, device.Get());
    std::vector<D3DXVECTOR3> positions(n);
    for (DWORD i = 0; i < n; ++i)
        positions[i] = {static_cast<float>(i), 0, 0};
    SetPositions(mesh.Get(), positions);
    void* p = nullptr;
    mesh->LockIndexBuffer(0, &p);
    const DWORD indices[6] = {0, 1, 2, 69999, 65536, 69999};
    std::memcpy(p, indices, sizeof indices);
    mesh->UnlockIndexBuffer();
    SetAttributes(mesh.Get(), {0, 1});

    ASSERT_EQ(mesh->DrawSubset(0), D3D_OK);
    EXPECT_EQ(device->draws.back().indices, (std::vector<WORD>{0, 1, 2}));
    ASSERT_EQ(mesh->DrawSubset(1), D3D_OK);
    const RecordingDevice::Draw& d = device->draws.back();
    ASSERT_EQ(d.numVertices, 2u);
    EXPECT_EQ(d.indices, (std::vector<WORD>{0, 1, 0}));
    float x0, x1;
    std::memcpy(&x0, d.vertices.data(), 4);
    std::memcpy(&x1, d.vertices.data() + 12, 4);
    EXPECT_EQ(x0, 69999.0f);
    EXPECT_EQ(x1, 65536.0f);
}

TEST(Mesh, NormalsAreAreaWeightedAndPointUpOnAGrid)
{
    DeviceHolder device;
    // The grid of two triangles the editable mesh builds for N = 2: its
    // normals point up (+Y), which fixes the sign of the cross product.
    ComPtr<ID3DXMesh> grid = MakeMesh(2, 4, 0, kGridFVF, device.Get());
    SetPositions(grid.Get(), {{-1, 0, 1}, {1, 0, 1}, {-1, 0, -1}, {1, 0, -1}});
    SetIndices16(grid.Get(), {0, 1, 2, 2, 1, 3});
    ASSERT_EQ(D3DXComputeNormals(grid.Get(), nullptr), D3D_OK);
    for (DWORD v = 0; v < 4; ++v)
        EXPECT_EQ(NormalOf(grid.Get(), v), D3DXVECTOR3(0, 1, 0)) << v;

    // A fan around vertex 0: a big triangle facing +Y (area 8) and a small
    // one facing +Z (area 0.5). Weighted by area the normal leans far to +Y;
    // an unweighted average would give 45 degrees. Vertex 5 has no face.
    ComPtr<ID3DXMesh> fan = MakeMesh(2, 6, 0, D3DFVF_XYZ | D3DFVF_NORMAL, device.Get());
    SetPositions(fan.Get(), {{0, 0, 0}, {4, 0, 0}, {0, 0, -4}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}});
    SetIndices16(fan.Get(), {0, 1, 2, 0, 3, 4});
    ASSERT_EQ(D3DXComputeNormals(fan.Get(), nullptr), D3D_OK);
    const D3DXVECTOR3 n0 = NormalOf(fan.Get(), 0);
    const float len = std::sqrt(16.0f * 16.0f + 1.0f);
    EXPECT_NEAR(n0.x, 0.0f, 1e-6f);
    EXPECT_NEAR(n0.y, 16.0f / len, 1e-6f);
    EXPECT_NEAR(n0.z, 1.0f / len, 1e-6f);
    EXPECT_EQ(NormalOf(fan.Get(), 5), D3DXVECTOR3(0, 0, 0));

    // Unchanged mesh: recomputing writes nothing, so no re-upload follows.
    SetAttributes(fan.Get(), {0, 0});
    fan->DrawSubset(0);
    const unsigned long long version = device->draws.back().version;
    ASSERT_EQ(D3DXComputeNormals(fan.Get(), nullptr), D3D_OK);
    fan->DrawSubset(0);
    EXPECT_EQ(device->draws.back().version, version);

    // A moved vertex is picked up on the next computation.
    SetPositions(fan.Get(), {{0, 0, 0}, {4, 0, 0}, {0, 0, -4}, {1, 0, 0}, {0, 0, 0}, {9, 9, 9}});
    ASSERT_EQ(D3DXComputeNormals(fan.Get(), nullptr), D3D_OK);
    EXPECT_EQ(NormalOf(fan.Get(), 0), D3DXVECTOR3(0, 1, 0));
    EXPECT_EQ(NormalOf(fan.Get(), 4), D3DXVECTOR3(0, 0, 0));  // only a degenerate face: zero, not NaN

    ComPtr<ID3DXMesh> unlit = MakeMesh(1, 3, 0, D3DFVF_XYZ, device.Get());
    EXPECT_EQ(D3DXComputeNormals(unlit.Get(), nullptr), D3DERR_INVALIDCALL);
}

TEST(Mesh, BoundingBoxReadsPositionsAtTheStride)
{
    struct Vertex
    {
        D3DXVECTOR3 p;
        float pad[6];
    };
    const Vertex v[3] = {{{1, -2, 3}, {-100, -100, -100, 100, 100, 100}},
                         {{-4, 5, 0.5f}, {}},
                         {{std::nanf(""), 0, 0}, {}}};
    D3DXVECTOR3 lo, hi;
    ASSERT_EQ(D3DXComputeBoundingBox(&v[0].p, 3, sizeof(Vertex), &lo, &hi), D3D_OK);
    EXPECT_EQ(lo, D3DXVECTOR3(-4, -2, 0));
    EXPECT_EQ(hi, D3DXVECTOR3(1, 5, 3));

    lo = hi = D3DXVECTOR3(7, 7, 7);
    EXPECT_EQ(D3DXComputeBoundingBox(&v[0].p, 0, sizeof(Vertex), &lo, &hi), D3DERR_INVALIDCALL);
    EXPECT_EQ(lo, D3DXVECTOR3());  // defined even on failure
    EXPECT_EQ(hi, D3DXVECTOR3());
}

TEST(Mesh, SavedMeshLoadsBackWithSubsetsAndMaterials)
{
    DeviceHolder device;
    std::string pattern = (std::filesystem::temp_directory_path() / "d3dx9_meshfile_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;
    // Wide and non-ASCII: the name reaches the file system as UTF-8.
    const std::wstring file = dir.wstring() + L"/grid \u00fc.x";

    ComPtr<ID3DXMesh> mesh = MakeMesh(2, 4, D3DXMESH_SYSTEMMEM, kGridFVF, device.Get());
    struct GridVertex
    {
        float p[3], n[3];
        DWORD diffuse;
        float uv[2];
    };
    const GridVertex vertices[4] = {{{-1, 0, 1}, {0, 1, 0}, 0xFF00FF00u, {0, 1}},
                                    {{1, 0, 1}, {0, 1, 0}, 0, {1, 1}},
                                    {{-1, 0, -1}, {0, 0.6f, 0.8f}, 0, {0, 0}},
                                    {{1, 0.5f, -1}, {0, 1, 0}, 0, {1, 0}}};
    void* p = nullptr;
    mesh->LockVertexBuffer(0, &p);
    std::memcpy(p, vertices, sizeof vertices);
    mesh->UnlockVertexBuffer();
    SetIndices16(mesh.Get(), {0, 1, 2, 2, 1, 3});
    SetAttributes(mesh.Get(), {1, 0});

    // Saved without materials, as the editable mesh is: one plain white
    // material comes back, and every face belongs to subset 0.
    ASSERT_EQ(D3DXSaveMeshToXW(file.c_str(), mesh.Get(), nullptr, nullptr, nullptr, 0, D3DXF_FILEFORMAT_TEXT), D3D_OK)
        << D3DXGetLastErrorEXT();
    ComPtr<ID3DXMesh> loaded;
    ComPtr<ID3DXBuffer> materials;
    DWORD numMaterials = 0;
    ASSERT_EQ(D3DXLoadMeshFromXW(file.c_str(), D3DXMESH_SYSTEMMEM, device.Get(), nullptr, materials.Out(), nullptr,
                                 &numMaterials, loaded.Out()),
              D3D_OK)
        << D3DXGetLastErrorEXT();
    // The vertex colours are saved too, so the layout (and the stride the
    // editable mesh writes with) survives the round trip.
    EXPECT_EQ(loaded->GetFVF(), kGridFVF);
    ASSERT_EQ(loaded->GetNumVertices(), 4u);
    ASSERT_EQ(numMaterials, 1u);
    const auto* white = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_EQ(white->MatD3D.Diffuse.r, 1.0f);
    EXPECT_EQ(white->pTextureFilename, nullptr);
    loaded->LockVertexBuffer(D3DLOCK_READONLY, &p);
    for (int v = 0; v < 4; ++v) {
        const auto* got = static_cast<const std::byte*>(p) + v * sizeof(GridVertex);
        EXPECT_EQ(0, std::memcmp(got, vertices[v].p, 24)) << v;        // position and normal
        EXPECT_EQ(0, std::memcmp(got + 24, &vertices[v].diffuse, 4)) << v;  // colour
        EXPECT_EQ(0, std::memcmp(got + 28, vertices[v].uv, 8)) << v;   // texture coordinates
    }
    loaded->UnlockVertexBuffer();
    loaded->DrawSubset(0);
    ASSERT_EQ(device->draws.size(), 1u);
    EXPECT_EQ(device->draws[0].indices, (std::vector<WORD>{0, 1, 2, 2, 1, 3}));

    // With materials: subsets, colours and texture names survive.
    char wing[] = "Textures/wing.jpg";
    D3DXMATERIAL given[2] = {};
    given[0].MatD3D.Diffuse = {0.5f, 0.25f, 0.125f, 1.0f};
    given[0].MatD3D.Specular = {1, 1, 1, 1};
    given[0].MatD3D.Emissive = {0, 0, 0, 1};
    given[0].MatD3D.Power = 20.0f;
    given[1] = given[0];
    given[1].pTextureFilename = wing;
    ASSERT_EQ(D3DXSaveMeshToXW(file.c_str(), mesh.Get(), nullptr, given, nullptr, 2, D3DXF_FILEFORMAT_TEXT), D3D_OK);
    ASSERT_EQ(D3DXLoadMeshFromXW(file.c_str(), 0, device.Get(), nullptr, materials.Out(), nullptr, &numMaterials,
                                 loaded.Out()),
              D3D_OK)
        << D3DXGetLastErrorEXT();
    ASSERT_EQ(numMaterials, 2u);
    const auto* back = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_EQ(0, std::memcmp(&back[0].MatD3D, &given[0].MatD3D, sizeof(D3DMATERIAL9)));
    EXPECT_EQ(back[0].pTextureFilename, nullptr);
    ASSERT_NE(back[1].pTextureFilename, nullptr);
    EXPECT_STREQ(back[1].pTextureFilename, "Textures/wing.jpg");
    device->draws.clear();
    loaded->DrawSubset(1);
    ASSERT_EQ(device->draws.size(), 1u);
    EXPECT_EQ(device->draws[0].indices, (std::vector<WORD>{0, 1, 2}));

    // An attribute naming no given material cannot be saved; other formats
    // are refused; a bad file fails with its line (the caller names it).
    EXPECT_TRUE(FAILED(D3DXSaveMeshToXW(file.c_str(), mesh.Get(), nullptr, given, nullptr, 1, D3DXF_FILEFORMAT_TEXT)));
    EXPECT_TRUE(FAILED(D3DXSaveMeshToXW(file.c_str(), mesh.Get(), nullptr, nullptr, nullptr, 0,
                                        D3DXF_FILEFORMAT_BINARY)));
    // A name with a lone surrogate names no file: replacing it would write
    // another one.
    const std::wstring lone = dir.wstring() + L"/lone" + wchar_t(0xD800) + L".x";
    EXPECT_EQ(D3DXSaveMeshToXW(lone.c_str(), mesh.Get(), nullptr, nullptr, nullptr, 0, D3DXF_FILEFORMAT_TEXT),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    {
        std::FILE* f = std::fopen((dir / "bad.x").c_str(), "wb");
        std::fputs("xof 0303txt 0032\nMesh {\n 3;\n 0;0;0;, 1;1;1;;\n", f);
        std::fclose(f);
    }
    ID3DXMesh* failed = reinterpret_cast<ID3DXMesh*>(1);
    EXPECT_TRUE(FAILED(D3DXLoadMeshFromXW((dir / "bad.x").wstring().c_str(), 0, device.Get(), nullptr, materials.Out(),
                                          nullptr, &numMaterials, &failed)));
    EXPECT_EQ(failed, nullptr);
    EXPECT_FALSE(materials);
    EXPECT_EQ(D3DXGetLastErrorEXT().rfind("line 5: ", 0), 0u) << D3DXGetLastErrorEXT();
    std::filesystem::remove_all(dir);
}
