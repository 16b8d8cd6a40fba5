// The modeless "Soare! How To Play" window: the keyboard controls and a tip.
// Opening it pauses the game (the main window does that); its OK button
// resumes, while Escape and the close box only close it and leave the game
// paused.
//
// As with the options window, the toolkit owns the object once its window
// exists and destroys it when the window closes.
#pragma once

#include "modelessdialog.h"

class CModelOwner;

class CControlsDialog : public CModelessDialog
{
public:
    static constexpr int IDD = 154;
    static constexpr int ID_OK = 1;

    // OK resumes the model of models, which outlives the window.
    CControlsDialog(wxWindow* pParent, CModelOwner& models);

    bool Create(wxWindow* parent);

    void OnOkControls();

private:
    void OnButton(wxCommandEvent& event);

    CModelOwner& m_Models;
};
