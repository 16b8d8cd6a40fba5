#include "ORV_PrimitiveRectangleXY.h"

#include "ORV_DrawHelper.h"

void ORV_PrimitiveRectangleXY::SetCorners(float x1, float y1, float z1, float x2, float y2, float z2)
{
    m_Box.Set(x1, y1, z1, x2, y2, z2);
}

void ORV_PrimitiveRectangleXY::MoveBy(D3DXVECTOR3 delta)
{
    m_Box = ORV_BoundingBox(m_Box.GetMin() + delta, m_Box.GetMax() + delta);
}

void ORV_PrimitiveRectangleXY::PlaceAt(int continuing, D3DXVECTOR3 planePoint)
{
    if (continuing == 0) {
        m_Anchor = planePoint;
        m_Box = ORV_BoundingBox(m_Anchor, m_Anchor);
    } else {
        m_Box = ORV_BoundingBox(m_Anchor, planePoint);
    }
}

void ORV_PrimitiveRectangleXY::Update(float elapsed)
{
    MoveBy(m_Velocity * elapsed);
}

void ORV_PrimitiveRectangleXY::MouseDownVertex(int continuing, float x, float y)
{
    PlaceAt(continuing, D3DXVECTOR3(x, y, 0.0f));
}

void ORV_PrimitiveRectangleXY::MouseMoveVertex(float x, float y)
{
    const D3DXVECTOR3 c = m_Box.GetCenter();
    MoveBy(D3DXVECTOR3(x - c.x, y - c.y, 0.0f));
}

D3DXVECTOR3 ORV_PrimitiveRectangleXY::GetLocation()
{
    return m_Box.GetCenter();
}

ORV_BoundingVolume* ORV_PrimitiveRectangleXY::GetBoundingVolume(int)
{
    return &m_Box;
}

void ORV_PrimitiveRectangleXY::SetupDrawAttributes(ORV_DrawHelper& helper)
{
    ORV_Primitive::SetupDrawAttributes(helper);
    helper.SetShadeColor(m_ShadeColor);
    helper.SetShadeMode(m_ShadeMode);
    helper.SetFillMode(m_FillMode);
}

bool ORV_PrimitiveRectangleXY::DrawPrimitive(int, ORV_DrawHelper& helper)
{
    return helper.DrawRectangleXY(m_Box.GetMin(), m_Box.GetMax());
}
