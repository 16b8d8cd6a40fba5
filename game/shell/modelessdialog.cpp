#include "modelessdialog.h"

#include "dialogunits.h"

bool CModelessDialog::CreateWindow(wxWindow* parent, const wxString& title, int width, int height)
{
    if (!wxDialog::Create(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
                          wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX))
        return false;
    SetClientSizeInDialogUnits(this, width, height);
    // Escape and the close box are the window's to answer, not the
    // toolkit's default button mapping.
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_CLOSE_WINDOW, &CModelessDialog::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CModelessDialog::OnCharHook, this);
    return true;
}

void CModelessDialog::EndDialog()
{
    if (m_Ended)
        return;
    m_Ended = true;
    Hide();
    Destroy();
}

void CModelessDialog::OnClose(wxCloseEvent& /*event*/)
{
    OnDismiss();
}

void CModelessDialog::OnCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE) {
        OnDismiss();
        return;
    }
    event.Skip();
}
