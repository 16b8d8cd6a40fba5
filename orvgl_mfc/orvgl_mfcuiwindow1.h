// The view host window: the window a view is drawn in inside a dialog. It
// takes the place of a placeholder control (same rectangle, border and id),
// is bound to a window handler and passes painting and mouse input to it.
//
// The object is made before its window exists (a handler holds it by value
// and binds it later), which wxGLCanvas cannot be; so the window itself is a
// GL canvas (ORVMFC_ViewCanvas) that this object creates in
// ReplaceDialogControl and that the dialog owns like any child window.
//
// Ownership: the handler is not owned (the handler owns this object).
// Destroying this object destroys its canvas if the dialog has not already
// done so, and neither shuts down nor detaches the handler.
#pragma once

#include "ORV_IWindowHandler.h"
#include "Window.h"

class wxDC;
class wxGLCanvas;
class wxMouseEvent;
class wxPanel;
class wxWindow;
class ORVMFC_ViewCanvas;

class ORVMFC_UIWindow
{
public:
    // suppressPaintDraw: a repaint does not ask the handler to draw (the
    // owner draws on its own schedule and the window keeps its last frame).
    explicit ORVMFC_UIWindow(bool suppressPaintDraw);
    virtual ~ORVMFC_UIWindow();
    ORVMFC_UIWindow(const ORVMFC_UIWindow&) = delete;
    ORVMFC_UIWindow& operator=(const ORVMFC_UIWindow&) = delete;

    // Destroys the descendant of dialog with controlId and creates the
    // canvas in its place, in the placeholder's parent. False without a
    // message when there is no such placeholder; false with a message box
    // when the canvas cannot be created (then the placeholder is gone), or
    // when this window was created before (then it is left alone).
    bool ReplaceDialogControl(wxWindow* dialog, int controlId);

    // Binds handler: the one attached before is shut down and the new one
    // initialised with this window. A null handler only detaches. A failed
    // Initialize leaves no handler and shows a message box.
    bool AttachViewport(ORV_IWindowHandler* handler);

    // The window handle the graphics layer knows this window by; not a
    // window before ReplaceDialogControl or after the canvas is destroyed.
    HWND GetSafeHwnd() const;
    // The canvas, while it exists.
    wxGLCanvas* GetCanvas() const;
    ORV_IWindowHandler* GetHandler() const { return m_pHandler; }

private:
    friend class ORVMFC_ViewCanvas;

    // What the canvas passes on.
    bool KeepsBackground() const { return m_pHandler != nullptr; }
    void Paint(wxDC& dc);
    void MouseButton(const wxMouseEvent& event, bool down);
    void MouseMove(const wxMouseEvent& event);
    void CanvasDestroyed() { m_pCanvas = nullptr; }

    ORV_IWindowHandler* m_pHandler = nullptr;
    bool m_SuppressPaintDraw;
    ORVMFC_ViewCanvas* m_pCanvas = nullptr;
};

// Destroys the descendant of parent with placeholderId and creates dialog as
// a child panel in its rectangle, in the placeholder's parent; the panel
// builds its controls when it receives wxEVT_INIT_DIALOG, as a dialog does
// from its template. False without a message when there is no placeholder;
// false with a message box when the panel cannot be created.
bool CreateDialogInPlaceOfControl(wxWindow* parent, int placeholderId, wxPanel* dialog);
