#include "tutorialdlg.h"

#include <cstdlib>
#include <iostream>

#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/stattext.h>

#include "ORVD3D_GraphicsSystem.h"
#include "ORVMFC_StatusText.h"
#include "ORVMFC_WindowHandle.h"
#include "appicon.h"
#include "controlsdialog.h"
#include "dialogunits.h"
#include "dinput.h"
#include "gametick.h"
#include "keyscriptreplay.h"
#include "mainwindowhost.h"
#include "mmsystem.h"
#include "model.h"
#include "modelowner.h"
#include "optionsdialog.h"
#include "wxkeysource.h"

namespace {

// A view's camera as the window sets it at start and on "New Game".
struct CameraPlacement
{
    D3DXVECTOR3 eye;
    float fov, nearPlane, farPlane;
};

constexpr D3DXVECTOR3 kLookAt(0.0f, 0.0f, 0.0f);

void PlaceCamera(ORV_WindowHandler& view, const CameraPlacement& placement)
{
    ORV_Camera* camera = view.GetCamera();
    camera->SetLookAt(kLookAt);
    camera->SetPosition(placement.eye);
    camera->SetPerspective(placement.fov, placement.nearPlane, placement.farPlane);
}

const CameraPlacement kMainCamera{D3DXVECTOR3(0.0f, 10.0f, -25.0f), 45.0f, 0.1f, 400.0f};
const CameraPlacement kGroundCamera{D3DXVECTOR3(30.0f, 30.0f, 30.0f), 45.0f, 0.5f, 150.0f};
// The map camera's eye stands just off the vertical through its look-at
// point: straight above it, with up (0, 1, 0), there is no look-at matrix.
const CameraPlacement kMapCamera{D3DXVECTOR3(-0.01f, 60.0f, 0.0f), 50.0f, 0.5f, 75.0f};
// "New Game" puts the map eye a little further off the vertical.
const CameraPlacement kMapCameraNewGame{D3DXVECTOR3(-0.1f, 60.0f, 0.0f), 50.0f, 0.5f, 75.0f};

static_assert(CTickSchedule::kStep == std::chrono::milliseconds(CTutorialDlg::kTimerMilliseconds));

}  // namespace

CTutorialDlg::CTutorialDlg(wxWindow* pParent, CMainWindowHost& host)
    : wxDialog(pParent, wxID_ANY, "Soare!", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_Host(host),
      m_hIcon(LoadApplicationIcon()),
      m_MainView(host.GetModels()),
      m_GroundView(host.GetModels()),
      m_MapView(host.GetModels()),
      m_Timer(this)
{
    SetClientSizeInDialogUnits(this, 500, 300);
    AddPushButton(this, ID_QUIT, "Quit", 447, 0, 50, 14)->SetDefault();
    AddStaticText(this, IDC_MAIN_VIEW, "", 0, 2, 275, 275, wxBORDER_SIMPLE);
    AddStaticText(this, IDC_MAP_VIEW, "Placeholder for Map View", 279, 17, 220, 146,
                  wxBORDER_SIMPLE | wxALIGN_CENTRE_HORIZONTAL);
    AddStaticText(this, IDC_GROUND_VIEW, "Small View PlaceHolder", 279, 167, 220, 110,
                  wxBORDER_SIMPLE | wxALIGN_CENTRE_HORIZONTAL);
    AddPushButton(this, IDC_NEW_GAME, "New Game", 279, 0, 50, 14);
    AddPushButton(this, IDC_OPTIONS, "Options", 335, 0, 50, 14);
    AddPushButton(this, IDC_HOW_TO_PLAY, "How To Play", 391, 0, 50, 14);
    AddStaticText(this, wxID_ANY, "Height", 1, 282, 22, 8);
    AddStaticText(this, IDC_HEIGHT, "", 26, 282, 42, 10, wxBORDER_SUNKEN);
    AddStaticText(this, wxID_ANY, "Speed", 107, 282, 21, 8);
    AddStaticText(this, IDC_SPEED, "", 129, 282, 42, 10, wxBORDER_SUNKEN);
    AddStaticText(this, wxID_ANY, "Time", 212, 282, 16, 8);
    AddStaticText(this, IDC_TIME, "", 232, 282, 42, 10, wxBORDER_SUNKEN);

    // "Quit" ends the modal loop, and so do Escape and the close box (the
    // toolkit maps them onto the affirmative button when there is no Cancel).
    SetAffirmativeId(ID_QUIT);

    Bind(wxEVT_INIT_DIALOG, &CTutorialDlg::OnInitDialogEvent, this);
    Bind(wxEVT_PAINT, &CTutorialDlg::OnPaintEvent, this);
    Bind(wxEVT_TIMER, &CTutorialDlg::OnTimerEvent, this);
    Bind(wxEVT_BUTTON, &CTutorialDlg::OnButton, this);
    Bind(wxEVT_ACTIVATE, &CTutorialDlg::OnActivate, this);

    // The keyboard is the game's while this window is the active one.
    m_Host.GetKeySource().SetMainWindow(this);
}

CTutorialDlg::~CTutorialDlg()
{
    m_Timer.Stop();
    OnDestroy();
    // The view windows go before the handlers that draw into them.
    DestroyChildren();
}

HWND CTutorialDlg::GetSafeHwnd()
{
    return GetWindowHandle(this);
}

BOOL CTutorialDlg::OnInitDialog()
{
    if (m_hIcon.IsOk())
        SetIcon(m_hIcon);

    const HWND window = GetSafeHwnd();
    if (!ORVD3D_GraphicsSystem::GetInstance().CreateGraphicsContext(window))
        return FALSE;

    struct View
    {
        CDrawOnlyHandler& handler;
        int controlId;
        const CameraPlacement& camera;
    };
    const View views[] = {
        {m_MainView, IDC_MAIN_VIEW, kMainCamera},
        {m_GroundView, IDC_GROUND_VIEW, kGroundCamera},
        {m_MapView, IDC_MAP_VIEW, kMapCamera},
    };
    for (const View& view : views) {
        if (!view.handler.AttachToControl(this, view.controlId))
            return FALSE;
        PlaceCamera(view.handler, view.camera);
    }

    // The editor panels are left out: the model is built here, after the
    // graphics context and the views exist, as their creation would build it.
    m_Host.GetModels().GetModel();

    m_Keyboard.Initialize(window);
    m_bPKeyWasDown = false;
    m_Vario.SetOn(m_Host.GetVarioAtStart());

    // A replay's steps read a keyboard of their own, made on the replay's
    // key source (a device keeps the source it was made on).
    m_pReplay = m_Host.GetReplay();
    if (m_pReplay) {
        const std::shared_ptr<DIKeySource> previous = SetDIKeySource(m_pReplay->GetKeySource());
        m_ReplayKeyboard.Initialize(window);
        SetDIKeySource(previous);
        m_bReplayPKeyWasDown = false;
        m_bViewingPaused = false;
    }

    BindReadout(1, IDC_HEIGHT);
    BindReadout(2, IDC_SPEED);
    BindReadout(3, IDC_TIME);

    if (const char* trace = std::getenv("SOARE_READOUT_TRACE"); trace && *trace)
        m_ReadoutTrace.open(trace, std::ios::trunc);

    const CTickSchedule::Clock::time_point now = CTickSchedule::Clock::now();
    m_Schedule.Start(now);
    m_Stats.Start(now);
    ScheduleNextTick();
    m_Initialized = true;
    return TRUE;
}

void CTutorialDlg::BindReadout(int slot, int controlId)
{
    if (wxWindow* control = FindWindow(controlId))
        BindStatusToWindow(slot, control);
}

void CTutorialDlg::OnDestroy()
{
    if (m_Destroyed)
        return;
    m_Destroyed = true;
    ORVD3D_GraphicsSystem::GetInstance().ReleaseGraphicsContext();
}

void CTutorialDlg::OnTimer()
{
    RunTimerEvent(1);
}

bool CTutorialDlg::RunTimerEvent(int steps)
{
    CModel* model = m_Host.GetModels().GetModel();
    if (!model)
        return false;
    if (m_pReplay)
        PollViewingPause();
    // Every step but the last is made up: the rules run, nothing is drawn.
    bool stepped = false;
    for (int i = 0; i < steps; ++i) {
        if (m_pReplay && (m_bViewingPaused || !m_pReplay->MayStep(*model))) {
            m_Vario.OnIdle(m_Keyboard);
            return false;
        }
        stepped = Step(*model);
    }
    if (stepped)
        DrawGameViews(*model, CGameViews{m_MainView, m_GroundView, m_MapView});
    return stepped;
}

bool CTutorialDlg::Step(CModel& model)
{
    const CGameViews views{m_MainView, m_GroundView, m_MapView};
    const bool pausedBefore = model.IsPaused();
    bool stepped = false;
    if (m_pReplay) {
        m_pReplay->BeginStep();
        stepped = RunGameStep(m_ReplayKeyboard, model, views, m_bReplayPKeyWasDown);
        m_pReplay->EndStep(stepped, model.IsPaused());
    } else {
        stepped = RunGameStep(m_Keyboard, model, views, m_bPKeyWasDown);
        // The keyboard still holds the snapshot this step read.
        m_Recorder.RecordTick(CKeyRecorder::HeldKeys(m_Keyboard), pausedBefore, model.IsPaused());
    }
    // V is read from the player's keyboard in a replay too.
    m_Vario.OnStep(m_Keyboard, model);
    ++m_Ticks;
    if (m_ReadoutTrace.is_open())
        TraceReadouts();
    return stepped;
}

void CTutorialDlg::PollViewingPause()
{
    // As P pauses the game: it acts when let go, with the pause blip.
    m_Keyboard.Poll();
    if (m_Keyboard.IsKeyDown(DIK_P)) {
        m_bPKeyWasDown = true;
    } else if (m_bPKeyWasDown) {
        m_bPKeyWasDown = false;
        m_bViewingPaused = !m_bViewingPaused;
        PlaySoundW(L"Sound/PauseBlip.wav", nullptr, SND_ASYNC);
    }
}

void CTutorialDlg::TraceReadouts()
{
    auto text = [this](int id) {
        const wxWindow* control = FindWindow(id);
        return control ? control->GetLabel().utf8_string() : std::string();
    };
    const CModel* model = m_Host.GetModels().GetModel();
    m_ReadoutTrace << m_Ticks << ',' << text(IDC_HEIGHT) << ',' << text(IDC_SPEED) << ',' << text(IDC_TIME) << ','
                   << (model && model->IsPaused() ? 1 : 0) << '\n';
    m_ReadoutTrace.flush();
}

void CTutorialDlg::OnNewGame()
{
    CModel* model = m_Host.GetModels().GetModel();
    if (!model)
        return;
    model->NewGame();
    const struct
    {
        CDrawOnlyHandler& handler;
        const CameraPlacement& camera;
    } resets[] = {
        {m_MainView, kMainCamera},
        {m_GroundView, kGroundCamera},
        {m_MapView, kMapCameraNewGame},
    };
    for (const auto& reset : resets) {
        PlaceCamera(reset.handler, reset.camera);
        reset.handler.GetCamera()->ResetRotation();
    }
    // A replay starts again from its first step, and its viewing resumes.
    if (m_pReplay) {
        m_pReplay->Restart();
        m_bReplayPKeyWasDown = false;
        m_bViewingPaused = false;
    }
}

template <typename Dialog>
Dialog* CTutorialDlg::OpenPausing()
{
    if (CModel* model = m_Host.GetModels().GetModel())
        model->SetPaused(true);
    auto dialog = std::make_unique<Dialog>(nullptr, m_Host.GetModels());
    if (!dialog->Create(this))
        return nullptr;
    // The toolkit owns a window that exists; closing it destroys it.
    Dialog* shown = dialog.release();
    shown->Show();
    return shown;
}

void CTutorialDlg::OnOptions()
{
    m_pOptionsDlg = OpenPausing<COptionsDialog>();
}

void CTutorialDlg::OnHowToPlay()
{
    m_pControlsDlg = OpenPausing<CControlsDialog>();
}

bool CTutorialDlg::SaveRecording()
{
    const std::optional<std::filesystem::path>& file = m_Host.GetRecordFile();
    if (!file)
        return true;
    if (m_Recorder.WriteFile(*file))
        return true;
    std::cerr << "soare: " << file->string() << ": cannot write the recording" << std::endl;
    return false;
}

void CTutorialDlg::OnInitDialogEvent(wxInitDialogEvent& /*event*/)
{
    OnInitDialog();
}

void CTutorialDlg::OnPaint()
{
    wxPaintDC dc(this);
    const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
    const wxColour frame = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWFRAME);
    for (const wxWindow* child : GetChildren()) {
        const auto* label = dynamic_cast<const wxStaticText*>(child);
        if (!label || !label->IsShown())
            continue;
        const wxRect rect = label->GetRect();
        const wxBorder border = label->GetBorder();
        if (border == wxBORDER_SUNKEN) {
            // Dark above and left, light below and right: set into the face.
            dc.SetPen(wxPen(shadow));
            dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetLeft(), rect.GetTop());
            dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetRight(), rect.GetTop());
            dc.SetPen(wxPen(light));
            dc.DrawLine(rect.GetRight(), rect.GetTop(), rect.GetRight(), rect.GetBottom());
            dc.DrawLine(rect.GetRight(), rect.GetBottom(), rect.GetLeft(), rect.GetBottom());
        } else if (border == wxBORDER_SIMPLE) {
            dc.SetPen(wxPen(frame));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(rect);
        }
    }
}

void CTutorialDlg::OnPaintEvent(wxPaintEvent& /*event*/)
{
    OnPaint();
}

void CTutorialDlg::OnTimerEvent(wxTimerEvent& /*event*/)
{
    const CTickSchedule::Clock::time_point start = CTickSchedule::Clock::now();
    const std::uint64_t ticksBefore = m_Ticks;
    const bool drew = RunTimerEvent(m_Schedule.TakeDueSteps(start));
    m_Stats.AddEvent(static_cast<int>(m_Ticks - ticksBefore), drew, start, CTickSchedule::Clock::now());
    ScheduleNextTick();
}

void CTutorialDlg::ScheduleNextTick()
{
    m_Timer.StartOnce(static_cast<int>(m_Schedule.DelayFrom(CTickSchedule::Clock::now()).count()));
}

void CTutorialDlg::OnButton(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case IDC_NEW_GAME: OnNewGame(); break;
    case IDC_OPTIONS: OnOptions(); break;
    case IDC_HOW_TO_PLAY: OnHowToPlay(); break;
    default:
        // "Quit": the dialog's own handling ends the modal loop.
        event.Skip();
        break;
    }
}

void CTutorialDlg::OnActivate(wxActivateEvent& event)
{
    // Keys let go while another window has the keyboard never report their
    // release here: forget them all when this window loses the keyboard.
    if (!event.GetActive())
        m_Host.GetKeySource().ReleaseAll();
    event.Skip();
}
