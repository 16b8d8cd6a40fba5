// An OpenGL compatibility-profile context on Mesa's surfaceless EGL
// platform: GL without a display or window system, for tests and tools.
// It is always current once made current: there is no drawable to lose.
//
// Ownership: shared by the offscreen windows that draw with it; the
// context goes when the last holder lets go.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class EglOffscreenContext
{
public:
    // Null, with *error saying why, when EGL cannot give such a context (no
    // Mesa, no surfaceless platform, no desktop GL). With shareWith, the new
    // context shares textures, buffers and renderbuffers with that one.
    static std::shared_ptr<EglOffscreenContext> Create(std::string* error,
                                                       const EglOffscreenContext* shareWith = nullptr);
    ~EglOffscreenContext();
    EglOffscreenContext(const EglOffscreenContext&) = delete;
    EglOffscreenContext& operator=(const EglOffscreenContext&) = delete;

    bool MakeCurrent();
    // Leaves this thread with no EGL context current, as at a program's
    // start (for tests of what happens then).
    static void ReleaseCurrent();
    // The context's number among the program's GL contexts (NewGLContextId).
    std::uint64_t Id() const { return m_Id; }
    // GL_VERSION and GL_RENDERER, for messages.
    std::string Description();

private:
    EglOffscreenContext(void* display, void* context);

    void* m_Display;
    void* m_Context;
    std::uint64_t m_Id;
};
