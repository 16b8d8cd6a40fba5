#include "ORVD3D_PointLight.h"

ORVD3D_PointLight::ORVD3D_PointLight(int lightIndex) : ORVD3D_Light(lightIndex)
{
    m_Light.Type = D3DLIGHT_POINT;
}

ORVD3D_PointLight::~ORVD3D_PointLight() = default;

void ORVD3D_PointLight::DrawMarker(ORV_DrawHelper& helper)
{
    const float scale = 0.3f;
    DrawSphereMarker(helper, &scale);
}
