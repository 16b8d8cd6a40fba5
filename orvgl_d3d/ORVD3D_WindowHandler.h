// A window handler that draws with the graphics system's one device into a
// swap chain of its own window, and sets the device's view and projection
// from its camera. The game's view handlers derive from it and add what to
// draw.
//
// Holds one reference to the device and owns its swap chain (both released
// by ShutDown); the back buffer is held only between BeginDraw and EndDraw.
#pragma once

#include "ORV_WindowHandler.h"
#include "d3d9.h"

class ORVD3D_WindowHandler : public ORV_WindowHandler
{
public:
    ORVD3D_WindowHandler();
    // Shuts down, then the base.
    ~ORVD3D_WindowHandler() override;

    bool IsGraphicsReady() override;
    // Binds to window: takes a device reference and a swap chain for it.
    // Any earlier binding is shut down first.
    bool Initialize(HWND window) override;
    void ShutDown() override;
    // Back buffer 0 becomes render target 0; the scene begins.
    void BeginDraw() override;
    // The scene ends and the swap chain is presented into the window.
    void EndDraw() override;
    void DrawGraphics() override = 0;

    // The picking ray through a device point: origin at the eye (mouse
    // rotation included), direction to the point on the plane one unit in
    // front of the eye (not normalised).
    void DeviceToWorld(int x, int y, D3DXVECTOR3* origin, D3DXVECTOR3* direction) override;
    // Maps the world rectangle onto -1..1 in X and Y (the view transform).
    void SetupWorldToNDC() override;
    void SetupViewTransform() override;
    void SetupProjection() override;

    // Look-at matrix of the camera, preceded by the mouse rotation about the
    // world origin.
    void ComputeViewMatrix(D3DXMATRIX* out);
    void ComputeProjectionMatrix(D3DXMATRIX* out);

    IDirect3DSwapChain9* GetSwapChain() const { return m_pSwapChain; }

protected:
    IDirect3DDevice9* m_pDevice = nullptr;
    IDirect3DSwapChain9* m_pSwapChain = nullptr;
    IDirect3DSurface9* m_pBackBuffer = nullptr;
};
