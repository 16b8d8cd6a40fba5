#include "ORV_DrawHelper.h"

ORV_DrawHelper::ORV_DrawHelper() : m_Lod(2), m_ShadeMode(1), m_FillMode(2), m_PointSize(1.0f)
{
    // Virtual dispatch is still the base's here, so only the base's own
    // (inert) blending and texture commands run.
    ResetAttributes();
}

ORV_DrawHelper::~ORV_DrawHelper() = default;

bool ORV_DrawHelper::DrawPoint(D3DXVECTOR3)
{
    return false;
}

bool ORV_DrawHelper::DrawLine(D3DXVECTOR3, D3DXVECTOR3)
{
    return false;
}

bool ORV_DrawHelper::DrawCircle(D3DXVECTOR3, float)
{
    return false;
}

bool ORV_DrawHelper::DrawRectangleXY(D3DXVECTOR3, D3DXVECTOR3)
{
    return false;
}

bool ORV_DrawHelper::DrawRectangleXZ(D3DXVECTOR3, D3DXVECTOR3)
{
    return false;
}

bool ORV_DrawHelper::ResetAttributes()
{
    m_PointSize = 1.0f;
    m_Color = ORV_Color(255, 255, 255, 255);
    m_ShadeColor = ORV_Color(255, 255, 255, 255);
    EnableBlending(false);
    return EnableTexture(false);
}

bool ORV_DrawHelper::AccumulateModelTransform(D3DXVECTOR3, D3DXVECTOR3, const D3DXMATRIX3X3&, D3DXVECTOR3)
{
    return false;
}

bool ORV_DrawHelper::PushModelTransform()
{
    return false;
}

bool ORV_DrawHelper::PopModelTransform()
{
    return false;
}

bool ORV_DrawHelper::InitializeModelTransform()
{
    return false;
}

bool ORV_DrawHelper::TransformPoint(D3DXVECTOR3*)
{
    return false;
}

void ORV_DrawHelper::SetShadeMode(int mode)
{
    m_ShadeMode = mode;
}

void ORV_DrawHelper::SetFillMode(int mode)
{
    m_FillMode = mode;
}

bool ORV_DrawHelper::EnableBlending(bool)
{
    return false;
}

void ORV_DrawHelper::SetTextureFileName(const wchar_t* name)
{
    m_TextureFileName = name ? name : L"";
}

bool ORV_DrawHelper::EnableTexture(bool)
{
    return false;
}

bool ORV_DrawHelper::EnableLighting(bool)
{
    return false;
}

float ORV_DrawHelper::SetPointSize(float size)
{
    const float previous = m_PointSize;
    m_PointSize = size;
    return previous;
}

ORV_Color ORV_DrawHelper::SetColor(ORV_Color color)
{
    const ORV_Color previous = m_Color;
    m_Color = color;
    return previous;
}

ORV_Color ORV_DrawHelper::SetShadeColor(ORV_Color color)
{
    const ORV_Color previous = m_ShadeColor;
    m_ShadeColor = color;
    return previous;
}

ORV_Material ORV_DrawHelper::SetMaterial(const ORV_Material& material)
{
    ORV_Material previous = m_Material;
    m_Material = material;
    return previous;
}
