#include "ORV_PrimitiveList.h"

#include "ORV_DrawHelper.h"

ORV_PrimitiveList::ORV_PrimitiveList() : m_Members(true) {}

void ORV_PrimitiveList::AddPrimitive(ORV_Primitive* primitive)
{
    m_Members.Add(primitive);
}

void ORV_PrimitiveList::RemovePrimitive(int index)
{
    m_Members.RemoveAt(index);
}

ORV_Primitive* ORV_PrimitiveList::GetPrimitive(int index)
{
    if (index < 0 || index >= m_Members.Count())
        return nullptr;
    return m_Members[index];
}

const ORV_Primitive* ORV_PrimitiveList::GetPrimitive(int index) const
{
    if (index < 0 || index >= m_Members.Count())
        return nullptr;
    return m_Members[index];
}

void ORV_PrimitiveList::DrawMembersBoundingVolumes(int lod, ORV_DrawHelper* helper, ORV_Color color)
{
    if (!helper)
        return;
    for (int i = 0; i < m_Members.Count(); ++i)
        if (ORV_Primitive* member = m_Members[i])
            member->DrawBoundingVolume(lod, helper, color);
}

void ORV_PrimitiveList::Update(float elapsed)
{
    for (int i = 0; i < m_Members.Count(); ++i)
        if (ORV_Primitive* member = m_Members[i])
            member->Update(elapsed);
}

ORV_BoundingVolume* ORV_PrimitiveList::GetBoundingVolume(int lod)
{
    if (m_Members.Count() == 0)
        return nullptr;
    m_Box.MakeInvalid();
    for (int i = 0; i < m_Members.Count(); ++i)
        if (ORV_Primitive* member = m_Members[i])
            m_Box.Add(member->GetBoundingVolume(lod));
    return &m_Box;
}

void ORV_PrimitiveList::SetupDrawAttributes(ORV_DrawHelper&) {}

bool ORV_PrimitiveList::DrawPrimitive(int lod, ORV_DrawHelper& helper)
{
    for (int i = 0; i < m_Members.Count(); ++i)
        if (ORV_Primitive* member = m_Members[i])
            member->Draw(lod, helper);
    return true;
}
