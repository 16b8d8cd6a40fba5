#include "ORV_PrimitivePoint.h"

#include "ORV_DrawHelper.h"

ORV_PrimitivePoint::ORV_PrimitivePoint() : ORV_PrimitivePoint(0.0f, 0.0f, 0.0f) {}

ORV_PrimitivePoint::ORV_PrimitivePoint(float x, float y, float z)
{
    SetLocation(x, y, z);
}

void ORV_PrimitivePoint::SetLocation(float x, float y, float z)
{
    m_Location = D3DXVECTOR3(x, y, z);
    m_Box.Set(x, y, z, x, y, z);
}

void ORV_PrimitivePoint::Update(float elapsed)
{
    const D3DXVECTOR3 moved = m_Location + m_Velocity * elapsed;
    SetLocation(moved.x, moved.y, moved.z);
}

void ORV_PrimitivePoint::MouseDownVertex(int, float x, float y)
{
    SetLocation(x, y, 0.0f);
}

void ORV_PrimitivePoint::MouseMoveVertex(float x, float y)
{
    SetLocation(x, y, 0.0f);
}

ORV_BoundingVolume* ORV_PrimitivePoint::GetBoundingVolume(int)
{
    return &m_Box;
}

void ORV_PrimitivePoint::SetupDrawAttributes(ORV_DrawHelper& helper)
{
    ORV_Primitive::SetupDrawAttributes(helper);
    helper.SetPointSize(m_PointSize);
}

bool ORV_PrimitivePoint::DrawPrimitive(int, ORV_DrawHelper& helper)
{
    return helper.DrawPoint(m_Location);
}
