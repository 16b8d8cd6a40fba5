#pragma once

#include "ORV_Color.h"

// Surface material used when lighting is on: four colours and a specular
// power. A value type.
class ORV_Material
{
public:
    ORV_Material();

    void SetDiffuse(ORV_Color color) { m_Diffuse = color; }
    ORV_Color GetDiffuse() const { return m_Diffuse; }
    void SetAmbient(ORV_Color color) { m_Ambient = color; }
    ORV_Color GetAmbient() const { return m_Ambient; }
    void SetSpecular(ORV_Color color) { m_Specular = color; }
    ORV_Color GetSpecular() const { return m_Specular; }
    void SetEmissive(ORV_Color color) { m_Emissive = color; }
    ORV_Color GetEmissive() const { return m_Emissive; }
    void SetPower(float power) { m_Power = power; }
    float GetPower() const { return m_Power; }

    bool operator==(const ORV_Material& other) const
    {
        return m_Diffuse == other.m_Diffuse && m_Ambient == other.m_Ambient && m_Specular == other.m_Specular &&
               m_Emissive == other.m_Emissive && m_Power == other.m_Power;
    }
    bool operator!=(const ORV_Material& other) const { return !(*this == other); }

private:
    ORV_Color m_Diffuse;
    ORV_Color m_Ambient;
    ORV_Color m_Specular;
    ORV_Color m_Emissive;
    float m_Power;
};
