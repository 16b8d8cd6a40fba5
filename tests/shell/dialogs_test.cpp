// The three dialog templates (controls, ids, texts, places in dialog units)
// and the behaviour of the modeless Options and How To Play windows.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include "ShellTestSupport.h"
#include "controlsdialog.h"
#include "model.h"
#include "optionsdialog.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"

namespace {

enum class Kind
{
    Button,
    DefaultButton,
    Static,
    CheckBox,
};

struct Expected
{
    int id;  // 0: a static without an id of its own, found by its text
    Kind kind;
    const char* text;
    int x, y, width, height;
    long border = 0;
};

// A label as the player reads it: a static wrapped to its width breaks its
// lines where the template's text has spaces.
wxString Words(const wxString& text)
{
    wxString words = text;
    words.Replace("\n", " ");
    return words;
}

wxWindow* FindControl(wxWindow* dialog, const Expected& expected)
{
    if (expected.id != 0)
        return dialog->FindWindow(expected.id);
    for (wxWindow* child : dialog->GetChildren())
        if (dynamic_cast<wxStaticText*>(child) && Words(child->GetLabel()) == Words(wxString::FromUTF8(expected.text)))
            return child;
    return nullptr;
}

// Each control exists with its kind, text and border, at its rectangle in
// dialog units; the conversion back from pixels may be off by one unit.
void ExpectTemplate(wxDialog* dialog, const char* caption, int width, int height,
                    const std::vector<Expected>& controls)
{
    EXPECT_EQ(dialog->GetTitle(), caption);
    const wxSize client = dialog->ConvertPixelsToDialog(dialog->GetClientSize());
    EXPECT_NEAR(client.x, width, 1);
    EXPECT_NEAR(client.y, height, 1);
    for (const Expected& expected : controls)
    {
        SCOPED_TRACE(std::string("control ") + std::to_string(expected.id) + " \"" + expected.text + "\"");
        wxWindow* control = FindControl(dialog, expected);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetParent(), dialog);
        switch (expected.kind)
        {
        case Kind::Button:
        case Kind::DefaultButton:
            ASSERT_NE(dynamic_cast<wxButton*>(control), nullptr);
            EXPECT_EQ(dialog->GetDefaultItem() == control, expected.kind == Kind::DefaultButton);
            break;
        case Kind::Static:
            ASSERT_NE(dynamic_cast<wxStaticText*>(control), nullptr);
            EXPECT_EQ(control->GetBorder(), expected.border == 0 ? wxBORDER_NONE : static_cast<wxBorder>(expected.border));
            break;
        case Kind::CheckBox:
            ASSERT_NE(dynamic_cast<wxCheckBox*>(control), nullptr);
            break;
        }
        EXPECT_EQ(Words(control->GetLabel()), Words(wxString::FromUTF8(expected.text)));
        const wxRect rect = control->GetRect();
        const wxPoint topLeft = dialog->ConvertPixelsToDialog(rect.GetTopLeft());
        const wxPoint bottomRight =
            dialog->ConvertPixelsToDialog(rect.GetTopLeft() + wxPoint(rect.GetWidth(), rect.GetHeight()));
        EXPECT_NEAR(topLeft.x, expected.x, 1);
        EXPECT_NEAR(topLeft.y, expected.y, 1);
        EXPECT_NEAR(bottomRight.x - topLeft.x, expected.width, 1);
        EXPECT_NEAR(bottomRight.y - topLeft.y, expected.height, 1);
    }
}

}  // namespace

TEST_F(ShellTest, MainWindowTemplateHasEveryControlInPlace)
{
    CTutorialDlg dialog(nullptr, App());
    ExpectTemplate(&dialog, "Soare!", 500, 300,
                   {
                       {1, Kind::DefaultButton, "Quit", 447, 0, 50, 14},
                       {1000, Kind::Static, "", 0, 2, 275, 275, wxBORDER_SIMPLE},
                       {1003, Kind::Static, "Placeholder for Map View", 279, 17, 220, 146, wxBORDER_SIMPLE},
                       {1010, Kind::Static, "Small View PlaceHolder", 279, 167, 220, 110, wxBORDER_SIMPLE},
                       {1103, Kind::Button, "New Game", 279, 0, 50, 14},
                       {1104, Kind::Button, "Options", 335, 0, 50, 14},
                       {1105, Kind::Button, "How To Play", 391, 0, 50, 14},
                       {0, Kind::Static, "Height", 1, 282, 22, 8},
                       {1002, Kind::Static, "", 26, 282, 42, 10, wxBORDER_SUNKEN},
                       {0, Kind::Static, "Speed", 107, 282, 21, 8},
                       {1004, Kind::Static, "", 129, 282, 42, 10, wxBORDER_SUNKEN},
                       {0, Kind::Static, "Time", 212, 282, 16, 8},
                       {1005, Kind::Static, "", 232, 282, 42, 10, wxBORDER_SUNKEN},
                   });
    // The two view placeholders with text show it centred.
    EXPECT_TRUE(dialog.FindWindow(1003)->HasFlag(wxALIGN_CENTRE_HORIZONTAL));
    EXPECT_TRUE(dialog.FindWindow(1010)->HasFlag(wxALIGN_CENTRE_HORIZONTAL));
}

TEST_F(ShellTest, OptionsAndHowToPlayTemplatesHaveEveryControlInPlace)
{
    CTutorialDlg& main = MakeMainWindow();
    auto* options = new COptionsDialog(nullptr, App().GetModels());
    ASSERT_TRUE(options->Create(&main));
    ExpectTemplate(options, "Soare! Options", 119, 87,
                   {
                       {0, Kind::Static, "Boost game performance by turning of these views", 7, 7, 95, 20},
                       {1107, Kind::CheckBox, "Turn Off Map View", 7, 31, 75, 10},
                       {1108, Kind::CheckBox, "Turn Off Ground View", 7, 45, 85, 10},
                       {1, Kind::DefaultButton, "OK", 7, 67, 50, 14},
                       {2, Kind::Button, "Cancel", 62, 67, 50, 14},
                   });
    options->Destroy();

    auto* help = new CControlsDialog(nullptr, App().GetModels());
    ASSERT_TRUE(help->Create(&main));
    ExpectTemplate(help, "Soare! How To Play", 142, 147,
                   {
                       {0, Kind::Static, "Keyboard Controls", 7, 7, 112, 9},
                       {0, Kind::Static, "Up Arrow:\nDown Arrow:\nLeft Arrow:\nRight Arrow:", 22, 17, 56, 36},
                       {0, Kind::Static, "Lean Forward\nLean Backward\nLean Left\nLean Right", 72, 17, 54, 33},
                       {0, Kind::Static, "P: Pause game or unpause game", 22, 52, 168, 8},
                       {0, Kind::Static, "Gameplay Tips", 7, 71, 127, 10},
                       {0, Kind::Static,
                        "Guide the soarer around the island to the target. Avoid colliding with buildings, terrain, "
                        "and ocean. Fly into thermal updrafts to gain elevation.",
                        21, 80, 107, 40},
                       {1, Kind::DefaultButton, "OK", 46, 126, 50, 14},
                   });
    help->Destroy();
}

TEST_F(ShellTest, OptionsOpenWithTheModelsStateAndOkWritesBothBoxesAndResumes)
{
    CTutorialDlg& main = MakeMainWindow();
    CModel& model = *App().GetModel();
    model.SetMapViewOff(TRUE);

    ClickButton(&main, CTutorialDlg::IDC_OPTIONS);
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 1);
    wxWeakRef<COptionsDialog> options = main.GetOptionsDialog();
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->IsShown());
    auto* mapBox = dynamic_cast<wxCheckBox*>(options->FindWindow(COptionsDialog::IDC_MAPVIEW_OFF));
    auto* groundBox = dynamic_cast<wxCheckBox*>(options->FindWindow(COptionsDialog::IDC_GROUNDVIEW_OFF));
    ASSERT_TRUE(mapBox && groundBox);
    EXPECT_TRUE(mapBox->GetValue());
    EXPECT_FALSE(groundBox->GetValue());

    // Paused by P as well: OK resumes all the same.
    model.SetPaused(true);
    mapBox->SetValue(false);
    groundBox->SetValue(true);
    ClickButton(options, COptionsDialog::ID_OK);
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(model.IsMapViewOff(), FALSE);
    EXPECT_EQ(model.IsGroundViewOff(), TRUE);
    EXPECT_EQ(BlipCount(), 3);

    // The window goes, and its object with it.
    PumpEvents();
    EXPECT_FALSE(options);
    EXPECT_EQ(main.GetOptionsDialog(), nullptr);
}

TEST_F(ShellTest, OptionsCancelEscapeAndCloseBoxResumeAndChangeNothing)
{
    CTutorialDlg& main = MakeMainWindow();
    CModel& model = *App().GetModel();
    model.SetGroundViewOff(TRUE);

    const auto endings = {
        +[](COptionsDialog* dialog) { ClickButton(dialog, COptionsDialog::ID_CANCEL); },
        +[](COptionsDialog* dialog) { dialog->Close(); },
        +[](COptionsDialog* dialog) {
            wxKeyEvent escape(wxEVT_CHAR_HOOK);
            escape.m_keyCode = WXK_ESCAPE;
            escape.SetEventObject(dialog);
            dialog->GetEventHandler()->ProcessEvent(escape);
        },
    };
    int ending = 0;
    for (auto end : endings)
    {
        SCOPED_TRACE("ending " + std::to_string(ending++));
        ClickButton(&main, CTutorialDlg::IDC_OPTIONS);
        wxWeakRef<COptionsDialog> options = main.GetOptionsDialog();
        ASSERT_TRUE(options);
        ASSERT_TRUE(model.IsPaused());
        dynamic_cast<wxCheckBox*>(options->FindWindow(COptionsDialog::IDC_MAPVIEW_OFF))->SetValue(true);
        dynamic_cast<wxCheckBox*>(options->FindWindow(COptionsDialog::IDC_GROUNDVIEW_OFF))->SetValue(false);
        const int blips = BlipCount();
        end(options);
        EXPECT_FALSE(model.IsPaused());
        EXPECT_EQ(BlipCount(), blips + 1);
        EXPECT_EQ(model.IsMapViewOff(), FALSE);
        EXPECT_EQ(model.IsGroundViewOff(), TRUE);
        PumpEvents();
        EXPECT_FALSE(options);
    }
}

TEST_F(ShellTest, TwoOptionsWindowsAreIndependentAndEachWritesItsOwnBoxes)
{
    CTutorialDlg& main = MakeMainWindow();
    CModel& model = *App().GetModel();
    ClickButton(&main, CTutorialDlg::IDC_OPTIONS);
    wxWeakRef<COptionsDialog> first = main.GetOptionsDialog();
    ClickButton(&main, CTutorialDlg::IDC_OPTIONS);
    wxWeakRef<COptionsDialog> second = main.GetOptionsDialog();
    ASSERT_TRUE(first && second);
    ASSERT_NE(first.get(), second.get());
    EXPECT_EQ(BlipCount(), 2);

    dynamic_cast<wxCheckBox*>(first->FindWindow(COptionsDialog::IDC_MAPVIEW_OFF))->SetValue(true);
    dynamic_cast<wxCheckBox*>(second->FindWindow(COptionsDialog::IDC_GROUNDVIEW_OFF))->SetValue(true);
    ClickButton(second, COptionsDialog::ID_OK);
    EXPECT_EQ(model.IsMapViewOff(), FALSE);
    EXPECT_EQ(model.IsGroundViewOff(), TRUE);
    ClickButton(first, COptionsDialog::ID_OK);
    EXPECT_EQ(model.IsMapViewOff(), TRUE);
    EXPECT_EQ(model.IsGroundViewOff(), FALSE);
    PumpEvents();
    EXPECT_FALSE(first);
    EXPECT_FALSE(second);
}

TEST_F(ShellTest, HowToPlayResumesOnlyWithItsOkButton)
{
    CTutorialDlg& main = MakeMainWindow();
    CModel& model = *App().GetModel();

    ClickButton(&main, CTutorialDlg::IDC_HOW_TO_PLAY);
    wxWeakRef<CControlsDialog> help = main.GetControlsDialog();
    ASSERT_TRUE(help);
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 1);
    help->Close();
    PumpEvents();
    EXPECT_FALSE(help);
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 1);

    ClickButton(&main, CTutorialDlg::IDC_HOW_TO_PLAY);
    help = main.GetControlsDialog();
    ASSERT_TRUE(help);
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    help->GetEventHandler()->ProcessEvent(escape);
    PumpEvents();
    EXPECT_FALSE(help);
    EXPECT_TRUE(model.IsPaused());

    ClickButton(&main, CTutorialDlg::IDC_HOW_TO_PLAY);
    help = main.GetControlsDialog();
    ASSERT_TRUE(help);
    ClickButton(help, CControlsDialog::ID_OK);
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 4);  // three openings and the OK
    PumpEvents();
    EXPECT_FALSE(help);
}
