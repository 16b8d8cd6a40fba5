#pragma once

#include <string>

#include "ORV_Color.h"
#include "ORV_Material.h"
#include "d3dx9math.h"

// The abstract drawing interface of the scene graph: current attributes, a
// model-transform stack and a few shapes. The base is concrete and draws
// nothing (every shape and stack operation returns false); realisations
// override everything except ResetAttributes and SetTextureFileName. A
// helper lives for one drawing pass and owns only its attribute values.
class ORV_DrawHelper
{
public:
    ORV_DrawHelper();
    virtual ~ORV_DrawHelper();

    ORV_DrawHelper(const ORV_DrawHelper&) = delete;
    ORV_DrawHelper& operator=(const ORV_DrawHelper&) = delete;

    virtual bool DrawPoint(D3DXVECTOR3 position);
    virtual bool DrawLine(D3DXVECTOR3 start, D3DXVECTOR3 end);
    virtual bool DrawCircle(D3DXVECTOR3 center, float radius);
    // Spans the corners' x and y at z = 0 of the current model frame.
    virtual bool DrawRectangleXY(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2);
    // Spans the corners' x and z at y = 0 of the current model frame.
    virtual bool DrawRectangleXZ(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2);
    // Point size 1, both colours white, blending and texturing off.
    virtual bool ResetAttributes();
    // Composes T(translation) T(pivot) R S T(-pivot) onto the stack top;
    // rotation is row-vector convention.
    virtual bool AccumulateModelTransform(D3DXVECTOR3 translation, D3DXVECTOR3 scale, const D3DXMATRIX3X3& rotation,
                                          D3DXVECTOR3 pivot);
    virtual bool PushModelTransform();
    virtual bool PopModelTransform();
    virtual bool InitializeModelTransform();
    // Replaces *point by the point under the current stack top.
    virtual bool TransformPoint(D3DXVECTOR3* point);
    virtual void SetShadeMode(int mode);
    virtual void SetFillMode(int mode);
    virtual bool EnableBlending(bool on);
    virtual void SetTextureFileName(const wchar_t* name);
    virtual bool EnableTexture(bool on);
    virtual bool EnableLighting(bool on);

    void SetLod(int lod) { m_Lod = lod; }
    int GetLod() const { return m_Lod; }
    int GetShadeMode() const { return m_ShadeMode; }
    int GetFillMode() const { return m_FillMode; }

    // Each setter returns the value it replaced.
    float SetPointSize(float size);
    float GetPointSize() const { return m_PointSize; }
    ORV_Color SetColor(ORV_Color color);
    ORV_Color GetColor() const { return m_Color; }
    ORV_Color SetShadeColor(ORV_Color color);
    ORV_Color GetShadeColor() const { return m_ShadeColor; }
    ORV_Material SetMaterial(const ORV_Material& material);
    const ORV_Material& GetMaterial() const { return m_Material; }
    const wchar_t* GetTextureFileName() const { return m_TextureFileName.c_str(); }

protected:
    int m_Lod;
    int m_ShadeMode;  // 0 flat, 1 gouraud
    int m_FillMode;   // 0 points, 1 wireframe, 2 solid
    float m_PointSize;
    ORV_Color m_Color;
    ORV_Color m_ShadeColor;
    ORV_Material m_Material;
    std::wstring m_TextureFileName;
};
