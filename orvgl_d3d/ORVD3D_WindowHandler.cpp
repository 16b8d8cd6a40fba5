#include "ORVD3D_WindowHandler.h"

#include <cmath>

#include "ORVD3D_GraphicsSystem.h"

ORVD3D_WindowHandler::ORVD3D_WindowHandler() = default;

ORVD3D_WindowHandler::~ORVD3D_WindowHandler()
{
    ORVD3D_WindowHandler::ShutDown();
}

bool ORVD3D_WindowHandler::IsGraphicsReady()
{
    return m_pDevice != nullptr && m_pSwapChain != nullptr;
}

bool ORVD3D_WindowHandler::Initialize(HWND window)
{
    ShutDown();
    if (!ORV_WindowHandler::Initialize(window))
        return false;
    ORVD3D_GraphicsSystem& system = ORVD3D_GraphicsSystem::GetInstance();
    m_pDevice = system.GetD3DDevice();
    if (m_pDevice == nullptr)
        return false;
    m_pDevice->AddRef();
    m_pSwapChain = system.CreateSwapChain(window);
    return IsGraphicsReady();
}

void ORVD3D_WindowHandler::ShutDown()
{
    // A handler shut down in the middle of a frame would otherwise keep its
    // back buffer, and with it the swap chain and the device, alive.
    if (m_pBackBuffer != nullptr) {
        m_pBackBuffer->Release();
        m_pBackBuffer = nullptr;
    }
    if (m_pSwapChain != nullptr) {
        m_pSwapChain->Release();
        m_pSwapChain = nullptr;
    }
    if (m_pDevice != nullptr) {
        m_pDevice->Release();
        m_pDevice = nullptr;
    }
}

void ORVD3D_WindowHandler::BeginDraw()
{
    if (m_pSwapChain == nullptr || m_pDevice == nullptr)
        return;
    if (m_pBackBuffer != nullptr) {
        m_pBackBuffer->Release();
        m_pBackBuffer = nullptr;
    }
    if (FAILED(m_pSwapChain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &m_pBackBuffer)))
        m_pBackBuffer = nullptr;
    // Also resets the viewport to the whole back buffer.
    if (m_pBackBuffer != nullptr)
        m_pDevice->SetRenderTarget(0, m_pBackBuffer);
    m_pDevice->BeginScene();
}

void ORVD3D_WindowHandler::EndDraw()
{
    if (m_pDevice != nullptr)
        m_pDevice->EndScene();
    if (m_pSwapChain != nullptr)
        m_pSwapChain->Present(nullptr, nullptr, m_hWnd, nullptr, 0);
    if (m_pBackBuffer != nullptr) {
        m_pBackBuffer->Release();
        m_pBackBuffer = nullptr;
    }
}

void ORVD3D_WindowHandler::ComputeViewMatrix(D3DXMATRIX* out)
{
    D3DXMATRIX lookAt;
    D3DXMatrixLookAtRH(&lookAt, &m_Camera.m_Position, &m_Camera.m_LookAt, &m_Camera.m_UpVector);

    float angleX = 0.0f;
    float angleY = 0.0f;
    D3DXVECTOR3 axisX;
    D3DXVECTOR3 axisY;
    m_Camera.GetMouseRotation(&angleX, &axisX, &angleY, &axisY);
    D3DXMATRIX rotationX;
    D3DXMATRIX rotationY;
    D3DXMatrixRotationAxis(&rotationX, &axisX, angleX);
    D3DXMatrixRotationAxis(&rotationY, &axisY, angleY);

    // The world turns about its origin before the look-at applies: for a
    // camera looking at the origin, the camera orbits the scene.
    D3DXMATRIX rotation;
    D3DXMatrixMultiply(&rotation, &rotationY, &rotationX);
    D3DXMatrixMultiply(out, &rotation, &lookAt);
}

void ORVD3D_WindowHandler::ComputeProjectionMatrix(D3DXMATRIX* out)
{
    D3DXMatrixPerspectiveFovRH(out, m_Camera.GetFovRadians(), GetAspectRatio(), m_Camera.m_NearPlane,
                               m_Camera.m_FarPlane);
}

void ORVD3D_WindowHandler::SetupViewTransform()
{
    if (m_pDevice == nullptr)
        return;
    D3DXMATRIX view;
    ComputeViewMatrix(&view);
    m_pDevice->SetTransform(D3DTS_VIEW, &view);
}

void ORVD3D_WindowHandler::SetupProjection()
{
    if (m_pDevice == nullptr)
        return;
    D3DXMATRIX projection;
    ComputeProjectionMatrix(&projection);
    m_pDevice->SetTransform(D3DTS_PROJECTION, &projection);
}

void ORVD3D_WindowHandler::SetupWorldToNDC()
{
    if (m_pDevice == nullptr)
        return;
    const D3DXVECTOR3 c = m_WorldBounds.GetCenter();
    D3DXMATRIX translation;
    D3DXMATRIX scaling;
    D3DXMatrixTranslation(&translation, -c.x, -c.y, 0.0f);
    D3DXMatrixScaling(&scaling, 2.0f / m_WorldBounds.Width(), 2.0f / m_WorldBounds.Height(), 1.0f);
    D3DXMATRIX m;
    D3DXMatrixMultiply(&m, &translation, &scaling);
    m_pDevice->SetTransform(D3DTS_VIEW, &m);
}

void ORVD3D_WindowHandler::DeviceToWorld(int x, int y, D3DXVECTOR3* origin, D3DXVECTOR3* direction)
{
    D3DXMATRIX view;
    ComputeViewMatrix(&view);
    D3DXMATRIX inverse;
    D3DXMatrixIdentity(&inverse);
    D3DXMatrixInverse(&inverse, nullptr, &view);
    // The eye in world space, mouse rotation included.
    *origin = D3DXVECTOR3(inverse.m[3][0], inverse.m[3][1], inverse.m[3][2]);

    int w = 0;
    int h = 0;
    GetWindowSize(&w, &h);
    // No client area, no point to pick through.
    if (w <= 0 || h <= 0) {
        *direction = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return;
    }
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const float t = std::tan(m_Camera.GetFovRadians() / 2.0f);
    const float ta = (fw / fh) * t;

    const D3DXVECTOR3 eyePoint((2.0f * static_cast<float>(x) / fw - 1.0f) * ta,
                               (2.0f * static_cast<float>(y) / fh - 1.0f) * t, -1.0f);
    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, &eyePoint, &inverse);
    *direction = p - *origin;
}
