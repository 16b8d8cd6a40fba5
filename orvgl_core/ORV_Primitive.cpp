#include "ORV_Primitive.h"

#include <cmath>

#include "ORV_BoundingVolume.h"
#include "ORV_DrawHelper.h"

ORV_Primitive::ORV_Primitive()
    : m_Visible(true),
      m_Velocity(0.0f, 0.0f, 0.0f),
      m_Color(0, 0, 0, 255),
      m_ShadeColor(255, 255, 255, 255),
      m_FillMode(2),
      m_ShadeMode(1),
      m_PointSize(2.0f),
      m_DrawBoundingVolume(false),
      m_Blending(false),
      m_Texturing(false),
      m_Lighting(true)
{}

ORV_Primitive::~ORV_Primitive() = default;

void ORV_Primitive::Update(float) {}

void ORV_Primitive::MouseDownVertex(int, float, float) {}

void ORV_Primitive::MouseMoveVertex(float, float) {}

D3DXVECTOR3 ORV_Primitive::GetLocation()
{
    return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

ORV_BoundingVolume* ORV_Primitive::GetBoundingVolume(int)
{
    return nullptr;
}

void ORV_Primitive::MoveAwayFrom(int, D3DXVECTOR3 point)
{
    const D3DXVECTOR3 away = GetLocation() - point;
    D3DXVECTOR3 direction;
    D3DXVec3Normalize(&direction, &away);
    const float speed = D3DXVec3Length(&m_Velocity);
    m_Velocity = direction * speed;
}

void ORV_Primitive::SetupDrawAttributes(ORV_DrawHelper& helper)
{
    helper.ResetAttributes();
    helper.SetColor(m_Color);
    helper.SetMaterial(m_Material);
    helper.EnableBlending(m_Blending);
    helper.SetTextureFileName(m_TextureFileName.c_str());
    helper.EnableTexture(m_Texturing);
    helper.EnableLighting(m_Lighting);
}

void ORV_Primitive::Draw(int lod, ORV_DrawHelper& helper)
{
    if (!m_Visible)
        return;
    SetupDrawAttributes(helper);
    DrawPrimitive(lod, helper);
    if (m_DrawBoundingVolume)
        DrawBoundingVolume(lod, &helper, ORV_Color(255, 0, 0, 255));
}

void ORV_Primitive::DrawBoundingVolume(int lod, ORV_DrawHelper* helper, ORV_Color color)
{
    ORV_BoundingVolume* volume = GetBoundingVolume(lod);
    if (!volume || !helper)
        return;
    helper->ResetAttributes();
    helper->SetColor(color);
    helper->SetShadeMode(0);
    helper->SetFillMode(1);
    volume->Draw(helper);
}

void ORV_Primitive::SetTextureFileName(const wchar_t* name)
{
    m_TextureFileName = name ? name : L"";
}

bool ORV_Primitive::IsStationary() const
{
    constexpr float kRest = 1e-9f;
    return std::fabs(m_Velocity.x) <= kRest && std::fabs(m_Velocity.y) <= kRest && std::fabs(m_Velocity.z) <= kRest;
}
