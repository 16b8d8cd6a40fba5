#include "ORV_SceneNode.h"

#include "ORV_BoundingVolume.h"
#include "ORV_DrawHelper.h"
#include "ORV_Primitive.h"
#include "ORV_PrimitiveAxisFrame.h"

ORV_SceneNode::ORV_SceneNode(const wchar_t* name) : m_Children(true), m_Name(name ? name : L"") {}

ORV_SceneNode::~ORV_SceneNode()
{
    // The primitive goes first; the members then go in reverse order, the
    // name before the children array, which deletes every child.
    delete m_pPrimitive;
    m_pPrimitive = nullptr;
}

const wchar_t* ORV_SceneNode::GetName() const
{
    return m_Name.c_str();
}

void ORV_SceneNode::SetPrimitive(ORV_Primitive* primitive)
{
    // Deleting the primitive we are about to keep would leave it dangling.
    if (primitive == m_pPrimitive)
        return;
    delete m_pPrimitive;
    m_pPrimitive = primitive;
}

void ORV_SceneNode::AddChild(ORV_SceneNode* child)
{
    m_Children.Add(child);
}

ORV_SceneNode* ORV_SceneNode::GetChildNode(int index)
{
    if (index < 0 || index >= m_Children.Count())
        return nullptr;
    return m_Children[index];
}

const ORV_SceneNode* ORV_SceneNode::GetChildNode(int index) const
{
    if (index < 0 || index >= m_Children.Count())
        return nullptr;
    return m_Children[index];
}

void ORV_SceneNode::Update(float elapsed)
{
    const D3DXVECTOR3 t = m_XformInfo.GetTranslation() + m_Velocity * elapsed;
    m_XformInfo.SetTranslation(t.x, t.y, t.z);
}

void ORV_SceneNode::Draw(int lod, ORV_DrawHelper& helper)
{
    helper.PushModelTransform();
    m_XformInfo.SetUpModelTransform(helper);

    // Invisible primitives skip themselves; their children still draw.
    if (m_pPrimitive)
        m_pPrimitive->Draw(lod, helper);
    for (int i = 0; i < m_Children.Count(); ++i)
        m_Children[i]->Draw(lod, helper);

    if (m_PivotVisible) {
        m_XformInfo.DrawPivot(helper, 0.2f);

        ORV_PrimitiveAxisFrame axes;
        axes.SetLighting(false);
        ORV_XformInfo axesXform;
        axesXform.SetScale(1.3f, 1.3f, 1.3f);

        helper.PushModelTransform();
        axesXform.SetUpModelTransform(helper);
        axes.Draw(lod, helper);
        helper.PopModelTransform();
    }

    helper.PopModelTransform();
}

ORV_BoundingBox ORV_SceneNode::GetBounds(ORV_DrawHelper& helper, bool drawBoxes)
{
    ORV_BoundingBox bounds;
    bounds.MakeInvalid();
    // Visibility affects drawing only: a hidden primitive's box still counts.
    if (m_pPrimitive)
        bounds.Add(m_pPrimitive->GetBoundingVolume(0));

    helper.PushModelTransform();
    m_XformInfo.SetUpModelTransform(helper);

    if (bounds.IsValid()) {
        if (drawBoxes)
            bounds.Draw(&helper);

        const D3DXVECTOR3 lo = bounds.GetMin();
        const D3DXVECTOR3 hi = bounds.GetMax();
        D3DXVECTOR3 corners[8] = {
            {lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
            {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z},
        };
        for (D3DXVECTOR3& corner : corners)
            helper.TransformPoint(&corner);

        // The union of the boxes spanned by four pairs that together cover
        // all eight corners is the axis-aligned box of the transformed ones.
        bounds.MakeInvalid();
        for (int i = 0; i < 4; ++i)
            bounds.Add(ORV_BoundingBox(corners[i], corners[i + 4]));
    }

    // The node's transform is still on the stack, so each child's box comes
    // out in the same frame as ours.
    for (int i = 0; i < m_Children.Count(); ++i)
        bounds.Add(m_Children[i]->GetBounds(helper, drawBoxes));

    helper.PopModelTransform();
    return bounds;
}

bool ORV_SceneNode::GetNodeBounds(const ORV_SceneNode* target, ORV_BoundingBox& out, ORV_DrawHelper& helper, bool draw)
{
    return FindNodeBounds(target, out, helper, draw, 0);
}

bool ORV_SceneNode::FindNodeBounds(const ORV_SceneNode* target, ORV_BoundingBox& out, ORV_DrawHelper& helper, bool draw,
                                   int depth)
{
    bool found = false;
    if (this == target) {
        out = GetBounds(helper, draw);
        found = true;
    } else {
        helper.PushModelTransform();
        m_XformInfo.SetUpModelTransform(helper);
        for (int i = 0; i < m_Children.Count() && !found; ++i)
            found = m_Children[i]->FindNodeBounds(target, out, helper, draw, depth + 1);
        helper.PopModelTransform();
    }

    // Only the outermost call draws, after every transform has been popped,
    // so the found box is drawn in the frame the search began in.
    if (depth == 0 && found && draw) {
        helper.ResetAttributes();
        helper.SetColor(ORV_Color(0, 0, 255, 255));
        helper.SetShadeMode(0);
        helper.SetFillMode(1);
        out.Draw(&helper);
    }
    return found;
}
