#include "ORV_BoundingBox.h"

#include <algorithm>

#include "ORV_DrawHelper.h"

ORV_BoundingBox::ORV_BoundingBox(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2)
{
    Set(corner1.x, corner1.y, corner1.z, corner2.x, corner2.y, corner2.z);
}

ORV_BoundingBox::ORV_BoundingBox(float cx, float cy, float cz, float width, float height, float depth)
    : m_Min(cx - width / 2.0f, cy - height / 2.0f, cz - depth / 2.0f),
      m_Max(cx + width / 2.0f, cy + height / 2.0f, cz + depth / 2.0f)
{}

void ORV_BoundingBox::Set(float x1, float y1, float z1, float x2, float y2, float z2)
{
    m_Min = D3DXVECTOR3(std::min(x1, x2), std::min(y1, y2), std::min(z1, z2));
    m_Max = D3DXVECTOR3(std::max(x1, x2), std::max(y1, y2), std::max(z1, z2));
}

void ORV_BoundingBox::MakeInvalid()
{
    m_Min = D3DXVECTOR3(1.0f, 1.0f, 1.0f);
    m_Max = D3DXVECTOR3(-1.0f, -1.0f, -1.0f);
}

bool ORV_BoundingBox::IsValid() const
{
    return m_Min.x <= m_Max.x && m_Min.y <= m_Max.y && m_Min.z <= m_Max.z;
}

void ORV_BoundingBox::SetCenter(float x, float y, float z)
{
    const D3DXVECTOR3 shift = D3DXVECTOR3(x, y, z) - GetCenter();
    m_Min += shift;
    m_Max += shift;
}

void ORV_BoundingBox::Add(const ORV_BoundingBox& other)
{
    if (!other.IsValid())
        return;
    if (!IsValid()) {
        *this = other;
        return;
    }
    m_Min = D3DXVECTOR3(std::min(m_Min.x, other.m_Min.x), std::min(m_Min.y, other.m_Min.y),
                        std::min(m_Min.z, other.m_Min.z));
    m_Max = D3DXVECTOR3(std::max(m_Max.x, other.m_Max.x), std::max(m_Max.y, other.m_Max.y),
                        std::max(m_Max.z, other.m_Max.z));
}

D3DXVECTOR3 ORV_BoundingBox::GetCenter() const
{
    return (m_Min + m_Max) / 2.0f;
}

void ORV_BoundingBox::Add(const ORV_BoundingVolume* other)
{
    if (other && other->GetType() == kType)
        Add(*static_cast<const ORV_BoundingBox*>(other));
}

bool ORV_BoundingBox::Intersects(const ORV_BoundingVolume* other) const
{
    if (!other || other->GetType() != kType)
        return false;
    const ORV_BoundingBox& b = *static_cast<const ORV_BoundingBox*>(other);
    if (b.m_Max.x < m_Min.x || b.m_Min.x > m_Max.x)
        return false;
    if (b.m_Max.y < m_Min.y || b.m_Min.y > m_Max.y)
        return false;
    if (b.m_Max.z < m_Min.z || b.m_Min.z > m_Max.z)
        return false;
    return true;
}

bool ORV_BoundingBox::ContainsPoint(float x, float y, float z) const
{
    return m_Min.x <= x && x <= m_Max.x && m_Min.y <= y && y <= m_Max.y && m_Min.z <= z && z <= m_Max.z;
}

void ORV_BoundingBox::Draw(ORV_DrawHelper* helper) const
{
    if (!helper)
        return;
    const D3DXVECTOR3& lo = m_Min;
    const D3DXVECTOR3& hi = m_Max;

    // Face z = min.z, a loop starting at min.
    helper->DrawLine({lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z});
    helper->DrawLine({hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z});
    helper->DrawLine({hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z});
    helper->DrawLine({lo.x, hi.y, lo.z}, {lo.x, lo.y, lo.z});
    // Face z = max.z, a loop starting at max.
    helper->DrawLine({hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z});
    helper->DrawLine({lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z});
    helper->DrawLine({lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z});
    helper->DrawLine({hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z});
    // The four edges along z, from max.z to min.z.
    helper->DrawLine({hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z});
    helper->DrawLine({hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z});
    helper->DrawLine({lo.x, lo.y, hi.z}, {lo.x, lo.y, lo.z});
    helper->DrawLine({lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z});
}
