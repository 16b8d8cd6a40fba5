#pragma once

#include <string>

#include "ORV_BoundingBox.h"
#include "ORV_PointerArray.h"
#include "ORV_XformInfo.h"
#include "d3dx9math.h"

class ORV_DrawHelper;
class ORV_Primitive;

// A named node of the scene graph: a local transform, at most one primitive
// and a list of children. The node owns its primitive and, recursively, its
// children; deleting a root frees the whole tree. Nodes are not shared
// between parents.
class ORV_SceneNode
{
public:
    explicit ORV_SceneNode(const wchar_t* name);
    virtual ~ORV_SceneNode();

    ORV_SceneNode(const ORV_SceneNode&) = delete;
    ORV_SceneNode& operator=(const ORV_SceneNode&) = delete;

    virtual const wchar_t* GetName() const;

    // Deletes the current primitive and takes ownership of the new one
    // (null allowed). Setting the current primitive again changes nothing.
    void SetPrimitive(ORV_Primitive* primitive);
    ORV_Primitive* GetPrimitive() const { return m_pPrimitive; }

    // Takes ownership of child.
    void AddChild(ORV_SceneNode* child);
    int NumChildren() const { return m_Children.Count(); }
    // Null when index is out of range.
    ORV_SceneNode* GetChildNode(int index);
    const ORV_SceneNode* GetChildNode(int index) const;

    ORV_XformInfo GetXformInfo() const { return m_XformInfo; }
    void SetXformInfo(const ORV_XformInfo& xform) { m_XformInfo = xform; }

    void SetVelocity(float x, float y, float z) { m_Velocity = D3DXVECTOR3(x, y, z); }
    D3DXVECTOR3 GetVelocity() const { return m_Velocity; }
    // translation += velocity * elapsed
    void Update(float elapsed);

    void SetPivotVisible(bool visible) { m_PivotVisible = visible; }
    bool IsPivotVisible() const { return m_PivotVisible; }

    // Draws the primitive, then the children, under this node's transform.
    void Draw(int lod, ORV_DrawHelper& helper);
    // The box of the subtree in the frame of the helper's current transform;
    // invalid when nothing in the subtree has a box.
    ORV_BoundingBox GetBounds(ORV_DrawHelper& helper, bool drawBoxes);
    // Finds target in this subtree and writes its bounds, taken through the
    // transforms down to it, into out. Leaves out alone when not found.
    bool GetNodeBounds(const ORV_SceneNode* target, ORV_BoundingBox& out, ORV_DrawHelper& helper, bool draw);

private:
    bool FindNodeBounds(const ORV_SceneNode* target, ORV_BoundingBox& out, ORV_DrawHelper& helper, bool draw,
                        int depth);

    ORV_Primitive* m_pPrimitive = nullptr;
    ORV_PointerArray<ORV_SceneNode*> m_Children;
    D3DXVECTOR3 m_Velocity;
    ORV_XformInfo m_XformInfo;
    bool m_PivotVisible = false;
    std::wstring m_Name;
};
