#pragma once

#include <string>

#include "ORV_Color.h"
#include "ORV_Material.h"
#include "d3dx9math.h"

class ORV_BoundingVolume;
class ORV_DrawHelper;

// Base of everything drawable: the attribute set of one drawable and the
// order in which it is drawn (attributes, then shape, then, if asked, its
// bounding volume). A scene node owns its primitive; a primitive owns only
// its attribute values and whatever volume its shape keeps.
class ORV_Primitive
{
public:
    ORV_Primitive();
    virtual ~ORV_Primitive();

    ORV_Primitive(const ORV_Primitive&) = delete;
    ORV_Primitive& operator=(const ORV_Primitive&) = delete;

    // Advances the shape by velocity * elapsed; the base does nothing.
    virtual void Update(float elapsed);
    // Interactive placement in the shape's plane; the base does nothing.
    virtual void MouseDownVertex(int continuing, float x, float y);
    virtual void MouseMoveVertex(float x, float y);
    // The shape's reference point; the base returns the origin.
    virtual D3DXVECTOR3 GetLocation();
    // A volume owned and kept current by the primitive, or null. Callers
    // neither free nor keep it.
    virtual ORV_BoundingVolume* GetBoundingVolume(int lod);
    // Keeps the speed and turns the velocity to point from point towards
    // the primitive's location.
    virtual void MoveAwayFrom(int ignored, D3DXVECTOR3 point);
    virtual void SetupDrawAttributes(ORV_DrawHelper& helper);
    virtual bool DrawPrimitive(int lod, ORV_DrawHelper& helper) = 0;

    void Draw(int lod, ORV_DrawHelper& helper);
    void DrawBoundingVolume(int lod, ORV_DrawHelper* helper, ORV_Color color);

    void SetVisible(bool visible) { m_Visible = visible; }
    bool IsVisible() const { return m_Visible; }
    void SetVelocity(float x, float y, float z) { m_Velocity = D3DXVECTOR3(x, y, z); }
    D3DXVECTOR3 GetVelocity() const { return m_Velocity; }
    void SetColor(ORV_Color color) { m_Color = color; }
    ORV_Color GetColor() const { return m_Color; }
    void SetShadeColor(ORV_Color color) { m_ShadeColor = color; }
    ORV_Color GetShadeColor() const { return m_ShadeColor; }
    void SetFillMode(int mode) { m_FillMode = mode; }
    int GetFillMode() const { return m_FillMode; }
    void SetShadeMode(int mode) { m_ShadeMode = mode; }
    int GetShadeMode() const { return m_ShadeMode; }
    void SetPointSize(float size) { m_PointSize = size; }
    float GetPointSize() const { return m_PointSize; }
    void SetDrawBoundingVolume(bool on) { m_DrawBoundingVolume = on; }
    bool IsDrawBoundingVolume() const { return m_DrawBoundingVolume; }
    void SetBlending(bool on) { m_Blending = on; }
    bool IsBlending() const { return m_Blending; }
    void SetTexturing(bool on) { m_Texturing = on; }
    bool IsTexturing() const { return m_Texturing; }
    void SetLighting(bool on) { m_Lighting = on; }
    bool IsLighting() const { return m_Lighting; }
    void SetMaterial(const ORV_Material& material) { m_Material = material; }
    ORV_Material GetMaterial() const { return m_Material; }
    void SetTextureFileName(const wchar_t* name);
    const wchar_t* GetTextureFileName() const { return m_TextureFileName.c_str(); }

    // True when no velocity component exceeds 1e-9 in absolute value.
    bool IsStationary() const;

protected:
    bool m_Visible;
    D3DXVECTOR3 m_Velocity;
    ORV_Color m_Color;
    ORV_Color m_ShadeColor;
    int m_FillMode;   // 0 points, 1 wireframe, 2 solid
    int m_ShadeMode;  // 0 flat, 1 gouraud
    float m_PointSize;
    bool m_DrawBoundingVolume;
    bool m_Blending;
    bool m_Texturing;
    bool m_Lighting;
    ORV_Material m_Material;
    std::wstring m_TextureFileName;
};
