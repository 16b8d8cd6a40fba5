// A spot light; its marker is a sphere ("sphere.x" at its own size) at the
// light's position, in the light's diffuse colour.
//
// The marker is built afresh on every draw and owns nothing between draws.
#pragma once

#include "ORVD3D_Light.h"

class ORVD3D_SpotLight : public ORVD3D_Light
{
public:
    explicit ORVD3D_SpotLight(int lightIndex);
    ~ORVD3D_SpotLight() override;

    void DrawMarker(ORV_DrawHelper& helper) override;
};
