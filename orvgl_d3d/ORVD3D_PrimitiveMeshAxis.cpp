#include "ORVD3D_PrimitiveMeshAxis.h"

#include "ORV_DrawHelper.h"
#include "ORV_XformInfo.h"

ORVD3D_PrimitiveMeshAxis::ORVD3D_PrimitiveMeshAxis(float size) : m_Size(size)
{
    m_XAxis.SetColor(ORV_Color(255, 0, 0, 255));
    m_YAxis.SetColor(ORV_Color(0, 255, 0, 255));
    m_ZAxis.SetColor(ORV_Color(0, 0, 255, 255));
}

ORVD3D_PrimitiveMeshAxis::~ORVD3D_PrimitiveMeshAxis() = default;

bool ORVD3D_PrimitiveMeshAxis::DrawPrimitive(int lod, ORV_DrawHelper& helper)
{
    // The arrow points along +X: Y's is turned +90 degrees about Z, Z's -90
    // degrees about Y.
    ORVD3D_PrimitiveMeshArrow* const arrows[3] = {&m_XAxis, &m_YAxis, &m_ZAxis};
    for (int i = 0; i < 3; ++i) {
        ORV_XformInfo xform;
        if (i == 1)
            xform.RotateZDegrees(90.0f);
        else if (i == 2)
            xform.RotateYDegrees(-90.0f);
        xform.SetScale(m_Size, m_Size, m_Size);
        helper.PushModelTransform();
        xform.SetUpModelTransform(helper);
        arrows[i]->Draw(lod, helper);
        helper.PopModelTransform();
    }
    return true;
}
