// The OpenGL device, offscreen on EGL, for the shared device suite
// (DeviceCore_test.cpp).
#pragma once

#include <memory>
#include <string>

#include "GLDirect3D9.h"
#include "RenderTest.h"

struct GLMaker
{
    static bool Available(std::string* whyNot) { return RenderTest::SharedContext(whyNot) != nullptr; }
    static IDirect3D9* NewDirect3D() { return CreateOpenGLDirect3D9(); }
    static std::shared_ptr<IWindowSurface> NewWindow(int width, int height)
    {
        std::string whyNot;
        return std::make_shared<EglOffscreenWindow>(RenderTest::SharedContext(&whyNot), width, height);
    }
    using Device = GLDevice;
};
using DeviceMakers = ::testing::Types<GLMaker>;
