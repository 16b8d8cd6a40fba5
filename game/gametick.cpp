#include "gametick.h"

#include "ORVD3D_WindowHandler.h"
#include "ORV_Camera.h"
#include "ORV_WindowHandler.h"
#include "d3d9.h"
#include "dinput.h"
#include "keyboardinput.h"
#include "model.h"
#include "modelowner.h"

bool RunGameStep(CKeyboardInput& keyboard, CModel& model, const CGameViews& views, bool& bPKeyWasDown)
{
    keyboard.Poll();

    // P acts when let go, so holding it does nothing and one press toggles
    // once.
    if (keyboard.IsKeyDown(DIK_P)) {
        bPKeyWasDown = true;
    } else if (keyboard.IsKeyUp(DIK_P) && bPKeyWasDown) {
        model.SetPaused(!model.IsPaused());
        bPKeyWasDown = false;
    }
    if (model.IsPaused())
        return false;

    // The arrows act on every tick they are held, each on its own.
    if (keyboard.IsKeyDown(DIK_LEFT))
        model.LeanLeft();
    if (keyboard.IsKeyDown(DIK_RIGHT))
        model.LeanRight();
    if (keyboard.IsKeyDown(DIK_UP))
        model.LeanForward();
    if (keyboard.IsKeyDown(DIK_DOWN))
        model.LeanBackward();

    model.Simulate();

    // f carries the craft's scale (length 0.15), so the cameras sit a
    // fixed, short way behind the craft.
    const D3DXVECTOR3 p = model.GetSoarerPosition();
    const D3DXVECTOR3 a = model.GetSoarerAheadPoint();
    const D3DXVECTOR3 f = model.GetSoarerForward();

    ORV_Camera* chase = views.main.GetCamera();
    D3DXVECTOR3 chaseEye = p - 4.0f * f;
    chaseEye.y += 0.1f;
    chase->SetPosition(chaseEye);
    chase->SetLookAt(a);

    // A view switched off is neither moved nor drawn.
    if (model.IsGroundViewOff() == FALSE) {
        ORV_Camera* ground = views.ground.GetCamera();
        ground->SetPosition(p - 2.0f * f);
        ground->SetLookAt(D3DXVECTOR3(p.x, 0.0f, p.z));
    }
    return true;
}

void DrawGameViews(CModel& model, const CGameViews& views)
{
    views.main.DrawGraphics();
    if (model.IsGroundViewOff() == FALSE)
        views.ground.DrawGraphics();
    if (model.IsMapViewOff() == FALSE)
        views.map.DrawGraphics();
}

void RunGameTick(CKeyboardInput& keyboard, CModel& model, const CGameViews& views, bool& bPKeyWasDown)
{
    if (RunGameStep(keyboard, model, views, bPKeyWasDown))
        DrawGameViews(model, views);
}

void DrawGameView(ORVD3D_WindowHandler& view, IDirect3DDevice9* device, CModelOwner& models)
{
    if (!device)
        return;
    view.BeginDraw();
    view.SetupViewTransform();
    view.SetupProjection();
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSkyColor, 1.0f, 0);
    if (CModel* model = models.GetModel())
        model->DrawScene();
    view.EndDraw();
}
