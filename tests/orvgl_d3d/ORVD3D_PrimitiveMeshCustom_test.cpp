#include "ORVD3D_PrimitiveMeshCustom.h"
#include "D3DTestSupport.h"

using PrimitiveMeshCustomTest = HeadlessContextTest;

TEST_F(PrimitiveMeshCustomTest, GridIsBuiltSavedAndTakenBackFromTheTable)
{
    ORVD3D_PrimitiveMeshCustom grid(2, L"Grid2.x");
    const std::vector<RecordedDraw> draws = DrawOnce(grid);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(m_Problems.empty());  // missing until written: nothing to tell
    // What is drawn is the table's mesh, read back from the file just written.
    const HeadlessCall& call = *draws[0].call;
    EXPECT_EQ(call.object, static_cast<const void*>(System().GetMeshResource(L"Grid2.x", false)->GetD3DXMesh()));
    EXPECT_EQ(call.vertexCount, 4u);  // its shape and light: the raised grid's golden image
}

TEST_F(PrimitiveMeshCustomTest, OnlyAnEditedMeshIsUploadedAgainAndTheControlGridComesAfterIt)
{
    ORVD3D_PrimitiveMeshCustom grid(4, L"Cache.x");
    grid.SelectControlPoint(1, 1);  // stays selected, as the raised terrain does
    DrawOnce(grid);
    const int uploads = Device()->MeshUploadCount();
    DrawOnce(grid);
    grid.SetSelectedPosition(-1.0f / 3, 1, 1.0f / 3);
    DrawOnce(grid);
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
}
