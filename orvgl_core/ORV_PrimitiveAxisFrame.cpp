#include "ORV_PrimitiveAxisFrame.h"

#include <cmath>

#include "ORV_DrawHelper.h"

void ORV_PrimitiveAxisFrame::SetSize(float size)
{
    m_Size = std::fabs(size);
}

void ORV_PrimitiveAxisFrame::SetupDrawAttributes(ORV_DrawHelper& helper)
{
    ORV_Primitive::SetupDrawAttributes(helper);
    helper.SetShadeMode(0);
}

bool ORV_PrimitiveAxisFrame::DrawPrimitive(int, ORV_DrawHelper& helper)
{
    const D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
    helper.SetColor(ORV_Color(255, 0, 0, 255));
    helper.DrawLine(origin, D3DXVECTOR3(m_Size, 0.0f, 0.0f));
    helper.SetColor(ORV_Color(0, 255, 0, 255));
    helper.DrawLine(origin, D3DXVECTOR3(0.0f, m_Size, 0.0f));
    helper.SetColor(ORV_Color(0, 0, 255, 255));
    return helper.DrawLine(origin, D3DXVECTOR3(0.0f, 0.0f, m_Size));
}
