#include "ORV_WindowHandler.h"

#include <cmath>
#include <limits>

#include "ORV_DrawHelper.h"
#include "ORV_MessageBox.h"

namespace {

// Halves away from zero, as colours round; a result beyond int is held at
// the limit rather than converted out of range.
int RoundHalfAway(float value)
{
    const double rounded = value > 0.0f ? std::floor(value + 0.5) : -std::floor(0.5 - value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<int>::min())))
        return std::numeric_limits<int>::min();
    if (rounded > static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}

}  // namespace

ORV_WindowHandler::ORV_WindowHandler() = default;

ORV_WindowHandler::~ORV_WindowHandler() = default;

bool ORV_WindowHandler::Initialize(HWND window)
{
    if (!IsWindow(window))
        return false;
    m_hWnd = window;
    return true;
}

void ORV_WindowHandler::ShutDown() {}

void ORV_WindowHandler::HandleMouseButton(bool, UINT, int, int) {}

void ORV_WindowHandler::HandleMouseMove(UINT, int, int) {}

void ORV_WindowHandler::SetWorldBounds(const ORV_BoundingBox& bounds)
{
    m_WorldBounds = bounds;
}

ORV_BoundingBox ORV_WindowHandler::GetWorldBounds()
{
    return m_WorldBounds;
}

void ORV_WindowHandler::SetWindowSize(int width, int height)
{
    if (const auto window = m_hWnd.Lock())
        window->SetClientSize(width, height);
}

void ORV_WindowHandler::GetWindowSize(int* width, int* height)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    *width = client.right - client.left;
    *height = client.bottom - client.top;
}

void ORV_WindowHandler::DeviceToWorld(int, int, D3DXVECTOR3* origin, D3DXVECTOR3* direction)
{
    *origin = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    *direction = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    ORV_MessageBox(HWND{}, L"ORV_WindowHandler::DeviceToWorld(): is not overrided-OnScreen picking will failed!!",
                   L"ORV_WindowHandler::DeviceToWorld", MB_OK);
}

void ORV_WindowHandler::DeviceToWorldXY(int x, int y, float* wx, float* wy)
{
    int w = 0;
    int h = 0;
    GetWindowSize(&w, &h);
    const D3DXVECTOR3 c = m_WorldBounds.GetCenter();
    // No client area maps every point to the centre instead of dividing by 0.
    if (w <= 0 || h <= 0) {
        *wx = c.x;
        *wy = c.y;
        return;
    }
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    *wx = (m_WorldBounds.Width() / fw) * (static_cast<float>(x) - fw / 2.0f) + c.x;
    *wy = (m_WorldBounds.Height() / fh) * (static_cast<float>(y) - fh / 2.0f) + c.y;
}

void ORV_WindowHandler::WorldToDeviceXY(float wx, float wy, int* x, int* y)
{
    int w = 0;
    int h = 0;
    GetWindowSize(&w, &h);
    const D3DXVECTOR3 c = m_WorldBounds.GetCenter();
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const float width = m_WorldBounds.Width();
    const float height = m_WorldBounds.Height();
    // An empty world extent shows everything at the window's centre.
    *x = RoundHalfAway(width != 0.0f ? (wx - c.x) * fw / width + fw / 2.0f : fw / 2.0f);
    *y = RoundHalfAway(height != 0.0f ? (wy - c.y) * fh / height + fh / 2.0f : fh / 2.0f);
}

void ORV_WindowHandler::DrawWorldBounds(ORV_DrawHelper& helper)
{
    helper.ResetAttributes();
    helper.SetShadeMode(0);
    helper.SetFillMode(1);
    helper.SetColor(ORV_Color(1.0f, 0.0f, 0.0f, 1.0f));
    helper.DrawRectangleXY(m_WorldBounds.GetMin(), m_WorldBounds.GetMax());
}

void ORV_WindowHandler::SetCamera(const ORV_Camera& camera)
{
    m_Camera = camera;
}

ORV_Camera* ORV_WindowHandler::GetCamera()
{
    return &m_Camera;
}

bool ORV_WindowHandler::HardwareToDevice(int x, int y, int* deviceX, int* deviceY)
{
    RECT client;
    if (!GetClientRect(m_hWnd, &client))
        return false;
    *deviceX = x;
    *deviceY = (client.bottom - client.top) - y;
    return true;
}

float ORV_WindowHandler::GetAspectRatio()
{
    RECT client;
    if (!GetClientRect(m_hWnd, &client))
        return 0.0f;
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    if (height < 1)
        return 0.0f;
    return static_cast<float>(width) / static_cast<float>(height);
}
