// The main window: its start-up order, the tick as the window runs it (pause
// key, steering, views switched off), "New Game", the map view's mouse
// gestures, the way it ends, and what it does without GL or a display.
#include <cstdlib>
#include <iostream>
#include <sstream>

#include <wx/glcanvas.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include "GLDevice.h"
#include "ORVD3D_GraphicsSystem.h"
#include "ShellTestSupport.h"
#include "SlowPresentDirect3D.h"
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

TEST_F(ShellTest, ModelIsBuiltAfterTheContextAndTheViewsAndBeforeKeyboardAndTimer)
{
    struct AtCreation
    {
        bool made = false;
        bool device = false;
        bool viewsReady = false;
        bool keyboard = true;
        bool timer = true;
        // The eyes as they are placed, before any tick moves them.
        D3DXVECTOR3 mainEye, groundEye;
    };
    auto seen = std::make_shared<AtCreation>();
    App().SetModelFactory([this, seen] {
        seen->made = true;
        seen->device = ORVD3D_GraphicsSystem::GetInstance().GetD3DDevice() != nullptr;
        seen->viewsReady = m_Dialog && m_Dialog->GetMainView().IsGraphicsReady() &&
                           m_Dialog->GetGroundView().IsGraphicsReady() && m_Dialog->GetMapView().IsGraphicsReady();
        seen->keyboard = m_Dialog && m_Dialog->GetKeyboard().HasDevice();
        seen->timer = m_Dialog && m_Dialog->GetTimer().IsRunning();
        if (m_Dialog)
        {
            seen->mainEye = m_Dialog->GetMainView().GetCamera()->GetPosition();
            seen->groundEye = m_Dialog->GetGroundView().GetCamera()->GetPosition();
        }
        return std::make_unique<CModel>();
    });

    CTutorialDlg& dialog = MakeMainWindow(false);
    EXPECT_TRUE(dialog.IsInitialized());
    EXPECT_TRUE(seen->made);
    EXPECT_TRUE(seen->device);
    EXPECT_TRUE(seen->viewsReady);
    EXPECT_FALSE(seen->keyboard);
    EXPECT_FALSE(seen->timer);
    EXPECT_TRUE(dialog.GetKeyboard().HasDevice());

    // The views took the placeholders' places and ids; the cameras are set
    // (the timer runs: on a busy machine it may have moved the chase and
    // ground cameras already, so their eyes are checked as they were placed).
    for (int id : {CTutorialDlg::IDC_MAIN_VIEW, CTutorialDlg::IDC_MAP_VIEW, CTutorialDlg::IDC_GROUND_VIEW})
        EXPECT_NE(dynamic_cast<wxGLCanvas*>(dialog.FindWindow(id)), nullptr) << id;
    ExpectVector(seen->mainEye, 0, 10, -25);
    ExpectPerspective(dialog.GetMainView().GetCamera(), 45, 0.1f, 400);
    ExpectVector(seen->groundEye, 30, 30, 30);
    ExpectPerspective(dialog.GetGroundView().GetCamera(), 45, 0.5f, 150);
    ExpectVector(dialog.GetMapView().GetCamera()->GetPosition(), -0.01f, 60, 0);
    ExpectPerspective(dialog.GetMapView().GetCamera(), 50, 0.5f, 75);

    // The real timer ticks, draws every view and fills the read-outs.
    EXPECT_TRUE(dialog.GetTimer().IsRunning());
    for (int i = 0; i < 200 && dialog.GetStats().GetFrames() < 3; ++i)
        PumpEvents(std::chrono::milliseconds(50));
    EXPECT_GT(dialog.GetTickCount(), 2u);
    EXPECT_GT(CurrentGLDevice()->PresentCount(), 6);
    for (int id : {CTutorialDlg::IDC_HEIGHT, CTutorialDlg::IDC_SPEED, CTutorialDlg::IDC_TIME})
        EXPECT_FALSE(dialog.FindWindow(id)->GetLabel().empty()) << id;
    EXPECT_EQ(dialog.FindWindow(CTutorialDlg::IDC_SPEED)->GetLabel(), "0.100000");
    App().SetModelFactory(nullptr);
}

TEST_F(ShellTest, PToggleOnReleaseWithOneBlipAndPausedTicksNeitherSteerNorDraw)
{
    MakeMainWindow();
    CModel& model = *App().GetModel();
    GLDevice* device = CurrentGLDevice();
    ASSERT_NE(device, nullptr);

    SendKey('P', true);
    Tick(3);
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 0);
    SendKey('P', false);
    Tick();
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 1);

    // Paused: arrows do nothing and nothing is drawn.
    const D3DXVECTOR3 position = model.GetSoarerPosition();
    const int presents = device->PresentCount();
    SendKey(WXK_LEFT, true);
    SendKey(WXK_UP, true);
    Tick(5);
    EXPECT_EQ(model.GetRollAngle(), 0.0);
    EXPECT_EQ(model.GetPitchAngle(), 0.0);
    ExpectVector(model.GetSoarerPosition(), position.x, position.y, position.z, 0.0f);
    EXPECT_EQ(device->PresentCount(), presents);

    // A second press and release resumes; the held arrows steer at once.
    SendKey('P', true);
    Tick();
    SendKey('P', false);
    Tick();
    EXPECT_FALSE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 2);
    EXPECT_NE(model.GetRollAngle(), 0.0);
    EXPECT_EQ(device->PresentCount(), presents + 3);

    // P held while the window loses the keyboard counts as let go.
    SendKey('P', true);
    Tick();
    App().GetKeySource().SetActiveTest([] { return false; });
    Tick();
    EXPECT_TRUE(model.IsPaused());
    EXPECT_EQ(BlipCount(), 3);
    SendKey(WXK_LEFT, false);
    SendKey(WXK_UP, false);
    SendKey('P', false);
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

TEST_F(ShellTest, WhenFramesDrawSlowlyTheTimerKeepsFortyStepsASecondAndTheRecordingReplays)
{
    // Three views at 20 ms a Present: a drawn frame costs 60 ms, so about
    // 16 frames in a second, and the steps between them are made up.
    auto counters = std::make_shared<SlowPresentCounters>();
    const Direct3DFactory previous =
        SetDirect3DFactory(MakeSlowPresentFactory(std::chrono::milliseconds(20), counters));
    CTutorialDlg& dialog = MakeMainWindow(false);
    SetDirect3DFactory(previous);
    ASSERT_TRUE(dialog.IsInitialized());
    CModel& model = *App().GetModel();
    SendKey(WXK_RIGHT, true);

    struct Snapshot
    {
        std::uint64_t steps, frames, dropped;
        int presents;
        CTickStats::Clock::time_point lastEventStart;
    };
    // Taken between two timer events: the counts are those of every event
    // up to the one that began at lastEventStart.
    auto snapshot = [&] {
        return Snapshot{dialog.GetTickCount(), dialog.GetStats().GetFrames(), dialog.GetSchedule().GetDroppedSteps(),
                        counters->presents.load(), dialog.GetStats().GetLastEventStart()};
    };
    // The steps due between two events' starts are those of the 25 ms
    // timetable; a stall of this process over 100 ms (a machine too busy to
    // run it) drops steps by design, and then the run is measured again.
    bool measured = false;
    for (int attempt = 0; attempt < 5 && !measured; ++attempt)
    {
        const Snapshot before = snapshot();
        PumpEvents(std::chrono::milliseconds(2000));
        const Snapshot after = snapshot();
        if (after.dropped != before.dropped)
        {
            std::cout << "[ note ] " << after.dropped - before.dropped << " steps dropped in a stall; measuring again"
                      << std::endl;
            continue;
        }
        measured = true;
        const double seconds = std::chrono::duration<double>(after.lastEventStart - before.lastEventStart).count();
        const auto steps = static_cast<double>(after.steps - before.steps);
        const auto frames = static_cast<double>(after.frames - before.frames);
        ASSERT_GT(seconds, 1.8);
        EXPECT_NEAR(steps, seconds * 40.0, 2.0) << "in " << seconds << " s";
        // A frame takes at least 60 ms and an event makes up at most 4 steps.
        EXPECT_LE(frames, seconds / 0.060 + 1.0);
        EXPECT_GE(frames, steps / 4.0);
        EXPECT_GT(steps, frames * 1.5);
        // Every event drew each view once, made-up steps none.
        EXPECT_EQ(after.presents - before.presents, 3 * static_cast<int>(frames));
        std::cout << "[ note ] " << steps << " steps and " << frames << " frames in " << seconds << " s" << std::endl;
    }
    EXPECT_TRUE(measured) << "every run dropped steps: the machine stalled this process for over 100 ms";
    SendKey(WXK_RIGHT, false);

    // One recorded line per step: replayed headless, the recording flies to
    // where the window's craft is.
    dialog.GetTimer().Stop();
    PumpEvents(std::chrono::milliseconds(10));
    const D3DXVECTOR3 shown = model.GetSoarerPosition();
    const double roll = model.GetRollAngle();
    const KeyScript recording = dialog.GetRecorder().GetScript();
    EXPECT_EQ(recording.TotalTicks(), dialog.GetTickCount());
    DestroyMainWindow();
    App().GetModels().DeleteModel();

    CHeadlessGame game;
    std::string error;
    ASSERT_TRUE(game.Start(error)) << error;
    for (std::uint64_t tick = 0; tick < recording.TotalTicks(); ++tick)
        game.Tick(recording.KeysAt(tick));
    ExpectVector(game.GetModel().GetSoarerPosition(), shown.x, shown.y, shown.z, 0.0f);
    EXPECT_EQ(game.GetModel().GetRollAngle(), roll);
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
    ORV_Camera* ground = dialog.GetGroundView().GetCamera();
    ORV_Camera* mapCamera = dialog.GetMapView().GetCamera();
    ExpectVector(main->GetPosition(), 0, 10, -25);
    ExpectVector(main->GetLookAt(), 0, 0, 0);
    ExpectPerspective(main, 45, 0.1f, 400);
    ExpectVector(ground->GetPosition(), 30, 30, 30);
    ExpectVector(ground->GetLookAt(), 0, 0, 0);
    ExpectPerspective(ground, 45, 0.5f, 150);
    ExpectVector(mapCamera->GetPosition(), -0.1f, 60, 0);
    ExpectVector(mapCamera->GetLookAt(), 0, 0, 0);
    ExpectPerspective(mapCamera, 50, 0.5f, 75);
    EXPECT_EQ(mapCamera->m_RotationX, 0.0f);
    EXPECT_EQ(mapCamera->m_RotationY, 0.0f);

    // The next tick flies again and moves the chase camera.
    Tick();
    EXPECT_NE(main->GetPosition().y, 10.0f);
}

TEST_F(ShellTest, ViewSwitchedOffIsNeitherMovedNorDrawn)
{
    CTutorialDlg& dialog = MakeMainWindow();
    CModel& model = *App().GetModel();
    GLDevice* device = CurrentGLDevice();
    Tick();

    int presents = device->PresentCount();
    Tick();
    EXPECT_EQ(device->PresentCount(), presents + 3);

    model.SetGroundViewOff(TRUE);
    const D3DXVECTOR3 groundEye = dialog.GetGroundView().GetCamera()->GetPosition();
    const D3DXVECTOR3 chaseEye = dialog.GetMainView().GetCamera()->GetPosition();
    presents = device->PresentCount();
    Tick(2);
    EXPECT_EQ(device->PresentCount(), presents + 4);
    ExpectVector(dialog.GetGroundView().GetCamera()->GetPosition(), groundEye.x, groundEye.y, groundEye.z, 0.0f);
    EXPECT_NE(dialog.GetMainView().GetCamera()->GetPosition().z, chaseEye.z);

    model.SetMapViewOff(TRUE);
    presents = device->PresentCount();
    Tick();
    EXPECT_EQ(device->PresentCount(), presents + 1);

    // On again: moved and drawn at the next tick.
    model.SetGroundViewOff(FALSE);
    presents = device->PresentCount();
    Tick();
    EXPECT_EQ(device->PresentCount(), presents + 2);
    EXPECT_NE(dialog.GetGroundView().GetCamera()->GetPosition().z, groundEye.z);
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
    std::string line;
    int count = 0;
    while (std::getline(lines, line))
    {
        ++count;
        unsigned long long steps = 0, frames = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%llu steps, %llu frames, ", &steps, &frames), 2) << line;
        EXPECT_GE(steps, 3u) << line;
        EXPECT_GE(frames, 1u) << line;
        EXPECT_NE(line.find(" steps/s, "), std::string::npos) << line;
    }
    EXPECT_EQ(count, 3);
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
