// The keys of the windowed game: toolkit key codes to DirectInput codes, key
// events gathered for the whole application, a game controller (on SDL's
// virtual joysticks) beside them, and the rule that they are the game's only
// while its main window is the active one.
#include <set>

#include <SDL.h>
#include <wx/frame.h>

#include "SdlSubsystems.h"
#include "ShellTestSupport.h"
#include "VirtualController.h"
#include "dinput.h"
#include "keyboardinput.h"
#include "keyrecorder.h"
#include "keyscript.h"
#include "model.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"
#include "wxkeymap.h"
#include "wxkeysource.h"

TEST(WxKeyMapTest, LettersDigitsAndArrowsMapToTheirScanCodes)
{
    // Scan codes follow the keyboard's rows, not the alphabet.
    const std::pair<int, int> keys[] = {
        {'Q', DIK_Q},
        {'p', DIK_P},
        {'0', DIK_0},
        {WXK_UP, DIK_UP},
        {WXK_NUMPAD_LEFT, DIK_LEFT},
        {WXK_MEDIA_PLAY_PAUSE, -1},
    };
    for (const auto& [key, code] : keys)
        EXPECT_EQ(WxKeyCodeToDIK(key), code) << key;
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
    // Arrows are the game's; other keys go on to the focused control.
    wxKeyEvent left(wxEVT_KEY_DOWN);
    left.m_keyCode = WXK_LEFT;
    EXPECT_EQ(App().FilterEvent(left), wxApp::Event_Processed);
    wxKeyEvent p(wxEVT_KEY_DOWN);
    p.m_keyCode = 'P';
    EXPECT_EQ(App().FilterEvent(p), wxApp::Event_Skip);

    // Another window active: arrows pass on, every key reads up; once the
    // main window is active again, the next poll acquires and the one after reads.
    bool active = false;
    source.SetActiveTest([&active] { return active; });
    EXPECT_EQ(App().FilterEvent(left), wxApp::Event_Skip);
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

namespace {

class ControlsTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(StartSdlSubsystems(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        StopSdlSubsystems(SDL_INIT_GAMECONTROLLER);
    }

    // The keys the last tick read, as script letters.
    std::string Held() { return KeyScript::KeysToText(CKeyRecorder::HeldKeys(m_Dialog->GetKeyboard())); }
};

TEST_F(ControlsTest, AControllerSteersAndPausesWithTheKeyboardAndIsRecordedAsKeys)
{
    CTutorialDlg& dialog = MakeMainWindow();
    CModel& model = *App().GetModel();
    Tick();
    EXPECT_EQ(Held(), "-");

    // Plugged in mid-game: the stick banks at once.
    VirtualController pad = VirtualController::Pad();
    ASSERT_TRUE(pad.IsPlugged()) << SDL_GetError();
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    Tick(3);
    EXPECT_EQ(Held(), "L");
    EXPECT_GT(model.GetRollAngle(), 0.0);  // a left lean banks positive

    // The keyboard and the controller together: a lean for either.
    SendKey(WXK_UP, true);
    pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    Tick();
    EXPECT_EQ(Held(), "LUD");
    SendKey(WXK_UP, false);
    pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);

    // Start pauses when let go, like P, and plays the blip once.
    pad.SetButton(SDL_CONTROLLER_BUTTON_START, true);
    Tick(2);
    EXPECT_FALSE(model.IsPaused());
    pad.SetButton(SDL_CONTROLLER_BUTTON_START, false);
    Tick();
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 1);
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    Tick();
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, false);
    Tick();
    EXPECT_FALSE(model.IsPaused());

    // Another window active: the controller is not the game's either.
    bool active = false;
    App().GetKeySource().SetActiveTest([&active] { return active; });
    Tick(2);
    EXPECT_EQ(Held(), "-");
    active = true;
    Tick(2);  // the first poll acquires, the second reads
    EXPECT_EQ(Held(), "L");
    App().GetKeySource().SetActiveTest([] { return true; });

    // Pulled out mid-lean: nothing stays held.
    pad.Unplug();
    Tick();
    EXPECT_EQ(Held(), "-");
    const double roll = model.GetRollAngle();
    Tick(4);
    EXPECT_LT(model.GetRollAngle(), roll);  // levelling out

    // The recording holds the controller's leans as the arrows' letters.
    std::string letters;
    for (const KeyScript::Run& run : dialog.GetRecorder().GetScript().GetRuns())
        letters += KeyScript::KeysToText(run.keys) + ' ';
    EXPECT_EQ(letters, "- L LUD LP L LP L - L - ");
}

}  // namespace
