#include "ORVMFC_WindowLinks.h"

#include <unordered_map>

#include <wx/window.h>

#include "ORVMFC_StatusText.h"
#include "ORVMFC_WindowSurface.h"

namespace {

struct Links
{
    std::shared_ptr<ORVMFC_WindowSurface> surface;
    std::shared_ptr<ORVMFC_StatusText> statusText;
};

// Keyed by window; an entry goes when its window's destruction begins.
std::unordered_map<const wxWindow*, Links>& Table()
{
    static std::unordered_map<const wxWindow*, Links> table;
    return table;
}

void Forget(const wxWindow* window)
{
    const auto it = Table().find(window);
    if (it == Table().end())
        return;
    if (it->second.surface)
        it->second.surface->Detach();
    if (it->second.statusText)
        it->second.statusText->Detach();
    Table().erase(it);
}

Links& LinksOf(wxWindow* window)
{
    const auto [it, added] = Table().try_emplace(window);
    if (added) {
        // wx sends the destroy event to the window itself at the start of
        // its destruction, however it is destroyed (Destroy, delete, or
        // with its parent); as a command event it also passes up to the
        // parents, whose own entries must stay.
        window->Bind(wxEVT_DESTROY, [window](wxWindowDestroyEvent& event) {
            if (event.GetEventObject() == window)
                Forget(window);
            event.Skip();
        });
    }
    return it->second;
}

}  // namespace

std::shared_ptr<ORVMFC_WindowSurface> ORVMFC_WindowLinks::Surface(wxWindow* window)
{
    Links& links = LinksOf(window);
    if (!links.surface)
        links.surface = std::make_shared<ORVMFC_WindowSurface>(window);
    return links.surface;
}

std::shared_ptr<ORVMFC_StatusText> ORVMFC_WindowLinks::StatusText(wxWindow* window)
{
    Links& links = LinksOf(window);
    if (!links.statusText)
        links.statusText = std::make_shared<ORVMFC_StatusText>(window);
    return links.statusText;
}
