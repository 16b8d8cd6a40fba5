#include <gtest/gtest.h>

#include <memory>

#include "HeadlessFixture.h"

namespace {

TEST(HeadlessCreation, CreateDeviceChecksArgumentsBeforeTheFailureOption)
{
    auto counters = std::make_shared<HeadlessCounters>();
    HeadlessOptions options{.failCreateDevice = true, .createDeviceError = D3DERR_OUTOFVIDEOMEMORY, .counters = counters};
    IDirect3D9* failing = CreateHeadlessDirect3D9(options);
    IDirect3D9* working = CreateHeadlessDirect3D9(HeadlessOptions{.counters = counters});
    auto window = std::make_shared<HeadlessWindow>(100, 50);
    auto gone = std::make_shared<HeadlessWindow>(10, 10);
    const HWND stale(gone);
    gone.reset();
    D3DPRESENT_PARAMETERS params = HeadlessFixture::ContextParameters();
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(0x1);

    for (IDirect3D9* d3d : {failing, working}) {
        EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, nullptr), D3DERR_INVALIDCALL);
        EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, nullptr, &device), D3DERR_INVALIDCALL);
        EXPECT_EQ(device, nullptr);  // cleared on failure
        EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, HWND(), 0, &params, &device), D3DERR_INVALIDCALL);
        EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, stale, 0, &params, &device), D3DERR_INVALIDCALL);
        params.hDeviceWindow = stale;  // a dead device window beside a live focus window
        EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3DERR_INVALIDCALL);
        params.hDeviceWindow = HWND();
    }
    EXPECT_EQ(failing->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(counters->devicesCreated, 0);
    EXPECT_EQ(params.BackBufferWidth, 0u);  // failures leave the parameters alone

    // A device window alone (null focus window) is enough.
    params.hDeviceWindow = HWND(window);
    ASSERT_EQ(working->CreateDevice(0, D3DDEVTYPE_HAL, HWND(), 0, &params, &device), D3D_OK);
    EXPECT_EQ(counters->devicesCreated, 1);
    // The device does not need its Direct3D object.
    failing->Release();
    working->Release();
    EXPECT_EQ(counters->direct3DAlive, 0);
    device->Release();
    EXPECT_EQ(counters->devicesAlive, 0);
}

TEST(HeadlessCreation, ImplicitBackBufferIsSizedByTheWindowWhenParametersSayZero)
{
    IDirect3D9* d3d = CreateHeadlessDirect3D9();
    auto focus = std::make_shared<HeadlessWindow>(640, 360);
    D3DPRESENT_PARAMETERS params = HeadlessFixture::ContextParameters();
    params.BackBufferFormat = D3DFMT_UNKNOWN;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, HWND(focus), 0, &params, &device), D3D_OK);
    // What was chosen is written back, as Direct3D does.
    EXPECT_EQ(params.BackBufferWidth, 640u);
    EXPECT_EQ(params.BackBufferHeight, 360u);
    EXPECT_EQ(params.BackBufferFormat, D3DFMT_X8R8G8B8);

    IDirect3DSwapChain9* chain = nullptr;
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetSwapChain(0, &chain), D3D_OK);
    ASSERT_EQ(chain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(back->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 640u);
    EXPECT_EQ(desc.Height, 360u);
    back->Release();
    chain->Release();
    device->Release();

    // Sizes given win over the window's.
    params = HeadlessFixture::ContextParameters();
    params.BackBufferWidth = 33;
    params.BackBufferHeight = 17;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, HWND(focus), 0, &params, &device), D3D_OK);
    EXPECT_EQ(dynamic_cast<HeadlessDevice*>(device)->ImplicitSwapChain()->Width(), 33u);
    EXPECT_EQ(dynamic_cast<HeadlessDevice*>(device)->ImplicitSwapChain()->Height(), 17u);
    device->Release();
    d3d->Release();
}

TEST(HeadlessCreation, InstalledFactorySharesCountersAndCanRecordFromTheStart)
{
    auto counters = std::make_shared<HeadlessCounters>();
    Direct3DFactory previous = InstallHeadlessDirect3D(HeadlessOptions{.recordFromStart = true, .counters = counters});
    auto window = std::make_shared<HeadlessWindow>(100, 50);

    IDirect3D9* first = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3D9* second = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(counters->direct3DCreated, 2);
    D3DPRESENT_PARAMETERS params = HeadlessFixture::ContextParameters();
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(second->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3D_OK);
    EXPECT_EQ(counters->devicesCreated, 1);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    EXPECT_EQ(dynamic_cast<HeadlessDevice*>(device)->CallNames(), std::vector<std::string>{"SetRenderState"});

    device->Release();
    first->Release();
    second->Release();
    EXPECT_EQ(counters->devicesAlive + counters->direct3DAlive, 0);
    SetDirect3DFactory(previous);
}

}  // namespace
