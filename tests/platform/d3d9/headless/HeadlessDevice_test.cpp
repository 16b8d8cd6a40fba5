#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "HeadlessFixture.h"

namespace {

using HeadlessDeviceTest = HeadlessFixture;

// The 36-byte vertex of lines and fans: position, normal, colour, u, v.
struct LineVertex
{
    float x, y, z, nx, ny, nz;
    DWORD color;
    float u, v;
};

TEST_F(HeadlessDeviceTest, KeepsCallsInOrderWithCopiesOfWhatTheyWereGiven)
{
    // Off unless asked: the counters still run.
    m_Device->SetFVF(0x152);
    EXPECT_TRUE(m_Headless->Calls().empty());

    m_Headless->SetRecording(true);
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 4, 5, 6);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_SPOT;
    light.Theta = 0.5f;
    LineVertex fan[6];
    for (int i = 0; i < 6; ++i)
        fan[i] = LineVertex{float(i), float(-i), 0.5f, 0, 0, 1, 0xFF000000u + DWORD(i), 0.25f * float(i), 1.0f};

    m_Device->BeginScene();
    m_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_Device->SetTransform(D3DTS_WORLD, &world);
    m_Device->SetLight(2, &light);
    m_Device->LightEnable(2, TRUE);
    m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 4, fan, sizeof(LineVertex));
    std::memset(fan, 0, sizeof fan);  // the caller's buffer may change right after
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x7F99B2B2, 1.0f, 0);
    m_Device->EndScene();
    m_Headless->SetRecording(false);
    m_Device->EndScene();

    EXPECT_EQ(m_Headless->CallNames(),
              (std::vector<std::string>{"BeginScene", "SetRenderState", "SetTransform", "SetLight", "LightEnable",
                                        "SetTextureStageState", "DrawPrimitiveUP", "Clear", "EndScene"}));
    const std::vector<HeadlessCall>& calls = m_Headless->Calls();
    EXPECT_EQ(calls[1].args, (std::vector<DWORD>{D3DRS_LIGHTING, FALSE}));
    EXPECT_EQ(calls[2].matrix._42, 5.0f);
    EXPECT_EQ(calls[3].Arg(0), 2u);
    EXPECT_EQ(calls[3].light.Theta, 0.5f);
    EXPECT_EQ(calls[5].args, (std::vector<DWORD>{0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}));
    EXPECT_EQ(calls[7].args, (std::vector<DWORD>{0, D3DCLEAR_TARGET, 0x7F99B2B2, 0}));
    EXPECT_EQ(calls[7].value, 1.0f);

    const HeadlessCall& draw = calls[6];
    EXPECT_EQ(draw.args, (std::vector<DWORD>{D3DPT_TRIANGLEFAN, 4, 36}));
    ASSERT_EQ(draw.vertexCount, 6u);
    EXPECT_EQ(draw.VertexVector3(5, 0), D3DXVECTOR3(5, -5, 0.5f));
    EXPECT_EQ(draw.VertexDword(4, 24), 0xFF000004u);
    EXPECT_EQ(draw.VertexFloat(2, 28), 0.5f);
    EXPECT_THROW(draw.VertexFloat(6, 0), std::out_of_range);   // past the last vertex
    EXPECT_THROW(draw.VertexFloat(0, 33), std::out_of_range);  // past the stride

    EXPECT_EQ(m_Headless->CallsNamed("LightEnable").size(), 1u);
    m_Headless->ClearCalls();
    EXPECT_TRUE(m_Headless->Calls().empty());
}

TEST_F(HeadlessDeviceTest, VertexCountFollowsThePrimitiveTypeAndBadDrawsAreRefused)
{
    m_Headless->SetRecording(true);
    m_Device->SetFVF(D3DFVF_XYZ);
    const std::vector<float> data(3 * 64, 0.0f);
    EXPECT_EQ(m_Device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, data.data(), 12), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Headless->DrawsOutsideSceneCount(), 1);
    m_Device->BeginScene();
    const struct
    {
        D3DPRIMITIVETYPE type;
        UINT count, vertices;
    } cases[] = {{D3DPT_POINTLIST, 5, 5},     {D3DPT_LINELIST, 5, 10},     {D3DPT_LINESTRIP, 5, 6},
                 {D3DPT_TRIANGLELIST, 5, 15}, {D3DPT_TRIANGLESTRIP, 5, 7}, {D3DPT_TRIANGLEFAN, 8, 10}};
    for (const auto& c : cases) {
        m_Headless->ClearCalls();
        ASSERT_EQ(m_Device->DrawPrimitiveUP(c.type, c.count, data.data(), 12), D3D_OK);
        EXPECT_EQ(m_Headless->Calls().at(0).vertices.size(), c.vertices * 12u) << c.type;
    }

    EXPECT_EQ(m_Device->DrawPrimitiveUP(D3DPT_POINTLIST, 0, data.data(), 12), D3DERR_INVALIDCALL);
    // Only accepted calls count.
    EXPECT_EQ(m_Headless->DrawCallCount(), 6);
    EXPECT_EQ(m_Headless->ImplicitSwapChain()->DrawCallCount(), 6);
    EXPECT_EQ(m_Headless->Calls().back().result, D3DERR_INVALIDCALL);
    EXPECT_TRUE(m_Headless->Calls().back().vertices.empty());
    m_Device->EndScene();
    EXPECT_EQ(m_Device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Headless->BeginSceneCount(), 1);
    EXPECT_EQ(m_Headless->EndSceneCount(), 1);
    EXPECT_EQ(m_Headless->ImplicitSwapChain()->EndSceneCount(), 1);
}

TEST_F(HeadlessDeviceTest, MeshSubsetsAreRecordedWithCopiesOfTheirData)
{
    m_Headless->SetRecording(true);
    const float positions[4][3] = {{-1, 0, 1}, {1, 0, 1}, {-1, 0, -1}, {1, 0, -1}};
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    int key = 0;
    const D3DMESHSUBSET_EXT subset{&key, 0, 1, D3DFVF_XYZ, 12, positions, 4, indices, 6};
    m_Device->BeginScene();
    ASSERT_EQ(m_Device->DrawMeshSubsetEXT(subset), D3D_OK);
    const HeadlessCall draw = m_Headless->Calls().back();
    EXPECT_EQ(draw.args, (std::vector<DWORD>{0, D3DFVF_XYZ, 12, 4, 6}));
    EXPECT_EQ(draw.object, &key);
    EXPECT_EQ(draw.indices, (std::vector<WORD>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(draw.VertexVector3(3, 0), D3DXVECTOR3(1, 0, -1));
    m_Device->EndScene();
    EXPECT_EQ(m_Headless->DrawCallCount(), 1);
}

TEST(HeadlessDirect3D, InstalledFactorySharesCountersAndCanRecordFromTheStart)
{
    auto counters = std::make_shared<HeadlessCounters>();
    Direct3DFactory previous = InstallHeadlessDirect3D(HeadlessOptions{.recordFromStart = true, .counters = counters});
    auto window = std::make_shared<HeadlessWindow>(100, 50);
    IDirect3D9* first = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3D9* second = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION + 1), nullptr);
    EXPECT_EQ(counters->direct3DCreated, 2);
    D3DPRESENT_PARAMETERS params = HeadlessFixture::ContextParameters();
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(second->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3D_OK);
    EXPECT_EQ(counters->devicesCreated, 1);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    EXPECT_EQ(dynamic_cast<HeadlessDevice*>(device)->CallNames(), std::vector<std::string>{"SetRenderState"});
    // The device does not need its Direct3D object.
    first->Release();
    second->Release();
    EXPECT_EQ(counters->direct3DAlive, 0);
    device->Release();
    EXPECT_EQ(counters->devicesAlive, 0);
    SetDirect3DFactory(previous);
}

TEST(HeadlessDirect3D, CreateDeviceChecksArgumentsBeforeTheFailureOptionAndAnEmptyWindowGetsOnePixel)
{
    auto counters = std::make_shared<HeadlessCounters>();
    IDirect3D9* failing = CreateHeadlessDirect3D9(
        HeadlessOptions{.failCreateDevice = true, .createDeviceError = D3DERR_OUTOFVIDEOMEMORY, .counters = counters});
    auto window = std::make_shared<HeadlessWindow>(0, 0);
    D3DPRESENT_PARAMETERS params = HeadlessFixture::ContextParameters();
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(0x1);
    EXPECT_EQ(failing->CreateDevice(0, D3DDEVTYPE_HAL, HWND(), 0, &params, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(failing->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(params.BackBufferWidth, 0u);  // failures leave the parameters alone
    failing->Release();

    IDirect3D9* working = CreateHeadlessDirect3D9(HeadlessOptions{.counters = counters});
    ASSERT_EQ(working->CreateDevice(0, D3DDEVTYPE_HAL, HWND(window), 0, &params, &device), D3D_OK);
    EXPECT_EQ(params.BackBufferWidth, 1u);
    EXPECT_EQ(params.BackBufferHeight, 1u);
    EXPECT_EQ(counters->devicesCreated, 1);
    device->Release();
    working->Release();
    EXPECT_EQ(counters->devicesAlive + counters->direct3DAlive, 0);
}

}  // namespace
