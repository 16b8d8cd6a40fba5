#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "HeadlessFixture.h"

namespace {

using HeadlessDeviceTest = HeadlessFixture;

TEST_F(HeadlessDeviceTest, KeepsCallsInOrderWithCopiesOfWhatTheyWereGiven)
{
    m_Device->SetFVF(D3DFVF_XYZ);  // off unless asked
    EXPECT_TRUE(m_Headless->Calls().empty());

    m_Headless->SetRecording(true);
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 4, 5, 6);
    D3DVECTOR fan[6];
    for (int i = 0; i < 6; ++i)
        fan[i] = {float(i), float(-i), 0.5f};
    EXPECT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 4, fan, sizeof fan[0]), D3DERR_INVALIDCALL);
    m_Device->BeginScene();
    m_Device->SetTransform(D3DTS_WORLD, &world);
    m_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 4, fan, sizeof fan[0]);
    std::memset(fan, 0, sizeof fan);  // the caller's buffer may change right after
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x7F99B2B2, 1.0f, 0);
    m_Device->EndScene();
    m_Headless->SetRecording(false);
    m_Device->EndScene();

    EXPECT_EQ(m_Headless->CallNames(), (std::vector<std::string>{"DrawPrimitiveUP", "BeginScene", "SetTransform",
                                                                 "DrawPrimitiveUP", "Clear", "EndScene"}));
    const std::vector<HeadlessCall>& calls = m_Headless->Calls();
    EXPECT_EQ(calls[0].result, D3DERR_INVALIDCALL);
    EXPECT_TRUE(calls[0].vertices.empty());
    EXPECT_EQ(calls[2].matrix._42, 5.0f);
    EXPECT_EQ(calls[4].args, (std::vector<DWORD>{0, D3DCLEAR_TARGET, 0x7F99B2B2, 0}));
    const HeadlessCall& draw = calls[3];
    ASSERT_EQ(draw.vertexCount, 6u);
    EXPECT_EQ(draw.VertexVector3(5, 0), D3DXVECTOR3(5, -5, 0.5f));
    EXPECT_THROW(draw.VertexFloat(6, 0), std::out_of_range);  // past the last vertex
    EXPECT_THROW(draw.VertexFloat(0, 9), std::out_of_range);  // past the stride
    // Only accepted calls count.
    EXPECT_EQ(m_Headless->DrawsOutsideSceneCount(), 1);
    EXPECT_EQ(m_Headless->DrawCallCount(), 1);
    EXPECT_EQ(m_Headless->ImplicitSwapChain()->DrawCallCount(), 1);
    EXPECT_EQ(m_Headless->EndSceneCount(), 1);
}

TEST(HeadlessDirect3D, CreateDeviceChecksArgumentsBeforeTheFailureOptionAndAnEmptyWindowGetsOnePixel)
{
    auto counters = std::make_shared<HeadlessCounters>();
    IDirect3D9* failing = CreateHeadlessDirect3D9(
        HeadlessOptions{.failCreateDevice = true, .createDeviceError = D3DERR_OUTOFVIDEOMEMORY, .counters = counters});
    auto window = std::make_shared<HeadlessWindow>(0, 0);
    D3DPRESENT_PARAMETERS params = WindowedParameters();
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(0x1);
    EXPECT_EQ(failing->CreateDevice(0, D3DDEVTYPE_HAL, HWND(), 0, &params, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(failing->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(params.BackBufferWidth, 0u);  // failures leave the parameters alone
    failing->Release();

    IDirect3D9* working = CreateHeadlessDirect3D9(HeadlessOptions{.counters = counters});
    ASSERT_EQ(working->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3D_OK);
    EXPECT_EQ(params.BackBufferWidth + params.BackBufferHeight, 2u);
    EXPECT_EQ(counters->devicesCreated, 1);
    working->Release();  // the device does not need its Direct3D object
    EXPECT_EQ(counters->direct3DAlive, 0);
    device->Release();
    EXPECT_EQ(counters->devicesAlive, 0);
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION + 1), nullptr);
}

}  // namespace
