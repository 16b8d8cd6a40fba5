// A window for the keyboard's cooperative level: it only has to exist.
#pragma once

#include "Window.h"

class TestWindow final : public IWindowSurface
{
public:
    void GetClientSize(int* width, int* height) const override
    {
        *width = 100;
        *height = 100;
    }
    bool SetClientSize(int, int) override { return false; }
    bool MakeCurrent() override { return false; }
    void SwapBuffers() override {}
};
