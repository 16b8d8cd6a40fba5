#include "headlessgame.h"

#include <cstdio>
#include <ostream>

#include "HeadlessDirect3D9.h"
#include "ORVD3D_GraphicsSystem.h"
#include "SoundSinks.h"
#include "gametick.h"
#include "keyscriptreplay.h"

namespace {

// The main window's layout, in pixels of a common dialog font (1.5 pixels
// per horizontal and 1.625 per vertical dialog unit): the aspect ratios of
// the views are the game's.
constexpr int kDialogWidth = 750, kDialogHeight = 488;
constexpr int kMainWidth = 412, kMainHeight = 447;
constexpr int kGroundWidth = 330, kGroundHeight = 179;
constexpr int kMapWidth = 330, kMapHeight = 237;

void SetCamera(ORV_WindowHandler& view, D3DXVECTOR3 lookAt, D3DXVECTOR3 eye, float fov, float nearPlane, float farPlane)
{
    ORV_Camera* camera = view.GetCamera();
    camera->SetLookAt(lookAt);
    camera->SetPosition(eye);
    camera->SetPerspective(fov, nearPlane, farPlane);
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

}  // namespace

CHeadlessGame::CHeadlessGame()
    : m_Time(std::make_shared<ORV_ManualTimeSource>()),
      m_Keys(std::make_shared<ScriptedKeySource>()),
      m_FocusWindow(std::make_shared<HeadlessWindow>(kDialogWidth, kDialogHeight)),
      m_Models([time = m_Time] { return std::make_unique<CModel>(time); }),
      m_MainView(m_Models, kMainWidth, kMainHeight),
      m_GroundView(m_Models, kGroundWidth, kGroundHeight),
      m_MapView(m_Models, kMapWidth, kMapHeight)
{
    m_PreviousFactory = InstallHeadlessDirect3D();
    m_PreviousKeys = SetDIKeySource(m_Keys);
    m_PreviousSound = SetSoundSink(std::make_shared<SilentSoundSink>());
}

CHeadlessGame::~CHeadlessGame()
{
    // As the game ends: the window releases the graphics context, the views
    // go with the window, then the model is deleted.
    ORVD3D_GraphicsSystem::GetInstance().ReleaseGraphicsContext();
    m_MainView.ShutDown();
    m_GroundView.ShutDown();
    m_MapView.ShutDown();
    m_Models.DeleteModel();
    SetSoundSink(m_PreviousSound);
    SetDIKeySource(m_PreviousKeys);
    SetDirect3DFactory(m_PreviousFactory);
}

bool CHeadlessGame::Start(std::string& error)
{
    if (m_Started)
        return true;
    const HWND focus(m_FocusWindow);
    if (!ORVD3D_GraphicsSystem::GetInstance().CreateGraphicsContext(focus)) {
        error = "the headless graphics context could not be created";
        return false;
    }
    struct Placement
    {
        CHeadlessView& view;
        const char* name;
        D3DXVECTOR3 eye;
        float fov, nearPlane, farPlane;
    };
    // The map camera's eye stands just off the vertical through its look-at
    // point: straight above it, with up (0, 1, 0), there is no look-at matrix.
    const Placement placements[] = {
        {m_MainView, "chase", D3DXVECTOR3(0.0f, 10.0f, -25.0f), 45.0f, 0.1f, 400.0f},
        {m_GroundView, "ground", D3DXVECTOR3(30.0f, 30.0f, 30.0f), 45.0f, 0.5f, 150.0f},
        {m_MapView, "map", D3DXVECTOR3(-0.01f, 60.0f, 0.0f), 50.0f, 0.5f, 75.0f},
    };
    for (const Placement& placement : placements) {
        if (!placement.view.Attach()) {
            error = std::string("the headless ") + placement.name + " view could not be attached";
            return false;
        }
        SetCamera(placement.view, D3DXVECTOR3(0.0f, 0.0f, 0.0f), placement.eye, placement.fov, placement.nearPlane,
                  placement.farPlane);
    }
    // The whole scene is built now, after the context and the views exist.
    m_Models.GetModel();
    m_Keyboard.Initialize(focus);
    m_bPKeyWasDown = false;
    m_Started = true;
    return true;
}

void CHeadlessGame::Tick(unsigned keys)
{
    HoldScriptKeys(*m_Keys, keys);
    m_Time->Advance(kTickMilliseconds);
    RunGameTick(m_Keyboard, *m_Models.GetModel(), CGameViews{m_MainView, m_GroundView, m_MapView}, m_bPKeyWasDown);
    ++m_Ticks;
}

HeadlessDevice* CHeadlessGame::GetDevice()
{
    return dynamic_cast<HeadlessDevice*>(ORVD3D_GraphicsSystem::GetInstance().GetD3DDevice());
}

void CHeadlessGame::WriteTraceHeader(std::ostream& out)
{
    out << "tick,x,y,z,qx,qy,qz,qw,roll,pitch,speed,landed,paused,time\n";
}

void CHeadlessGame::WriteTraceRow(std::ostream& out)
{
    CModel& model = *m_Models.GetModel();
    const ORV_XformInfo xform = model.GetSoarer().GetXformInfo();
    const D3DXVECTOR3 t = xform.GetTranslation();
    const ORV_Quaternion q = xform.GetRotation();
    out << m_Ticks << ',' << Number(t.x) << ',' << Number(t.y) << ',' << Number(t.z) << ',' << Number(q.x) << ','
        << Number(q.y) << ',' << Number(q.z) << ',' << Number(q.w) << ',' << Number(model.GetRollAngle()) << ','
        << Number(model.GetPitchAngle()) << ',' << Number(model.GetSpeed()) << ',' << (model.IsLanded() ? 1 : 0) << ','
        << (model.IsPaused() ? 1 : 0) << ',' << Number(model.GetGameTime()) << '\n';
}
