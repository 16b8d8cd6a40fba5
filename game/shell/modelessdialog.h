// What the main window's two modeless windows (Options, How To Play) share:
// a window that ends once, hidden at once and destroyed when the toolkit is
// idle (a click arriving while it goes changes nothing), and whose close
// box and Escape dismiss it as the window says (by default it just ends).
//
// The toolkit owns the object once its window exists.
#pragma once

#include <wx/dialog.h>
#include <wx/string.h>

class CModelessDialog : public wxDialog
{
protected:
    CModelessDialog() = default;

    // Makes the window, a fixed dialog titled title of the given size in
    // dialog units, as a child of parent, with the close box and Escape
    // bound to OnDismiss. False when the toolkit cannot make it.
    bool CreateWindow(wxWindow* parent, const wxString& title, int width, int height);
    // The close box or Escape.
    virtual void OnDismiss() { EndDialog(); }
    // Ends the window; a second end does nothing.
    void EndDialog();
    bool IsEnded() const { return m_Ended; }

private:
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);

    bool m_Ended = false;
};
