// What the dialog glue keeps for an ordinary wx window: the surface behind
// its window handle and the status text that shows echoed lines in it. Each
// is made on first request, kept alive by the window and detached when the
// window is destroyed, so the weak references handed out (HWNDs, status
// slots) expire exactly with the window.
#pragma once

#include <memory>

class wxWindow;
class ORVMFC_StatusText;
class ORVMFC_WindowSurface;

class ORVMFC_WindowLinks
{
public:
    // window must not be null.
    static std::shared_ptr<ORVMFC_WindowSurface> Surface(wxWindow* window);
    static std::shared_ptr<ORVMFC_StatusText> StatusText(wxWindow* window);
};
