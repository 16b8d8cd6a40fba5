#include "controlsdialog.h"

#include "dialogunits.h"
#include "model.h"
#include "modelowner.h"

CControlsDialog::CControlsDialog(wxWindow* /*pParent*/, CModelOwner& models) : m_Models(models) {}

bool CControlsDialog::Create(wxWindow* parent)
{
    // Escape and the close box close the window without resuming.
    if (!CreateWindow(parent, "Soare! How To Play", 142, 147))
        return false;
    AddStaticText(this, wxID_ANY, "Keyboard Controls", 7, 7, 112, 9);
    AddStaticText(this, wxID_ANY, "Up Arrow:\nDown Arrow:\nLeft Arrow:\nRight Arrow:", 22, 17, 56, 36);
    AddStaticText(this, wxID_ANY, "Lean Forward\nLean Backward\nLean Left\nLean Right", 72, 17, 54, 33);
    AddStaticText(this, wxID_ANY, "P: Pause game or unpause game", 22, 52, 168, 8);
    AddStaticText(this, wxID_ANY, "Gameplay Tips", 7, 71, 127, 10);
    AddStaticText(this, wxID_ANY,
                  "Guide the soarer around the island to the target. Avoid colliding with buildings, terrain, and "
                  "ocean. Fly into thermal updrafts to gain elevation.",
                  21, 80, 107, 40);
    AddPushButton(this, ID_OK, "OK", 46, 126, 50, 14)->SetDefault();

    Bind(wxEVT_BUTTON, &CControlsDialog::OnButton, this);
    return true;
}

void CControlsDialog::OnOkControls()
{
    if (CModel* model = m_Models.GetModel())
        model->SetPaused(false);
    EndDialog();
}

void CControlsDialog::OnButton(wxCommandEvent& event)
{
    if (event.GetId() == ID_OK) {
        if (!IsEnded())
            OnOkControls();
        return;
    }
    event.Skip();
}
