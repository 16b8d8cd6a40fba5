#include "ShellTestSupport.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/glcanvas.h>
#include <wx/init.h>
#include <wx/stopwatch.h>

#include "keyscript.h"
#include "tutorialapp.h"
#include "tutorialdlg.h"

namespace {

// Starts the toolkit with the game's application object before any test
// runs, with a running loop of its own so that the tests can dispatch the
// toolkit's events (timers, repaints) between their steps; ends it after.
class ToolkitEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static char name[] = "shell_tests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display: run the shell tests under xvfb-run";
        ASSERT_TRUE(CTutorialApp::Get() && CTutorialApp::Get()->CallOnInit());
        m_Loop = std::make_unique<wxGUIEventLoop>();
        wxEventLoopBase::SetActive(m_Loop.get());
    }
    void TearDown() override
    {
        if (!m_Loop)
            return;
        wxEventLoopBase::SetActive(nullptr);
        m_Loop.reset();
        CTutorialApp::Get()->OnExit();
        wxEntryCleanup();
    }

private:
    std::unique_ptr<wxGUIEventLoop> m_Loop;
};

const ::testing::Environment* const g_Toolkit = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

}  // namespace

void PumpEvents(std::chrono::milliseconds duration)
{
    wxStopWatch watch;
    do {
        // One event at a time: a timer that is always due (slow ticks) must
        // not keep this loop from ending.
        wxTheApp->ProcessPendingEvents();
        if (wxTheApp->Pending())
            wxTheApp->Dispatch();
        else
            wxMilliSleep(1);
        wxTheApp->ProcessIdle();
    } while (watch.Time() < duration.count());
}

void SendKey(int wxKeyCode, bool down)
{
    wxKeyEvent event(down ? wxEVT_KEY_DOWN : wxEVT_KEY_UP);
    event.m_keyCode = wxKeyCode;
    App().FilterEvent(event);
}

void ClickButton(wxWindow* window, int id)
{
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(window->FindWindow(id));
    window->GetEventHandler()->ProcessEvent(event);
}

void ShellTest::SetUp()
{
    m_Folder.emplace();
    m_PreviousSound = SetSoundSink(m_Sound);
    m_PreviousMessageBox = SetMessageBoxHandler([this](HWND, const wchar_t* text, const wchar_t*, UINT) {
        m_MessageBoxes.push_back(text ? text : L"");
        return IDOK;
    });
    App().GetKeySource().SetActiveTest([] { return true; });
    App().GetKeySource().ReleaseAll();
}

void ShellTest::TearDown()
{
    DestroyMainWindow();
    PumpEvents(std::chrono::milliseconds(20));
    App().GetModels().DeleteModel();
    App().GetKeySource().SetActiveTest(nullptr);
    SetMessageBoxHandler(m_PreviousMessageBox);
    SetSoundSink(m_PreviousSound);
    m_Folder.reset();
}

CTutorialDlg& ShellTest::MakeMainWindow(bool stopTimer)
{
    m_Dialog = new CTutorialDlg(nullptr, App());
    m_Dialog->Show();  // runs OnInitDialog
    if (stopTimer)
        m_Dialog->GetTimer().Stop();
    // The views can draw once their canvases have X windows.
    auto realised = [this] {
        if (!m_Dialog->IsInitialized())
            return true;  // no views to wait for
        for (CDrawOnlyHandler* view : {&m_Dialog->GetMainView(), &m_Dialog->GetGroundView(),
                                       static_cast<CDrawOnlyHandler*>(&m_Dialog->GetMapView())}) {
            const wxGLCanvas* canvas = view->GetViewWindow().GetCanvas();
            if (!canvas || !canvas->IsShownOnScreen() || canvas->GetXWindow() == 0)
                return false;
        }
        return true;
    };
    for (int i = 0; i < 250 && !realised(); ++i)
        PumpEvents(std::chrono::milliseconds(20));
    PumpEvents(std::chrono::milliseconds(20));
    return *m_Dialog;
}

void ShellTest::Tick(int n)
{
    for (int i = 0; i < n; ++i)
        m_Dialog->OnTimer();
}

int ShellTest::BlipCount() const
{
    const auto& requests = m_Sound->GetRequests();
    return static_cast<int>(
        std::ranges::count(requests, std::wstring(L"Sound/PauseBlip.wav"), &RecordingSoundSink::Request::file));
}
