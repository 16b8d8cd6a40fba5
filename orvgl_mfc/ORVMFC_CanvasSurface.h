// The surface of a view's GL canvas: what the OpenGL device draws through.
// Each canvas has a GL context of its own (compatibility profile: the device
// uses GL 2.1 fixed function plus framebuffer objects), made on its first
// MakeCurrent and sharing textures, buffers and renderbuffers with every
// other canvas's through the program's first context. A context stays on
// its canvas: one context moved between windows makes a software renderer
// reallocate the window's buffers at every move. (Should GL refuse a
// canvas a context of its own, the canvas draws with the first one.)
//
// Ownership: the canvas holds its surface and detaches it when it is
// destroyed (see ORVMFC_WindowSurface), which deletes the surface's
// context. The program's first context lives until wx shuts down.
#pragma once

#include <cstdint>
#include <memory>

#include "ORVMFC_WindowSurface.h"

class wxGLCanvas;
class wxGLContext;

class ORVMFC_CanvasSurface final : public ORVMFC_WindowSurface
{
public:
    explicit ORVMFC_CanvasSurface(wxGLCanvas* canvas);
    ~ORVMFC_CanvasSurface() override;

    // The client size in the screen's pixels (times the canvas's content
    // scale).
    void GetDrawableSize(int* width, int* height) const override;
    // Makes the canvas's context current with the canvas's own drawable
    // bound. False while the canvas is not on screen (GTK has no drawable
    // for it yet) or when no GL context can be had.
    bool MakeCurrent() override;
    void SwapBuffers() override;
    std::uint64_t GLContextId() const override { return m_ContextId; }
    void Detach() override;

    // The program's first context, created for canvas on first need and
    // shared by every canvas's own; null when GL refused it (said once on
    // stderr).
    static wxGLContext* SharedContext(wxGLCanvas& canvas);

private:
    bool IsDrawable() const;

    wxGLCanvas* m_pCanvas;
    wxGLContext* m_pContext = nullptr;  // m_OwnContext, or the program's first
    std::unique_ptr<wxGLContext> m_OwnContext;
    std::uint64_t m_ContextId = 0;
};
