#include "ORV_Material.h"

ORV_Material::ORV_Material()
    : m_Diffuse(0.8f, 0.8f, 0.8f, 0.8f),
      m_Ambient(0.13f, 0.065f, 0.195f, 1.0f),
      m_Specular(0.2f, 0.2f, 0.2f, 0.2f),
      m_Emissive(0.1f, 0.1f, 0.1f, 0.1f),
      m_Power(1.0f)
{}
