#pragma once

#include "ORV_Primitive.h"

// Three flat-shaded lines of length size along X (red), Y (green) and Z
// (blue) from the origin. Has no bounding volume.
class ORV_PrimitiveAxisFrame : public ORV_Primitive
{
public:
    ORV_PrimitiveAxisFrame() = default;

    // Stores the absolute value.
    void SetSize(float size);
    float GetSize() const { return m_Size; }

    void SetupDrawAttributes(ORV_DrawHelper& helper) override;
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

protected:
    float m_Size = 1.0f;
};
