#include <cmath>

#include "ORV_PrimitivePoint.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "ORV_SceneNode.h"
#include "TestSupport.h"

namespace {

ORV_SceneNode* MakeNode(D3DXVECTOR3 translation, ORV_Primitive* primitive, float turnY = 0)
{
    ORV_SceneNode* node = new ORV_SceneNode(L"node");
    ORV_XformInfo x;
    x.SetTranslation(translation.x, translation.y, translation.z);
    x.RotateYDegrees(turnY);
    node->SetXformInfo(x);
    node->SetPrimitive(primitive);
    return node;
}

TEST(ORV_SceneNode, ReplacedPrimitivesAndTheWholeTreeAreDeletedOnce)
{
    CountedPrimitive::s_Deleted = 0;
    ORV_SceneNode* root = MakeNode({}, new CountedPrimitive);
    auto* first = new CountedPrimitive;
    root->SetPrimitive(first);
    root->SetPrimitive(first);  // the same one again: kept
    EXPECT_EQ(CountedPrimitive::s_Deleted, 1);
    for (int i = 0; i < 3; ++i) {
        ORV_SceneNode* child = MakeNode({}, new CountedPrimitive);
        child->AddChild(MakeNode({}, i == 1 ? nullptr : new CountedPrimitive));
        root->AddChild(child);
    }
    delete root;
    EXPECT_EQ(CountedPrimitive::s_Deleted, 7);
}

TEST(ORV_SceneNode, DrawWalksPrimitiveThenChildrenUnderComposedTransforms)
{
    // root at (10, 0, 0) turned 90 degrees about Y; a child with an XZ
    // rectangle; a hidden primitive whose node's child is still drawn.
    std::unique_ptr<ORV_SceneNode> root(MakeNode({10, 0, 0}, new ORV_PrimitivePoint(0, 0, 0), 90));
    auto* rect = new ORV_PrimitiveRectangleXZ;
    rect->SetCorners(0, 5, 0, 1, 5, 2);
    root->AddChild(MakeNode({0, 0, 1}, rect));
    auto* hidden = new CountedPrimitive;
    hidden->SetVisible(false);
    ORV_SceneNode* b = MakeNode({0, 1, 0}, hidden);
    b->AddChild(MakeNode({}, new ORV_PrimitivePoint(1, 0, 0)));
    root->AddChild(b);
    RecordingDrawHelper h;
    root->Draw(h.GetLod(), h);
    EXPECT_EQ(h.pushes, 4);
    EXPECT_EQ(h.pops, 4);
    EXPECT_EQ(hidden->drawn, 0);
    ASSERT_EQ(h.shapes.size(), 3u);
    ExpectNear(h.shapes[0].points[0], {10, 0, 0});
    // The rectangle at y = 0 of its frame: (0, 0, 1) turns to (1, 0, 0).
    EXPECT_EQ(h.shapes[1].op, "rectXZ");
    ExpectNear(h.shapes[1].points[0], {11, 0, 0});
    ExpectNear(h.shapes[1].points[1], {13, 0, -1});
    ExpectNear(h.shapes[2].points[0], {10, 1, -1});
    EXPECT_EQ(h.log[1], "AccumulateModelTransform");  // after the push
    EXPECT_EQ(h.log.back(), "PopModelTransform");
}

TEST(ORV_SceneNode, BoundsEncloseTransformedBoxesOfTheWholeSubtree)
{
    ORV_SceneNode root(L"root");
    ORV_XformInfo rx;
    rx.SetTranslation(0, 10, 0);
    rx.SetScale(2, 1, 1);
    rx.RotateZDegrees(90);  // x -> y, y -> -x, after the scale in x
    root.SetXformInfo(rx);
    root.SetPrimitive(new CountedPrimitive({0, 0, 0}, {1, 2, 3}));
    auto* hidden = new CountedPrimitive({-1, -1, -1}, {1, 1, 1});
    hidden->SetVisible(false);  // visibility does not matter for bounds
    root.AddChild(MakeNode({100, 0, 0}, hidden));
    root.AddChild(MakeNode({}, new CountedPrimitive(false)));
    RecordingDrawHelper h;
    // Own box: x 0..2 turns into y, y 0..2 into x -2..0; the child's
    // x 99..101 is scaled to 198..202 and turns into y.
    ExpectBox(root.GetBounds(h, false), {-2, 10, -1}, {1, 212, 3}, 1e-4f);
    // Turned half-way about Y, the far corner (1, y, 1) sets the new x.
    ORV_SceneNode turned(L"turned");
    turned.AddChild(MakeNode({}, new CountedPrimitive({0, 0, 0}, {1, 1, 1}), 45));
    const float r = std::sqrt(0.5f);
    ExpectBox(turned.GetBounds(h, false), {0, 0, -r}, {2 * r, 1, r});
    ORV_SceneNode lonely(L"lonely");
    lonely.AddChild(new ORV_SceneNode(L"empty"));
    EXPECT_FALSE(lonely.GetBounds(h, false).IsValid());
    // One node's box, found through its ancestors.
    ORV_SceneNode* a = MakeNode({0, 2, 0}, new CountedPrimitive({0, 0, 0}, {1, 1, 1}));
    ORV_SceneNode* target = MakeNode({0, 0, 3}, new CountedPrimitive({0, 0, 0}, {1, 1, 1}));
    ORV_SceneNode* later = MakeNode({0, 0, 4}, new CountedPrimitive({0, 0, 0}, {1, 1, 1}));
    a->AddChild(target);
    ORV_SceneNode tree(L"tree");
    tree.AddChild(a);
    tree.AddChild(later);
    ORV_BoundingBox out;
    ASSERT_TRUE(tree.GetNodeBounds(target, out, h, false));
    ExpectBox(out, {0, 2, 3}, {1, 3, 4});
    ASSERT_TRUE(tree.GetNodeBounds(later, out, h, false));  // after a's subtree
    ExpectBox(out, {0, 0, 4}, {1, 1, 5});
    EXPECT_FALSE(tree.GetNodeBounds(&lonely, out, h, false));
    ExpectBox(out, {0, 0, 4}, {1, 1, 5});
    EXPECT_EQ(h.pushes, h.pops);
}

}  // namespace
