#pragma once

#include "ORV_Quaternion.h"
#include "d3dx9math.h"

class ORV_DrawHelper;

// The local transform of a scene node: translation, scale, pivot and a
// rotation quaternion. A point p of the node maps to its parent as
// T(translation) * T(pivot) * R * S * T(-pivot) in column-vector notation.
// A plain value type, copied freely; angles at the interface are degrees.
class ORV_XformInfo
{
public:
    ORV_XformInfo();

    void SetTranslation(float x, float y, float z);
    D3DXVECTOR3 GetTranslation() const { return m_Translation; }
    void SetScale(float x, float y, float z);
    D3DXVECTOR3 GetScale() const { return m_Scale; }
    void SetPivot(float x, float y, float z);
    D3DXVECTOR3 GetPivot() const { return m_Pivot; }
    void SetRotation(ORV_Quaternion rotation) { m_Rotation = rotation; }
    ORV_Quaternion GetRotation() const { return m_Rotation; }

    // Translation 0, scale 1, rotation identity; the pivot stays.
    void ClearXform();

    // Turns about the node's own (already rotated) axes.
    void RotateXDegrees(float degrees);
    void RotateYDegrees(float degrees);
    void RotateZDegrees(float degrees);
    void RotateX(float radians);
    void RotateY(float radians);
    void RotateZ(float radians);

    // Turns about the parent frame's axes: rotation := r (x) rotation.
    void Rotate(ORV_Quaternion r);

    // Row-vector convention (v' = v * M), from a normalised copy.
    D3DXMATRIX3X3 GetRotationMatrix() const;
    void SetRotationMatrix(const D3DXMATRIX3X3& matrix);

    // Composes this transform onto the top of the helper's model stack.
    bool SetUpModelTransform(ORV_DrawHelper& helper) const;

    // Draws a white-to-blue disc of the given radius at the pivot.
    bool DrawPivot(ORV_DrawHelper& helper, float radius) const;

    // Radians are turned into degrees with this factor (a little below 180/pi).
    static constexpr float kDegreesPerRadian = 57.2957763671875f;

private:
    void RotateAboutOwnAxis(D3DXVECTOR3 axis, float degrees);

    D3DXVECTOR3 m_Translation;
    D3DXVECTOR3 m_Scale;
    D3DXVECTOR3 m_Pivot;
    ORV_Quaternion m_Rotation;
};
