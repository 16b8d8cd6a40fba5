// The keyboard of the windowed game: toolkit key codes to DirectInput codes,
// key events gathered for the whole application, and the rule that the
// keyboard is the game's only while its main window is the active one.
#include <set>

#include <wx/frame.h>

#include "ShellTestSupport.h"
#include "dinput.h"
#include "keyboardinput.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"
#include "wxkeymap.h"
#include "wxkeysource.h"

TEST(WxKeyMapTest, LettersDigitsAndArrowsMapToTheirScanCodes)
{
    // Scan codes follow the keyboard's rows, not the alphabet.
    EXPECT_EQ(WxKeyCodeToDIK('Q'), DIK_Q);
    EXPECT_EQ(WxKeyCodeToDIK('A'), DIK_A);
    EXPECT_EQ(WxKeyCodeToDIK('Z'), DIK_Z);
    EXPECT_EQ(WxKeyCodeToDIK('P'), DIK_P);
    EXPECT_EQ(WxKeyCodeToDIK('p'), DIK_P);
    EXPECT_EQ(WxKeyCodeToDIK('1'), DIK_1);
    EXPECT_EQ(WxKeyCodeToDIK('0'), DIK_0);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_LEFT), DIK_LEFT);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_RIGHT), DIK_RIGHT);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_UP), DIK_UP);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_DOWN), DIK_DOWN);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_NUMPAD_LEFT), DIK_LEFT);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_ESCAPE), DIK_ESCAPE);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_F12), DIK_F12);
    EXPECT_EQ(WxKeyCodeToDIK(WXK_MEDIA_PLAY_PAUSE), -1);

    // No two letters or digits share a code.
    std::set<int> codes;
    for (int key = 'A'; key <= 'Z'; ++key)
        codes.insert(WxKeyCodeToDIK(key));
    for (int key = '0'; key <= '9'; ++key)
        codes.insert(WxKeyCodeToDIK(key));
    EXPECT_EQ(codes.size(), 36u);
    EXPECT_EQ(codes.count(-1), 0u);
}

TEST_F(ShellTest, KeyEventsOfAnyWindowReachTheKeyboardOnlyWhileTheMainWindowIsActive)
{
    CTutorialDlg& dialog = MakeMainWindow();
    CKeyboardInput& keyboard = dialog.GetKeyboard();
    CWxKeySource& source = App().GetKeySource();

    SendKey('P', true);
    SendKey(WXK_DOWN, true);
    keyboard.Poll();
    EXPECT_TRUE(keyboard.IsKeyDown(DIK_P));
    EXPECT_TRUE(keyboard.IsKeyDown(DIK_DOWN));
    EXPECT_TRUE(keyboard.IsKeyUp(DIK_UP));
    SendKey(WXK_DOWN, false);
    keyboard.Poll();
    EXPECT_TRUE(keyboard.IsKeyUp(DIK_DOWN));

    // Another window active: every key reads up; once the main window is
    // active again, the next poll acquires and the one after reads.
    bool active = false;
    source.SetActiveTest([&active] { return active; });
    keyboard.Poll();
    EXPECT_TRUE(keyboard.IsKeyUp(DIK_P));
    active = true;
    keyboard.Poll();
    EXPECT_TRUE(keyboard.IsKeyUp(DIK_P));
    keyboard.Poll();
    EXPECT_TRUE(keyboard.IsKeyDown(DIK_P));

    // The main window losing the keyboard forgets what was held: the
    // release went to another window.
    wxActivateEvent deactivate(wxEVT_ACTIVATE, false);
    deactivate.SetEventObject(&dialog);
    dialog.GetEventHandler()->ProcessEvent(deactivate);
    keyboard.Poll();
    EXPECT_TRUE(keyboard.IsKeyUp(DIK_P));
}

TEST_F(ShellTest, ArrowsAreTheGamesWhileItsWindowIsActiveAndPassOnOtherwise)
{
    MakeMainWindow();
    wxKeyEvent left(wxEVT_KEY_DOWN);
    left.m_keyCode = WXK_LEFT;
    EXPECT_EQ(App().FilterEvent(left), wxApp::Event_Processed);
    wxKeyEvent p(wxEVT_KEY_DOWN);
    p.m_keyCode = 'P';
    EXPECT_EQ(App().FilterEvent(p), wxApp::Event_Skip);

    App().GetKeySource().SetActiveTest([] { return false; });
    EXPECT_EQ(App().FilterEvent(left), wxApp::Event_Skip);
}

TEST_F(ShellTest, AGoneMainWindowLeavesTheKeyboardInactive)
{
    CWxKeySource source;
    EXPECT_FALSE(source.IsActive());  // no main window
    auto* frame = new wxFrame(nullptr, wxID_ANY, "not active");
    source.SetMainWindow(frame);
    frame->Destroy();
    PumpEvents();
    EXPECT_FALSE(source.IsActive());  // the window is gone
}
