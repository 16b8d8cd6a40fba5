#include <cmath>

#include <gtest/gtest.h>

#include "ORV_PrimitivePoint.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "ORV_SceneNode.h"
#include "RecordingDrawHelper.h"
#include "TestSupport.h"

namespace {

class SceneNodeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CountedPrimitive::s_Live = CountedPrimitive::s_Deleted = 0;
        CountedNode::s_Live = CountedNode::s_Deleted = 0;
    }
};

ORV_SceneNode* MakeNode(const wchar_t* name, D3DXVECTOR3 translation, ORV_Primitive* primitive)
{
    ORV_SceneNode* node = new ORV_SceneNode(name);
    ORV_XformInfo x = node->GetXformInfo();
    x.SetTranslation(translation.x, translation.y, translation.z);
    node->SetXformInfo(x);
    node->SetPrimitive(primitive);
    return node;
}

TEST_F(SceneNodeTest, ReplacedPrimitivesAndTheWholeTreeAreDeletedOnce)
{
    auto* root = new CountedNode(L"root");
    auto* first = new CountedPrimitive;
    root->SetPrimitive(first);
    root->SetPrimitive(first);  // the same one again: kept, not deleted
    EXPECT_EQ(CountedPrimitive::s_Deleted, 0);
    root->SetPrimitive(nullptr);
    EXPECT_EQ(CountedPrimitive::s_Deleted, 1);
    root->SetPrimitive(new CountedPrimitive);
    for (int i = 0; i < 3; ++i) {
        auto* child = new CountedNode(L"child");
        child->SetPrimitive(new CountedPrimitive);
        auto* grandchild = new CountedNode(L"grandchild");
        grandchild->SetPrimitive(i == 1 ? nullptr : new CountedPrimitive);
        child->AddChild(grandchild);
        root->AddChild(child);
    }
    delete root;
    EXPECT_EQ(CountedNode::s_Live, 0);
    EXPECT_EQ(CountedNode::s_Deleted, 7);
    EXPECT_EQ(CountedPrimitive::s_Live, 0);
    EXPECT_EQ(CountedPrimitive::s_Deleted, 7);
}

TEST_F(SceneNodeTest, DrawWalksPrimitiveThenChildrenUnderComposedTransforms)
{
    // root at (10, 0, 0) turned 90 degrees about Y; a child at (0, 0, 1)
    // with an XZ rectangle; a hidden primitive on a second child whose own
    // child is still drawn.
    ORV_SceneNode root(L"root");
    ORV_XformInfo rx;
    rx.SetTranslation(10, 0, 0);
    rx.RotateYDegrees(90);
    root.SetXformInfo(rx);
    auto* rootPoint = new ORV_PrimitivePoint(0, 0, 0);
    root.SetPrimitive(rootPoint);

    auto* rect = new ORV_PrimitiveRectangleXZ;
    rect->SetCorners(0, 5, 0, 1, 5, 2);
    root.AddChild(MakeNode(L"a", {0, 0, 1}, rect));

    auto* hidden = new CountedPrimitive;
    hidden->SetVisible(false);
    ORV_SceneNode* b = MakeNode(L"b", {0, 1, 0}, hidden);
    b->AddChild(MakeNode(L"c", {0, 0, 0}, new ORV_PrimitivePoint(1, 0, 0)));
    root.AddChild(b);

    RecordingDrawHelper h;
    h.InitializeModelTransform();
    root.Draw(h.GetLod(), h);
    EXPECT_EQ(h.pushes, h.pops);
    EXPECT_EQ(hidden->drawn, 0);

    ASSERT_EQ(h.shapes.size(), 3u);
    EXPECT_EQ(h.shapes[0].op, "point");
    ExpectNear(h.shapes[0].points[0], {10, 0, 0});
    // Rectangle drawn at y = 0 of its frame, its corners turned by the root:
    // local (0, 0, 0) + (0, 0, 1) -> (1, 0, 0) after the turn, then + 10.
    EXPECT_EQ(h.shapes[1].op, "rectXZ");
    ExpectNear(h.shapes[1].points[0], {11, 0, 0});
    ExpectNear(h.shapes[1].points[1], {13, 0, -1});
    // The hidden primitive's child: local (1, 0, 0) + (0, 1, 0) -> turned.
    EXPECT_EQ(h.shapes[2].op, "point");
    ExpectNear(h.shapes[2].points[0], {10, 1, -1});

    // Each node pushes, composes and pops around its own drawing.
    EXPECT_EQ(h.log.front(), "PushModelTransform");
    EXPECT_EQ(h.log[1], "AccumulateModelTransform");
    EXPECT_EQ(h.log.back(), "PopModelTransform");
}

TEST_F(SceneNodeTest, BoundsEncloseTransformedBoxesOfTheWholeSubtree)
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
    root.AddChild(MakeNode(L"child", {100, 0, 0}, hidden));
    root.AddChild(MakeNode(L"boxless", {0, 0, 0}, new CountedPrimitive(false)));

    RecordingDrawHelper h;
    h.InitializeModelTransform();
    ORV_BoundingBox b = root.GetBounds(h, false);
    // Own box: x 0..1 scaled to 0..2 turns into y 0..2, y 0..2 into x -2..0.
    // Child: x 99..101 is scaled too (to 198..202) and turns into y.
    ExpectBox(b, {-2, 10, -1}, {1, 212, 3}, 1e-4f);

    // Turned half-way about Y, the far corner (1, y, 1) sets the new x.
    ORV_SceneNode turned(L"turned");
    ORV_XformInfo tx;
    tx.RotateYDegrees(45);
    turned.SetXformInfo(tx);
    turned.SetPrimitive(new CountedPrimitive({0, 0, 0}, {1, 1, 1}));
    const float r = std::sqrt(0.5f);
    ExpectBox(turned.GetBounds(h, false), {0, 0, -r}, {2 * r, 1, r}, 1e-5f);

    // A subtree with nothing to bound stays empty.
    ORV_SceneNode lonely(L"lonely");
    lonely.AddChild(new ORV_SceneNode(L"empty"));
    EXPECT_FALSE(lonely.GetBounds(h, false).IsValid());
}

TEST_F(SceneNodeTest, NodeBoundsFindTheTargetThroughItsAncestors)
{
    ORV_SceneNode root(L"root");
    ORV_XformInfo rx;
    rx.SetTranslation(1, 0, 0);
    root.SetXformInfo(rx);
    root.SetPrimitive(new CountedPrimitive({0, 0, 0}, {50, 50, 50}));
    ORV_SceneNode* a = MakeNode(L"a", {0, 2, 0}, new CountedPrimitive({0, 0, 0}, {1, 1, 1}));
    ORV_SceneNode* b = MakeNode(L"b", {0, 0, 3}, new CountedPrimitive({0, 0, 0}, {1, 1, 1}));
    ORV_SceneNode* c = MakeNode(L"c", {0, 0, 4}, new CountedPrimitive({0, 0, 0}, {1, 1, 1}));
    a->AddChild(b);
    root.AddChild(a);
    root.AddChild(c);

    RecordingDrawHelper h;
    h.InitializeModelTransform();
    ORV_BoundingBox out;
    ASSERT_TRUE(root.GetNodeBounds(b, out, h, false));
    ExpectBox(out, {1, 2, 3}, {2, 3, 4});

    ASSERT_TRUE(root.GetNodeBounds(c, out, h, false));  // found after a's subtree
    ExpectBox(out, {1, 0, 4}, {2, 1, 5});
    EXPECT_EQ(h.pushes, h.pops);

    // Not in the subtree: false, out untouched.
    ORV_SceneNode stranger(L"stranger");
    out = ORV_BoundingBox({7, 7, 7}, {8, 8, 8});
    EXPECT_FALSE(root.GetNodeBounds(&stranger, out, h, false));
    ExpectBox(out, {7, 7, 7}, {8, 8, 8});
    EXPECT_EQ(h.pushes, h.pops);
}

}  // namespace
