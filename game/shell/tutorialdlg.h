// The main window: a modal dialog with the three game views (chase, map and
// ground), the buttons "New Game", "Options", "How To Play" and "Quit", and
// the height, speed and time read-outs. A timer drives the game at 40 steps
// a second: every step is the game's own (RunGameStep) on this window's
// keyboard, model and views. Each timer event runs the steps that fell due
// since the last one (one when the machine keeps up, up to four when a
// frame took long to draw) and then draws the views that are on once.
//
// With a replay (--replay), the steps read the replay's keys instead of the
// keyboard and count the replay's clock; the keyboard's P pauses and resumes
// the viewing.
//
// Owns its views, keyboard, timer and the surface that stands for its own
// window handle; the toolkit owns the controls and the modeless Options and
// How To Play windows (children of this one), which are only watched here
// through weak references. The model, the key source and the run's options
// belong to the host (the application), which outlives the window.
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>

#include <wx/dialog.h>
#include <wx/icon.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include "drawandmousehandler.h"
#include "drawonlyhandler.h"
#include "keyboardinput.h"
#include "keyrecorder.h"
#include "tickschedule.h"
#include "tickstats.h"
#include "variometer.h"
#include "wintypes.h"

class CControlsDialog;
class CKeyScriptReplay;
class CMainWindowHost;
class CModel;
class COptionsDialog;

class CTutorialDlg : public wxDialog
{
public:
    static constexpr int IDD = 138;
    static constexpr int ID_QUIT = 1;  // IDOK
    static constexpr int IDC_MAIN_VIEW = 1000;
    static constexpr int IDC_HEIGHT = 1002;
    static constexpr int IDC_MAP_VIEW = 1003;
    static constexpr int IDC_SPEED = 1004;
    static constexpr int IDC_TIME = 1005;
    static constexpr int IDC_GROUND_VIEW = 1010;
    static constexpr int IDC_NEW_GAME = 1103;
    static constexpr int IDC_OPTIONS = 1104;
    static constexpr int IDC_HOW_TO_PLAY = 1105;
    static constexpr int kTimerMilliseconds = 25;

    // Makes the window and its controls from the template, hidden; showing
    // it (ShowModal or Show) runs OnInitDialog. The host gives the model and
    // the keyboard.
    CTutorialDlg(wxWindow* pParent, CMainWindowHost& host);
    ~CTutorialDlg() override;

    BOOL OnInitDialog();
    // The dialog's own painting: the frames of its bordered and sunken
    // statics (the toolkit draws none around a label).
    void OnPaint();
    // Releases the graphics context; runs once, as the window goes.
    void OnDestroy();
    // One timer event that runs one step: what a timer event does when the
    // machine keeps up (the tests tick by hand with it).
    void OnTimer();
    // One timer event that runs steps steps (made up when the event came
    // late), then draws once if the last one stepped. True when it drew.
    bool RunTimerEvent(int steps);
    void OnNewGame();
    void OnOptions();
    void OnHowToPlay();

    // For the application and the tests.
    CDrawOnlyHandler& GetMainView() { return m_MainView; }
    CDrawOnlyHandler& GetGroundView() { return m_GroundView; }
    CDrawAndMouseHandler& GetMapView() { return m_MapView; }
    CKeyboardInput& GetKeyboard() { return m_Keyboard; }
    wxTimer& GetTimer() { return m_Timer; }
    COptionsDialog* GetOptionsDialog() const { return m_pOptionsDlg.get(); }
    CControlsDialog* GetControlsDialog() const { return m_pControlsDlg.get(); }
    bool IsInitialized() const { return m_Initialized; }
    // Steps run so far, made-up steps included.
    std::uint64_t GetTickCount() const { return m_Ticks; }
    const CKeyRecorder& GetRecorder() const { return m_Recorder; }
    CVariometer& GetVariometer() { return m_Vario; }
    // What the timer's events did since the window started (--stats).
    const CTickStats& GetStats() const { return m_Stats; }
    const CTickSchedule& GetSchedule() const { return m_Schedule; }
    // True while a replay's viewing is paused by P.
    bool IsViewingPaused() const { return m_bViewingPaused; }
    // The handle the graphics context and the keyboard know this window by.
    HWND GetSafeHwnd();

    // Writes the recording to the host's record file, if any. False when
    // writing failed.
    bool SaveRecording();

private:
    void BindReadout(int slot, int controlId);
    // Pauses the game (with its blip), then opens a modeless Dialog over
    // this window; null when its window cannot be made.
    template <typename Dialog>
    Dialog* OpenPausing();
    // Arms the timer for the next step due.
    void ScheduleNextTick();
    // One step of the rules; true when the model stepped.
    bool Step(CModel& model);
    // A replay: P on the keyboard pauses and resumes the viewing.
    void PollViewingPause();
    void TraceReadouts();

    void OnInitDialogEvent(wxInitDialogEvent& event);
    void OnPaintEvent(wxPaintEvent& event);
    void OnTimerEvent(wxTimerEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnActivate(wxActivateEvent& event);

    CMainWindowHost& m_Host;
    wxIcon m_hIcon;
    CDrawOnlyHandler m_MainView;
    CDrawOnlyHandler m_GroundView;
    CDrawAndMouseHandler m_MapView;
    CKeyboardInput m_Keyboard;
    bool m_bPKeyWasDown = false;
    wxWeakRef<COptionsDialog> m_pOptionsDlg;
    wxWeakRef<CControlsDialog> m_pControlsDlg;

    // One-shot, re-armed after every tick: a periodic toolkit timer that is
    // always due (ticks slower than 25 ms) would starve the repainting of
    // the controls and the toolkit's idle work, which wait for a quiet
    // moment; the window system's own timer messages never overtake paints.
    wxTimer m_Timer;
    CTickSchedule m_Schedule;
    CTickStats m_Stats;
    bool m_Initialized = false;
    bool m_Destroyed = false;
    std::uint64_t m_Ticks = 0;
    CKeyRecorder m_Recorder;
    CVariometer m_Vario;
    std::ofstream m_ReadoutTrace;

    // A replay (the host's; null when the game is played): the
    // steps read m_ReplayKeyboard, which reads the replay's keys.
    CKeyScriptReplay* m_pReplay = nullptr;
    CKeyboardInput m_ReplayKeyboard;
    bool m_bReplayPKeyWasDown = false;
    bool m_bViewingPaused = false;
};
