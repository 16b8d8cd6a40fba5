// A game view that draws the scene and ignores the mouse: the chase view
// and the ground view of the main window. The view window takes the place
// of a placeholder control of the dialog and asks this handler to draw only
// when the tick says so (its own repaints draw nothing).
//
// Owns its view window object and, through the base, the camera and the
// swap chain; it draws the model of the model owner it is given, which
// belongs to the application and outlives the handler.
#pragma once

#include <wx/window.h>

#include "ORVD3D_WindowHandler.h"
#include "orvgl_mfcuiwindow1.h"

class CModelOwner;

class CDrawOnlyHandler : public ORVD3D_WindowHandler
{
public:
    // Draws the model of models (made on the first frame that needs it).
    // Sets the default camera: eye (0, 10, -25) looking at the origin, up
    // Y, planes 1 and 50, 45 degrees.
    explicit CDrawOnlyHandler(CModelOwner& models);
    ~CDrawOnlyHandler() override;

    // Puts the view window in place of the dialog's control controlId and
    // binds this handler to it. False when either fails.
    bool AttachToControl(wxWindow* dialog, int controlId);

    // One frame of the game scene with this view's camera.
    void DrawGraphics() override;

    ORVMFC_UIWindow& GetViewWindow() { return m_Window; }

protected:
    ORVMFC_UIWindow m_Window;

private:
    CModelOwner& m_Models;
};
