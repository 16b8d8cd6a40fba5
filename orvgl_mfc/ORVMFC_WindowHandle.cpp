#include "ORVMFC_WindowHandle.h"

#include <memory>

#include "ORVMFC_ViewCanvas.h"
#include "ORVMFC_WindowLinks.h"
#include "ORVMFC_WindowSurface.h"

HWND GetWindowHandle(wxWindow* window)
{
    if (!window)
        return HWND{};
    if (const auto* canvas = dynamic_cast<const ORVMFC_ViewCanvas*>(window))
        return canvas->GetHwnd();
    return HWND(std::static_pointer_cast<IWindowSurface>(ORVMFC_WindowLinks::Surface(window)));
}

wxWindow* WindowFromHandle(const HWND& handle)
{
    const std::shared_ptr<IWindowSurface> surface = handle.Lock();
    if (const auto* ours = dynamic_cast<const ORVMFC_WindowSurface*>(surface.get()))
        return ours->GetWindow();
    return nullptr;
}
