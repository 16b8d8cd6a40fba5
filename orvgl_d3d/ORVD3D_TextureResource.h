// A texture loaded from an image file; owned by the graphics system's texture
// table, which hands it out by file name. Owns one reference to its texture.
#pragma once

#include "ORVD3D_Resource.h"

class ORVD3D_TextureResource : public ORVD3D_Resource
{
public:
    ORVD3D_TextureResource() = default;
    ~ORVD3D_TextureResource() override;

    void Unload() override;
    bool CreateFromPath(const wchar_t* locatedPath) override;

    IDirect3DTexture9* GetD3DTexture() const { return m_pTexture; }

protected:
    IDirect3DTexture9* m_pTexture = nullptr;
};
