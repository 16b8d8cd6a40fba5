#pragma once

#include "ORV_BoundingBox.h"
#include "ORV_Primitive.h"

// A single point drawn with the primitive's point size; its box is the
// degenerate box at the point, kept current on every move.
class ORV_PrimitivePoint : public ORV_Primitive
{
public:
    ORV_PrimitivePoint();
    ORV_PrimitivePoint(float x, float y, float z);

    void SetLocation(float x, float y, float z);

    void Update(float elapsed) override;
    void MouseDownVertex(int continuing, float x, float y) override;
    void MouseMoveVertex(float x, float y) override;
    D3DXVECTOR3 GetLocation() override { return m_Location; }
    ORV_BoundingVolume* GetBoundingVolume(int lod) override;
    void SetupDrawAttributes(ORV_DrawHelper& helper) override;
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

protected:
    D3DXVECTOR3 m_Location;
    ORV_BoundingBox m_Box;
};
