// One Direct3D light: its D3DLIGHT9 record, the device light index it
// occupies, an on/off switch and a flag that shows a small marker of the
// light in the scene. The kinds differ only in the light type and the
// marker they draw.
//
// Owns its record; the device is fetched from the graphics system whenever
// the light is applied, and nothing is undone in the device on destruction.
#pragma once

#include "ORV_Color.h"
#include "d3d9.h"
#include "d3dx9math.h"

class ORV_DrawHelper;

class ORVD3D_Light
{
public:
    // The light starts off, without marker, at lightIndex (-1: none).
    explicit ORVD3D_Light(int lightIndex);
    virtual ~ORVD3D_Light();

    ORVD3D_Light(const ORVD3D_Light&) = delete;
    ORVD3D_Light& operator=(const ORVD3D_Light&) = delete;

    virtual void DrawMarker(ORV_DrawHelper& helper) = 0;

    void TurnOn() { m_IsOn = true; }
    void TurnOff() { m_IsOn = false; }
    bool IsOn() const { return m_IsOn; }
    void ShowMarker() { m_ShowMarker = true; }
    void HideMarker() { m_ShowMarker = false; }
    bool IsMarkerShown() const { return m_ShowMarker; }

    // The packed forms go through 8-bit channels; the four-float forms store
    // the floats unchanged.
    void SetDiffuse(ORV_Color color);
    void SetDiffuse(float r, float g, float b, float a);
    ORV_Color GetDiffuse() const;
    void SetSpecular(ORV_Color color);
    void SetSpecular(float r, float g, float b, float a);
    ORV_Color GetSpecular() const;
    void SetAmbient(ORV_Color color);
    void SetAmbient(float r, float g, float b, float a);
    ORV_Color GetAmbient() const;

    void SetPosition(float x, float y, float z);
    void SetPosition(const D3DXVECTOR3& position);
    void GetPosition(D3DXVECTOR3& out) const;
    void SetDirection(float x, float y, float z);
    void SetDirection(const D3DXVECTOR3& direction);
    void GetDirection(D3DXVECTOR3& out) const;

    // Spot cone angles in radians.
    void SetTheta(float theta) { m_Light.Theta = theta; }
    float GetTheta() const { return m_Light.Theta; }
    void SetPhi(float phi) { m_Light.Phi = phi; }
    float GetPhi() const { return m_Light.Phi; }
    void SetFalloff(float falloff) { m_Light.Falloff = falloff; }
    float GetFalloff() const { return m_Light.Falloff; }
    void SetRange(float range) { m_Light.Range = range; }
    void SetAttenuation0(float value) { m_Light.Attenuation0 = value; }
    void SetAttenuation1(float value) { m_Light.Attenuation1 = value; }
    void SetAttenuation2(float value) { m_Light.Attenuation2 = value; }

    int GetLightIndex() const { return m_LightIndex; }
    const D3DLIGHT9& GetLightRecord() const { return m_Light; }

    // On: the record goes to the device at the index and the index is
    // enabled. Off: the index is only disabled.
    void Apply();
    // The marker, when the light is on and its marker is wanted.
    void DrawLight(ORV_DrawHelper& helper);

protected:
    // The sphere marker of the point and spot lights: a temporary scene node
    // holding an unlit, flat "sphere.x" in the diffuse colour at the light's
    // position, scaled by scale (null: the mesh's own size).
    void DrawSphereMarker(ORV_DrawHelper& helper, const float* scale);

    bool m_IsOn = false;
    bool m_ShowMarker = false;
    int m_LightIndex;
    D3DLIGHT9 m_Light;
};
