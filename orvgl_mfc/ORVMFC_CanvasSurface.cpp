// glBindFramebuffer is a GL 3.0 entry point, declared only with the prototypes.
#define GL_GLEXT_PROTOTYPES 1

#include "ORVMFC_CanvasSurface.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include <wx/glcanvas.h>
#include <wx/module.h>

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

struct SharedContextState
{
    std::unique_ptr<wxGLContext> context;
    std::uint64_t id = 0;
    bool refused = false;
};

SharedContextState& State()
{
    static SharedContextState state;
    return state;
}

// The context must go while wx still has its display: wx shuts its modules
// down before it closes the connection, long before static destructors run.
class SharedContextModule : public wxModule
{
public:
    bool OnInit() override { return true; }
    void OnExit() override { State().context.reset(); }

private:
    wxDECLARE_DYNAMIC_CLASS(SharedContextModule);
};

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(SharedContextModule, wxModule);

ORVMFC_CanvasSurface::ORVMFC_CanvasSurface(wxGLCanvas* canvas) : ORVMFC_WindowSurface(canvas), m_pCanvas(canvas) {}

namespace {

// A compatibility-profile context for canvas sharing objects with share;
// null when GL refuses.
std::unique_ptr<wxGLContext> MakeContext(wxGLCanvas& canvas, const wxGLContext* share)
{
    wxGLContextAttrs compatibility;
    compatibility.PlatformDefaults().CompatibilityProfile().EndList();
    auto context = std::make_unique<wxGLContext>(&canvas, share, &compatibility);
    if (!context->IsOK()) {
        // Without the profile extension the legacy context is the
        // compatibility profile anyway.
        context = std::make_unique<wxGLContext>(&canvas, share);
    }
    if (!context->IsOK())
        context.reset();
    return context;
}

}  // namespace

ORVMFC_CanvasSurface::~ORVMFC_CanvasSurface() = default;

wxGLContext* ORVMFC_CanvasSurface::SharedContext(wxGLCanvas& canvas)
{
    SharedContextState& state = State();
    if (state.context || state.refused)
        return state.context.get();
    state.context = MakeContext(canvas, nullptr);
    state.id = NewGLContextId();
    if (!state.context) {
        state.refused = true;
        std::fputs("View canvas: no OpenGL context could be created; the views stay empty\n", stderr);
    }
    return state.context.get();
}

void ORVMFC_CanvasSurface::GetDrawableSize(int* width, int* height) const
{
    GetClientSize(width, height);
    if (!m_pCanvas)
        return;
    // GTK gives the scale as a whole number; a fractional one rounds, as
    // the toolkit rounds the window it makes.
    const double scale = m_pCanvas->GetContentScaleFactor();
    if (scale > 0.0 && scale != 1.0) {
        *width = static_cast<int>(std::lround(*width * scale));
        *height = static_cast<int>(std::lround(*height * scale));
    }
}

bool ORVMFC_CanvasSurface::IsDrawable() const
{
    // wx asserts when a context is made current on, or buffers are swapped
    // in, a canvas that has no X window yet.
    return m_pCanvas && m_pCanvas->IsShownOnScreen() && m_pCanvas->GetXWindow() != 0;
}

bool ORVMFC_CanvasSurface::MakeCurrent()
{
    if (!IsDrawable())
        return false;
    if (!m_pContext) {
        wxGLContext* shared = SharedContext(*m_pCanvas);
        if (!shared)
            return false;
        m_OwnContext = MakeContext(*m_pCanvas, shared);
        if (m_OwnContext) {
            m_pContext = m_OwnContext.get();
            m_ContextId = NewGLContextId();
        } else {
            // Slow with a software renderer, but it draws.
            m_pContext = shared;
            m_ContextId = State().id;
        }
    }
    if (!m_pContext->SetCurrent(*m_pCanvas))
        return false;
    // The device draws into framebuffer objects of its own and expects the
    // window's drawable bound when it gets the context back. The GL device
    // offers no call for this, so it is the one GL call outside it.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return true;
}

void ORVMFC_CanvasSurface::SwapBuffers()
{
    if (IsDrawable())
        m_pCanvas->SwapBuffers();
}

void ORVMFC_CanvasSurface::Detach()
{
    m_pCanvas = nullptr;
    m_pContext = nullptr;
    m_OwnContext.reset();
    ORVMFC_WindowSurface::Detach();
}
