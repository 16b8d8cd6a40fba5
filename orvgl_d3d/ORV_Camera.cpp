#include "ORV_Camera.h"

ORV_Camera::ORV_Camera()
    : m_Position(0.0f, 0.0f, -1.0f),
      m_LookAt(0.0f, 0.0f, 0.0f),
      m_UpVector(0.0f, 1.0f, 0.0f),
      m_Fov(45.0f),
      m_NearPlane(0.1f),
      m_FarPlane(100.0f),
      m_SavedRotationX(0.0f),
      m_SavedRotationY(0.0f),
      m_RotationX(0.0f),
      m_RotationY(0.0f),
      m_MouseX(0),
      m_MouseY(0),
      m_ZoomDirection(0.0f, 0.0f, 1.0f)
{}

void ORV_Camera::SetPerspective(float fov, float nearPlane, float farPlane)
{
    m_Fov = fov;
    m_NearPlane = nearPlane;
    m_FarPlane = farPlane;
}

void ORV_Camera::GetPerspective(float* fov, float* nearPlane, float* farPlane) const
{
    *fov = m_Fov;
    *nearPlane = m_NearPlane;
    *farPlane = m_FarPlane;
}

float ORV_Camera::GetFovRadians() const
{
    return m_Fov * kRadiansPerDegree;
}

void ORV_Camera::GetMouseRotation(float* angleX, D3DXVECTOR3* axisX, float* angleY, D3DXVECTOR3* axisY) const
{
    const D3DXVECTOR3 view = m_LookAt - m_Position;
    D3DXVec3Cross(axisX, &m_UpVector, &view);
    D3DXVec3Normalize(axisX, axisX);
    *axisY = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    *angleX = m_RotationX * kRadiansPerDegree;
    *angleY = m_RotationY * kRadiansPerDegree;
}

void ORV_Camera::ResetRotation()
{
    m_RotationX = 0.0f;
    m_RotationY = 0.0f;
}

void ORV_Camera::BeginRotate(int x, int y)
{
    m_SavedRotationX = m_RotationX;
    m_SavedRotationY = m_RotationY;
    m_MouseX = x;
    m_MouseY = y;
}

void ORV_Camera::RotateTo(int x, int y)
{
    // Vertical motion turns about the side axis, horizontal about world Y.
    m_RotationX = m_SavedRotationX + static_cast<float>(y - m_MouseY);
    m_RotationY = m_SavedRotationY + static_cast<float>(x - m_MouseX);
}

void ORV_Camera::BeginTrack(int x, int y)
{
    m_MouseX = x;
    m_MouseY = y;
}

void ORV_Camera::TrackTo(int x, int y)
{
    const float dx = static_cast<float>(x - m_MouseX) * 0.1f;
    const float dy = static_cast<float>(y - m_MouseY) * 0.1f;

    const D3DXVECTOR3 view = m_LookAt - m_Position;
    D3DXVECTOR3 side;
    D3DXVec3Cross(&side, &m_UpVector, &view);
    D3DXVec3Normalize(&side, &side);
    D3DXVECTOR3 up;
    D3DXVec3Cross(&up, &view, &side);
    D3DXVec3Normalize(&up, &up);

    const D3DXVECTOR3 delta = dy * up + (-dx) * side;
    m_Position -= delta;
    m_LookAt -= delta;
    BeginTrack(x, y);
}

void ORV_Camera::BeginZoom(int x)
{
    m_MouseX = x;
}

void ORV_Camera::ZoomTo(int x)
{
    const float d = static_cast<float>(x - m_MouseX) * 0.1f;

    const D3DXVECTOR3 view = m_LookAt - m_Position;
    const float length = D3DXVec3Length(&view);
    D3DXVECTOR3 direction;
    D3DXVec3Normalize(&direction, &view);
    // An eye sitting on the look-at point has no view direction of its own;
    // without one it could never leave. It leaves along the last direction
    // it had, so a long drag carries it through the point.
    if (D3DXVec3LengthSq(&direction) > 0.0f)
        m_ZoomDirection = direction;
    else
        direction = m_ZoomDirection;

    m_Position = m_LookAt - direction * (length + d);
    BeginZoom(x);
}
