#include "EglOffscreenWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "GLApi.h"

EglOffscreenWindow::EglOffscreenWindow(std::shared_ptr<EglOffscreenContext> context, int width, int height)
    : m_Context(std::move(context)), m_Width(width > 0 ? width : 1), m_Height(height > 0 ? height : 1)
{}

EglOffscreenWindow::~EglOffscreenWindow()
{
    if (m_Framebuffer == 0 || !m_Context->MakeCurrent())
        return;
    const GLuint framebuffer = m_Framebuffer;
    const GLuint color = m_ColorBuffer;
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &color);
}

void EglOffscreenWindow::GetClientSize(int* width, int* height) const
{
    *width = m_Width;
    *height = m_Height;
}

void EglOffscreenWindow::GetDrawableSize(int* width, int* height) const
{
    *width = std::max(1, static_cast<int>(std::lround(m_Width * m_Scale)));
    *height = std::max(1, static_cast<int>(std::lround(m_Height * m_Scale)));
}

bool EglOffscreenWindow::SetScale(double scale)
{
    if (!(scale >= 0.25 && scale <= 8.0))
        return false;
    m_Scale = scale;
    return true;
}

bool EglOffscreenWindow::SetClientSize(int width, int height)
{
    if (width < 1 || height < 1)
        return false;
    m_Width = width;
    m_Height = height;
    return true;
}

bool EglOffscreenWindow::MakeCurrent()
{
    if (!m_Realised || !m_Context->MakeCurrent())
        return false;
    if (m_Framebuffer == 0) {
        GLuint framebuffer = 0;
        GLuint color = 0;
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(1, &color);
        m_Framebuffer = framebuffer;
        m_ColorBuffer = color;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_Framebuffer);
    int width = 0;
    int height = 0;
    GetDrawableSize(&width, &height);
    if (m_StorageWidth != width || m_StorageHeight != height) {
        glBindRenderbuffer(GL_RENDERBUFFER, m_ColorBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_ColorBuffer);
        // glClearBufferfv leaves the clear colour, which the device keeps
        // track of, alone.
        const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        glClearBufferfv(GL_COLOR, 0, black);
        m_StorageWidth = width;
        m_StorageHeight = height;
    }
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void EglOffscreenWindow::SwapBuffers()
{
    if (m_Framebuffer == 0 || !m_Context->MakeCurrent())
        return;
    const int width = m_StorageWidth;
    const int height = m_StorageHeight;
    std::vector<unsigned char> bottomFirst(static_cast<size_t>(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_Framebuffer);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomFirst.data());
    // glReadPixels gives the bottom row first; images are read top first.
    m_Frame.width = width;
    m_Frame.height = height;
    m_Frame.pixels.resize(bottomFirst.size());
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(&m_Frame.pixels[static_cast<size_t>(y) * row],
                    &bottomFirst[static_cast<size_t>(height - 1 - y) * row], row);
    ++m_Swaps;
}
