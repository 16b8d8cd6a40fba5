#pragma once

#include "ORV_BoundingBox.h"
#include "ORV_Primitive.h"

// A line segment, coloured from the colour at its start to the shade colour
// at its end when shading is gouraud. Its box is refreshed when asked for.
class ORV_PrimitiveLine : public ORV_Primitive
{
public:
    ORV_PrimitiveLine() = default;

    void SetStartPoint(float x, float y, float z) { m_Start = D3DXVECTOR3(x, y, z); }
    D3DXVECTOR3 GetStartPoint() const { return m_Start; }
    void SetEndPoint(float x, float y, float z) { m_End = D3DXVECTOR3(x, y, z); }
    D3DXVECTOR3 GetEndPoint() const { return m_End; }

    void Update(float elapsed) override;
    void MouseDownVertex(int continuing, float x, float y) override;
    void MouseMoveVertex(float x, float y) override;
    D3DXVECTOR3 GetLocation() override;
    ORV_BoundingVolume* GetBoundingVolume(int lod) override;
    void SetupDrawAttributes(ORV_DrawHelper& helper) override;
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

protected:
    D3DXVECTOR3 m_Start;
    D3DXVECTOR3 m_End;
    ORV_BoundingBox m_Box;
};
