// A view window as the graphics layer sees it.
//
// HWND is a weak handle: it never keeps a window alive, and once the window
// object is gone IsWindow answers false instead of touching freed memory.
// Whoever creates a window (the game shell's GL canvas, a test's offscreen
// surface) owns it through a std::shared_ptr and hands out HWNDs.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "wintypes.h"

class IWindowSurface
{
public:
    virtual ~IWindowSurface() = default;

    // Size of the client area in pixels, as layout and the mouse count them
    // (logical pixels on a scaled desktop).
    virtual void GetClientSize(int* width, int* height) const = 0;
    // Size of what is shown on screen in the screen's own pixels: the client
    // size times the desktop's scale (2 on a HiDPI desktop; a fractional
    // scale rounds). The OpenGL device draws at this size.
    virtual void GetDrawableSize(int* width, int* height) const { GetClientSize(width, height); }
    // Resizes the client area, keeping the top-left corner. False when the
    // window cannot be resized.
    virtual bool SetClientSize(int width, int height) = 0;

    // OpenGL device only: make the one GL context current with this window's
    // drawable bound as the draw framebuffer. False when that is impossible
    // (the window is not realised yet, or the context was lost).
    virtual bool MakeCurrent() = 0;
    // OpenGL device only: show what was drawn into the window's drawable.
    virtual void SwapBuffers() = 0;
    // OpenGL device only: the context MakeCurrent makes current, as a number
    // no other context of the program has (NewGLContextId); windows that
    // answer the same number share one context and its state. 0: none yet.
    // Every context of the program shares textures, buffers and
    // renderbuffers with the others.
    virtual std::uint64_t GLContextId() const { return 0; }
};

// A number for a new GL context, never 0 and never given twice.
inline std::uint64_t NewGLContextId()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

class HWND
{
public:
    HWND() = default;
    HWND(std::nullptr_t) {}
    HWND(const std::shared_ptr<IWindowSurface>& window) : m_Window(window) {}

    std::shared_ptr<IWindowSurface> Lock() const { return m_Window.lock(); }
    bool IsNull() const
    {
        return !m_Window.owner_before(std::weak_ptr<IWindowSurface>{}) &&
               !std::weak_ptr<IWindowSurface>{}.owner_before(m_Window);
    }

    // Two handles are equal when they name the same window object (even
    // after it is gone).
    bool operator==(const HWND& other) const
    {
        return !m_Window.owner_before(other.m_Window) && !other.m_Window.owner_before(m_Window);
    }
    bool operator!=(const HWND& other) const { return !(*this == other); }

private:
    std::weak_ptr<IWindowSurface> m_Window;
};

// True while the window behind the handle exists.
inline BOOL IsWindow(const HWND& window)
{
    return window.Lock() ? TRUE : FALSE;
}

// Client rectangle (left = top = 0). FALSE, with *rect zeroed, for a handle
// that is not a window.
inline BOOL GetClientRect(const HWND& window, RECT* rect)
{
    *rect = RECT{};
    const std::shared_ptr<IWindowSurface> w = window.Lock();
    if (!w)
        return FALSE;
    int width = 0;
    int height = 0;
    w->GetClientSize(&width, &height);
    rect->right = width;
    rect->bottom = height;
    return TRUE;
}
