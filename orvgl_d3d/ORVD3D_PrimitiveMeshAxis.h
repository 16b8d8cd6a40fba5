// Three arrows of one length along +X (red), +Y (green) and +Z (blue): an
// axis frame built from meshes.
//
// Owns its three arrows by value.
#pragma once

#include "ORVD3D_PrimitiveMeshArrow.h"
#include "ORV_Primitive.h"

class ORVD3D_PrimitiveMeshAxis : public ORV_Primitive
{
public:
    explicit ORVD3D_PrimitiveMeshAxis(float size);
    ~ORVD3D_PrimitiveMeshAxis() override;

    // Each arrow draws with its own attributes, scaled by the size.
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;

    float GetSize() const { return m_Size; }

protected:
    ORVD3D_PrimitiveMeshArrow m_XAxis;
    ORVD3D_PrimitiveMeshArrow m_YAxis;
    ORVD3D_PrimitiveMeshArrow m_ZAxis;
    float m_Size;
};
