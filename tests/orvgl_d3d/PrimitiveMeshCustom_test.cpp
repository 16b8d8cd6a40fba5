#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "MeshDrawLog.h"
#include "ORVD3D_PrimitiveMeshCustom.h"

namespace {

using PrimitiveMeshCustomTest = HeadlessContextTest;

// Offset of the normal within a grid vertex.
constexpr UINT kNormal = 12;

ID3DXMesh* TableMesh(const wchar_t* name)
{
    ORVD3D_MeshResource* resource = ORVD3D_GraphicsSystem::GetInstance().GetMeshResource(name, false);
    return resource != nullptr ? resource->GetD3DXMesh() : nullptr;
}

std::vector<unsigned char> VertexBytes(ID3DXMesh* mesh)
{
    void* data = nullptr;
    if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data)))
        return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::vector<unsigned char> copy(bytes, bytes + mesh->GetNumVertices() * mesh->GetNumBytesPerVertex());
    mesh->UnlockVertexBuffer();
    return copy;
}

D3DXVECTOR3 VertexPosition(ID3DXMesh* mesh, int index)
{
    const std::vector<unsigned char> bytes = VertexBytes(mesh);
    D3DXVECTOR3 p;
    std::memcpy(&p.x, bytes.data() + static_cast<size_t>(index) * mesh->GetNumBytesPerVertex(), 12);
    return p;
}

}  // namespace

TEST_F(PrimitiveMeshCustomTest, GridOfTwoIsBuiltSavedAndTakenBackFromTheTable)
{
    ORVD3D_PrimitiveMeshCustom grid(2, L"Grid2.x");
    EXPECT_FALSE(grid.IsMeshCreated());
    EXPECT_EQ(grid.GetResolution(), 2);

    const std::vector<RecordedDraw> draws = DrawOnce(grid, Device());
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(grid.IsMeshCreated());
    // Its file was missing until the first draw wrote it: no problem to tell.
    EXPECT_TRUE(m_Problems->lines.empty());
    const HeadlessCall& call = *draws[0].call;
    // Read back from the file: position, normal and texture coordinates
    // (last in the vertex) at least.
    const DWORD needed = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
    EXPECT_EQ(call.Arg(1) & needed, needed);
    const UINT uvAt = call.stride - 8;
    ASSERT_EQ(call.vertexCount, 4u);
    const D3DXVECTOR3 positions[4] = {{-1, 0, 1}, {1, 0, 1}, {-1, 0, -1}, {1, 0, -1}};
    const float uv[4][2] = {{0, 1}, {1, 1}, {0, 0}, {1, 0}};
    for (UINT v = 0; v < 4; ++v) {
        EXPECT_EQ(call.VertexVector3(v, 0), positions[v]) << v;
        EXPECT_TRUE(Near(call.VertexVector3(v, kNormal), {0, 1, 0})) << v;  // up, not down
        EXPECT_EQ(call.VertexFloat(v, uvAt), uv[v][0]) << v;
        EXPECT_EQ(call.VertexFloat(v, uvAt + 4), uv[v][1]) << v;
    }
    EXPECT_EQ(call.indices, (std::vector<WORD>{0, 1, 2, 2, 1, 3}));
    // What is drawn is the table's mesh, read back from the file just written.
    EXPECT_EQ(call.object, static_cast<const void*>(TableMesh(L"Grid2.x")));

    XFileMesh file;
    std::string error;
    ASSERT_TRUE(ReadXFile("Grid2.x", &file, &error)) << error;
    ASSERT_EQ(file.positions.size(), 4u);
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(file.positions[v], positions[v]);
    ASSERT_EQ(file.faces.size(), 2u);
    EXPECT_EQ(file.faces[0], (std::array<std::uint32_t, 3>{0, 1, 2}));
    EXPECT_EQ(file.faces[1], (std::array<std::uint32_t, 3>{2, 1, 3}));
    ASSERT_EQ(file.texcoords.size(), 4u);
    EXPECT_EQ(file.texcoords[2], (std::array<float, 2>{0, 0}));
    EXPECT_TRUE(file.materials.empty());
}

TEST_F(PrimitiveMeshCustomTest, GridOfThirtyHasItsRowsColumnsAndLastTriangles)
{
    ORVD3D_PrimitiveMeshCustom grid(30, L"MeshFiles/HiRes.x");
    std::filesystem::create_directory("MeshFiles");
    ASSERT_TRUE(grid.CreateMesh());
    ID3DXMesh* mesh = TableMesh(L"MeshFiles/HiRes.x");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetNumVertices(), 900u);
    EXPECT_EQ(mesh->GetNumFaces(), 1682u);

    const float s = 2.0f / 29.0f;
    // Vertex 32 is row 1, column 2: columns run along +X, rows along -Z.
    EXPECT_TRUE(Near(VertexPosition(mesh, 32), {2 * s - 1, 0, 1 - s}));
    EXPECT_TRUE(Near(VertexPosition(mesh, 29), {1, 0, 1}));
    EXPECT_TRUE(Near(VertexPosition(mesh, 899), {1, 0, -1}));

    WORD* indices = nullptr;
    ASSERT_TRUE(SUCCEEDED(mesh->LockIndexBuffer(D3DLOCK_READONLY, reinterpret_cast<void**>(&indices))));
    const std::vector<WORD> last(indices + 1682 * 3 - 6, indices + 1682 * 3);
    const std::vector<WORD> second(indices + 6, indices + 12);
    mesh->UnlockIndexBuffer();
    EXPECT_EQ(last, (std::vector<WORD>{868, 869, 898, 898, 869, 899}));
    EXPECT_EQ(second, (std::vector<WORD>{1, 2, 31, 31, 2, 32}));

    XFileMesh file;
    std::string error;
    ASSERT_TRUE(ReadXFile("MeshFiles/HiRes.x", &file, &error)) << error;
    EXPECT_EQ(file.faces.size(), 1682u);
    ASSERT_EQ(file.texcoords.size(), 900u);
    EXPECT_NEAR(file.texcoords[32][0], s, 1e-6f);  // u = x / 2 + 0.5
    EXPECT_NEAR(file.texcoords[32][1], 1 - s / 2, 1e-6f);
}

TEST_F(PrimitiveMeshCustomTest, StoredPositionReachesTheMeshOnlyAtTheNextDrawOrSelection)
{
    ORVD3D_PrimitiveMeshCustom grid(3, L"Edit.x");
    grid.SelectControlPoint(1, 1);  // builds the mesh first
    ASSERT_TRUE(grid.IsMeshCreated());
    ID3DXMesh* mesh = TableMesh(L"Edit.x");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(grid.GetSelectedIndex(), 4);
    D3DXVECTOR3 selected(9, 9, 9);
    grid.GetSelectedPosition(selected);
    EXPECT_EQ(selected, D3DXVECTOR3(0, 0, 0));

    grid.SetSelectedPosition(0, 2, 0);
    EXPECT_EQ(VertexPosition(mesh, 4), D3DXVECTOR3(0, 0, 0));
    std::vector<RecordedDraw> draws = DrawOnce(grid, Device());
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].call->VertexVector3(4, 0), D3DXVECTOR3(0, 2, 0));
    // Normals follow the new shape: vertex 1 at (0, 0, 1) faces away from
    // the peak behind it, still upward.
    const D3DXVECTOR3 n = draws[0].call->VertexVector3(1, kNormal);
    EXPECT_GT(n.y, 0.0f);
    EXPECT_GT(n.z, 0.1f);
    EXPECT_NEAR(D3DXVec3Length(&n), 1.0f, 1e-5f);

    // Selecting another point writes the stored one first.
    grid.SetSelectedPosition(0, 3, 0);
    grid.SelectControlPoint(0, 0);
    EXPECT_EQ(VertexPosition(mesh, 4), D3DXVECTOR3(0, 3, 0));
    grid.GetSelectedPosition(selected);
    EXPECT_EQ(selected, D3DXVECTOR3(-1, 0, 1));
    // Selecting reads the point's current position back.
    grid.SelectControlPoint(1, 1);
    grid.GetSelectedPosition(selected);
    EXPECT_EQ(selected, D3DXVECTOR3(0, 3, 0));

    grid.SetSelectedPosition(0, -1, 0);
    grid.DeselectControlPoint();
    EXPECT_EQ(grid.GetSelectedIndex(), -1);
    EXPECT_EQ(VertexPosition(mesh, 4), D3DXVECTOR3(0, -1, 0));
    grid.SetSelectedPosition(0, 7, 0);  // nothing selected: goes nowhere
    DrawOnce(grid, Device());
    EXPECT_EQ(VertexPosition(mesh, 4), D3DXVECTOR3(0, -1, 0));
}

TEST_F(PrimitiveMeshCustomTest, SelectionOutsideTheGridOrTheMeshIsIgnored)
{
    ORVD3D_PrimitiveMeshCustom grid(3, L"Range.x");
    grid.SelectControlPoint(1, 1);
    grid.SetSelectedPosition(5, 5, 5);
    ID3DXMesh* mesh = TableMesh(L"Range.x");
    ASSERT_NE(mesh, nullptr);
    const std::vector<unsigned char> before = VertexBytes(mesh);

    const int outside[][2] = {{3, 0}, {0, 3}, {-1, 0}, {0, -1}, {2, 3}, {3, 3}, {100, -100}};
    for (const auto& point : outside) {
        grid.SelectControlPoint(point[0], point[1]);
        EXPECT_EQ(grid.GetSelectedIndex(), 4) << point[0] << ", " << point[1];
    }
    EXPECT_EQ(VertexBytes(mesh), before);
    D3DXVECTOR3 selected;
    grid.GetSelectedPosition(selected);
    EXPECT_EQ(selected, D3DXVECTOR3(5, 5, 5));

    // A smaller mesh of the same name, left by an earlier run, is the one
    // edited; points past its end are not there to select.
    ORVD3D_PrimitiveMeshCustom small(2, L"Old.x");
    ASSERT_TRUE(small.CreateMesh());
    ORVD3D_PrimitiveMeshCustom larger(3, L"Old.x");
    ASSERT_TRUE(larger.CreateMesh());
    ID3DXMesh* old = TableMesh(L"Old.x");
    ASSERT_EQ(old->GetNumVertices(), 4u);
    const std::vector<unsigned char> oldBefore = VertexBytes(old);
    larger.SelectControlPoint(2, 2);
    larger.SetSelectedPosition(1, 1, 1);
    EXPECT_EQ(larger.GetSelectedIndex(), -1);
    EXPECT_EQ(DrawOnce(larger, Device()).size(), 1u);
    EXPECT_EQ(VertexBytes(old), oldBefore);
}

TEST_F(PrimitiveMeshCustomTest, AnUneditedMeshIsNotUploadedAgain)
{
    ORVD3D_PrimitiveMeshCustom grid(4, L"Cache.x");
    grid.SelectControlPoint(1, 1);  // stays selected, as the raised terrain does
    DrawOnce(grid, Device());
    const int uploads = Device()->MeshUploadCount();
    EXPECT_GE(uploads, 1);
    DrawOnce(grid, Device());
    DrawOnce(grid, Device());
    EXPECT_EQ(Device()->MeshUploadCount(), uploads);

    grid.SetSelectedPosition(-1.0f / 3, 1, 1.0f / 3);
    const std::vector<RecordedDraw> draws = DrawOnce(grid, Device());
    EXPECT_EQ(Device()->MeshUploadCount(), uploads + 1);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_FALSE(Near(draws[0].call->VertexVector3(1, kNormal), {0, 1, 0}));
    DrawOnce(grid, Device());
    EXPECT_EQ(Device()->MeshUploadCount(), uploads + 1);
}

TEST_F(PrimitiveMeshCustomTest, ControlGridAndNormalsAreDrawnAfterTheMesh)
{
    ORVD3D_PrimitiveMeshCustom grid(2, L"Shown.x");
    grid.SetShowControlGrid(true);
    grid.SetShowNormals(true);
    grid.SelectControlPoint(0, 1);
    grid.SetSelectedPosition(1, 0.5f, 1);
    const std::vector<RecordedDraw> meshes = DrawOnce(grid, Device());
    const std::vector<RecordedDraw> shapes = DrawsIn(Device()->Calls(), "DrawPrimitiveUP");
    ASSERT_EQ(meshes.size(), 1u);
    ASSERT_EQ(shapes.size(), 4u + 1 + 4);  // points, the selected one, normals
    EXPECT_LT(meshes[0].call, shapes[0].call);
    const HeadlessCall& mesh = *meshes[0].call;

    // Points (size, then colour in the vertex): grey 10s, the selected red 15.
    for (UINT v = 0; v < 4; ++v) {
        EXPECT_EQ(shapes[v].call->VertexVector3(0, 0), mesh.VertexVector3(v, 0)) << v;
        EXPECT_EQ(shapes[v].call->VertexFloat(0, 24), 10.0f);
        EXPECT_EQ(shapes[v].call->VertexDword(0, 28), ORV_Color(204, 204, 204, 0).GetARGB());
    }
    EXPECT_EQ(shapes[4].call->VertexVector3(0, 0), D3DXVECTOR3(1, 0.5f, 1));
    EXPECT_EQ(shapes[4].call->VertexFloat(0, 24), 15.0f);
    EXPECT_EQ(shapes[4].call->VertexDword(0, 28), ORV_Color(255, 0, 0, 0).GetARGB());
    // Normals: a tenth of the normal long, from the vertex.
    for (UINT v = 0; v < 4; ++v) {
        const HeadlessCall& line = *shapes[5 + v].call;
        const D3DXVECTOR3 start = mesh.VertexVector3(v, 0);
        EXPECT_EQ(line.VertexVector3(0, 0), start);
        EXPECT_TRUE(Near(line.VertexVector3(1, 0), start + 0.1f * mesh.VertexVector3(v, kNormal))) << v;
    }
}

TEST_F(PrimitiveMeshCustomTest, AFailedSaveStillPutsTheBuiltMeshIntoTheTable)
{
    ORVD3D_PrimitiveMeshCustom grid(2, L"NoFolder/Grid.x");
    m_Status->texts.clear();
    EXPECT_TRUE(grid.CreateMesh());
    EXPECT_FALSE(std::filesystem::exists("NoFolder/Grid.x"));
    ID3DXMesh* mesh = TableMesh(L"NoFolder/Grid.x");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetNumVertices(), 4u);

    grid.SelectControlPoint(1, 0);
    grid.SetSelectedPosition(-1, 1, -1);
    const std::vector<RecordedDraw> draws = DrawOnce(grid, Device());
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].call->VertexVector3(2, 0), D3DXVECTOR3(-1, 1, -1));
    EXPECT_NE(grid.GetBoundingVolume(0), nullptr);
    // Reported once, and never as a file to look for.
    EXPECT_EQ(m_Status->texts, (std::vector<std::wstring>{L"**ERROR** [NoFolder/Grid.x]: save failed!"}));
}

TEST_F(PrimitiveMeshCustomTest, WithoutAContextNothingIsBuiltAndAFreedMeshIsNeverTouched)
{
    System().ReleaseGraphicsContext();
    ORVD3D_PrimitiveMeshCustom grid(2, L"Late.x");
    EXPECT_FALSE(grid.CreateMesh());
    grid.SelectControlPoint(0, 0);
    EXPECT_EQ(grid.GetSelectedIndex(), -1);
    EXPECT_FALSE(grid.IsMeshCreated());

    ASSERT_TRUE(CreateContext(Recording()));
    grid.SelectControlPoint(1, 1);
    grid.SetSelectedPosition(1, 2, -1);
    EXPECT_EQ(DrawOnce(grid, Device()).size(), 1u);

    // The context takes the table's mesh with it; the grid must not use it.
    System().ReleaseGraphicsContext();
    grid.SelectControlPoint(0, 1);
    grid.SetSelectedPosition(3, 3, 3);
    ORVD3D_DrawHelper helper;
    grid.Draw(helper.GetLod(), helper);
    EXPECT_FALSE(grid.IsMeshCreated());

    // A new context gets the grid again, read from its file.
    ASSERT_TRUE(CreateContext(Recording()));
    const std::vector<RecordedDraw> draws = DrawOnce(grid, Device());
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(grid.IsMeshCreated());
    EXPECT_EQ(draws[0].call->VertexVector3(3, 0), D3DXVECTOR3(1, 2, -1));
}
