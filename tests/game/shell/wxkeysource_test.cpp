// The keys of the windowed game: key events gathered for the whole
// application, a game controller (on SDL's virtual joysticks) beside them,
// and the rule that they are the game's only while the main window is active.
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
#include "wxkeysource.h"

TEST_F(ShellTest, KeyEventsOfAnyWindowReachTheKeyboardOnlyWhileTheMainWindowIsActive)
{
    CTutorialDlg& dialog = MakeMainWindow();
    CKeyboardInput& keyboard = dialog.GetKeyboard();
    SendKey('P', true);
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
    App().GetKeySource().SetActiveTest([&active] { return active; });
    EXPECT_EQ(App().FilterEvent(left), wxApp::Event_Skip);
    for (const bool down : {false, false, true}) {
        keyboard.Poll();
        EXPECT_EQ(keyboard.IsKeyDown(DIK_P), down);
        active = true;
    }
    // The main window losing the keyboard forgets what was held: the
    // release went to another window.
    wxActivateEvent deactivate(wxEVT_ACTIVATE, false);
    deactivate.SetEventObject(&dialog);
    dialog.GetEventHandler()->ProcessEvent(deactivate);
    keyboard.Poll();
    EXPECT_TRUE(keyboard.IsKeyUp(DIK_P));

    // A source whose main window is gone is not active.
    CWxKeySource source;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "not active");
    source.SetMainWindow(frame);
    frame->Destroy();
    PumpEvents();
    EXPECT_FALSE(source.IsActive());
}

TEST_F(ShellTest, AControllerSteersAndPausesWithTheKeyboardAndIsRecordedAsKeys)
{
    ASSERT_TRUE(StartSdlSubsystems(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
    CTutorialDlg& dialog = MakeMainWindow();
    CModel& model = *App().GetModel();
    // The keys the last tick read, as script letters.
    const auto held = [&dialog] { return KeyScript::KeysToText(CKeyRecorder::HeldKeys(dialog.GetKeyboard())); };
    Tick();
    {
        // Plugged in mid-game: the stick banks at once.
        VirtualController pad = VirtualController::Pad();
        ASSERT_TRUE(pad.IsPlugged()) << SDL_GetError();
        pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
        Tick(3);
        EXPECT_EQ(held(), "L");
        // The keyboard and the controller together: a lean for either.
        SendKey(WXK_UP, true);
        pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        Tick();
        EXPECT_EQ(held(), "LUD");
        SendKey(WXK_UP, false);
        pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
        // Start pauses when let go, like P, with the blip; A resumes.
        for (const auto button : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_A}) {
            pad.SetButton(button, true);
            Tick(2);
            pad.SetButton(button, false);
            Tick();
            EXPECT_EQ(model.IsPaused(), button == SDL_CONTROLLER_BUTTON_START);
        }
        EXPECT_EQ(BlipCount(), 2);
        // Another window active: the controller is not the game's either.
        bool active = false;
        App().GetKeySource().SetActiveTest([&active] { return active; });
        Tick(2);
        EXPECT_EQ(held(), "-");
        active = true;
        Tick(2);  // the first poll acquires, the second reads
        EXPECT_EQ(held(), "L");
        App().GetKeySource().SetActiveTest([] { return true; });
        // Pulled out mid-lean: nothing stays held.
        pad.Unplug();
        Tick();
        EXPECT_EQ(held(), "-");
    }
    // The recording holds the controller's leans as the arrows' letters.
    std::string letters;
    for (const KeyScript::Run& run : dialog.GetRecorder().GetScript().GetRuns())
        letters += KeyScript::KeysToText(run.keys) + ' ';
    EXPECT_EQ(letters, "- L LUD LP L LP L - L - ");
    DestroyMainWindow();
    StopSdlSubsystems(SDL_INIT_GAMECONTROLLER);
}
