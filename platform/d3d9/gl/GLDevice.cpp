#include "GLDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "D3DToGL.h"
#include "EglOffscreenContext.h"
#include "GLApi.h"
#include "GLLightingProgram.h"
#include "GLLightingShader.h"

namespace {

// GL 3.0 brought framebuffer objects and blits into the core; older
// contexts may still offer them as an extension.
bool HasFramebufferBlit()
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version && std::atoi(version) >= 3)
        return true;
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions && std::strstr(extensions, "GL_ARB_framebuffer_object") != nullptr;
}

}  // namespace

GLDevice::GLDevice(const D3DPRESENT_PARAMETERS& params, HWND focusWindow, HWND deviceWindow, DWORD behaviorFlags,
                   std::string programText)
    : DeviceCore(params.EnableAutoDepthStencil != FALSE),
      m_Params(params),
      m_ProgramText(std::move(programText)),
      m_FocusWindow(std::move(focusWindow)),
      m_BehaviorFlags(behaviorFlags),
      m_Link(std::make_shared<GLDeviceLink>()),
      m_Meshes([this](GLDeleteQueue::Kind kind, unsigned int name) { DeleteGLObject(kind, name); })
{
    m_Link->device = this;
    m_ImplicitSwapChain = std::make_unique<GLSwapChain>(this, params, std::move(deviceWindow), true);
    m_RenderTarget = m_ImplicitSwapChain->BackBuffer();
    ResetViewport();
}

GLDevice::~GLDevice()
{
    ReleaseTextures();
    // Free our GL objects while a window can still make the context current;
    // if none can, they go with the context.
    EnsureContext(m_FocusWindow);
    m_Meshes.Clear();
    // Program names are shared by the contexts like textures.
    for (const auto& record : m_Contexts) {
        for (const unsigned int program : record->gl.ProgramNames())
            DeleteGLObject(GLDeleteQueue::Kind::Program, program);
    }
    m_ImplicitSwapChain.reset();
    if (IsContextCurrent())
        m_DeleteQueue.Flush({});
    else
        m_DeleteQueue.Drop();
    // Textures that outlive us must not call back.
    m_Link->device = nullptr;
}

// --- state: kept by the core ------------------------------------------------------

bool GLDevice::OwnsTexture(IDirect3DBaseTexture9* texture) const
{
    const auto* ours = dynamic_cast<GLTexture*>(texture);
    return ours && ours->Link() == m_Link;  // else another device's texture
}

void GLDevice::ResetViewport()
{
    const GLSwapChain* chain = m_RenderTarget->Chain();
    SetTargetSize(chain->Width(), chain->Height());
}

// --- context -------------------------------------------------------------------

GLDevice::ContextRecord& GLDevice::Record(std::uint64_t id)
{
    for (const auto& record : m_Contexts) {
        if (record->id == id)
            return *record;
    }
    m_Contexts.push_back(std::make_unique<ContextRecord>());
    m_Contexts.back()->id = id;
    return *m_Contexts.back();
}

bool GLDevice::MakeCurrentThrough(const std::shared_ptr<IWindowSurface>& window)
{
    if (!window || !window->MakeCurrent())
        return false;
    m_CurrentSurface = window;
    m_Context = &Record(window->GLContextId());
    // The window bound its own drawable.
    GL().ForgetFramebufferBinding();
    if (!m_GLChecked) {
        m_GLChecked = true;
        m_GLUsable = HasFramebufferBlit();
        if (!m_GLUsable)
            std::fprintf(stderr, "GL device: the context has no framebuffer objects; nothing will be drawn\n");
    }
    if (!m_Context->initialised) {
        m_Context->initialised = true;
        GL().Initialise(m_ProgramText);
    }
    for (const unsigned int name : std::exchange(m_Context->deadFramebuffers, {})) {
        GLDeleteQueue::DeleteNow(GLDeleteQueue::Kind::Framebuffer, name);
        GL().ForgetFramebuffer(name);
    }
    m_DeleteQueue.Flush([this](GLDeleteQueue::Kind kind, unsigned int name) { ForgetDeleted(kind, name); });
    return true;
}

bool GLDevice::CheckLightingProgram(std::string* error)
{
    // The longest of the texts the device makes; the others are parts of it.
    const std::string text = m_ProgramText.empty() ? GLLightingShader::Largest().Text() : m_ProgramText;
    if (EnsureContext(m_FocusWindow)) {
        const bool taken = GLLightingProgram::Check(text, error);
        // The caller may make another context current before our first GL
        // work: make ours current again then, as if never asked.
        m_CurrentSurface.reset();
        m_Context = nullptr;
        return taken;
    }
    // No window of ours can make a context current yet (a GL canvas before
    // it is shown). Some GL answers even so; with the dispatch library, GL
    // calls without a current context do nothing and return null.
    if (glGetString(GL_VERSION) != nullptr)
        return GLLightingProgram::Check(text, error);
    std::string whyNot;
    const std::shared_ptr<EglOffscreenContext> probe = EglOffscreenContext::Create(&whyNot);
    if (!probe)
        return true;
    return GLLightingProgram::Check(text, error);
}

bool GLDevice::EnsureContext(const HWND& preferred)
{
    const std::shared_ptr<IWindowSurface> window = preferred.Lock();
    if (window && IsContextCurrent() && m_CurrentSurface.lock() == window)
        return true;
    if (MakeCurrentThrough(window) || IsContextCurrent())
        return true;
    if (MakeCurrentThrough(m_FocusWindow.Lock()) ||
        MakeCurrentThrough(m_ImplicitSwapChain ? m_ImplicitSwapChain->Window().Lock() : nullptr))
        return true;
    for (GLSwapChain* chain : m_AdditionalSwapChains) {
        if (MakeCurrentThrough(chain->Window().Lock()))
            return true;
    }
    return false;
}

void GLDevice::ForgetDeleted(GLDeleteQueue::Kind kind, unsigned int name)
{
    // Texture and buffer names are shared: any context may have one bound.
    for (const auto& record : m_Contexts) {
        switch (kind) {
        case GLDeleteQueue::Kind::Texture: record->gl.ForgetTexture(name); break;
        case GLDeleteQueue::Kind::Buffer: record->gl.ForgetBuffer(name); break;
        case GLDeleteQueue::Kind::Framebuffer:
        case GLDeleteQueue::Kind::Renderbuffer:
        case GLDeleteQueue::Kind::Program: break;
        }
    }
}

void GLDevice::DeleteGLObject(GLDeleteQueue::Kind kind, unsigned int name)
{
    if (name == 0)
        return;
    if (IsContextCurrent()) {
        GLDeleteQueue::DeleteNow(kind, name);
        ForgetDeleted(kind, name);
    } else {
        m_DeleteQueue.Add(kind, name);
    }
}

void GLDevice::DeleteFramebuffer(std::uint64_t contextId, unsigned int name)
{
    if (name == 0)
        return;
    if (IsContextCurrent() && m_Context->id == contextId) {
        GLDeleteQueue::DeleteNow(GLDeleteQueue::Kind::Framebuffer, name);
        GL().ForgetFramebuffer(name);
    } else {
        // Only its own context can delete it; if that context is gone, so
        // is the framebuffer.
        Record(contextId).deadFramebuffers.push_back(name);
    }
}

void GLDevice::TextureGone(GLTexture* texture)
{
    DeleteGLObject(GLDeleteQueue::Kind::Texture, texture->GLName());
}

void GLDevice::SwapChainGone(GLSwapChain* chain)
{
    std::erase(m_AdditionalSwapChains, chain);
    if (m_RenderTarget == chain->BackBuffer()) {
        m_RenderTarget = m_ImplicitSwapChain->BackBuffer();
        ResetViewport();
    }
}

// --- drawing -------------------------------------------------------------------

unsigned int GLDevice::ChainFramebuffer(GLSwapChain* chain, bool beginFrame)
{
    int width = 0;
    int height = 0;
    if (beginFrame || !chain->HasStorage()) {
        chain->WantedStorageSize(&width, &height);
    } else {
        const GLTarget target = chain->Target();
        width = target.storageWidth;
        height = target.storageHeight;
    }
    bool created = false;
    bool bound = false;
    const unsigned int framebuffer =
        chain->Framebuffer(m_Context->id, HasDepthBuffer(), width, height, &created, &bound);
    if (bound)
        GL().ForgetFramebufferBinding();
    if (framebuffer != 0)
        GL().BindFramebuffer(framebuffer);
    if (created) {
        // A new Direct3D back buffer holds garbage; black is the kindest
        // garbage.
        const D3DVIEWPORT9 whole{0, 0, chain->Width(), chain->Height(), 0.0f, 1.0f};
        GL().Clear(whole, chain->Target(),
                   D3DCLEAR_TARGET | (HasDepthBuffer() ? D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL : 0u), 0, 1.0f, 0);
    }
    return framebuffer;
}

GLSwapChain* GLDevice::BindRenderTarget()
{
    GLSwapChain* chain = m_RenderTarget->Chain();
    // Drawn through the window the frame will go to: its context, its
    // drawable, and nothing to move between contexts at the present.
    if (!EnsureContext(chain->PresentWindow()) || !m_GLUsable)
        return nullptr;
    const bool beginFrame = !chain->InFrame();
    const unsigned int framebuffer = ChainFramebuffer(chain, beginFrame);
    if (framebuffer == 0)
        return nullptr;
    chain->BeginFrame();
    return chain;
}

bool GLDevice::PrepareDraw()
{
    GLSwapChain* chain = BindRenderTarget();
    if (!chain)
        return false;
    std::string error;
    if (!GL().Apply(m_State, chain->Target(), &error)) {
        // A context whose GL refused a program the device asked nothing of
        // at creation (another driver, or no context to ask then).
        if (!m_ProgramErrorReported) {
            m_ProgramErrorReported = true;
            std::fprintf(stderr, "GL device: %s; such draws are left out\n", error.c_str());
        }
        return false;
    }
    return true;
}

float GLDevice::PointSize(float size) const
{
    // With scaling on and D3D's default scale factors (A = 1, B = C = 0) a
    // point's size is in viewport heights rather than pixels.
    if (m_State.renderStates[D3DRS_POINTSCALEENABLE] != FALSE)
        size *= static_cast<float>(m_State.viewport.Height);
    const float minimum = BitsToFloat(m_State.renderStates[D3DRS_POINTSIZE_MIN]);
    // Back-buffer pixels, grown as the storage is.
    const float scale = m_RenderTarget->Chain()->Target().PixelScale();
    // GL refuses sizes of 0 and below (and NaN).
    return std::max({size * scale, minimum * scale, 1.0f});
}

void GLDevice::DrawPoints(const VertexFormat& layout, const unsigned char* vertices, UINT stride, UINT count)
{
    if (layout.pointSizeOffset < 0) {
        GL().SetPointSize(PointSize(BitsToFloat(m_State.renderStates[D3DRS_POINTSIZE])));
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));
        return;
    }
    // Fixed function has no per-vertex size: one draw per run of equal sizes.
    UINT first = 0;
    while (first < count) {
        float size = 0.0f;
        std::memcpy(&size, vertices + static_cast<size_t>(first) * stride + layout.pointSizeOffset, sizeof size);
        UINT end = first + 1;
        while (end < count) {
            float next = 0.0f;
            std::memcpy(&next, vertices + static_cast<size_t>(end) * stride + layout.pointSizeOffset, sizeof next);
            if (next != size)
                break;
            ++end;
        }
        GL().SetPointSize(PointSize(size));
        glDrawArrays(GL_POINTS, static_cast<GLint>(first), static_cast<GLsizei>(end - first));
        first = end;
    }
}

HRESULT GLDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData, UINT vertexStride)
{
    if (const HRESULT result = DeviceChecks::DrawUP(m_State, type, primitiveCount, vertexData, vertexStride);
        result != D3D_OK)
        return result;
    const VertexFormat& layout = m_State.vertexFormat;
    const UINT vertexCount = VerticesForPrimitives(type, primitiveCount);
    if (!PrepareDraw())
        return D3DERR_NOTAVAILABLE;

    const auto* vertices = static_cast<const unsigned char*>(vertexData);
    GL().BindBuffers(0, 0);  // client memory
    GL().SetVertexArrays(layout, vertices, vertexStride);
    if (type == D3DPT_POINTLIST)
        DrawPoints(layout, vertices, vertexStride, vertexCount);
    else
        glDrawArrays(d3dtogl::PrimitiveMode(type), 0, static_cast<GLsizei>(vertexCount));
    ++m_DrawCalls;
    return D3D_OK;
}

HRESULT GLDevice::DrawMeshSubsetEXT(const D3DMESHSUBSET_EXT& subset)
{
    TakeFVF(subset.fvf);
    if (DeviceChecks::MeshSubset(m_State, subset) != D3D_OK ||
        (m_Meshes.NeedsUpload(subset) && !DeviceChecks::IndicesInRange(subset)))
        return D3DERR_INVALIDCALL;
    const VertexFormat& layout = m_State.vertexFormat;
    if (subset.numIndices == 0)
        return D3D_OK;
    if (!PrepareDraw())
        return D3DERR_NOTAVAILABLE;

    const GLMeshCache::Entry& entry = m_Meshes.Prepare(subset);
    GL().NoteBuffersBound(entry.vertexBuffer, entry.indexBuffer);
    ++m_DrawCalls;
    // A mesh out of sight (a cloud behind the camera, beyond the far plane)
    // would cost the renderer its vertices and nothing else.
    D3DXMATRIX worldView;
    D3DXMATRIX transform;
    const D3DXMATRIX world(m_State.World());
    const D3DXMATRIX view(m_State.view);
    const D3DXMATRIX projection(m_State.projection);
    D3DXMatrixMultiply(&worldView, &world, &view);
    D3DXMatrixMultiply(&transform, &worldView, &projection);
    if (GLMeshCache::IsOutsideClipVolume(entry, transform)) {
        ++m_CulledDraws;
        return D3D_OK;
    }
    GL().SetVertexArrays(layout, nullptr, entry.stride);  // offsets into the bound buffer
    GL().SetPointSize(PointSize(BitsToFloat(m_State.renderStates[D3DRS_POINTSIZE])));
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(entry.numIndices), GL_UNSIGNED_SHORT, nullptr);
    return D3D_OK;
}

void GLDevice::ForgetMeshEXT(const void* key)
{
    m_Meshes.Forget(key);
}

HRESULT GLDevice::Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil)
{
    const bool hasStencil = HasDepthBuffer() && m_Params.AutoDepthStencilFormat == D3DFMT_D24S8;
    if (const HRESULT result = DeviceChecks::Clear(rectCount, rects, flags, z, HasDepthBuffer(), hasStencil);
        result != D3D_OK)
        return result;
    GLSwapChain* chain = BindRenderTarget();
    if (!chain)
        return D3DERR_NOTAVAILABLE;
    GL().Clear(m_State.viewport, chain->Target(), flags, color, z, stencil);
    return D3D_OK;
}

// --- swap chains and targets ---------------------------------------------------------

HRESULT GLDevice::GetSwapChain(UINT index, IDirect3DSwapChain9** swapChain)
{
    if (!swapChain)
        return D3DERR_INVALIDCALL;
    *swapChain = nullptr;
    if (index != 0)
        return D3DERR_INVALIDCALL;
    m_ImplicitSwapChain->AddRef();
    *swapChain = m_ImplicitSwapChain.get();
    return D3D_OK;
}

HRESULT GLDevice::CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* params, IDirect3DSwapChain9** swapChain)
{
    if (!swapChain)
        return D3DERR_INVALIDCALL;
    *swapChain = nullptr;
    if (!params)
        return D3DERR_INVALIDCALL;
    HWND window;
    RECT client{};
    if (DeviceChecks::PresentWindow(m_FocusWindow, *params, &window, &client) != D3D_OK)
        return D3DERR_INVALIDCALL;
    // The defaults chosen are written back into the caller's parameters.
    if (const HRESULT result = DeviceChecks::BackBuffer(params, client, m_Params.BackBufferFormat); result != D3D_OK)
        return result;

    auto* chain = new GLSwapChain(this, *params, window, false);
    m_AdditionalSwapChains.push_back(chain);
    *swapChain = chain;
    return D3D_OK;
}

HRESULT GLDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* target)
{
    if (index != 0 || !target)
        return D3DERR_INVALIDCALL;
    auto* backBuffer = dynamic_cast<GLBackBuffer*>(target);
    if (!backBuffer || backBuffer->Chain()->Device() != this)
        return D3DERR_INVALIDCALL;
    m_RenderTarget = backBuffer;
    ResetViewport();
    return D3D_OK;
}

HRESULT GLDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** target)
{
    if (!target)
        return D3DERR_INVALIDCALL;
    *target = nullptr;
    if (index != 0)
        return D3DERR_INVALIDCALL;
    m_RenderTarget->AddRef();
    *target = m_RenderTarget;
    return D3D_OK;
}

HRESULT GLDevice::PresentChain(GLSwapChain* chain, const HWND& window)
{
    const std::shared_ptr<IWindowSurface> surface = window.Lock();
    if (!surface)
        return D3DERR_INVALIDCALL;
    // The back buffer must exist before the window binds its drawable.
    if (!EnsureContext(window) || !m_GLUsable)
        return D3DERR_NOTAVAILABLE;
    const unsigned int framebuffer = ChainFramebuffer(chain, false);
    if (framebuffer == 0 || !MakeCurrentThrough(surface))
        return D3DERR_NOTAVAILABLE;

    int width = 0;
    int height = 0;
    surface->GetDrawableSize(&width, &height);
    if (width > 0 && height > 0) {
        // Stretched over the window when it went elsewhere than foreseen, as
        // Direct3D presents a back buffer into a window of another size; a
        // plain copy otherwise. Scissoring is off outside Clear.
        const GLTarget target = chain->Target();
        const bool sameSize = target.storageWidth == width && target.storageHeight == height;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glBlitFramebuffer(0, 0, target.storageWidth, target.storageHeight, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                          sameSize ? GL_NEAREST : GL_LINEAR);
    }
    surface->SwapBuffers();
    GL().ForgetFramebufferBinding();
    chain->Presented(window);
    ++m_Presents;
    return D3D_OK;
}

HRESULT GLDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD /*usage*/, D3DFORMAT format, D3DPOOL pool,
                                IDirect3DTexture9** texture, void* sharedHandle)
{
    if (!texture)
        return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (const HRESULT result = DeviceChecks::Texture(width, height, levels, format, sharedHandle); result != D3D_OK)
        return result;
    *texture = new GLTexture(m_Link, width, height, format, pool);
    return D3D_OK;
}
