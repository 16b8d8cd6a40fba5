#include "tutorialapp.h"

#include <csignal>
#include <ostream>

#include "ORVMFC_MessageBox.h"
#include "QuietAudio.h"
#include "gldirect3dfactory.h"
#include "keyscriptreplay.h"
#include "model.h"
#include "tutorialdlg.h"

wxIMPLEMENT_APP_NO_MAIN(CTutorialApp);

namespace {

// SIGINT and SIGTERM end the game as "Quit" does, so that a recording is
// written. The toolkit calls this from its event loop, not from the signal.
void EndGameOnSignal(int /*signal*/)
{
    if (CTutorialApp* app = CTutorialApp::Get())
        if (CTutorialDlg* dialog = app->GetMainDialog(); dialog && dialog->IsModal())
            dialog->EndModal(CTutorialDlg::ID_QUIT);
}

bool IsArrowKey(int code)
{
    switch (code) {
    case WXK_LEFT:
    case WXK_RIGHT:
    case WXK_UP:
    case WXK_DOWN:
    case WXK_NUMPAD_LEFT:
    case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_UP:
    case WXK_NUMPAD_DOWN: return true;
    default: return false;
    }
}

}  // namespace

CTutorialApp::CTutorialApp() : m_KeySource(std::make_shared<CWxKeySource>()) {}

CTutorialApp::~CTutorialApp()
{
    m_Models.DeleteModel();
    RestorePlatform();
}

CTutorialApp* CTutorialApp::Get()
{
    return dynamic_cast<CTutorialApp*>(wxApp::GetInstance());
}

void CTutorialApp::SetModelFactory(CModelOwner::Factory factory)
{
    m_Models.SetFactory(std::move(factory));
}

void CTutorialApp::SetReplay(std::optional<KeyScript> script)
{
    if (!script) {
        if (m_Replay)
            SetModelFactory(nullptr);
        m_Replay.reset();
        return;
    }
    m_Replay = std::make_unique<CKeyScriptReplay>(std::move(*script));
    SetModelFactory([time = m_Replay->GetTime()] { return std::make_unique<CModel>(time); });
}

bool CTutorialApp::OnInit()
{
    InstallPlatform();
    SetSignalHandler(SIGINT, EndGameOnSignal);
    SetSignalHandler(SIGTERM, EndGameOnSignal);
    return true;
}

int CTutorialApp::OnRun()
{
    InitInstance();
    return 0;
}

int CTutorialApp::OnExit()
{
    m_Models.DeleteModel();
    RestorePlatform();
    return wxApp::OnExit();
}

BOOL CTutorialApp::InitInstance()
{
    {
        CTutorialDlg dialog(nullptr, *this);
        m_pMainDlg = &dialog;
        dialog.ShowModal();
        dialog.SaveRecording();
        if (m_StatsOutput)
            *m_StatsOutput << dialog.GetStats().FormatLine() << std::endl;
        m_pMainDlg = nullptr;
    }
    m_Models.DeleteModel();
    return FALSE;
}

int CTutorialApp::FilterEvent(wxEvent& event)
{
    const wxEventType type = event.GetEventType();
    if (type != wxEVT_KEY_DOWN && type != wxEVT_KEY_UP)
        return Event_Skip;
    const auto& key = static_cast<const wxKeyEvent&>(event);
    m_KeySource->OnKey(key.GetKeyCode(), type == wxEVT_KEY_DOWN);
    // The arrows steer while the main window has the keyboard; they must not
    // also walk the focus along its buttons.
    if (IsArrowKey(key.GetKeyCode()) && m_KeySource->IsActive())
        return Event_Processed;
    return Event_Skip;
}

void CTutorialApp::InstallPlatform()
{
    if (m_PlatformInstalled)
        return;
    m_PreviousFactory = SetDirect3DFactory(MakeShellDirect3DFactory(DisplaySupportsViewCanvases));
    m_PreviousMessageBox = SetMessageBoxHandler(ShowWxMessageBox);
    m_PreviousKeySource = SetDIKeySource(m_KeySource);
    QuietAudioBackendErrors();
    m_PlatformInstalled = true;
}

void CTutorialApp::RestorePlatform()
{
    if (!m_PlatformInstalled)
        return;
    SetDIKeySource(m_PreviousKeySource);
    SetMessageBoxHandler(m_PreviousMessageBox);
    SetDirect3DFactory(m_PreviousFactory);
    m_PlatformInstalled = false;
}
