// The application object of the windowed game: runs the main window as a
// modal dialog, owns the one game model (made on the first GetModel, deleted
// when the main window has closed), and gathers the keyboard for the whole
// application into the DirectInput key source.
//
// Owns the model (through its CModelOwner), the key source and a replay
// (--replay); installs the OpenGL Direct3D factory, the message-box handler
// and the key source while it lives and puts back what was there before.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>

#include <wx/app.h>

#include "DIKeySource.h"
#include "ORV_MessageBox.h"
#include "d3d9.h"
#include "mainwindowhost.h"
#include "modelowner.h"
#include "wintypes.h"
#include "wxkeysource.h"

class CKeyScriptReplay;
class CModel;
class CTutorialDlg;
class KeyScript;

class CTutorialApp : public wxApp, public CMainWindowHost
{
public:
    CTutorialApp();
    ~CTutorialApp() override;

    // The running application, or null when the wx application object is
    // not one of these.
    static CTutorialApp* Get();

    // Installs the platform: the GL device factory, the toolkit's message
    // boxes, the key source.
    bool OnInit() override;
    // The program: InitInstance, then the exit status.
    int OnRun() override;
    int OnExit() override;
    // Every key-down and key-up of every window reaches the key source.
    int FilterEvent(wxEvent& event) override;

    // Runs the main window modally; deletes the model when it closes.
    // FALSE: the application then ends without a message loop of its own.
    BOOL InitInstance();

    // The model, made on the first call.
    CModel* GetModel() { return m_Models.GetModel(); }
    CModelOwner& GetModels() override { return m_Models; }
    CWxKeySource& GetKeySource() override { return *m_KeySource; }

    // A key script of every tick is written here when the main window
    // closes (--record).
    void SetRecordFile(std::optional<std::filesystem::path> file) { m_RecordFile = std::move(file); }
    const std::optional<std::filesystem::path>& GetRecordFile() const override { return m_RecordFile; }
    // The audio variometer is on when the main window opens (--vario).
    void SetVarioAtStart(bool on) { m_VarioAtStart = on; }
    bool GetVarioAtStart() const override { return m_VarioAtStart; }

    // The main window plays this key script instead of reading the keyboard
    // (--replay): the model is made anew on a clock that the replay advances
    // 25 ms per step, as the headless game counts time. An empty optional
    // ends the replay (the next model reads the wall clock again).
    void SetReplay(std::optional<KeyScript> script);
    CKeyScriptReplay* GetReplay() const override { return m_Replay.get(); }

    // When the main window closes, the --stats line is written here (null:
    // not written).
    void SetStatsOutput(std::ostream* out) { m_StatsOutput = out; }

    // The modal main window while it runs (for signal handling and tests).
    CTutorialDlg* GetMainDialog() const { return m_pMainDlg; }

    // Replaces the model factory (tests: a model on a manual clock); a model
    // made already is deleted. The model owner stays the same object.
    void SetModelFactory(CModelOwner::Factory factory);

private:
    void InstallPlatform();
    void RestorePlatform();

    CModelOwner m_Models;  // the m_pModel of the application
    std::shared_ptr<CWxKeySource> m_KeySource;
    std::shared_ptr<DIKeySource> m_PreviousKeySource;
    Direct3DFactory m_PreviousFactory;
    ORV_MessageBoxHandler m_PreviousMessageBox;
    bool m_PlatformInstalled = false;
    std::optional<std::filesystem::path> m_RecordFile;
    bool m_VarioAtStart = false;
    std::unique_ptr<CKeyScriptReplay> m_Replay;
    std::ostream* m_StatsOutput = nullptr;
    CTutorialDlg* m_pMainDlg = nullptr;
};

wxDECLARE_APP(CTutorialApp);
