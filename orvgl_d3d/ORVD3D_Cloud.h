// A small cluster of seven spheres ("sphere.x"), drawn unlit in the
// primitive's colour: the game's decorative updraft clouds. With texturing
// (and blending) on, the primitive's texture shows on every sphere.
//
// Owns nothing beyond its attributes; the sphere is looked up on every use.
#pragma once

#include "ORV_Primitive.h"

class ORVD3D_Cloud : public ORV_Primitive
{
public:
    ORVD3D_Cloud();
    ~ORVD3D_Cloud() override;

    bool DrawPrimitive(int lod, ORV_DrawHelper& helper) override;
};
