#include "GLSwapChain.h"

#include <algorithm>
#include <cstdio>

#include "GLApi.h"
#include "GLDevice.h"
#include "GLTexture.h"

GLSwapChain::GLSwapChain(GLDevice* device, const D3DPRESENT_PARAMETERS& params, HWND window, bool implicit)
    : m_Device(device),
      m_Params(params),
      m_Window(std::move(window)),
      m_PresentWindow(m_Window),
      m_Implicit(implicit),
      m_BackBuffer(this)
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

HRESULT GLSwapChain::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow, const RGNDATA* dirtyRegion,
                             DWORD /*flags*/)
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

void GLSwapChain::Presented(const HWND& window)
{
    m_PresentWindow = window;
    m_InFrame = false;
}

void GLSwapChain::WantedStorageSize(int* width, int* height) const
{
    *width = 0;
    *height = 0;
    if (const auto window = m_PresentWindow.Lock())
        window->GetDrawableSize(width, height);
    if (*width <= 0 || *height <= 0) {
        *width = static_cast<int>(Width());
        *height = static_cast<int>(Height());
    }
    *width = std::min(*width, static_cast<int>(GLTexture::kMaxSize));
    *height = std::min(*height, static_cast<int>(GLTexture::kMaxSize));
}

GLTarget GLSwapChain::Target() const
{
    GLTarget target{Width(), Height(), m_StorageWidth, m_StorageHeight};
    if (!HasStorage()) {
        target.storageWidth = static_cast<int>(Width());
        target.storageHeight = static_cast<int>(Height());
    }
    return target;
}

bool GLSwapChain::MakeStorage(bool withDepth, int width, int height)
{
    ReleaseGLObjects();
    GLuint color = 0;
    GLuint depth = 0;
    glGenRenderbuffers(1, &color);
    glBindRenderbuffer(GL_RENDERBUFFER, color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    if (withDepth) {
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    m_ColorBuffer = color;
    m_DepthBuffer = depth;
    m_StorageWidth = width;
    m_StorageHeight = height;
    return color != 0;
}

unsigned int GLSwapChain::Framebuffer(std::uint64_t contextId, bool withDepth, int width, int height, bool* created,
                                      bool* bound)
{
    *created = false;
    *bound = false;
    if (!HasStorage() || width != m_StorageWidth || height != m_StorageHeight) {
        if (!MakeStorage(withDepth, width, height))
            return 0;
        *created = true;
    }
    for (const ContextFramebuffer& entry : m_Framebuffers) {
        if (entry.context == contextId)
            return entry.framebuffer;
    }

    // Framebuffer objects are not shared between contexts; the
    // renderbuffers behind them are.
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    *bound = true;
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_ColorBuffer);
    if (m_DepthBuffer != 0) {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_DepthBuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_DepthBuffer);
    }
    m_Framebuffers.push_back(ContextFramebuffer{contextId, framebuffer});
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "GL device: the %dx%d back buffer is incomplete (0x%x)\n", width, height, status);
        ReleaseGLObjects();
        return 0;
    }
    return framebuffer;
}

void GLSwapChain::ReleaseGLObjects()
{
    for (const ContextFramebuffer& entry : m_Framebuffers)
        m_Device->DeleteFramebuffer(entry.context, entry.framebuffer);
    m_Framebuffers.clear();
    m_Device->DeleteGLObject(GLDeleteQueue::Kind::Renderbuffer, m_ColorBuffer);
    m_Device->DeleteGLObject(GLDeleteQueue::Kind::Renderbuffer, m_DepthBuffer);
    m_ColorBuffer = m_DepthBuffer = 0;
    m_StorageWidth = m_StorageHeight = 0;
}
