// The main window: its controls, its start-up order, the tick as the window
// runs it (pause key, made-up steps), "New Game", the map view's mouse
// gestures, the variometer's V, the way it ends, and what it does without GL
// or a display.
#include <cstdlib>
#include <iostream>
#include <sstream>

#include <wx/glcanvas.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include "GLDevice.h"
#include "ORVD3D_GraphicsSystem.h"
#include "ShellTestSupport.h"
#include "dinput.h"
#include "gldirect3dfactory.h"
#include "headlessgame.h"
#include "keyscript.h"
#include "model.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"
#include "tutorialgame.h"

namespace {

void ExpectVector(const D3DXVECTOR3& actual, float x, float y, float z, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

void ExpectPerspective(ORV_Camera* camera, float fov, float nearPlane, float farPlane)
{
    EXPECT_FLOAT_EQ(camera->GetFov(), fov);
    EXPECT_FLOAT_EQ(camera->GetNearPlane(), nearPlane);
    EXPECT_FLOAT_EQ(camera->GetFarPlane(), farPlane);
}

float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    const D3DXVECTOR3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

// A mouse event as the map view's canvas gets it from the toolkit.
void SendMouse(wxWindow* canvas, wxEventType type, int x, int y, bool left, bool middle, bool right)
{
    wxMouseEvent event(type);
    event.m_x = x;
    event.m_y = y;
    event.m_leftDown = left;
    event.m_middleDown = middle;
    event.m_rightDown = right;
    event.SetEventObject(canvas);
    canvas->GetEventHandler()->ProcessEvent(event);
}

}  // namespace

TEST_F(ShellTest, MainWindowHasEveryControl)
{
    CTutorialDlg dialog(nullptr, App());
    ExpectControls(&dialog, "Soare!",
                   {
                       {1, ExpectedControl::DefaultButton, "Quit"},
                       {1000, ExpectedControl::Static, ""},
                       {1003, ExpectedControl::Static, "Placeholder for Map View"},
                       {1010, ExpectedControl::Static, "Small View PlaceHolder"},
                       {1103, ExpectedControl::Button, "New Game"},
                       {1104, ExpectedControl::Button, "Options"},
                       {1105, ExpectedControl::Button, "How To Play"},
                       {0, ExpectedControl::Static, "Height"},
                       {1002, ExpectedControl::Static, ""},
                       {0, ExpectedControl::Static, "Speed"},
                       {1004, ExpectedControl::Static, ""},
                       {0, ExpectedControl::Static, "Time"},
                       {1005, ExpectedControl::Static, ""},
                   });
}

TEST_F(ShellTest, ModelIsBuiltAfterTheContextAndTheViewsAndBeforeKeyboardAndTimer)
{
    // What stood when the model was made: device, views, keyboard, timer.
    auto seen = std::make_shared<std::vector<bool>>();
    App().SetModelFactory([this, seen] {
        *seen = {ORVD3D_GraphicsSystem::GetInstance().GetD3DDevice() != nullptr,
                 m_Dialog && m_Dialog->GetMainView().IsGraphicsReady() && m_Dialog->GetGroundView().IsGraphicsReady() &&
                     m_Dialog->GetMapView().IsGraphicsReady(),
                 m_Dialog && m_Dialog->GetKeyboard().HasDevice(), m_Dialog && m_Dialog->GetTimer().IsRunning()};
        return std::make_unique<CModel>();
    });
    CTutorialDlg& dialog = MakeMainWindow(false);
    App().SetModelFactory(nullptr);
    EXPECT_TRUE(dialog.IsInitialized());
    EXPECT_EQ(*seen, (std::vector<bool>{true, true, false, false}));
    EXPECT_TRUE(dialog.GetKeyboard().HasDevice());
    // The views took the placeholders' places and ids.
    for (int id : {CTutorialDlg::IDC_MAIN_VIEW, CTutorialDlg::IDC_MAP_VIEW, CTutorialDlg::IDC_GROUND_VIEW})
        EXPECT_NE(dynamic_cast<wxGLCanvas*>(dialog.FindWindow(id)), nullptr) << id;

    // The real timer ticks, draws every view and fills the read-outs.
    EXPECT_TRUE(dialog.GetTimer().IsRunning());
    for (int i = 0; i < 200 && dialog.GetStats().GetFrames() < 3; ++i)
        PumpEvents(std::chrono::milliseconds(50));
    EXPECT_GT(CurrentGLDevice()->PresentCount(), 6);
    for (int id : {CTutorialDlg::IDC_HEIGHT, CTutorialDlg::IDC_TIME})
        EXPECT_FALSE(dialog.FindWindow(id)->GetLabel().empty()) << id;
    EXPECT_EQ(dialog.FindWindow(CTutorialDlg::IDC_SPEED)->GetLabel(), "0.100000");
}

TEST_F(ShellTest, ATimerEventThatComesLateMakesUpTheStepsThenDrawsOnce)
{
    CTutorialDlg& dialog = MakeMainWindow();
    CModel& model = *App().GetModel();
    GLDevice* device = CurrentGLDevice();
    SendKey(WXK_RIGHT, true);
    SendKey('P', true);

    // Three steps in one event: each is a whole step of the rules (the held
    // Right leans on every one), but the views draw once.
    int presents = device->PresentCount();
    EXPECT_TRUE(dialog.RunTimerEvent(3));
    EXPECT_EQ(dialog.GetTickCount(), 3u);
    EXPECT_EQ(model.GetRollAngle(), -3.0);
    EXPECT_EQ(device->PresentCount(), presents + 3);
    EXPECT_EQ(dialog.GetRecorder().GetScript().TotalTicks(), 3u);

    // P let go: the first step pauses, the others only watch P, and a
    // paused event draws nothing; the blip plays once.
    SendKey('P', false);
    presents = device->PresentCount();
    EXPECT_FALSE(dialog.RunTimerEvent(4));
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 1);
    EXPECT_EQ(model.GetRollAngle(), -3.0);
    EXPECT_EQ(device->PresentCount(), presents);
    // Every step counts; the recording keeps the release and, as ever,
    // leaves out the paused steps that only watch P.
    EXPECT_EQ(dialog.GetTickCount(), 7u);
    EXPECT_EQ(dialog.GetRecorder().GetScript().TotalTicks(), 4u);
    SendKey(WXK_RIGHT, false);
}

TEST_F(ShellTest, NewGameWhilePausedResumesAndPutsTheThreeCamerasBack)
{
    CTutorialDlg& dialog = MakeMainWindow();
    CModel& model = *App().GetModel();
    SendKey(WXK_RIGHT, true);
    Tick(20);
    SendKey(WXK_RIGHT, false);
    wxGLCanvas* map = dialog.GetMapView().GetViewWindow().GetCanvas();
    SendMouse(map, wxEVT_LEFT_DOWN, 50, 50, true, false, false);
    SendMouse(map, wxEVT_MOTION, 80, 70, true, false, false);
    SendMouse(map, wxEVT_LEFT_UP, 80, 70, false, false, false);
    dialog.GetMapView().GetCamera()->SetPerspective(30, 1, 2);
    model.SetPaused(true);
    const int blips = BlipCount();

    ClickButton(&dialog, CTutorialDlg::IDC_NEW_GAME);
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(BlipCount(), blips);
    ExpectVector(model.GetSoarerPosition(), 3.0f, 6.0f, -25.5f);

    ORV_Camera* main = dialog.GetMainView().GetCamera();
    ORV_Camera* mapCamera = dialog.GetMapView().GetCamera();
    ExpectVector(main->GetPosition(), 0, 10, -25);
    ExpectVector(dialog.GetGroundView().GetCamera()->GetPosition(), 30, 30, 30);
    ExpectVector(mapCamera->GetPosition(), -0.1f, 60, 0);
    ExpectVector(mapCamera->GetLookAt(), 0, 0, 0);
    ExpectPerspective(mapCamera, 50, 0.5f, 75);
    EXPECT_EQ(mapCamera->m_RotationX, 0.0f);
    EXPECT_EQ(mapCamera->m_RotationY, 0.0f);

    // The next tick flies again and moves the chase camera.
    Tick();
    EXPECT_NE(main->GetPosition().y, 10.0f);
}

TEST_F(ShellTest, MapViewDragsOrbitPanAndZoomByTheirAmounts)
{
    CTutorialDlg& dialog = MakeMainWindow();
    wxGLCanvas* map = dialog.GetMapView().GetViewWindow().GetCanvas();
    ORV_Camera* camera = dialog.GetMapView().GetCamera();
    const int height = map->GetClientSize().y;
    GLDevice* device = CurrentGLDevice();
    const int presents = device->PresentCount();

    // Left: 30 pixels right is 30 degrees about Y; 10 pixels up (window y
    // down) is 10 degrees about the side axis. A second drag goes on from there.
    SendMouse(map, wxEVT_LEFT_DOWN, 100, 100, true, false, false);
    SendMouse(map, wxEVT_MOTION, 130, 90, true, false, false);
    EXPECT_FLOAT_EQ(camera->m_RotationY, 30.0f);
    EXPECT_FLOAT_EQ(camera->m_RotationX, 10.0f);
    SendMouse(map, wxEVT_LEFT_UP, 130, 90, false, false, false);
    SendMouse(map, wxEVT_MOTION, 10, 10, false, false, false);
    EXPECT_FLOAT_EQ(camera->m_RotationY, 30.0f);
    SendMouse(map, wxEVT_LEFT_DOWN, 0, 0, true, false, false);
    SendMouse(map, wxEVT_MOTION, 5, 0, true, false, false);
    EXPECT_FLOAT_EQ(camera->m_RotationY, 35.0f);
    SendMouse(map, wxEVT_LEFT_UP, 5, 0, false, false, false);
    EXPECT_EQ(camera->m_MouseY, height);  // device y counts up from the bottom

    // Right: 0.1 units per pixel of horizontal motion, away when moving
    // right; vertical motion does nothing; a release changes nothing.
    const float distance = Distance(camera->GetPosition(), camera->GetLookAt());
    SendMouse(map, wxEVT_RIGHT_DOWN, 100, 100, false, false, true);
    SendMouse(map, wxEVT_MOTION, 120, 100, false, false, true);
    EXPECT_NEAR(Distance(camera->GetPosition(), camera->GetLookAt()), distance + 2.0f, 1e-4f);
    SendMouse(map, wxEVT_MOTION, 120, 40, false, false, true);
    EXPECT_NEAR(Distance(camera->GetPosition(), camera->GetLookAt()), distance + 2.0f, 1e-4f);
    SendMouse(map, wxEVT_MOTION, 90, 40, false, false, true);
    EXPECT_NEAR(Distance(camera->GetPosition(), camera->GetLookAt()), distance - 1.0f, 1e-4f);
    const D3DXVECTOR3 beforeRelease = camera->GetPosition();
    SendMouse(map, wxEVT_RIGHT_UP, 300, 300, false, false, false);
    ExpectVector(camera->GetPosition(), beforeRelease.x, beforeRelease.y, beforeRelease.z, 0.0f);

    // Middle: eye and look-at move together, 0.1 units per pixel.
    const D3DXVECTOR3 eye = camera->GetPosition();
    const D3DXVECTOR3 lookAt = camera->GetLookAt();
    SendMouse(map, wxEVT_MIDDLE_DOWN, 100, 100, false, true, false);
    SendMouse(map, wxEVT_MOTION, 110, 100, false, true, false);
    SendMouse(map, wxEVT_MIDDLE_UP, 110, 100, false, false, false);
    EXPECT_NEAR(Distance(camera->GetPosition(), eye), 1.0f, 1e-4f);
    EXPECT_NEAR(Distance(camera->GetLookAt(), lookAt), 1.0f, 1e-4f);
    const D3DXVECTOR3 moved = camera->GetPosition() - eye;
    ExpectVector(camera->GetLookAt() - lookAt, moved.x, moved.y, moved.z, 1e-4f);

    // Left and right together act as left alone.
    const float rotationY = camera->m_RotationY;
    const D3DXVECTOR3 panned = camera->GetPosition();
    SendMouse(map, wxEVT_LEFT_DOWN, 0, 0, true, false, false);
    SendMouse(map, wxEVT_RIGHT_DOWN, 0, 0, true, false, true);
    SendMouse(map, wxEVT_MOTION, 7, 0, true, false, true);
    EXPECT_FLOAT_EQ(camera->m_RotationY, rotationY + 7.0f);
    ExpectVector(camera->GetPosition(), panned.x, panned.y, panned.z, 0.0f);
    SendMouse(map, wxEVT_RIGHT_UP, 7, 0, true, false, false);
    SendMouse(map, wxEVT_LEFT_UP, 7, 0, false, false, false);
    EXPECT_FALSE(map->HasCapture());

    // Gestures only change the camera: nothing was drawn.
    EXPECT_EQ(device->PresentCount(), presents);
}

TEST_F(ShellTest, WithoutGLTheWindowReportsTheDeviceFailureAndNeverTicks)
{
    const Direct3DFactory previous = SetDirect3DFactory(MakeShellDirect3DFactory([] { return false; }));
    CTutorialDlg& dialog = MakeMainWindow(false);
    SetDirect3DFactory(previous);

    ASSERT_EQ(m_MessageBoxes.size(), 1u);
    EXPECT_EQ(m_MessageBoxes[0].text, L"D3D Creation Failed during CreateDevice");
    EXPECT_EQ(m_MessageBoxes[0].caption, L"ORVD3D_GraphicsSystem::CreateGraphicsContext");
    EXPECT_FALSE(dialog.IsInitialized());
    EXPECT_FALSE(dialog.GetTimer().IsRunning());
    EXPECT_TRUE(dialog.IsShown());
    // The placeholders stay; nothing asked for the model.
    EXPECT_NE(dynamic_cast<wxStaticText*>(dialog.FindWindow(CTutorialDlg::IDC_MAP_VIEW)), nullptr);
    PumpEvents(std::chrono::milliseconds(200));
    EXPECT_EQ(dialog.GetTickCount(), 0u);
    EXPECT_FALSE(App().GetModels().HasModel());
}

TEST_F(ShellTest, QuitAndEscapeEndTheGameAndTheApplicationCleansUp)
{
    // "Quit", Escape and the close box, each sent once the modal loop runs.
    const auto endings = {
        +[](CTutorialDlg* dialog) { ClickButton(dialog, CTutorialDlg::ID_QUIT); },
        +[](CTutorialDlg* dialog) { dialog->Close(); },
        +[](CTutorialDlg* dialog) {
            wxKeyEvent escape(wxEVT_CHAR_HOOK);
            escape.m_keyCode = WXK_ESCAPE;
            escape.SetEventObject(dialog);
            dialog->GetEventHandler()->ProcessEvent(escape);
        },
    };
    // --stats: one line as each game ends.
    std::ostringstream stats;
    App().SetStatsOutput(&stats);
    for (auto end : endings)
    {
        bool modelSeen = false;
        wxTimer poll;
        poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            CTutorialDlg* dialog = App().GetMainDialog();
            if (!dialog || !dialog->IsModal() || dialog->GetTickCount() < 3)
                return;
            poll.Stop();
            modelSeen = App().GetModels().HasModel();
            end(dialog);
        });
        poll.Start(20);
        EXPECT_EQ(App().InitInstance(), FALSE);
        EXPECT_TRUE(modelSeen);
        EXPECT_FALSE(App().GetModels().HasModel());
        EXPECT_EQ(App().GetMainDialog(), nullptr);
        EXPECT_FALSE(ORVD3D_GraphicsSystem::GetInstance().IsContextValid());
    }
    App().SetStatsOutput(nullptr);
    std::istringstream lines(stats.str());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
    {
        unsigned long long steps = 0, frames = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%llu steps, %llu frames, ", &steps, &frames), 2) << line;
        EXPECT_TRUE(steps >= 3 && frames >= 1) << line;
    }
    EXPECT_EQ(count, 3);
}

TEST_F(ShellTest, VTogglesTheVariometerWhenLetGoAndVarioStartsWithItOn)
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

TEST(ShellStartTest, WithoutADisplayTheGameSaysSoInOneLine)
{
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const std::string waylandValue = wayland ? wayland : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::ostringstream out, err;
    const int status = RunTutorialGameReporting(SoareOptions{}, KeyScript{}, out, err);
    setenv("DISPLAY", display.c_str(), 1);
    if (wayland)
        setenv("WAYLAND_DISPLAY", waylandValue.c_str(), 1);

    EXPECT_EQ(status, 1);
    const std::string text = err.str();
    EXPECT_NE(text.find("no display"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}
