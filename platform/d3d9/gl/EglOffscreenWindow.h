// A "window" with no display: its drawable is a framebuffer object of the
// client size times the window's scale (1 unless a test sets another, as a
// HiDPI desktop would) in an EglOffscreenContext. The GL device draws and presents
// into it as into a view window; SwapBuffers keeps the presented frame so
// a test can read it back.
//
// Ownership: the creator owns it through a std::shared_ptr (HWNDs are weak
// handles to it) and it shares the context. Its GL objects are freed with
// it.
#pragma once

#include <memory>
#include <vector>

#include "EglOffscreenContext.h"
#include "Window.h"

// Pixels as R, G, B, A bytes, rows top first.
struct RgbaImage
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    const unsigned char* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

class EglOffscreenWindow final : public IWindowSurface
{
public:
    EglOffscreenWindow(std::shared_ptr<EglOffscreenContext> context, int width, int height);
    ~EglOffscreenWindow() override;
    EglOffscreenWindow(const EglOffscreenWindow&) = delete;
    EglOffscreenWindow& operator=(const EglOffscreenWindow&) = delete;

    void GetClientSize(int* width, int* height) const override;
    // The client size times the scale, rounded, at least 1 x 1.
    void GetDrawableSize(int* width, int* height) const override;
    // Sizes below 1 are refused. The drawable follows at the next MakeCurrent.
    bool SetClientSize(int width, int height) override;
    // Scales below 0.25 or above 8 are refused. The drawable follows at the
    // next MakeCurrent, as when a window moves to a screen of another scale.
    bool SetScale(double scale);
    // Binds the drawable (an opaque RGB buffer, like a window's) as the
    // framebuffer. False while not realised.
    bool MakeCurrent() override;
    // Reads the drawable into the last frame.
    void SwapBuffers() override;
    std::uint64_t GLContextId() const override { return m_Context->Id(); }

    // A window that is not realised cannot make the context current, like
    // a GL canvas before it is shown. Realised from the start.
    void SetRealised(bool realised) { m_Realised = realised; }

    const RgbaImage& LastFrame() const { return m_Frame; }
    int SwapCount() const { return m_Swaps; }

private:
    std::shared_ptr<EglOffscreenContext> m_Context;
    int m_Width;
    int m_Height;
    double m_Scale = 1.0;
    bool m_Realised = true;
    unsigned int m_Framebuffer = 0;
    unsigned int m_ColorBuffer = 0;
    int m_StorageWidth = 0;
    int m_StorageHeight = 0;
    RgbaImage m_Frame;
    int m_Swaps = 0;
};
