// The GL canvas of a view host window (ORVMFC_UIWindow): the real wx window
// in the dialog. It passes painting and mouse input to its host and owns the
// surface behind the view's window handle (HWND).
//
// Ownership: a wx child window, owned by its parent and destroyed either with
// it or by the host's destructor, whichever comes first; each side tells the
// other, so neither is left pointing at the other. Destroying the canvas
// detaches its surface, so its HWND stops being a window.
#pragma once

#include <memory>

#include <wx/glcanvas.h>

#include "Window.h"

class ORVMFC_CanvasSurface;
class ORVMFC_UIWindow;

class ORVMFC_ViewCanvas final : public wxGLCanvas
{
public:
    // A shown canvas at rect in parent's client area, with the given id and
    // border style. Null when GL has no visual for it or wx refused it.
    static ORVMFC_ViewCanvas* Create(ORVMFC_UIWindow* host, wxWindow* parent, int id, const wxRect& rect,
                                     long borderStyle);
    ~ORVMFC_ViewCanvas() override;

    HWND GetHwnd() const;
    // The host is gone: events now reach nothing.
    void ForgetHost() { m_pHost = nullptr; }

private:
    ORVMFC_ViewCanvas(ORVMFC_UIWindow* host, wxWindow* parent, const wxGLAttributes& attributes, int id,
                      const wxRect& rect, long style);

    void OnEraseBackground(wxEraseEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    ORVMFC_UIWindow* m_pHost;
    std::shared_ptr<ORVMFC_CanvasSurface> m_Surface;
};
