#include "ORVMFC_WindowSurface.h"

#include <wx/window.h>

void ORVMFC_WindowSurface::GetClientSize(int* width, int* height) const
{
    *width = 0;
    *height = 0;
    if (m_pWindow)
        m_pWindow->GetClientSize(width, height);
}

bool ORVMFC_WindowSurface::SetClientSize(int width, int height)
{
    if (!m_pWindow || width < 0 || height < 0)
        return false;
    m_pWindow->SetClientSize(width, height);
    return true;
}
