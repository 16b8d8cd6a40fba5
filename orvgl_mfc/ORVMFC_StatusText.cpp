#include "ORVMFC_StatusText.h"

#include <wx/window.h>

#include "ORVMFC_WindowLinks.h"

void ORVMFC_StatusText::SetStatusText(const std::wstring& text)
{
    if (m_pWindow)
        m_pWindow->SetLabel(wxString(text));
}

void BindStatusToWindow(int slot, wxWindow* window)
{
    if (slot < 0 || slot >= ORV_STATUS_SLOT_COUNT)
        return;
    if (!window) {
        BindStatusWindow(slot, {});
        return;
    }
    BindStatusWindow(slot, ORVMFC_WindowLinks::StatusText(window));
}
