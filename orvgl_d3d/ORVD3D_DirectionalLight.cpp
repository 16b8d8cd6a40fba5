#include "ORVD3D_DirectionalLight.h"

#include <cmath>

#include "ORVD3D_PrimitiveMeshArrow.h"
#include "ORV_DrawHelper.h"
#include "ORV_XformInfo.h"

ORVD3D_DirectionalLight::ORVD3D_DirectionalLight(int lightIndex) : ORVD3D_Light(lightIndex)
{
    m_Light.Type = D3DLIGHT_DIRECTIONAL;
}

ORVD3D_DirectionalLight::~ORVD3D_DirectionalLight() = default;

ORV_Quaternion ORVD3D_DirectionalLight::GetMarkerRotation() const
{
    D3DXVECTOR3 d;
    GetDirection(d);
    D3DXVec3Normalize(&d, &d);
    const D3DXVECTOR3 x(1.0f, 0.0f, 0.0f);

    const float c = D3DXVec3Dot(&d, &x);
    // The cosine may leave [-1, 1] by a rounding step.
    const float angle = std::acos(std::fmax(-1.0f, std::fmin(1.0f, c)));
    D3DXVECTOR3 axis = x;
    if (std::fabs(c) <= 0.999f) {
        axis = D3DXVECTOR3(x.y * d.z - x.z * d.y, x.z * d.x - x.x * d.z, x.x * d.y - x.y * d.x);
    } else if (c < 0.0f) {
        // Nearly opposite to +X: a turn about X itself would leave the arrow
        // pointing along +X. Turn about the perpendicular that X x d gives
        // (exact while it has a length), or about Y when d is -X itself.
        const D3DXVECTOR3 perpendicular(x.y * d.z - x.z * d.y, x.z * d.x - x.x * d.z, x.x * d.y - x.y * d.x);
        axis = D3DXVec3Length(&perpendicular) > 1e-6f ? perpendicular : D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    }
    return ORV_Quaternion::FromAxisAngleDegrees(axis, angle * 57.2957763671875f);
}

void ORVD3D_DirectionalLight::DrawMarker(ORV_DrawHelper& helper)
{
    ORVD3D_PrimitiveMeshArrow arrow;
    arrow.SetColor(GetDiffuse());

    ORV_XformInfo xform;
    xform.SetTranslation(m_Light.Position.x, m_Light.Position.y, m_Light.Position.z);
    xform.SetScale(1.2f, 1.0f, 1.2f);
    xform.SetRotation(GetMarkerRotation());

    helper.PushModelTransform();
    xform.SetUpModelTransform(helper);
    arrow.Draw(helper.GetLod(), helper);
    helper.PopModelTransform();
}
