// A wx window as a status line (ORV_IStatusText): an echoed text becomes its
// label, as the main window's read-outs show height, speed and time.
//
// Ownership: kept alive by its window (ORVMFC_WindowLinks) and detached when
// the window is destroyed; a status slot holds it weakly, so a destroyed
// read-out is skipped like an unbound slot.
#pragma once

#include <string>

#include "ORV_StatusEcho.h"

class wxWindow;

class ORVMFC_StatusText final : public ORV_IStatusText
{
public:
    explicit ORVMFC_StatusText(wxWindow* window) : m_pWindow(window) {}
    ORVMFC_StatusText(const ORVMFC_StatusText&) = delete;
    ORVMFC_StatusText& operator=(const ORVMFC_StatusText&) = delete;

    void SetStatusText(const std::wstring& text) override;

    wxWindow* GetWindow() const { return m_pWindow; }
    void Detach() { m_pWindow = nullptr; }

private:
    wxWindow* m_pWindow;
};

// Binds status slot 0..3 to window, whose label then shows the texts echoed
// to that slot; a null window unbinds the slot. Other slots are ignored.
void BindStatusToWindow(int slot, wxWindow* window);
