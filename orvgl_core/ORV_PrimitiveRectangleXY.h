#pragma once

#include "ORV_BoundingBox.h"
#include "ORV_Primitive.h"

// An axis-aligned rectangle in the XY plane of its node; the box is its
// extent. The anchor is where an interactive placement began.
class ORV_PrimitiveRectangleXY : public ORV_Primitive
{
public:
    ORV_PrimitiveRectangleXY() = default;

    void SetCorners(float x1, float y1, float z1, float x2, float y2, float z2);

    void Update(float elapsed) override;
    void MouseDownVertex(int continuing, float x, float y) override;
    void MouseMoveVertex(float x, float y) override;
    D3DXVECTOR3 GetLocation() override;
    ORV_BoundingVolume* GetBoundingVolume(int lod) override;
    void SetupDrawAttributes(ORV_DrawHelper& helper) override;
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

protected:
    // Starts (continuing == 0) or stretches a placement at a plane point.
    void PlaceAt(int continuing, D3DXVECTOR3 planePoint);
    // Moves the box, keeping its size.
    void MoveBy(D3DXVECTOR3 delta);

    ORV_BoundingBox m_Box;
    D3DXVECTOR3 m_Anchor;
};
