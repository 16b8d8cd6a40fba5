#include "ORVD3D_Light.h"

#include <memory>

#include "ORVD3D_GraphicsSystem.h"
#include "ORVD3D_PrimitiveMesh.h"
#include "ORV_DrawHelper.h"
#include "ORV_SceneNode.h"

namespace {

D3DCOLORVALUE ToColorValue(ORV_Color color)
{
    return {color.GetRf(), color.GetGf(), color.GetBf(), color.GetAf()};
}

ORV_Color FromColorValue(const D3DCOLORVALUE& value)
{
    return ORV_Color(value.r, value.g, value.b, value.a);
}

}  // namespace

ORVD3D_Light::ORVD3D_Light(int lightIndex) : m_LightIndex(lightIndex), m_Light{}
{
    m_Light.Diffuse = {0.8f, 0.8f, 0.8f, 1.0f};
    m_Light.Specular = {0.2f, 0.2f, 0.2f, 1.0f};
    m_Light.Ambient = {0.1f, 0.1f, 0.1f, 1.0f};
    m_Light.Position = {0.0f, 0.0f, 0.0f};
    m_Light.Direction = {0.0f, -1.0f, 0.0f};
    SetRange(200.0f);
    SetFalloff(1.0f);
    SetAttenuation0(1.0f);
    SetAttenuation1(0.0f);
    SetAttenuation2(0.0f);
    SetTheta(0.7853982f);
    SetPhi(1.0471976f);
}

ORVD3D_Light::~ORVD3D_Light() = default;

void ORVD3D_Light::SetDiffuse(ORV_Color color)
{
    m_Light.Diffuse = ToColorValue(color);
}
void ORVD3D_Light::SetDiffuse(float r, float g, float b, float a)
{
    m_Light.Diffuse = {r, g, b, a};
}
ORV_Color ORVD3D_Light::GetDiffuse() const
{
    return FromColorValue(m_Light.Diffuse);
}
void ORVD3D_Light::SetSpecular(ORV_Color color)
{
    m_Light.Specular = ToColorValue(color);
}
void ORVD3D_Light::SetSpecular(float r, float g, float b, float a)
{
    m_Light.Specular = {r, g, b, a};
}
ORV_Color ORVD3D_Light::GetSpecular() const
{
    return FromColorValue(m_Light.Specular);
}
void ORVD3D_Light::SetAmbient(ORV_Color color)
{
    m_Light.Ambient = ToColorValue(color);
}
void ORVD3D_Light::SetAmbient(float r, float g, float b, float a)
{
    m_Light.Ambient = {r, g, b, a};
}
ORV_Color ORVD3D_Light::GetAmbient() const
{
    return FromColorValue(m_Light.Ambient);
}

void ORVD3D_Light::SetPosition(float x, float y, float z)
{
    m_Light.Position = {x, y, z};
}
void ORVD3D_Light::SetPosition(const D3DXVECTOR3& position)
{
    m_Light.Position = position;
}
void ORVD3D_Light::GetPosition(D3DXVECTOR3& out) const
{
    out = m_Light.Position;
}
void ORVD3D_Light::SetDirection(float x, float y, float z)
{
    m_Light.Direction = {x, y, z};
}
void ORVD3D_Light::SetDirection(const D3DXVECTOR3& direction)
{
    m_Light.Direction = direction;
}
void ORVD3D_Light::GetDirection(D3DXVECTOR3& out) const
{
    out = m_Light.Direction;
}

void ORVD3D_Light::Apply()
{
    IDirect3DDevice9* device = ORVD3D_GraphicsSystem::GetInstance().GetD3DDevice();
    // Any negative index names no light (it would wrap to a huge DWORD).
    if (device == nullptr || m_LightIndex < 0)
        return;
    const auto index = static_cast<DWORD>(m_LightIndex);
    if (m_IsOn) {
        device->SetLight(index, &m_Light);
        device->LightEnable(index, TRUE);
    } else {
        // The record in the device is left as it was.
        device->LightEnable(index, FALSE);
    }
}

void ORVD3D_Light::DrawLight(ORV_DrawHelper& helper)
{
    if (IsOn() && IsMarkerShown())
        DrawMarker(helper);
}

void ORVD3D_Light::DrawSphereMarker(ORV_DrawHelper& helper, const float* scale)
{
    ORV_SceneNode node(L"SceneNode");
    ORV_XformInfo xform = node.GetXformInfo();
    xform.SetTranslation(m_Light.Position.x, m_Light.Position.y, m_Light.Position.z);
    if (scale != nullptr)
        xform.SetScale(*scale, *scale, *scale);
    node.SetXformInfo(xform);

    auto sphere = std::make_unique<ORVD3D_PrimitiveMesh>(L"sphere.x");
    sphere->SetLighting(false);
    sphere->SetShadeMode(0);
    sphere->SetColor(GetDiffuse());
    // The node owns the sphere from here and frees it with itself.
    node.SetPrimitive(sphere.release());
    node.Draw(helper.GetLod(), helper);
}
