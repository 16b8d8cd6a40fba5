// A "window" with no display: its drawable is a framebuffer object of the
// client size in an EglOffscreenContext. The GL device draws and presents
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
    // Sizes below 1 are refused. The drawable follows at the next MakeCurrent.
    bool SetClientSize(int width, int height) override;
    // Binds the drawable (an opaque RGB buffer, like a window's) as the
    // framebuffer. False while not realised.
    bool MakeCurrent() override;
    // Reads the drawable into the last frame.
    void SwapBuffers() override;

    // A window that is not realised cannot make the context current, like
    // a GL canvas before it is shown. Realised from the start.
    void SetRealised(bool realised) { m_Realised = realised; }

    const RgbaImage& LastFrame() const { return m_Frame; }
    int SwapCount() const { return m_Swaps; }

private:
    std::shared_ptr<EglOffscreenContext> m_Context;
    int m_Width;
    int m_Height;
    bool m_Realised = true;
    unsigned int m_Framebuffer = 0;
    unsigned int m_ColorBuffer = 0;
    int m_StorageWidth = 0;
    int m_StorageHeight = 0;
    RgbaImage m_Frame;
    int m_Swaps = 0;
};
