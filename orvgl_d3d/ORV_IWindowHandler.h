// What a view window needs of the object that draws into it: binding to the
// window, a draw bracket, drawing, and mouse input. The view host window
// forwards painting and mouse messages through this interface.
//
// A handler owns whatever it creates for its window; it never owns the
// window itself.
#pragma once

#include "Window.h"
#include "wintypes.h"

class ORV_IWindowHandler
{
public:
    virtual ~ORV_IWindowHandler() {}

    virtual bool IsGraphicsReady() = 0;
    virtual bool Initialize(HWND window) = 0;
    virtual void ShutDown() = 0;
    virtual void BeginDraw() = 0;
    virtual void EndDraw() = 0;
    virtual void DrawGraphics() = 0;
    // x and y are window client coordinates; keyFlags the MK_ flags.
    virtual void HandleMouseButton(bool down, UINT keyFlags, int x, int y) = 0;
    virtual void HandleMouseMove(UINT keyFlags, int x, int y) = 0;
};
