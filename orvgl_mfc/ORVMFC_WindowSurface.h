// A wx window as the graphics layer sees it (IWindowSurface): its client size,
// and nothing to draw with. The GL canvas of a view (ORVMFC_CanvasSurface)
// adds the drawing.
//
// Ownership: whoever ties the surface to the window holds it through a
// std::shared_ptr and detaches it when the window is destroyed; HWNDs are weak
// handles to it. A detached surface reports a zero size and refuses
// everything, so a caller that still holds it for the length of a call never
// touches a destroyed window.
#pragma once

#include "Window.h"

class wxWindow;

class ORVMFC_WindowSurface : public IWindowSurface
{
public:
    explicit ORVMFC_WindowSurface(wxWindow* window) : m_pWindow(window) {}
    ORVMFC_WindowSurface(const ORVMFC_WindowSurface&) = delete;
    ORVMFC_WindowSurface& operator=(const ORVMFC_WindowSurface&) = delete;

    void GetClientSize(int* width, int* height) const override;
    // Negative sizes are refused.
    bool SetClientSize(int width, int height) override;
    // A plain window has no GL drawable.
    bool MakeCurrent() override { return false; }
    void SwapBuffers() override {}

    // Null once detached.
    wxWindow* GetWindow() const { return m_pWindow; }
    virtual void Detach() { m_pWindow = nullptr; }

private:
    wxWindow* m_pWindow;
};
