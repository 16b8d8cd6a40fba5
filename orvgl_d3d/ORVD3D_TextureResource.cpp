#include "ORVD3D_TextureResource.h"

#include "d3dx9tex.h"

ORVD3D_TextureResource::~ORVD3D_TextureResource()
{
    ORVD3D_TextureResource::Unload();
}

void ORVD3D_TextureResource::Unload()
{
    ORVD3D_Resource::Unload();
    if (m_pTexture != nullptr) {
        m_pTexture->Release();
        m_pTexture = nullptr;
    }
}

bool ORVD3D_TextureResource::CreateFromPath(const wchar_t* locatedPath)
{
    if (m_pTexture != nullptr) {
        m_pTexture->Release();
        m_pTexture = nullptr;
    }
    return SUCCEEDED(D3DXCreateTextureFromFileW(m_pDevice, locatedPath, &m_pTexture)) && m_pTexture != nullptr;
}
