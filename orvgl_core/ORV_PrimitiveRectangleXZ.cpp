#include "ORV_PrimitiveRectangleXZ.h"

#include "ORV_DrawHelper.h"

void ORV_PrimitiveRectangleXZ::MouseDownVertex(int continuing, float x, float y)
{
    PlaceAt(continuing, D3DXVECTOR3(x, 0.0f, y));
}

void ORV_PrimitiveRectangleXZ::MouseMoveVertex(float x, float y)
{
    const D3DXVECTOR3 c = m_Box.GetCenter();
    MoveBy(D3DXVECTOR3(x - c.x, 0.0f, y - c.z));
}

bool ORV_PrimitiveRectangleXZ::DrawPrimitive(int, ORV_DrawHelper& helper)
{
    return helper.DrawRectangleXZ(m_Box.GetMin(), m_Box.GetMax());
}
