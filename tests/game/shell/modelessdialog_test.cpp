// The modeless Options and How To Play windows: the pause while they are
// open, and what each way of closing them does.
#include <wx/checkbox.h>
#include <wx/weakref.h>

#include "ShellTestSupport.h"
#include "controlsdialog.h"
#include "model.h"
#include "optionsdialog.h"

namespace {

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
    const std::pair<void (*)(COptionsDialog*), bool> endings[] = {
        {[](COptionsDialog* d) { ClickButton(d, COptionsDialog::ID_OK); }, true},
        {[](COptionsDialog* d) { ClickButton(d, COptionsDialog::ID_CANCEL); }, false},
        {[](COptionsDialog* d) { PressEscape(d); }, false},
    };
    for (const auto& [end, writes] : endings) {
        SCOPED_TRACE(writes);
        const int blips = BlipCount();
        const bool mapOff = model.IsMapViewOff(), groundOff = model.IsGroundViewOff();
        ClickButton(&main, CTutorialDlg::IDC_OPTIONS);
        wxWeakRef<COptionsDialog> options = main.GetOptionsDialog();
        ASSERT_TRUE(options);
        EXPECT_TRUE(model.IsPaused());
        // Opened with the model's state; the boxes turned over.
        auto* map = dynamic_cast<wxCheckBox*>(options->FindWindow(COptionsDialog::IDC_MAPVIEW_OFF));
        auto* ground = dynamic_cast<wxCheckBox*>(options->FindWindow(COptionsDialog::IDC_GROUNDVIEW_OFF));
        EXPECT_EQ(map->GetValue(), mapOff);
        EXPECT_EQ(ground->GetValue(), groundOff);
        map->SetValue(!mapOff);
        ground->SetValue(!groundOff);
        end(options);
        EXPECT_FALSE(model.IsPaused());
        EXPECT_EQ(BlipCount(), blips + 2);  // paused and resumed
        EXPECT_EQ(static_cast<bool>(model.IsMapViewOff()), mapOff != writes);
        EXPECT_EQ(static_cast<bool>(model.IsGroundViewOff()), groundOff != writes);
        PumpEvents();
    }

    // How To Play resumes only with its OK button.
    const auto helpEndings = {
        +[](CControlsDialog* d) { d->Close(); },
        +[](CControlsDialog* d) { ClickButton(d, CControlsDialog::ID_OK); },
    };
    const int blips = BlipCount();
    int opened = 0;
    for (auto end : helpEndings) {
        ClickButton(&main, CTutorialDlg::IDC_HOW_TO_PLAY);
        wxWeakRef<CControlsDialog> help = main.GetControlsDialog();
        ASSERT_TRUE(help);
        EXPECT_TRUE(model.IsPaused());
        EXPECT_EQ(BlipCount(), blips + ++opened);
        end(help);
        PumpEvents();
        EXPECT_FALSE(help);
        EXPECT_EQ(model.IsPaused(), opened < 2);
    }
    EXPECT_EQ(BlipCount(), blips + 3);  // two openings and the OK
}
