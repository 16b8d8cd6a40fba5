#pragma once

#include "ORV_BoundingBox.h"
#include "ORV_PointerArray.h"
#include "ORV_Primitive.h"

// A group of primitives drawn in order, each with its own attributes. The
// list owns its members and deletes them when removed or destroyed.
class ORV_PrimitiveList : public ORV_Primitive
{
public:
    ORV_PrimitiveList();

    void AddPrimitive(ORV_Primitive* primitive);
    // Removes and deletes the member at index (which must be in range).
    void RemovePrimitive(int index);
    int NumPrimitives() const { return m_Members.Count(); }
    // Null when index is out of range.
    ORV_Primitive* GetPrimitive(int index);
    const ORV_Primitive* GetPrimitive(int index) const;
    void DrawMembersBoundingVolumes(int lod, ORV_DrawHelper* helper, ORV_Color color);

    void Update(float elapsed) override;
    // Null when empty; otherwise the union of the members' boxes (invalid
    // when no member has one).
    ORV_BoundingVolume* GetBoundingVolume(int lod) override;
    // The list's own attributes are never sent; each member sends its own.
    void SetupDrawAttributes(ORV_DrawHelper& helper) override;
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

protected:
    ORV_PointerArray<ORV_Primitive*> m_Members;
    ORV_BoundingBox m_Box;
};
