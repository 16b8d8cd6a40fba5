#include "drawonlyhandler.h"

#include "gametick.h"

CDrawOnlyHandler::CDrawOnlyHandler(CModelOwner& models) : m_Window(true), m_Models(models)
{
    ORV_Camera* camera = GetCamera();
    camera->SetPosition(0.0f, 10.0f, -25.0f);
    camera->SetLookAt(0.0f, 0.0f, 0.0f);
    camera->SetUpVector(0.0f, 1.0f, 0.0f);
    camera->SetFarPlane(50.0f);
    camera->SetNearPlane(1.0f);
    camera->SetFov(45.0f);
}

CDrawOnlyHandler::~CDrawOnlyHandler() = default;

bool CDrawOnlyHandler::AttachToControl(wxWindow* dialog, int controlId)
{
    if (!m_Window.ReplaceDialogControl(dialog, controlId))
        return false;
    return m_Window.AttachViewport(this);
}

void CDrawOnlyHandler::DrawGraphics()
{
    if (m_pDevice == nullptr)
        return;
    DrawGameView(*this, m_pDevice, m_Models);
}
