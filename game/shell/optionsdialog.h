// The modeless "Soare! Options" window: two check boxes that switch the map
// and ground views off to save drawing time. Opening it pauses the game
// (the main window does that); OK writes both boxes to the model and
// resumes, Cancel, Escape and the close box only resume.
//
// The toolkit owns the object once its window exists: closing the window
// destroys it, and with it the object, so every click on "Options" may make
// a new one without leaking the old.
#pragma once

#include "modelessdialog.h"

#include "wintypes.h"

class CModel;
class CModelOwner;

class COptionsDialog : public CModelessDialog
{
public:
    static constexpr int IDD = 153;
    static constexpr int IDC_MAPVIEW_OFF = 1107;
    static constexpr int IDC_GROUNDVIEW_OFF = 1108;
    static constexpr int ID_OK = 1;
    static constexpr int ID_CANCEL = 2;

    // The window is made by Create, as the main window makes it. The
    // options are those of the model of models, which outlives the window.
    COptionsDialog(wxWindow* pParent, CModelOwner& models);

    // Makes the window from the template, as a child of parent; shows
    // nothing yet. Runs OnInitDialog when shown.
    bool Create(wxWindow* parent);

    BOOL OnInitDialog();
    // bSaveAndValidate: check boxes to members; otherwise members to boxes.
    void DoDataExchange(bool bSaveAndValidate);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void OnOkOptions();
    void OnCancelOptions();

    BOOL m_bMapViewOff = FALSE;
    BOOL m_bGroundViewOff = FALSE;

private:
    CModel* Model();
    // Escape and the close box cancel.
    void OnDismiss() override;

    void OnInitDialogEvent(wxInitDialogEvent& event);
    void OnButton(wxCommandEvent& event);

    CModelOwner& m_Models;
};
