#include "headlessview.h"

#include "gametick.h"

CHeadlessView::CHeadlessView(CModelOwner& models, int width, int height)
    : m_Models(models), m_Surface(std::make_shared<HeadlessWindow>(width, height))
{
    m_Camera.SetPosition(0.0f, 10.0f, -25.0f);
    m_Camera.SetLookAt(0.0f, 0.0f, 0.0f);
    m_Camera.SetUpVector(0.0f, 1.0f, 0.0f);
    m_Camera.SetFarPlane(50.0f);
    m_Camera.SetNearPlane(1.0f);
    m_Camera.SetFov(45.0f);
}

CHeadlessView::~CHeadlessView() = default;

void CHeadlessView::DrawGraphics()
{
    ++m_DrawCount;
    DrawGameView(*this, m_pDevice, m_Models);
}
