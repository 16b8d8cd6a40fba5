#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "D3DTestSupport.h"
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

TEST_F(PrimitiveMeshCustomTest, GridIsBuiltSavedAndTakenBackFromTheTable)
{
    ORVD3D_PrimitiveMeshCustom grid(2, L"Grid2.x");
    const std::vector<RecordedDraw> draws = DrawOnce(grid);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(m_Problems->lines.empty());  // missing until written: nothing to tell
    // What is drawn is the table's mesh, read back from the file just written.
    const HeadlessCall& call = *draws[0].call;
    EXPECT_EQ(call.object, static_cast<const void*>(TableMesh(L"Grid2.x")));
    const UINT uvAt = call.stride - 8;  // texture coordinates last
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

    // Thirty: columns run along +X, rows along -Z; 29 x 29 squares.
    ORVD3D_PrimitiveMeshCustom large(30, L"HiRes.x");
    ASSERT_TRUE(large.CreateMesh());
    ID3DXMesh* mesh = TableMesh(L"HiRes.x");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetNumFaces(), 1682u);
    const float s = 2.0f / 29.0f;
    EXPECT_TRUE(Near(VertexPosition(mesh, 32), {2 * s - 1, 0, 1 - s}));  // row 1, column 2
}

TEST_F(PrimitiveMeshCustomTest, OnlyAnEditedMeshIsUploadedAgainAndTheControlGridComesAfterIt)
{
    ORVD3D_PrimitiveMeshCustom grid(4, L"Cache.x");
    grid.SelectControlPoint(1, 1);  // stays selected, as the raised terrain does
    DrawOnce(grid);
    const int uploads = Device()->MeshUploadCount();
    DrawOnce(grid);
    EXPECT_EQ(Device()->MeshUploadCount(), uploads);
    grid.SetSelectedPosition(-1.0f / 3, 1, 1.0f / 3);
    DrawOnce(grid);
    EXPECT_EQ(Device()->MeshUploadCount(), uploads + 1);
    DrawOnce(grid);
    EXPECT_EQ(Device()->MeshUploadCount(), uploads + 1);

    ORVD3D_PrimitiveMeshCustom shown(2, L"Shown.x");
    shown.SetShowControlGrid(true);
    shown.SetShowNormals(true);
    shown.SelectControlPoint(0, 1);
    shown.SetSelectedPosition(1, 0.5f, 1);
    const std::vector<RecordedDraw> meshes = DrawOnce(shown);
    const std::vector<RecordedDraw> shapes = DrawsIn(Device()->Calls(), "DrawPrimitiveUP");
    ASSERT_EQ(meshes.size(), 1u);
    ASSERT_EQ(shapes.size(), 4u + 1 + 4);  // points, the selected one, normals
    EXPECT_LT(meshes[0].call, shapes[0].call);
    const HeadlessCall& mesh = *meshes[0].call;
    // Points: grey 10s, the selected red 15; normals a tenth long.
    EXPECT_EQ(shapes[3].call->VertexVector3(0, 0), mesh.VertexVector3(3, 0));
    EXPECT_EQ(shapes[3].call->VertexFloat(0, 24), 10.0f);
    EXPECT_EQ(shapes[4].call->VertexVector3(0, 0), D3DXVECTOR3(1, 0.5f, 1));
    EXPECT_EQ(shapes[4].call->VertexFloat(0, 24), 15.0f);
    EXPECT_EQ(shapes[4].call->VertexDword(0, 28), ORV_Color(255, 0, 0, 0).GetARGB());
    for (UINT v = 0; v < 4; ++v) {
        const D3DXVECTOR3 start = mesh.VertexVector3(v, 0);
        EXPECT_EQ(shapes[5 + v].call->VertexVector3(0, 0), start);
        EXPECT_TRUE(Near(shapes[5 + v].call->VertexVector3(1, 0), start + 0.1f * mesh.VertexVector3(v, kNormal)));
    }
}
