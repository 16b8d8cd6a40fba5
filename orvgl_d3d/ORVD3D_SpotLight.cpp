#include "ORVD3D_SpotLight.h"

ORVD3D_SpotLight::ORVD3D_SpotLight(int lightIndex) : ORVD3D_Light(lightIndex)
{
    m_Light.Type = D3DLIGHT_SPOT;
}

ORVD3D_SpotLight::~ORVD3D_SpotLight() = default;

void ORVD3D_SpotLight::DrawMarker(ORV_DrawHelper& helper)
{
    DrawSphereMarker(helper, nullptr);
}
