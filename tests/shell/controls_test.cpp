// The main window's extra controls: a game controller (on SDL's virtual
// joysticks) steering and pausing beside the keyboard and recorded like it,
// and the audio variometer's V key and start-up switch.
#include <SDL.h>

#include "ShellTestSupport.h"
#include "SdlSubsystems.h"
#include "VirtualController.h"
#include "dinput.h"
#include "keyboardinput.h"
#include "keyscript.h"
#include "model.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"
#include "wxkeysource.h"

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

TEST_F(ControlsTest, VTogglesTheVariometerWhenLetGoAndVarioStartsWithItOn)
{
    CTutorialDlg& first = MakeMainWindow();
    EXPECT_FALSE(first.GetVariometer().IsOn());
    Tick(5);
    EXPECT_TRUE(m_Sound->GetVarioTones().empty());
    SendKey('V', true);
    Tick(2);
    EXPECT_FALSE(first.GetVariometer().IsOn());
    SendKey('V', false);
    Tick();
    EXPECT_TRUE(first.GetVariometer().IsOn());
    ASSERT_FALSE(m_Sound->GetVarioTones().empty());
    EXPECT_EQ(m_Sound->GetVarioTones().front(), VarioTone{});
    // Gliding at the start: silent. V again: off, and the sink is told.
    Tick(3);
    SendKey('V', true);
    Tick();
    SendKey('V', false);
    Tick();
    EXPECT_FALSE(first.GetVariometer().IsOn());
    EXPECT_EQ(m_Sound->GetVarioTones().back(), std::nullopt);
    DestroyMainWindow();

    // --vario: on as the window opens; closing the window turns it off.
    m_Sound->Clear();
    App().SetVarioAtStart(true);
    CTutorialDlg& second = MakeMainWindow();
    App().SetVarioAtStart(false);
    EXPECT_TRUE(second.GetVariometer().IsOn());
    Tick(3);
    DestroyMainWindow();
    const auto tones = m_Sound->GetVarioTones();
    ASSERT_GE(tones.size(), 2u);
    EXPECT_EQ(tones.front(), VarioTone{});
    EXPECT_EQ(tones.back(), std::nullopt);
}

}  // namespace
