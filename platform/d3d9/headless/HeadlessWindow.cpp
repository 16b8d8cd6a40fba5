#include "HeadlessWindow.h"

HeadlessWindow::HeadlessWindow(int width, int height)
    : m_Width(width < 0 ? 0 : width), m_Height(height < 0 ? 0 : height)
{}

void HeadlessWindow::GetClientSize(int* width, int* height) const
{
    if (width)
        *width = m_Width;
    if (height)
        *height = m_Height;
}

bool HeadlessWindow::SetClientSize(int width, int height)
{
    if (!m_Resizable || width < 0 || height < 0)
        return false;
    m_Width = width;
    m_Height = height;
    return true;
}

bool HeadlessWindow::MakeCurrent()
{
    ++m_MakeCurrentCalls;
    return true;
}

void HeadlessWindow::SwapBuffers()
{
    ++m_Swaps;
}
