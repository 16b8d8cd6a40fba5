#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MeshDrawLog.h"
#include "TestScene.h"

namespace {

using SceneTest = HeadlessContextTest;

// The calls from the one before `from` back to the previous draw (or the
// start), oldest first: what a primitive sent before its own draw call.
std::vector<const HeadlessCall*> CallsBefore(const std::vector<HeadlessCall>& calls, size_t from)
{
    size_t first = from;
    while (first > 0 && calls[first - 1].name.rfind("Draw", 0) != 0)
        --first;
    std::vector<const HeadlessCall*> out;
    for (size_t i = first; i < from; ++i)
        out.push_back(&calls[i]);
    return out;
}

size_t IndexOf(const std::vector<HeadlessCall>& calls, const HeadlessCall* call)
{
    return static_cast<size_t>(call - calls.data());
}

std::vector<std::string> Describe(const std::vector<const HeadlessCall*>& calls)
{
    std::vector<std::string> out;
    for (const HeadlessCall* call : calls) {
        std::string text = call->name;
        if (call->name == "SetRenderState" || call->name == "SetTextureStageState" ||
            call->name == "SetTexture" || call->name == "SetTransform")
            for (DWORD arg : call->args)
                text += " " + std::to_string(arg);
        out.push_back(text);
    }
    return out;
}

}  // namespace

TEST_F(SceneTest, SceneSendsEachPrimitivesAttributesThenItsShapeUnderItsNodes)
{
    WriteShapeMeshes();
    TestScene scene;
    const SceneScope inScene(Device());
    Device()->ClearCalls();
    scene.Draw();
    const std::vector<HeadlessCall>& calls = Device()->Calls();

    const std::vector<RecordedDraw> shapes = DrawsIn(calls, "DrawPrimitiveUP");
    const std::vector<RecordedDraw> meshes = DrawsIn(calls);
    ASSERT_EQ(shapes.size(), 1u);          // the ground
    ASSERT_EQ(meshes.size(), 1u + 6 + 7);  // box, axis, cloud
    EXPECT_LT(IndexOf(calls, shapes[0].call), IndexOf(calls, meshes[0].call));

    // The light goes in first; then the ground: unlit, flat, solid, at
    // y = 0 in the root's frame.
    EXPECT_EQ(Describe(CallsBefore(calls, IndexOf(calls, shapes[0].call))),
              (std::vector<std::string>{
                  "SetLight", "LightEnable",
                  "SetTransform 256", "SetTransform 256", "SetTransform 256",   // new stack, push, root
                  "SetTransform 256", "SetTransform 256",                       // push, ground node
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",  // reset
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",  // own
                  "SetRenderState 137 0",                                       // unlit
                  "SetRenderState 9 1", "SetRenderState 8 3",                   // flat, solid
                  "SetFVF"}));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&shapes[0].world));
    EXPECT_EQ(shapes[0].call->Arg(0), static_cast<DWORD>(D3DPT_TRIANGLEFAN));
    EXPECT_EQ(shapes[0].call->VertexDword(1, 24), ORV_Color(60, 140, 70, 255).GetARGB());

    // Box: lit with its own material, gouraud and solid, then the mesh.
    EXPECT_EQ(Describe(CallsBefore(calls, IndexOf(calls, meshes[0].call))),
              (std::vector<std::string>{
                  "SetTransform 256", "SetTransform 256", "SetTransform 256",   // pop ground, push, box
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",
                  "SetRenderState 27 0", "SetTexture 0", "SetTextureStageState 0 1 1",
                  "SetRenderState 137 1", "SetMaterial",
                  "SetRenderState 9 2", "SetRenderState 8 3",
                  "SetMaterial"}));
    EXPECT_EQ(meshes[0].lighting, static_cast<DWORD>(TRUE));
    EXPECT_EQ(ORV_Color(meshes[0].material.Diffuse.r, meshes[0].material.Diffuse.g, meshes[0].material.Diffuse.b,
                        meshes[0].material.Diffuse.a),
              ORV_Color(220, 40, 30, 255));
    // Turned 30 degrees about Y, lifted by 0.5: the corner (0.5, -0.5, 0.5)
    // rests on the ground.
    const float c = std::cos(30.0f * 3.14159265f / 180.0f);
    const float sn = std::sin(30.0f * 3.14159265f / 180.0f);
    EXPECT_TRUE(Near(Apply(meshes[0].world, {0.5f, -0.5f, 0.5f}), {0.5f * c + 0.5f * sn, 0, -0.5f * sn + 0.5f * c},
                     1e-5f));

    // Axis: a child of the box, so it turns with it; its Y arrow stands up.
    EXPECT_TRUE(Near(Apply(meshes[4].world, {0, 0, -1}), {0, 0.5f + 0.55f + 1.2f, 0}, 1e-4f));
    EXPECT_TRUE(Near(Apply(meshes[2].world, {0, 0, -1}), {1.2f * c, 1.05f, -1.2f * sn}, 1e-4f));

    // Cloud: seven puffs about its node, unlit in its colour.
    for (size_t i = 7; i < meshes.size(); ++i)
        EXPECT_EQ(EmissiveOf(meshes[i].material), ORV_Color(240, 240, 255, 255));
    EXPECT_TRUE(Near(Apply(meshes[7].world, {0, 0, 0}), {-1.5f, 2.2f, 1.0f}, 1e-5f));
    EXPECT_TRUE(Near(Apply(meshes[8].world, {0, 0, 0}), {-1.5f + 0.6f, 2.2f, 1.0f}, 1e-5f));

    // Every push was popped: the world transform is the root's again.
    const D3DXMATRIX world(Device()->Transform(D3DTS_WORLD));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&world));
}
