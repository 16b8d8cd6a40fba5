// The modeless Options and How To Play windows: the pause while they are
// open, and what each way of closing them does.
#include <wx/checkbox.h>
#include <wx/weakref.h>

#include "ShellTestSupport.h"
#include "controlsdialog.h"
#include "model.h"
#include "optionsdialog.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"

namespace {

wxCheckBox* Box(wxWindow* dialog, int id)
{
    return dynamic_cast<wxCheckBox*>(dialog->FindWindow(id));
}

void PressEscape(wxWindow* dialog)
{
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(dialog);
    dialog->GetEventHandler()->ProcessEvent(escape);
}

}  // namespace

TEST_F(ShellTest, OptionsOkWritesBothBoxesAndEveryOtherEndingOnlyResumes)
{
    CTutorialDlg& main = MakeMainWindow();
    CModel& model = *App().GetModel();
    model.SetGroundViewOff(TRUE);
    struct Ending
    {
        const char* name;
        void (*end)(COptionsDialog*);
        bool writes;
    };
    const Ending endings[] = {
        {"OK", [](COptionsDialog* d) { ClickButton(d, COptionsDialog::ID_OK); }, true},
        {"Cancel", [](COptionsDialog* d) { ClickButton(d, COptionsDialog::ID_CANCEL); }, false},
        {"Escape", [](COptionsDialog* d) { PressEscape(d); }, false},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        const int blips = BlipCount();
        const BOOL mapOff = model.IsMapViewOff();
        const BOOL groundOff = model.IsGroundViewOff();
        ClickButton(&main, CTutorialDlg::IDC_OPTIONS);
        wxWeakRef<COptionsDialog> options = main.GetOptionsDialog();
        ASSERT_TRUE(options);
        EXPECT_TRUE(options->IsShown());
        EXPECT_TRUE(model.IsPaused());
        // Opened with the model's state; the boxes turned over.
        EXPECT_EQ(Box(options, COptionsDialog::IDC_MAPVIEW_OFF)->GetValue(), mapOff == TRUE);
        EXPECT_EQ(Box(options, COptionsDialog::IDC_GROUNDVIEW_OFF)->GetValue(), groundOff == TRUE);
        Box(options, COptionsDialog::IDC_MAPVIEW_OFF)->SetValue(mapOff != TRUE);
        Box(options, COptionsDialog::IDC_GROUNDVIEW_OFF)->SetValue(groundOff != TRUE);
        ending.end(options);
        EXPECT_FALSE(model.IsPaused());
        EXPECT_EQ(BlipCount(), blips + 2);  // paused and resumed
        EXPECT_EQ(model.IsMapViewOff() == TRUE, ending.writes ? mapOff != TRUE : mapOff == TRUE);
        EXPECT_EQ(model.IsGroundViewOff() == TRUE, ending.writes ? groundOff != TRUE : groundOff == TRUE);
        // The window goes, and its object with it.
        PumpEvents();
        EXPECT_FALSE(options);
        EXPECT_EQ(main.GetOptionsDialog(), nullptr);
    }
}

TEST_F(ShellTest, HowToPlayResumesOnlyWithItsOkButton)
{
    CTutorialDlg& main = MakeMainWindow();
    CModel& model = *App().GetModel();
    const auto endings = {
        +[](CControlsDialog* d) { d->Close(); },
        +[](CControlsDialog* d) { PressEscape(d); },
        +[](CControlsDialog* d) { ClickButton(d, CControlsDialog::ID_OK); },
    };
    int opened = 0;
    for (auto end : endings) {
        ClickButton(&main, CTutorialDlg::IDC_HOW_TO_PLAY);
        wxWeakRef<CControlsDialog> help = main.GetControlsDialog();
        ASSERT_TRUE(help);
        EXPECT_TRUE(model.IsPaused());
        EXPECT_EQ(BlipCount(), ++opened);
        end(help);
        PumpEvents();
        EXPECT_FALSE(help);
        EXPECT_EQ(model.IsPaused(), opened < 3);
    }
    EXPECT_EQ(BlipCount(), 4);  // three openings and the OK
}
