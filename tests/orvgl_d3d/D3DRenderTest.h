// Fixture of the back end's render tests: the graphics system created on the
// OpenGL device with an offscreen window as its focus window, a window
// handler bound to that window, and a scratch working folder holding the
// asset maker's meshes. One EGL context serves the whole run; tests are
// skipped, saying why, where EGL cannot give one.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "D3DTestSupport.h"
#include "EglOffscreenWindow.h"
#include "ORVD3D_WindowHandler.h"

// Draws what it is given, as the game's view handlers draw the model.
class RenderViewHandler : public ORVD3D_WindowHandler
{
public:
    void DrawGraphics() override;
    std::function<void()> draw;
};

class D3DRenderTest : public ::testing::Test
{
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    void SetUp() override;
    void TearDown() override;

    // Places the view's camera.
    void LookFrom(const D3DXVECTOR3& eye, const D3DXVECTOR3& at);
    // One frame of draw, cleared to the game's sky colour first.
    const RgbaImage& Frame(const std::function<void()>& draw);

    static ORVD3D_GraphicsSystem& System() { return ORVD3D_GraphicsSystem::GetInstance(); }

    std::shared_ptr<EglOffscreenContext> m_Context;
    std::unique_ptr<ScratchFolder> m_Folder;
    std::shared_ptr<EglOffscreenWindow> m_Window;
    RenderViewHandler m_Handler;
    Direct3DFactory m_PreviousFactory;
    bool m_Installed = false;
};

// Writes a 64 x 64 checkerboard PNG of grey squares whose top-left quarter
// is tinted red, so a flipped or turned texture shows.
void WriteCheckerTexture(const std::string& path);
