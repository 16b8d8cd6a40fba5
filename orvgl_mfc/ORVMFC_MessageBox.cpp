#include "ORVMFC_MessageBox.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

#include "ORVMFC_WindowHandle.h"
#include "ORV_MessageBox.h"

namespace {

// The icon bits of a message box type, with Windows' values.
constexpr UINT kIconMask = 0xF0u;
constexpr UINT kIconError = 0x10u;
constexpr UINT kIconQuestion = 0x20u;
constexpr UINT kIconWarning = 0x30u;
constexpr UINT kIconInformation = 0x40u;

long IconStyle(UINT type)
{
    switch (type & kIconMask) {
    case kIconError: return wxICON_ERROR;
    case kIconQuestion: return wxICON_QUESTION;
    case kIconWarning: return wxICON_WARNING;
    case kIconInformation: return wxICON_INFORMATION;
    // wx would otherwise choose an icon of its own.
    default: return wxICON_NONE;
    }
}

}  // namespace

int ShowWxMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    wxString title = caption ? wxString(caption) : wxString();
    if (title.empty() && wxTheApp)
        title = wxTheApp->GetAppDisplayName();
    wxWindow* parent = WindowFromHandle(owner);
    wxMessageDialog box(parent ? wxGetTopLevelParent(parent) : nullptr, text ? wxString(text) : wxString(), title,
                        wxOK | wxCENTRE | IconStyle(type));
    box.ShowModal();
    return IDOK;
}

void InstallMessageBoxHandler()
{
    SetMessageBoxHandler(&ShowWxMessageBox);
}
