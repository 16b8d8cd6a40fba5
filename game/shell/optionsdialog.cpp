#include "optionsdialog.h"

#include <wx/checkbox.h>

#include "dialogunits.h"
#include "model.h"
#include "modelowner.h"

COptionsDialog::COptionsDialog(wxWindow* /*pParent*/, CModelOwner& models) : m_Models(models) {}

CModel* COptionsDialog::Model()
{
    return m_Models.GetModel();
}

bool COptionsDialog::Create(wxWindow* parent)
{
    if (!CreateWindow(parent, "Soare! Options", 119, 87))
        return false;
    AddStaticText(this, wxID_ANY, "Boost game performance by turning of these views", 7, 7, 95, 20);
    AddCheckBox(this, IDC_MAPVIEW_OFF, "Turn Off Map View", 7, 31, 75, 10);
    AddCheckBox(this, IDC_GROUNDVIEW_OFF, "Turn Off Ground View", 7, 45, 85, 10);
    AddPushButton(this, ID_OK, "OK", 7, 67, 50, 14)->SetDefault();
    AddPushButton(this, ID_CANCEL, "Cancel", 62, 67, 50, 14);

    Bind(wxEVT_INIT_DIALOG, &COptionsDialog::OnInitDialogEvent, this);
    Bind(wxEVT_BUTTON, &COptionsDialog::OnButton, this);
    return true;
}

BOOL COptionsDialog::OnInitDialog()
{
    if (CModel* model = Model()) {
        m_bMapViewOff = model->IsMapViewOff();
        m_bGroundViewOff = model->IsGroundViewOff();
    }
    UpdateData(FALSE);
    return TRUE;
}

void COptionsDialog::DoDataExchange(bool bSaveAndValidate)
{
    auto* mapBox = dynamic_cast<wxCheckBox*>(FindWindow(IDC_MAPVIEW_OFF));
    auto* groundBox = dynamic_cast<wxCheckBox*>(FindWindow(IDC_GROUNDVIEW_OFF));
    if (!mapBox || !groundBox)
        return;
    if (bSaveAndValidate) {
        m_bMapViewOff = mapBox->GetValue() ? TRUE : FALSE;
        m_bGroundViewOff = groundBox->GetValue() ? TRUE : FALSE;
    } else {
        mapBox->SetValue(m_bMapViewOff != FALSE);
        groundBox->SetValue(m_bGroundViewOff != FALSE);
    }
}

BOOL COptionsDialog::UpdateData(BOOL bSaveAndValidate)
{
    DoDataExchange(bSaveAndValidate != FALSE);
    return TRUE;
}

void COptionsDialog::OnOkOptions()
{
    UpdateData(TRUE);
    if (CModel* model = Model()) {
        model->SetPaused(false);
        model->SetMapViewOff(m_bMapViewOff);
        model->SetGroundViewOff(m_bGroundViewOff);
    }
    EndDialog();
}

void COptionsDialog::OnCancelOptions()
{
    if (CModel* model = Model())
        model->SetPaused(false);
    EndDialog();
}

void COptionsDialog::OnInitDialogEvent(wxInitDialogEvent& /*event*/)
{
    OnInitDialog();
}

void COptionsDialog::OnButton(wxCommandEvent& event)
{
    // A click arriving while the window is already going must not resume
    // or write the options again.
    if (IsEnded())
        return;
    switch (event.GetId()) {
    case ID_OK: OnOkOptions(); break;
    case ID_CANCEL: OnCancelOptions(); break;
    default: event.Skip(); break;
    }
}

void COptionsDialog::OnDismiss()
{
    if (!IsEnded())
        OnCancelOptions();
}
