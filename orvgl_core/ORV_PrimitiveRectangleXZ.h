#pragma once

#include "ORV_PrimitiveRectangleXY.h"

// The rectangle in the XZ plane: the mouse's (x, y) are the plane's (x, z).
class ORV_PrimitiveRectangleXZ : public ORV_PrimitiveRectangleXY
{
public:
    ORV_PrimitiveRectangleXZ() = default;

    void MouseDownVertex(int continuing, float x, float y) override;
    void MouseMoveVertex(float x, float y) override;
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;
};
