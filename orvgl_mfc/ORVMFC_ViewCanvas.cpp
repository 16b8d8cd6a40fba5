#include "ORVMFC_ViewCanvas.h"

#include <wx/dcclient.h>

#include "ORVMFC_CanvasSurface.h"
#include "orvgl_mfcuiwindow1.h"

namespace {

// What every view canvas asks of GL: a double-buffered RGBA window. The
// device renders into framebuffer objects with depth of their own, so the
// window needs no depth buffer; all canvases share one visual and so can
// share one context.
wxGLAttributes CanvasAttributes()
{
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().DoubleBuffer().EndList();
    return attributes;
}

}  // namespace

ORVMFC_ViewCanvas* ORVMFC_ViewCanvas::Create(ORVMFC_UIWindow* host, wxWindow* parent, int id, const wxRect& rect,
                                             long borderStyle)
{
    const wxGLAttributes attributes = CanvasAttributes();
    if (!wxGLCanvas::IsDisplaySupported(attributes))
        return nullptr;
    // Repainted whole on every resize, as a view is drawn whole.
    auto* canvas = new ORVMFC_ViewCanvas(host, parent, attributes, id, rect,
                                         (borderStyle & wxBORDER_MASK) | wxFULL_REPAINT_ON_RESIZE);
    if (!canvas->GetHandle()) {
        // Never became a window, so its parent does not hold it.
        delete canvas;
        return nullptr;
    }
    return canvas;
}

ORVMFC_ViewCanvas::ORVMFC_ViewCanvas(ORVMFC_UIWindow* host, wxWindow* parent, const wxGLAttributes& attributes, int id,
                                     const wxRect& rect, long style)
    : wxGLCanvas(parent, attributes, id, rect.GetPosition(), rect.GetSize(), style, wxS("ORVMFC_UIWindow")),
      m_pHost(host),
      m_Surface(std::make_shared<ORVMFC_CanvasSurface>(this))
{
    SetCursor(*wxSTANDARD_CURSOR);
    Bind(wxEVT_ERASE_BACKGROUND, &ORVMFC_ViewCanvas::OnEraseBackground, this);
    Bind(wxEVT_PAINT, &ORVMFC_ViewCanvas::OnPaint, this);
    for (const wxEventTypeTag<wxMouseEvent>& type : {wxEVT_LEFT_DOWN, wxEVT_MIDDLE_DOWN, wxEVT_RIGHT_DOWN, wxEVT_MOTION,
                                                     wxEVT_LEFT_UP, wxEVT_MIDDLE_UP, wxEVT_RIGHT_UP})
        Bind(type, &ORVMFC_ViewCanvas::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &ORVMFC_ViewCanvas::OnCaptureLost, this);
}

ORVMFC_ViewCanvas::~ORVMFC_ViewCanvas()
{
    // wx must not be left capturing the mouse for a window that is gone.
    if (HasCapture())
        ReleaseMouse();
    m_Surface->Detach();
    m_Surface.reset();
    if (m_pHost)
        m_pHost->CanvasDestroyed();
}

HWND ORVMFC_ViewCanvas::GetHwnd() const
{
    return HWND(std::static_pointer_cast<IWindowSurface>(m_Surface));
}

void ORVMFC_ViewCanvas::OnEraseBackground(wxEraseEvent& event)
{
    // Skipping lets wx erase; not skipping reports the background as erased.
    if (!m_pHost || !m_pHost->KeepsBackground())
        event.Skip();
}

void ORVMFC_ViewCanvas::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    if (m_pHost)
        m_pHost->Paint(dc);
}

void ORVMFC_ViewCanvas::OnMouse(wxMouseEvent& event)
{
    // Also let wx do its own handling (focus on a click).
    event.Skip();
    if (!m_pHost)
        return;
    if (event.ButtonDown())
        m_pHost->MouseButton(event, true);
    else if (event.ButtonUp())
        m_pHost->MouseButton(event, false);
    else if (event.GetEventType() == wxEVT_MOTION)
        m_pHost->MouseMove(event);
}

void ORVMFC_ViewCanvas::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    // Another window took the mouse (a message box, say); the release that
    // would have ended the drag goes there instead. Nothing to undo: the
    // handler's gesture simply stops receiving moves with a button held.
}
