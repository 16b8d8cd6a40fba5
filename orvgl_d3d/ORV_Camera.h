// The camera of a view: eye, look-at point, up vector, a perspective, and
// the state of the three mouse gestures (rotate, track, zoom). A plain value
// record owned by its window handler; the game sets its fields through the
// handler's GetCamera.
//
// Gestures take device coordinates (origin bottom-left, Y up). Rotation is
// kept as two angles in degrees that the view matrix applies about the
// world origin; tracking and zooming move the eye (and for tracking the
// look-at point) directly.
#pragma once

#include "d3dx9math.h"

class ORV_Camera
{
public:
    ORV_Camera();

    void SetPerspective(float fov, float nearPlane, float farPlane);
    void GetPerspective(float* fov, float* nearPlane, float* farPlane) const;

    void SetPosition(float x, float y, float z) { m_Position = D3DXVECTOR3(x, y, z); }
    void SetPosition(const D3DXVECTOR3& position) { m_Position = position; }
    D3DXVECTOR3 GetPosition() const { return m_Position; }
    void SetLookAt(float x, float y, float z) { m_LookAt = D3DXVECTOR3(x, y, z); }
    void SetLookAt(const D3DXVECTOR3& lookAt) { m_LookAt = lookAt; }
    D3DXVECTOR3 GetLookAt() const { return m_LookAt; }
    void SetUpVector(float x, float y, float z) { m_UpVector = D3DXVECTOR3(x, y, z); }
    void SetUpVector(const D3DXVECTOR3& up) { m_UpVector = up; }
    D3DXVECTOR3 GetUpVector() const { return m_UpVector; }

    // Vertical field of view in degrees.
    float GetFov() const { return m_Fov; }
    void SetFov(float fov) { m_Fov = fov; }
    float GetFovRadians() const;
    float GetNearPlane() const { return m_NearPlane; }
    void SetNearPlane(float nearPlane) { m_NearPlane = nearPlane; }
    float GetFarPlane() const { return m_FarPlane; }
    void SetFarPlane(float farPlane) { m_FarPlane = farPlane; }

    // The mouse rotation as two turns in radians: angleX about the camera's
    // side axis (up x view), angleY about world Y.
    void GetMouseRotation(float* angleX, D3DXVECTOR3* axisX, float* angleY, D3DXVECTOR3* axisY) const;
    // Current angles to 0; the saved angles and the anchor stay.
    void ResetRotation();

    // One device pixel turns one degree; the anchor stays put, so the
    // angles follow the whole drag since BeginRotate.
    void BeginRotate(int x, int y);
    void RotateTo(int x, int y);
    // 0.1 scene units per pixel, sideways and up; incremental.
    void BeginTrack(int x, int y);
    void TrackTo(int x, int y);
    // 0.1 scene units per pixel of horizontal motion: right moves the eye
    // away from the look-at point, left towards and, past it, through it.
    void BeginZoom(int x);
    void ZoomTo(int x);

    D3DXVECTOR3 m_Position;
    D3DXVECTOR3 m_LookAt;
    D3DXVECTOR3 m_UpVector;
    float m_Fov;
    float m_NearPlane;
    float m_FarPlane;
    float m_SavedRotationX;
    float m_SavedRotationY;
    float m_RotationX;
    float m_RotationY;
    int m_MouseX;
    int m_MouseY;
    // The unit view direction of the last zoom step that had one: the way
    // out for an eye that lands exactly on the look-at point.
    D3DXVECTOR3 m_ZoomDirection;

    // Degrees to radians, pi/180 rounded to single precision.
    static constexpr float kRadiansPerDegree = 0.0174532924f;
};
