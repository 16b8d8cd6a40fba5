// The headless device for the shared device suite (DeviceCore_test.cpp).
#pragma once

#include <memory>
#include <string>

#include "HeadlessDirect3D9.h"

struct HeadlessMaker
{
    static bool Available(std::string*) { return true; }
    static IDirect3D9* NewDirect3D() { return CreateHeadlessDirect3D9(); }
    static std::shared_ptr<IWindowSurface> NewWindow(int width, int height)
    {
        return std::make_shared<HeadlessWindow>(width, height);
    }
    using Device = HeadlessDevice;
};
using DeviceMakers = ::testing::Types<HeadlessMaker>;
