// An arrow one unit long along +X, drawn unlit in the primitive's colour: a
// shaft from "cylinder.x" and a head from "cone.x", both from the shared mesh
// table. Used by the axis primitive and the directional light's marker.
//
// Owns nothing beyond its attributes; the meshes are looked up on every draw.
#pragma once

#include "ORV_Primitive.h"

class ORVD3D_PrimitiveMeshArrow : public ORV_Primitive
{
public:
    ORVD3D_PrimitiveMeshArrow();
    ~ORVD3D_PrimitiveMeshArrow() override;

    // Draws nothing (false) unless both meshes can be had.
    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;
};
