#include "ORV_XformInfo.h"

#include <cmath>
#include <limits>

#include "ORV_Color.h"
#include "ORV_DrawHelper.h"

ORV_XformInfo::ORV_XformInfo() : m_Translation(0.0f, 0.0f, 0.0f), m_Scale(1.0f, 1.0f, 1.0f), m_Pivot(0.0f, 0.0f, 0.0f)
{}

void ORV_XformInfo::SetTranslation(float x, float y, float z)
{
    m_Translation = D3DXVECTOR3(x, y, z);
}

void ORV_XformInfo::SetScale(float x, float y, float z)
{
    m_Scale = D3DXVECTOR3(x, y, z);
}

void ORV_XformInfo::SetPivot(float x, float y, float z)
{
    m_Pivot = D3DXVECTOR3(x, y, z);
}

void ORV_XformInfo::ClearXform()
{
    m_Translation = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_Scale = D3DXVECTOR3(1.0f, 1.0f, 1.0f);
    m_Rotation = ORV_Quaternion();
}

void ORV_XformInfo::RotateAboutOwnAxis(D3DXVECTOR3 axis, float degrees)
{
    // The new turn stands on the right, so it acts about the node's own
    // (already rotated) axis. No renormalisation: GetRotationMatrix
    // normalises a copy.
    m_Rotation = m_Rotation * ORV_Quaternion::FromAxisAngleDegrees(axis, degrees);
}

void ORV_XformInfo::RotateXDegrees(float degrees)
{
    RotateAboutOwnAxis(D3DXVECTOR3(1.0f, 0.0f, 0.0f), degrees);
}

void ORV_XformInfo::RotateYDegrees(float degrees)
{
    RotateAboutOwnAxis(D3DXVECTOR3(0.0f, 1.0f, 0.0f), degrees);
}

void ORV_XformInfo::RotateZDegrees(float degrees)
{
    RotateAboutOwnAxis(D3DXVECTOR3(0.0f, 0.0f, 1.0f), degrees);
}

void ORV_XformInfo::RotateX(float radians)
{
    RotateXDegrees(radians * kDegreesPerRadian);
}

void ORV_XformInfo::RotateY(float radians)
{
    RotateYDegrees(radians * kDegreesPerRadian);
}

void ORV_XformInfo::RotateZ(float radians)
{
    RotateZDegrees(radians * kDegreesPerRadian);
}

void ORV_XformInfo::Rotate(ORV_Quaternion r)
{
    // r on the left: the turn acts about the parent frame's axes.
    m_Rotation = r * m_Rotation;
}

D3DXMATRIX3X3 ORV_XformInfo::GetRotationMatrix() const
{
    ORV_Quaternion q = m_Rotation;
    const float length = q.Length();
    if (std::fabs(length - 0.0f) > std::numeric_limits<float>::epsilon()) {
        q.x /= length;
        q.y /= length;
        q.z /= length;
        q.w /= length;
    }
    const float x = q.x, y = q.y, z = q.z, w = q.w;

    // Column-vector form first ...
    const float c[3][3] = {
        {1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - z * w), 2.0f * (x * z + y * w)},
        {2.0f * (x * y + z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - x * w)},
        {2.0f * (x * z - y * w), 2.0f * (y * z + x * w), 1.0f - 2.0f * (x * x + y * y)},
    };
    // ... then transposed for the row-vector convention of the draw helper.
    D3DXMATRIX3X3 result;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            result.m[row][col] = c[col][row];
    return result;
}

void ORV_XformInfo::SetRotationMatrix(const D3DXMATRIX3X3& matrix)
{
    // Back to the column-vector convention: M[r][c] = matrix[c][r].
    auto M = [&matrix](int r, int c) { return matrix.m[c][r]; };

    const float t = M(0, 0) + M(1, 1) + M(2, 2) + 1.0f;
    float x, y, z, w;
    if (t > 0.01f) {
        const float S = 0.5f / std::sqrt(t);
        w = 0.25f / S;
        x = (M(2, 1) - M(1, 2)) * S;
        y = (M(0, 2) - M(2, 0)) * S;
        z = (M(1, 0) - M(0, 1)) * S;
    } else if (M(0, 0) > M(1, 1) && M(0, 0) > M(2, 2)) {
        const float S = 2.0f * std::sqrt(1.0f + M(0, 0) - M(1, 1) - M(2, 2));
        x = 0.25f * S;
        y = (M(0, 1) + M(1, 0)) / S;
        z = (M(0, 2) + M(2, 0)) / S;
        w = (M(2, 1) - M(1, 2)) / S;
    } else if (M(1, 1) > M(2, 2)) {
        const float S = 2.0f * std::sqrt(1.0f + M(1, 1) - M(0, 0) - M(2, 2));
        x = (M(0, 1) + M(1, 0)) / S;
        y = 0.25f * S;
        z = (M(1, 2) + M(2, 1)) / S;
        w = (M(0, 2) - M(2, 0)) / S;
    } else {
        const float S = 2.0f * std::sqrt(1.0f + M(2, 2) - M(0, 0) - M(1, 1));
        x = (M(0, 2) + M(2, 0)) / S;
        y = (M(1, 2) + M(2, 1)) / S;
        z = 0.25f * S;
        w = (M(1, 0) - M(0, 1)) / S;
    }
    m_Rotation = ORV_Quaternion(x, y, z, w);
}

bool ORV_XformInfo::SetUpModelTransform(ORV_DrawHelper& helper) const
{
    return helper.AccumulateModelTransform(m_Translation, m_Scale, GetRotationMatrix(), m_Pivot);
}

bool ORV_XformInfo::DrawPivot(ORV_DrawHelper& helper, float radius) const
{
    helper.ResetAttributes();
    helper.SetColor(ORV_Color(1.0f, 1.0f, 1.0f, 1.0f));
    helper.SetShadeColor(ORV_Color(0.0f, 0.0f, 1.0f, 1.0f));
    helper.SetFillMode(2);
    helper.SetShadeMode(1);
    return helper.DrawCircle(m_Pivot, radius);
}
