#include <gtest/gtest.h>

#include <memory>

#include "HeadlessFixture.h"

namespace {

using HeadlessSwapChains = HeadlessFixture;

TEST_F(HeadlessSwapChains, ScenesCountOnTheTargetsChainWhoseBackBufferAloneKeepsChainAndDevice)
{
    auto view = std::make_shared<HeadlessWindow>(50, 40);
    D3DPRESENT_PARAMETERS params = WindowedParameters(HWND(view), FALSE);
    IDirect3DSwapChain9* chain = nullptr;
    ASSERT_EQ(m_Device->CreateAdditionalSwapChain(&params, &chain), D3D_OK);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(chain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    ASSERT_EQ(m_Device->SetRenderTarget(0, back), D3D_OK);
    m_Device->BeginScene();
    m_Device->EndScene();
    EXPECT_EQ(dynamic_cast<HeadlessSwapChain*>(chain)->BeginSceneCount(), 1);
    EXPECT_EQ(m_Headless->ImplicitSwapChain()->BeginSceneCount(), 0);
    // Every other holder lets go; a back buffer alone keeps chain and device.
    chain->Release();
    m_Device->Release();
    m_Device = nullptr;
    EXPECT_EQ(m_Counters->devicesAlive + m_Counters->swapChainsAlive, 2);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(back->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 50u);
    EXPECT_EQ(back->Release(), 0u);
    EXPECT_EQ(m_Counters->devicesAlive + m_Counters->swapChainsAlive, 0);
}

TEST_F(HeadlessSwapChains, PresentCountsPerChainAndWindowAndRefusesNonWindows)
{
    auto view = std::make_shared<HeadlessWindow>(30, 20);
    const HWND viewHandle(view);
    D3DPRESENT_PARAMETERS params = WindowedParameters(viewHandle, FALSE);
    IDirect3DSwapChain9* chain = nullptr;
    ASSERT_EQ(m_Device->CreateAdditionalSwapChain(&params, &chain), D3D_OK);
    HeadlessSwapChain* implicit = m_Headless->ImplicitSwapChain();
    EXPECT_EQ(chain->Present(nullptr, nullptr, HWND(), nullptr, 0), D3D_OK);  // its own window
    EXPECT_EQ(implicit->Present(nullptr, nullptr, HWND(m_Window), nullptr, 0), D3D_OK);
    EXPECT_EQ(implicit->Present(nullptr, nullptr, viewHandle, nullptr, 0), D3D_OK);
    EXPECT_EQ(dynamic_cast<HeadlessSwapChain*>(chain)->PresentCount(), 1);
    EXPECT_EQ(implicit->PresentCount(), 2);
    EXPECT_EQ(m_Headless->PresentCount(viewHandle), 2);
    EXPECT_EQ(m_Headless->PresentCount(HWND(m_Window)), 1);
    view.reset();  // the chain's own window is gone
    EXPECT_EQ(chain->Present(nullptr, nullptr, HWND(), nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(implicit->Present(nullptr, nullptr, viewHandle, nullptr, 0), D3DERR_INVALIDCALL);
    chain->Release();
}

}  // namespace
