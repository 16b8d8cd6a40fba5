#include "EglOffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

#include "GLApi.h"
#include "Window.h"

namespace {

// The surfaceless display is one per process; several contexts may live on
// it, so it is terminated only when the last of ours goes.
int g_ContextsAlive = 0;

std::string EglErrorText(const char* what)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(eglGetError()));
    return std::string(what) + " failed (EGL error " + code + ")";
}

}  // namespace

std::shared_ptr<EglOffscreenContext> EglOffscreenContext::Create(std::string* error,
                                                                 const EglOffscreenContext* shareWith)
{
    std::string ignored;
    std::string& message = error ? *error : ignored;
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!clientExtensions || !std::strstr(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        message = "EGL offers no surfaceless platform (Mesa's EGL is needed)";
        return nullptr;
    }
    EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) {
        message = EglErrorText("eglGetPlatformDisplay(surfaceless)");
        return nullptr;
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        message = EglErrorText("eglInitialize");
        return nullptr;
    }
    auto giveUp = [&](const char* what) {
        message = EglErrorText(what);
        if (g_ContextsAlive == 0)
            eglTerminate(display);
        return nullptr;
    };
    if (!eglBindAPI(EGL_OPENGL_API))
        return giveUp("eglBindAPI(EGL_OPENGL_API)");

    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, 0, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configCount) || configCount < 1)
        config = nullptr;  // EGL_KHR_no_config_context: fine without one
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                        2,
                                        EGL_CONTEXT_MINOR_VERSION,
                                        1,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                        EGL_NONE};
    EGLContext context =
        eglCreateContext(display, config, shareWith ? shareWith->m_Context : EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT)
        return giveUp("eglCreateContext(OpenGL 2.1 compatibility)");
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        eglDestroyContext(display, context);
        return giveUp("eglMakeCurrent(surfaceless)");
    }
    ++g_ContextsAlive;
    return std::shared_ptr<EglOffscreenContext>(new EglOffscreenContext(display, context));
}

EglOffscreenContext::EglOffscreenContext(void* display, void* context)
    : m_Display(display), m_Context(context), m_Id(NewGLContextId())
{}

EglOffscreenContext::~EglOffscreenContext()
{
    eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(m_Display, m_Context);
    if (--g_ContextsAlive == 0) {
        // Also stops the renderer's worker threads.
        eglTerminate(m_Display);
        eglReleaseThread();
    }
}

bool EglOffscreenContext::MakeCurrent()
{
    if (eglGetCurrentContext() == m_Context)
        return true;
    return eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_Context) == EGL_TRUE;
}

void EglOffscreenContext::ReleaseCurrent()
{
    const EGLDisplay display = eglGetCurrentDisplay();
    if (display != EGL_NO_DISPLAY)
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

std::string EglOffscreenContext::Description()
{
    if (!MakeCurrent())
        return "(no context)";
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return std::string(version ? version : "?") + " on " + (renderer ? renderer : "?");
}
