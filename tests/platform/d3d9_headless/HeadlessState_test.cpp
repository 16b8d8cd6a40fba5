#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "HeadlessFixture.h"

namespace {

using HeadlessState = HeadlessFixture;

DWORD State(IDirect3DDevice9* device, D3DRENDERSTATETYPE state)
{
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetRenderState(state, &value), D3D_OK);
    return value;
}

DWORD Stage(IDirect3DDevice9* device, DWORD stage, D3DTEXTURESTAGESTATETYPE type)
{
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetTextureStageState(stage, type, &value), D3D_OK);
    return value;
}

TEST_F(HeadlessState, StartsWithDirect3DDefaults)
{
    // Values the back end relies on without setting them.
    EXPECT_EQ(State(m_Device, D3DRS_ZENABLE), DWORD{D3DZB_TRUE});  // a depth buffer was asked for
    EXPECT_EQ(State(m_Device, D3DRS_LIGHTING), DWORD{TRUE});
    EXPECT_EQ(State(m_Device, D3DRS_SHADEMODE), DWORD{D3DSHADE_GOURAUD});
    EXPECT_EQ(State(m_Device, D3DRS_CULLMODE), DWORD{D3DCULL_CCW});
    EXPECT_EQ(State(m_Device, D3DRS_ZFUNC), DWORD{D3DCMP_LESSEQUAL});
    EXPECT_EQ(State(m_Device, D3DRS_SRCBLEND), DWORD{D3DBLEND_ONE});
    EXPECT_EQ(State(m_Device, D3DRS_DESTBLEND), DWORD{D3DBLEND_ZERO});
    EXPECT_EQ(State(m_Device, D3DRS_DIFFUSEMATERIALSOURCE), DWORD{D3DMCS_COLOR1});
    EXPECT_EQ(State(m_Device, D3DRS_SPECULARMATERIALSOURCE), DWORD{D3DMCS_COLOR2});
    EXPECT_EQ(Stage(m_Device, 0, D3DTSS_COLOROP), DWORD{D3DTOP_MODULATE});
    EXPECT_EQ(Stage(m_Device, 0, D3DTSS_COLORARG1), D3DTA_TEXTURE);
    EXPECT_EQ(Stage(m_Device, 0, D3DTSS_ALPHAOP), DWORD{D3DTOP_SELECTARG1});
    EXPECT_EQ(Stage(m_Device, 7, D3DTSS_COLOROP), DWORD{D3DTOP_DISABLE});
    EXPECT_EQ(Stage(m_Device, 1, D3DTSS_ALPHAOP), DWORD{D3DTOP_DISABLE});
    D3DXMATRIX identity, world;
    D3DXMatrixIdentity(&identity);
    ASSERT_EQ(m_Device->GetTransform(D3DTS_WORLD, &world), D3D_OK);
    EXPECT_EQ(world, identity);
    D3DVIEWPORT9 vp{};
    m_Device->GetViewport(&vp);
    EXPECT_EQ(vp.Width, 320u);
    EXPECT_EQ(vp.Height, 240u);
    EXPECT_EQ(vp.MaxZ, 1.0f);

    // Changing one key leaves its neighbours; unknown keys are refused.
    D3DXMATRIX moved;
    D3DXMatrixTranslation(&moved, 1, 2, 3);
    ASSERT_EQ(m_Device->SetTransform(D3DTS_VIEW, &moved), D3D_OK);
    ASSERT_EQ(m_Device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_ADD), D3D_OK);
    ASSERT_EQ(m_Device->GetTransform(D3DTS_WORLD, &world), D3D_OK);
    EXPECT_EQ(world, identity);
    EXPECT_EQ(Stage(m_Device, 1, D3DTSS_COLOROP), DWORD{D3DTOP_DISABLE});
    EXPECT_EQ(Stage(m_Device, 0, D3DTSS_ALPHAOP), DWORD{D3DTOP_SELECTARG1});
    EXPECT_EQ(m_Device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(D3DRS_STATECOUNT_EXT), 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(1), &moved), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device->SetTextureStageState(D3DTEXTURESTAGECOUNT_EXT, D3DTSS_COLOROP, 1), D3DERR_INVALIDCALL);
}

TEST(HeadlessStateNoDepth, WithoutADepthBufferDepthIsOffAndCannotBeCleared)
{
    IDirect3D9* d3d = CreateHeadlessDirect3D9();
    auto window = std::make_shared<HeadlessWindow>(8, 8);
    D3DPRESENT_PARAMETERS params = HeadlessFixture::ContextParameters();
    params.EnableAutoDepthStencil = FALSE;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3D_OK);
    EXPECT_EQ(State(device, D3DRS_ZENABLE), DWORD{D3DZB_FALSE});
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    device->Release();
    d3d->Release();
}

TEST_F(HeadlessState, LightsLiveAtAnyIndexAndEnablingANewOneMakesTheDefaultLight)
{
    D3DLIGHT9 light{};
    EXPECT_EQ(m_Device->GetLight(3, &light), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_Device->LightEnable(3, FALSE), D3D_OK);
    ASSERT_EQ(m_Device->GetLight(3, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);  // white, along +Z
    EXPECT_EQ(light.Diffuse.r, 1.0f);
    EXPECT_EQ(light.Direction.z, 1.0f);

    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Range = 200.0f;
    ASSERT_EQ(m_Device->SetLight(100000, &point), D3D_OK);
    ASSERT_EQ(m_Device->LightEnable(100000, TRUE), D3D_OK);
    ASSERT_EQ(m_Device->LightEnable(100000, FALSE), D3D_OK);
    ASSERT_EQ(m_Device->LightEnable(100000, TRUE), D3D_OK);
    ASSERT_EQ(m_Device->GetLight(100000, &light), D3D_OK);  // switching kept the record
    EXPECT_EQ(light.Type, D3DLIGHT_POINT);
    EXPECT_EQ(light.Range, 200.0f);
    BOOL enabled = FALSE;
    ASSERT_EQ(m_Device->GetLightEnable(100000, &enabled), D3D_OK);
    EXPECT_EQ(enabled, TRUE);
    EXPECT_EQ(m_Headless->LightIndices(), (std::vector<DWORD>{3, 100000}));
    EXPECT_EQ(m_Headless->EnabledLightIndices(), (std::vector<DWORD>{100000}));

    D3DLIGHT9 noType{};
    EXPECT_EQ(m_Device->SetLight(4, &noType), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device->GetLight(4, &light), D3DERR_INVALIDCALL);
}

TEST_F(HeadlessState, BoundTexturesAreReferencedUntilReplacedOrTheDeviceGoes)
{
    IDirect3DTexture9* a = nullptr;
    IDirect3DTexture9* b = nullptr;
    ASSERT_EQ(m_Device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &a, nullptr), D3D_OK);
    ASSERT_EQ(m_Device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &b, nullptr), D3D_OK);

    ASSERT_EQ(m_Device->SetTexture(0, a), D3D_OK);
    a->Release();  // the stage keeps it
    EXPECT_EQ(m_Counters->texturesAlive, 2);
    // Binding it again while the stage holds its only reference must not
    // free it on the way.
    ASSERT_EQ(m_Device->SetTexture(0, a), D3D_OK);
    EXPECT_EQ(RefCount(a), 1u);
    ASSERT_EQ(m_Device->SetTexture(1, a), D3D_OK);
    IDirect3DBaseTexture9* got = nullptr;
    ASSERT_EQ(m_Device->GetTexture(1, &got), D3D_OK);
    EXPECT_EQ(got, a);
    EXPECT_EQ(RefCount(a), 3u);  // two stages and GetTexture's
    got->Release();

    ASSERT_EQ(m_Device->SetTexture(0, b), D3D_OK);
    ASSERT_EQ(m_Device->SetTexture(1, nullptr), D3D_OK);  // a's last reference
    EXPECT_EQ(m_Counters->texturesAlive, 1);
    EXPECT_EQ(m_Device->SetTexture(D3DTEXTURESTAGECOUNT_EXT, b), D3DERR_INVALIDCALL);
    EXPECT_EQ(RefCount(b), 2u);  // the refused call took none
    // b stays bound: the device releases it when it goes (TearDown checks).
    b->Release();
}

TEST_F(HeadlessState, ScenesPairButClearAndDrawAreAcceptedOutsideOne)
{
    const float point[3] = {};
    m_Device->SetFVF(D3DFVF_XYZ);
    EXPECT_EQ(m_Device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(m_Device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, point, 12), D3D_OK);
    ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
    EXPECT_EQ(m_Device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, point, 12), D3D_OK);
    ASSERT_EQ(m_Device->EndScene(), D3D_OK);
    EXPECT_EQ(m_Device->EndScene(), D3DERR_INVALIDCALL);

    // Only accepted calls count.
    EXPECT_EQ(m_Headless->BeginSceneCount(), 1);
    EXPECT_EQ(m_Headless->EndSceneCount(), 1);
    EXPECT_EQ(m_Headless->DrawCallCount(), 2);
    EXPECT_EQ(m_Headless->DrawsOutsideSceneCount(), 1);
    EXPECT_EQ(m_Headless->ImplicitSwapChain()->BeginSceneCount(), 1);

    const D3DRECT rect{0, 0, 1, 1};
    EXPECT_EQ(m_Device->Clear(1, &rect, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);  // no rectangles
    EXPECT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Headless->ClearCount(), 1);
}

}  // namespace
