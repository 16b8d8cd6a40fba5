// The platform-neutral part of a window handler: the view window's handle,
// a 2-D world rectangle (for 2-D views) and the view's camera, with the
// coordinate mappings between window, device and world.
//
// Owns its camera and world rectangle by value. The window handle is weak:
// once the window is gone, IsWindow says so and the mappings give up.
#pragma once

#include "ORV_BoundingBox.h"
#include "ORV_Camera.h"
#include "ORV_IWindowHandler.h"
#include "d3dx9math.h"

class ORV_DrawHelper;

class ORV_WindowHandler : public ORV_IWindowHandler
{
public:
    ORV_WindowHandler();
    ~ORV_WindowHandler() override;

    bool IsGraphicsReady() override = 0;
    // Stores the handle and returns true when it names a window.
    bool Initialize(HWND window) override;
    void ShutDown() override;
    void BeginDraw() override = 0;
    void EndDraw() override = 0;
    void DrawGraphics() override = 0;
    void HandleMouseButton(bool down, UINT keyFlags, int x, int y) override;
    void HandleMouseMove(UINT keyFlags, int x, int y) override;

    virtual void SetWorldBounds(const ORV_BoundingBox& bounds);
    virtual ORV_BoundingBox GetWorldBounds();
    // Resizes the client area, keeping the window's top-left corner.
    virtual void SetWindowSize(int width, int height);
    // Client-area size; 0 x 0 when the window is gone.
    virtual void GetWindowSize(int* width, int* height);
    // The picking ray through a device point. This level cannot compute it:
    // both vectors become zero and a message says so.
    virtual void DeviceToWorld(int x, int y, D3DXVECTOR3* origin, D3DXVECTOR3* direction);
    // Device point to the 2-D world rectangle, and back.
    virtual void DeviceToWorldXY(int x, int y, float* wx, float* wy);
    virtual void WorldToDeviceXY(float wx, float wy, int* x, int* y);
    virtual void SetupWorldToNDC() = 0;
    // The world rectangle as a red wireframe rectangle.
    virtual void DrawWorldBounds(ORV_DrawHelper& helper);
    virtual void SetCamera(const ORV_Camera& camera);
    virtual ORV_Camera* GetCamera();
    virtual void SetupViewTransform() = 0;
    virtual void SetupProjection() = 0;

    // Window coordinates (origin top-left, Y down) to device coordinates
    // (origin bottom-left, Y up); false when the window is gone.
    bool HardwareToDevice(int x, int y, int* deviceX, int* deviceY);
    // Client width over height; 0 for a missing or zero-height window.
    float GetAspectRatio();

    HWND GetWindow() const { return m_hWnd; }

protected:
    HWND m_hWnd;
    ORV_BoundingBox m_WorldBounds;
    ORV_Camera m_Camera;
};
