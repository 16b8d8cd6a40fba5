#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "TestDevice.h"
#include "XFileTestFiles.h"
#include "d3dx9mesh.h"

namespace {

constexpr DWORD kGridFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;  // 36 bytes

ComPtr<ID3DXMesh> MakeMesh(DWORD faces, DWORD vertices, DWORD options, DWORD fvf, const TestDevice& device)
{
    ComPtr<ID3DXMesh> mesh;
    EXPECT_EQ(D3DXCreateMeshFVF(faces, vertices, options, fvf, device.Get(), mesh.Out()), D3D_OK)
        << D3DXGetLastErrorEXT();
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

void SetFaces(ID3DXMesh* mesh, const std::vector<WORD>& indices, const std::vector<DWORD>& attributes)
{
    void* data = nullptr;
    ASSERT_EQ(mesh->LockIndexBuffer(0, &data), D3D_OK);
    std::memcpy(data, indices.data(), indices.size() * 2);
    mesh->UnlockIndexBuffer();
    ASSERT_EQ(mesh->LockAttributeBuffer(0, reinterpret_cast<DWORD**>(&data)), D3D_OK);
    std::memcpy(data, attributes.data(), attributes.size() * 4);
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

// A mesh holds its device; its buffers hold the mesh's memory; the device is
// told to forget the mesh only when the last of them goes.
TEST(D3DXMesh, OwnershipOfDeviceAndBuffers)
{
    TestDevice device;
    const ULONG before = device.RefCount();
    ComPtr<ID3DXMesh> mesh = MakeMesh(1, 3, D3DXMESH_SYSTEMMEM, D3DFVF_XYZ, device);
    EXPECT_EQ(device.RefCount(), before + 1);
    ComPtr<IDirect3DVertexBuffer9> vb;
    ComPtr<IDirect3DIndexBuffer9> ib;
    ASSERT_TRUE(mesh->GetVertexBuffer(vb.Out()) == D3D_OK && mesh->GetIndexBuffer(ib.Out()) == D3D_OK);
    EXPECT_EQ(mesh->UnlockVertexBuffer(), D3DERR_INVALIDCALL);  // not locked

    void* p = nullptr;
    ASSERT_EQ(vb->Lock(12, 12, &p, 0), D3D_OK);  // the second vertex only
    static_cast<float*>(p)[1] = 2.0f;
    vb->Unlock();
    EXPECT_TRUE(ib->Lock(0, 7, &p, 0) == D3DERR_INVALIDCALL && p == nullptr);  // 6 bytes of indices

    mesh.Reset();
    ASSERT_EQ(vb->Lock(0, 0, &p, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<float*>(p)[4], 2.0f);
    vb->Unlock();
    vb.Reset();
    EXPECT_EQ(device.Headless().CallsNamed("ForgetMeshEXT").size(), 0u);
    ib.Reset();
    EXPECT_TRUE(device.Headless().CallsNamed("ForgetMeshEXT").size() == 1 && device.RefCount() == before);

    // Refused shapes leave no mesh and no reference behind.
    ID3DXMesh* refused = reinterpret_cast<ID3DXMesh*>(1);
    for (auto [faces, vertices, options, fvf, dev] :
         {std::tuple<DWORD, DWORD, DWORD, DWORD, IDirect3DDevice9*>{0, 3, 0, D3DFVF_XYZ, device.Get()},
          {1, 3, 0, D3DFVF_XYZ, nullptr},
          {1, 70000, 0, D3DFVF_XYZ, device.Get()},
          {0x7FFFFFFF, 3, D3DXMESH_32BIT, D3DFVF_XYZ, device.Get()}}) {
        EXPECT_TRUE(FAILED(D3DXCreateMeshFVF(faces, vertices, options, fvf, dev, &refused)));
        EXPECT_EQ(refused, nullptr);
        EXPECT_FALSE(D3DXGetLastErrorEXT().empty());
    }
    EXPECT_EQ(device.RefCount(), before);
}

TEST(D3DXMesh, DrawSubsetHandsTheFacesOfOneAttributeAndVersionsWrites)
{
    TestDevice device;
    ComPtr<ID3DXMesh> mesh = MakeMesh(4, 5, 0, D3DFVF_XYZ, device);
    SetFaces(mesh.Get(), {0, 1, 2, 1, 2, 3, 2, 3, 4, 4, 3, 0}, {1, 0, 1, 2});
    ASSERT_EQ(mesh->DrawSubset(1), D3D_OK);
    EXPECT_EQ(mesh->DrawSubset(7), D3D_OK);  // nothing to draw: no call
    ASSERT_EQ(device.Draws().size(), 1u);
    const HeadlessCall first = device.Draws()[0];
    EXPECT_EQ(first.object, static_cast<const void*>(mesh.Get()));
    EXPECT_EQ(first.args, (std::vector<DWORD>{1, D3DFVF_XYZ, 12, 5, 6}));
    EXPECT_EQ(first.indices, (std::vector<WORD>{0, 1, 2, 2, 3, 4}));  // faces 0 and 2, in order

    // Reading changes no version; each kind of write moves it on.
    void* p = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &p);
    mesh->UnlockVertexBuffer();
    mesh->DrawSubset(1);
    EXPECT_EQ(device.Draws().back().version, first.version);
    SetPositions(mesh.Get(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 2, 2}});
    mesh->DrawSubset(1);
    EXPECT_GT(device.Draws().back().version, first.version);
    EXPECT_EQ(device.Draws().back().VertexFloat(1, 0), 1.0f);

    // A bad index never reaches the device, and is refused until mended.
    SetFaces(mesh.Get(), {0, 1, 2, 2, 1, 5, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 2});
    const std::size_t drawn = device.Draws().size();
    EXPECT_EQ(mesh->DrawSubset(1), D3DERR_INVALIDCALL);
    EXPECT_NE(D3DXGetLastErrorEXT().find("vertex 5 of 5"), std::string::npos) << D3DXGetLastErrorEXT();
    EXPECT_EQ(device.Headless().CallsNamed("DrawMeshSubsetEXT").size(), drawn);
    SetFaces(mesh.Get(), {0, 1, 2, 2, 1, 4, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 2});
    EXPECT_EQ(mesh->DrawSubset(1), D3D_OK);

    // Subsets beyond 16-bit indices draw from a compacted copy.
    std::vector<D3DXVECTOR3> positions(70000);
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = {static_cast<float>(i), 0, 0};
    mesh = MakeMesh(2, 70000, D3DXMESH_32BIT, D3DFVF_XYZ, device);
    SetPositions(mesh.Get(), positions);
    // 32-bit indices {0, 1, 2}, {69999, 65536, 69999} as pairs of 16-bit halves.
    SetFaces(mesh.Get(), {0, 0, 1, 0, 2, 0, 69999 - 65536, 1, 0, 1, 69999 - 65536, 1}, {0, 1});
    ASSERT_EQ(mesh->DrawSubset(1), D3D_OK);
    const HeadlessCall d = device.Draws().back();
    ASSERT_EQ(d.vertexCount, 2u);
    EXPECT_EQ(d.indices, (std::vector<WORD>{0, 1, 0}));
    EXPECT_EQ(d.VertexFloat(0, 0), 69999.0f);
    EXPECT_EQ(d.VertexFloat(1, 0), 65536.0f);
}

TEST(D3DXMesh, NormalsAreAreaWeightedAndFaceTheWindingsFront)
{
    TestDevice device;
    // Around vertex 0 a big triangle facing +Y (area 8) and a small one facing +Z
    // (area 0.5): by area the normal leans far to +Y. Vertex 5 has no face.
    ComPtr<ID3DXMesh> fan = MakeMesh(2, 6, 0, D3DFVF_XYZ | D3DFVF_NORMAL, device);
    SetPositions(fan.Get(), {{0, 0, 0}, {4, 0, 0}, {0, 0, -4}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}});
    SetFaces(fan.Get(), {0, 1, 2, 0, 3, 4}, {0, 0});
    ASSERT_EQ(D3DXComputeNormals(fan.Get(), nullptr), D3D_OK);
    const D3DXVECTOR3 n0 = NormalOf(fan.Get(), 0) * std::sqrt(16.0f * 16.0f + 1.0f);
    EXPECT_TRUE(std::fabs(n0.x) < 1e-5f && std::fabs(n0.y - 16) < 1e-5f && std::fabs(n0.z - 1) < 1e-5f);
    EXPECT_EQ(NormalOf(fan.Get(), 5), D3DXVECTOR3(0, 0, 0));

    // A vertex of only a degenerate face gets zero, not NaN.
    SetPositions(fan.Get(), {{0, 0, 0}, {4, 0, 0}, {0, 0, -4}, {1, 0, 0}, {0, 0, 0}, {9, 9, 9}});
    ASSERT_EQ(D3DXComputeNormals(fan.Get(), nullptr), D3D_OK);
    EXPECT_EQ(NormalOf(fan.Get(), 4), D3DXVECTOR3(0, 0, 0));
    SetFaces(fan.Get(), {0, 1, 6, 0, 3, 4}, {0, 0});  // one past the last vertex: refused, not read
    EXPECT_EQ(D3DXComputeNormals(fan.Get(), nullptr), D3DERR_INVALIDCALL);

    // The bounding box reads positions at the stride and skips NaN.
    const float v[] = {1, -2, 3, -100, 100, -4, 5, 0.5f, 100, -100, std::nanf(""), 0, 0};  // 20-byte stride
    D3DXVECTOR3 lo, hi;
    ASSERT_EQ(D3DXComputeBoundingBox(reinterpret_cast<const D3DXVECTOR3*>(v), 3, 20, &lo, &hi), D3D_OK);
    EXPECT_EQ(lo, D3DXVECTOR3(-4, -2, 0));
    EXPECT_EQ(hi, D3DXVECTOR3(1, 5, 3));
}

TEST(D3DXMesh, SavedMeshLoadsBackWithSubsetsAndMaterials)
{
    TestDevice device;
    const TempDir dir;
    // Wide and non-ASCII: the name reaches the file system as UTF-8.
    const std::wstring file = dir.path.wstring() + L"/grid \u00fc.x";

    ComPtr<ID3DXMesh> mesh = MakeMesh(2, 4, D3DXMESH_SYSTEMMEM, kGridFVF, device);
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
    SetFaces(mesh.Get(), {0, 1, 2, 2, 1, 3}, {1, 0});

    // Saved without materials (as the editable mesh is) one plain material
    // comes back for every face; with them, subsets, colours and texture
    // names survive; either way every vertex byte (so layout and stride).
    char wing[] = "Textures/wing.jpg";
    D3DXMATERIAL given[2] = {};
    given[0].MatD3D = {{0.5f, 0.25f, 0.125f, 1.0f}, {}, {1, 1, 1, 1}, {0, 0, 0, 1}, 20.0f};
    given[1] = given[0];
    given[1].pTextureFilename = wing;
    ComPtr<ID3DXMesh> loaded;
    ComPtr<ID3DXBuffer> materials;
    DWORD numMaterials = 0;
    for (DWORD count : {0u, 2u}) {
        ASSERT_EQ(D3DXSaveMeshToXW(file.c_str(), mesh.Get(), nullptr, count ? given : nullptr, nullptr, count,
                                   D3DXF_FILEFORMAT_TEXT),
                  D3D_OK)
            << D3DXGetLastErrorEXT();
        ASSERT_EQ(D3DXLoadMeshFromXW(file.c_str(), D3DXMESH_SYSTEMMEM, device.Get(), nullptr, materials.Out(), nullptr,
                                     &numMaterials, loaded.Out()),
                  D3D_OK)
            << D3DXGetLastErrorEXT();
        ASSERT_EQ(numMaterials, std::max(count, 1u));
        EXPECT_EQ(loaded->GetFVF(), kGridFVF);
        loaded->LockVertexBuffer(D3DLOCK_READONLY, &p);
        EXPECT_EQ(std::memcmp(p, vertices, sizeof vertices), 0);
        loaded->UnlockVertexBuffer();
        loaded->DrawSubset(count ? 1 : 0);
        EXPECT_EQ(device.Draws().back().indices,
                  (count ? std::vector<WORD>{0, 1, 2} : std::vector<WORD>{0, 1, 2, 2, 1, 3}));
    }
    const auto* back = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_EQ(std::memcmp(&back[0].MatD3D, &given[0].MatD3D, sizeof(D3DMATERIAL9)), 0);
    EXPECT_STREQ(back[1].pTextureFilename, "Textures/wing.jpg");

    // An attribute naming no given material cannot be saved; a lone
    // surrogate names no file (replaced, it would name another); a bad file
    // fails with its line.
    EXPECT_TRUE(FAILED(D3DXSaveMeshToXW(file.c_str(), mesh.Get(), nullptr, given, nullptr, 1, D3DXF_FILEFORMAT_TEXT)));
    const std::wstring lone = dir.path.wstring() + L"/lone" + wchar_t(0xD800) + L".x";
    EXPECT_EQ(D3DXSaveMeshToXW(lone.c_str(), mesh.Get(), nullptr, nullptr, nullptr, 0, D3DXF_FILEFORMAT_TEXT),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);
    WriteFile(dir / "bad.x", "xof 0303txt 0032\nMesh {\n 3;\n 0;0;0;, 1;1;1;;\n");
    ID3DXMesh* failed = reinterpret_cast<ID3DXMesh*>(1);
    EXPECT_TRUE(FAILED(D3DXLoadMeshFromXW((dir.path / "bad.x").wstring().c_str(), 0, device.Get(), nullptr,
                                          materials.Out(), nullptr, &numMaterials, &failed)));
    EXPECT_TRUE(failed == nullptr && !materials);
    EXPECT_EQ(D3DXGetLastErrorEXT().rfind("line 5: ", 0), 0u) << D3DXGetLastErrorEXT();
}
