// A point light; its marker is a small sphere ("sphere.x" scaled 0.3) at the
// light's position, in the light's diffuse colour.
//
// The marker is built afresh on every draw and owns nothing between draws.
#pragma once

#include "ORVD3D_Light.h"

class ORVD3D_PointLight : public ORVD3D_Light
{
public:
    explicit ORVD3D_PointLight(int lightIndex);
    ~ORVD3D_PointLight() override;

    void DrawMarker(ORV_DrawHelper& helper) override;
};
