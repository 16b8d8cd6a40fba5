// The surface of a view's GL canvas: what the OpenGL device draws through.
// All canvases share the one GL context of the program (compatibility
// profile: the device uses GL 2.1 fixed function plus framebuffer objects),
// created on the first MakeCurrent and deleted when wx shuts down.
//
// Ownership: the canvas holds its surface and detaches it when it is
// destroyed (see ORVMFC_WindowSurface).
#pragma once

#include "ORVMFC_WindowSurface.h"

class wxGLCanvas;
class wxGLContext;

class ORVMFC_CanvasSurface final : public ORVMFC_WindowSurface
{
public:
    explicit ORVMFC_CanvasSurface(wxGLCanvas* canvas);

    // Makes the shared context current on the canvas with the canvas's own
    // drawable bound. False while the canvas is not on screen (GTK has no
    // drawable for it yet) or when no GL context can be had.
    bool MakeCurrent() override;
    void SwapBuffers() override;
    void Detach() override;

    // The program's context, created for canvas on first need; null when
    // GL refused it (said once on stderr).
    static wxGLContext* SharedContext(wxGLCanvas& canvas);

private:
    bool IsDrawable() const;

    wxGLCanvas* m_pCanvas;
};
