#include "ORV_PrimitiveLine.h"

#include "ORV_DrawHelper.h"

void ORV_PrimitiveLine::Update(float elapsed)
{
    m_Start += m_Velocity * elapsed;
    m_End += m_Velocity * elapsed;
}

void ORV_PrimitiveLine::MouseDownVertex(int continuing, float x, float y)
{
    if (continuing == 0)
        m_Start = D3DXVECTOR3(x, y, 0.0f);
    m_End = D3DXVECTOR3(x, y, 0.0f);
}

void ORV_PrimitiveLine::MouseMoveVertex(float x, float y)
{
    m_End = D3DXVECTOR3(x, y, 0.0f);
}

D3DXVECTOR3 ORV_PrimitiveLine::GetLocation()
{
    return (m_Start + m_End) / 2.0f;
}

ORV_BoundingVolume* ORV_PrimitiveLine::GetBoundingVolume(int)
{
    m_Box.Set(m_Start.x, m_Start.y, m_Start.z, m_End.x, m_End.y, m_End.z);
    return &m_Box;
}

void ORV_PrimitiveLine::SetupDrawAttributes(ORV_DrawHelper& helper)
{
    ORV_Primitive::SetupDrawAttributes(helper);
    helper.SetShadeColor(m_ShadeColor);
    helper.SetShadeMode(m_ShadeMode);
}

bool ORV_PrimitiveLine::DrawPrimitive(int, ORV_DrawHelper& helper)
{
    return helper.DrawLine(m_Start, m_End);
}
