// A directional light; its marker is an arrow at the light's position,
// turned from +X onto the light's direction, in the light's diffuse colour.
//
// The arrow is built afresh on every draw and owns nothing between draws.
#pragma once

#include "ORVD3D_Light.h"
#include "ORV_Quaternion.h"

class ORVD3D_DirectionalLight : public ORVD3D_Light
{
public:
    explicit ORVD3D_DirectionalLight(int lightIndex);
    ~ORVD3D_DirectionalLight() override;

    void DrawMarker(ORV_DrawHelper& helper) override;

    // The turn that takes the arrow's +X onto the (normalised) direction.
    ORV_Quaternion GetMarkerRotation() const;
};
