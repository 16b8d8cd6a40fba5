#include "GLSwapChain.h"

#include <cstdio>

#include "GLApi.h"
#include "GLDevice.h"

GLSwapChain::GLSwapChain(GLDevice* device, const D3DPRESENT_PARAMETERS& params, HWND window, bool implicit)
    : m_Device(device), m_Params(params), m_Window(std::move(window)), m_Implicit(implicit), m_BackBuffer(this)
{
    if (!m_Implicit)
        m_Device->AddRef();
}

GLSwapChain::~GLSwapChain()
{
    ReleaseGLObjects();
    if (!m_Implicit) {
        m_Device->SwapChainGone(this);
        m_Device->Release();
    }
}

ULONG GLSwapChain::AddRef()
{
    if (m_Implicit)
        return m_Device->AddRef();
    return ++m_RefCount;
}

ULONG GLSwapChain::Release()
{
    if (m_Implicit)
        return m_Device->Release();
    const ULONG count = --m_RefCount;
    if (count == 0)
        delete this;
    return count;
}

HRESULT GLSwapChain::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                             const RGNDATA* dirtyRegion, DWORD /*flags*/)
{
    if (sourceRect || destRect || dirtyRegion)
        return D3DERR_INVALIDCALL;
    return m_Device->PresentChain(this, destWindow.IsNull() ? m_Window : destWindow);
}

HRESULT GLSwapChain::GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** backBuffer)
{
    if (!backBuffer)
        return D3DERR_INVALIDCALL;
    *backBuffer = nullptr;
    if (index != 0 || type != D3DBACKBUFFER_TYPE_MONO)
        return D3DERR_INVALIDCALL;
    m_BackBuffer.AddRef();
    *backBuffer = &m_BackBuffer;
    return D3D_OK;
}

HRESULT GLSwapChain::GetPresentParameters(D3DPRESENT_PARAMETERS* params)
{
    if (!params)
        return D3DERR_INVALIDCALL;
    *params = m_Params;
    return D3D_OK;
}

unsigned int GLSwapChain::Framebuffer(bool withDepth, bool* created)
{
    *created = false;
    if (m_Framebuffer != 0)
        return m_Framebuffer;

    const auto width = static_cast<GLsizei>(Width());
    const auto height = static_cast<GLsizei>(Height());
    GLuint framebuffer = 0;
    GLuint color = 0;
    GLuint depth = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(1, &color);
    glBindRenderbuffer(GL_RENDERBUFFER, color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
    if (withDepth) {
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    m_Framebuffer = framebuffer;
    m_ColorBuffer = color;
    m_DepthBuffer = depth;
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "GL device: the %ux%u back buffer is incomplete (0x%x)\n", Width(), Height(), status);
        ReleaseGLObjects();
        return 0;
    }
    *created = true;
    return m_Framebuffer;
}

void GLSwapChain::ReleaseGLObjects()
{
    if (m_Framebuffer == 0 && m_ColorBuffer == 0 && m_DepthBuffer == 0)
        return;
    m_Device->DeleteGLObject(GLDeleteQueue::Kind::Framebuffer, m_Framebuffer);
    m_Device->DeleteGLObject(GLDeleteQueue::Kind::Renderbuffer, m_ColorBuffer);
    m_Device->DeleteGLObject(GLDeleteQueue::Kind::Renderbuffer, m_DepthBuffer);
    m_Framebuffer = m_ColorBuffer = m_DepthBuffer = 0;
}
