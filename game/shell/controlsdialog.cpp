#include "controlsdialog.h"

#include "dialogunits.h"
#include "model.h"
#include "modelowner.h"

CControlsDialog::CControlsDialog(wxWindow* /*pParent*/, CModelOwner& models) : m_Models(models) {}

bool CControlsDialog::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, "Soare! How To Play", wxDefaultPosition, wxDefaultSize,
                          wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX))
        return false;
    SetClientSizeInDialogUnits(this, 142, 147);
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

    // Escape and the close box close the window without resuming: the
    // toolkit would otherwise map them onto the OK button.
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_BUTTON, &CControlsDialog::OnButton, this);
    Bind(wxEVT_CLOSE_WINDOW, &CControlsDialog::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CControlsDialog::OnCharHook, this);
    return true;
}

void CControlsDialog::OnOkControls()
{
    if (CModel* model = m_Models.GetModel())
        model->SetPaused(false);
    EndDialog();
}

void CControlsDialog::EndDialog()
{
    if (m_Ended)
        return;
    m_Ended = true;
    Hide();
    Destroy();
}

void CControlsDialog::OnButton(wxCommandEvent& event)
{
    if (event.GetId() == ID_OK)
    {
        if (!m_Ended)
            OnOkControls();
        return;
    }
    event.Skip();
}

void CControlsDialog::OnClose(wxCloseEvent& /*event*/)
{
    EndDialog();
}

void CControlsDialog::OnCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE)
    {
        EndDialog();
        return;
    }
    event.Skip();
}
