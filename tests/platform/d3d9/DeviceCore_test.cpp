// The behaviour both devices share through their core: defaults, state,
// argument checks, scenes, back buffers, references. One typed suite, built
// once per device (DeviceMaker.h of the headless/ or gl/ folder), so a
// device that disagrees fails here.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "DeviceMaker.h"
#include "RefCounted.h"
#include "WindowedParameters.h"
#include "d3d9.h"

namespace {

ULONG RefCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

D3DPRESENT_PARAMETERS Parameters(BOOL depth = TRUE, D3DFORMAT depthFormat = D3DFMT_D24S8)
{
    return WindowedParameters(HWND(), depth, depthFormat);
}

template <class Maker>
class DeviceCoreTest : public ::testing::Test
{
protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 48;

    void SetUp() override
    {
        std::string whyNot;
        if (!Maker::Available(&whyNot))
            GTEST_SKIP() << "device not available: " << whyNot;
        m_D3D = ComPtr<IDirect3D9>(Maker::NewDirect3D());
        m_Window = Maker::NewWindow(kWidth, kHeight);
        m_Device = NewDevice(HWND(m_Window), Parameters());
        ASSERT_TRUE(m_Device);
    }

    ComPtr<IDirect3DDevice9> NewDevice(const HWND& window, D3DPRESENT_PARAMETERS params)
    {
        ComPtr<IDirect3DDevice9> device;
        m_D3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params,
                            device.Out());
        return device;
    }

    DWORD RenderState(D3DRENDERSTATETYPE state)
    {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(m_Device->GetRenderState(state, &value), D3D_OK);
        return value;
    }
    DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type)
    {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(m_Device->GetTextureStageState(stage, type, &value), D3D_OK);
        return value;
    }
    D3DVIEWPORT9 Viewport()
    {
        D3DVIEWPORT9 viewport{};
        EXPECT_EQ(m_Device->GetViewport(&viewport), D3D_OK);
        return viewport;
    }
    ComPtr<IDirect3D9> m_D3D;
    std::shared_ptr<IWindowSurface> m_Window;
    ComPtr<IDirect3DDevice9> m_Device;
};

TYPED_TEST_SUITE(DeviceCoreTest, DeviceMakers);

TYPED_TEST(DeviceCoreTest, StartsAtDirect3DDefaultsAndSettingOneStateLeavesItsNeighbours)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    // A depth buffer was asked for; a point size of 1.0f.
    const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE},  // a depth buffer was asked for
        {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_LIGHTING, TRUE},
        {D3DRS_COLORVERTEX, TRUE},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRS_POINTSIZE, 0x3F800000u},  // 1.0f
    };
    for (const auto& [state, value] : states)
        EXPECT_EQ(this->RenderState(state), value) << "render state " << state;
    for (const DWORD stage : {0u, 1u, 7u}) {
        SCOPED_TRACE(stage);
        EXPECT_EQ(this->StageState(stage, D3DTSS_COLOROP), DWORD(stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE));
        EXPECT_EQ(this->StageState(stage, D3DTSS_ALPHAOP), DWORD(stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE));
        EXPECT_EQ(this->StageState(stage, D3DTSS_COLORARG1), D3DTA_TEXTURE);
    }

    ASSERT_EQ(device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME), D3D_OK);
    ASSERT_EQ(device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_ADD), D3D_OK);
    EXPECT_EQ(this->RenderState(D3DRS_SHADEMODE), DWORD{D3DSHADE_GOURAUD});
    EXPECT_EQ(this->StageState(1, D3DTSS_ALPHAOP), DWORD{D3DTOP_ADD});
    EXPECT_EQ(this->StageState(1, D3DTSS_COLOROP), DWORD{D3DTOP_DISABLE});
    EXPECT_EQ(this->StageState(0, D3DTSS_ALPHAOP), DWORD{D3DTOP_SELECTARG1});

    DWORD value = 0;
    EXPECT_EQ(device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(D3DRS_STATECOUNT_EXT), 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetRenderState(D3DRS_LIGHTING, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTextureStageState(D3DTEXTURESTAGECOUNT_EXT, D3DTSS_COLOROP, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(0), 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(D3DTSS_STATECOUNT_EXT), &value),
              D3DERR_INVALIDCALL);
    // Without a depth buffer depth testing starts off, and depth or stencil
    // cannot be cleared; a depth buffer without stencil has no stencil.
    const HWND window(this->m_Window);
    ComPtr<IDirect3DDevice9> noDepth = this->NewDevice(window, Parameters(FALSE));
    ASSERT_TRUE(noDepth);
    ASSERT_EQ(noDepth->GetRenderState(D3DRS_ZENABLE, &value), D3D_OK);
    EXPECT_EQ(value, DWORD{D3DZB_FALSE});
    EXPECT_EQ(noDepth->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    ComPtr<IDirect3DDevice9> noStencil = this->NewDevice(window, Parameters(TRUE, D3DFMT_UNKNOWN));
    ASSERT_TRUE(noStencil);
    EXPECT_EQ(noStencil->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(noStencil->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TYPED_TEST(DeviceCoreTest, EveryTransformDirect3DNamesIsKeptApartAndOthersAreRefused)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    const auto worldMatrix = [](DWORD n) { return static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_WORLD + n); };
    const D3DTRANSFORMSTATETYPE known[] = {
        D3DTS_VIEW,  D3DTS_PROJECTION, D3DTS_TEXTURE0,  static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + 7),
        D3DTS_WORLD, worldMatrix(1),   worldMatrix(255)};
    D3DMATRIX m{};
    for (size_t i = 0; i < std::size(known); ++i) {
        m._41 = float(i);
        EXPECT_EQ(device->SetTransform(known[i], &m), D3D_OK) << known[i];
    }
    for (size_t i = 0; i < std::size(known); ++i) {
        ASSERT_EQ(device->GetTransform(known[i], &m), D3D_OK) << known[i];
        EXPECT_EQ(m._41, float(i)) << known[i];
    }
    ASSERT_EQ(device->GetTransform(worldMatrix(2), &m), D3D_OK);  // untouched: the identity
    EXPECT_EQ(m._41 + m._44, 1.0f);
    for (const DWORD bad : {1u, DWORD{D3DTS_TEXTURE0} + 8, DWORD{D3DTS_WORLD} + 256})
        EXPECT_EQ(device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(bad), &m), D3DERR_INVALIDCALL) << bad;
    EXPECT_EQ(device->SetTransform(D3DTS_VIEW, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetTransform(D3DTS_VIEW, nullptr), D3DERR_INVALIDCALL);
}

TYPED_TEST(DeviceCoreTest, LightsLiveAtAnyIndexAndEnablingAnUnsetOneMakesTheDefaultLight)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    D3DLIGHT9 light{};
    BOOL enabled = TRUE;
    EXPECT_EQ(device->GetLight(3, &light), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetLightEnable(3, &enabled), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->LightEnable(3, FALSE), D3D_OK);
    ASSERT_EQ(device->GetLight(3, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);  // white, along +Z
    EXPECT_EQ(light.Diffuse.r + light.Diffuse.a + light.Specular.r, 1.0f);
    EXPECT_EQ(light.Direction.z, 1.0f);
    ASSERT_EQ(device->GetLightEnable(3, &enabled), D3D_OK);
    EXPECT_EQ(enabled, FALSE);

    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Range = 200.0f;
    ASSERT_EQ(device->SetLight(100000, &point), D3D_OK);
    for (const BOOL on : {TRUE, FALSE, TRUE})
        ASSERT_EQ(device->LightEnable(100000, on), D3D_OK);
    ASSERT_EQ(device->GetLightEnable(100000, &enabled), D3D_OK);
    EXPECT_EQ(enabled, TRUE);

    for (const DWORD type : {0u, 4u}) {
        D3DLIGHT9 bad = point;
        bad.Type = static_cast<D3DLIGHTTYPE>(type);
        EXPECT_EQ(device->SetLight(100000, &bad), D3DERR_INVALIDCALL);
        EXPECT_EQ(device->SetLight(4, &bad), D3DERR_INVALIDCALL);
    }
    EXPECT_EQ(device->GetLight(4, &light), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->GetLight(100000, &light), D3D_OK);  // switching and refusals kept the record
    EXPECT_EQ(light.Type, D3DLIGHT_POINT);
    EXPECT_EQ(light.Range, 200.0f);
    EXPECT_EQ(device->SetMaterial(nullptr), D3DERR_INVALIDCALL);
}

TYPED_TEST(DeviceCoreTest, ViewportsMustLieInsideTheTargetAndRefusedOnesChangeNothing)
{
    const UINT w = this->kWidth;
    const UINT h = this->kHeight;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        D3DVIEWPORT9 viewport;
        HRESULT result;
    } cases[] = {
        {{5, 6, 10, 11, 0.25f, 0.5f}, D3D_OK},
        {{0, 0, w, h, 0.0f, 1.0f}, D3D_OK},
        {{1, 0, w, h, 0.0f, 1.0f}, D3DERR_INVALIDCALL},  // one column too far right
        {{0, 1, w, h, 0.0f, 1.0f}, D3DERR_INVALIDCALL},
        {{0xFFFFFFF0u, 0, 0x20, 1, 0.0f, 1.0f}, D3DERR_INVALIDCALL},  // X + Width wraps round
        {{0, 0, 0, h, 0.0f, 1.0f}, D3DERR_INVALIDCALL},
        {{0, 0, w, 0, 0.0f, 1.0f}, D3DERR_INVALIDCALL},
        {{0, 0, w, h, -0.1f, 1.0f}, D3DERR_INVALIDCALL},
        {{0, 0, w, h, 0.0f, 1.1f}, D3DERR_INVALIDCALL},
        {{0, 0, w, h, nan, 1.0f}, D3DERR_INVALIDCALL},
    };
    const D3DVIEWPORT9 start{2, 3, 4, 5, 0.0f, 1.0f};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ASSERT_EQ(this->m_Device->SetViewport(&start), D3D_OK);
        EXPECT_EQ(this->m_Device->SetViewport(&c.viewport), c.result);
        const D3DVIEWPORT9 now = this->Viewport();
        const D3DVIEWPORT9& expected = c.result == D3D_OK ? c.viewport : start;
        EXPECT_EQ(now.X, expected.X);
        EXPECT_EQ(now.Width, expected.Width);
        EXPECT_EQ(now.MinZ, expected.MinZ);
    }
    EXPECT_EQ(this->m_Device->SetViewport(nullptr), D3DERR_INVALIDCALL);
}

TYPED_TEST(DeviceCoreTest, ScenesPairAndOnlyClearWorksOutsideOne)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    const float point[3] = {};
    ASSERT_EQ(device->SetFVF(D3DFVF_XYZ), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, point, 12), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, point, 12), D3D_OK);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, point, 12), D3DERR_INVALIDCALL);

    const D3DRECT rect{0, 0, 1, 1};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);  // no rectangles
    EXPECT_EQ(device->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, 0x8, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, nan, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 0.0f, 0), D3D_OK);
}

TYPED_TEST(DeviceCoreTest, DrawsNeedADrawableFormatAStrideThatHoldsItAndAKnownPrimitive)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    const float data[64 * 9] = {};
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    const struct
    {
        DWORD fvf;
        D3DPRIMITIVETYPE type;
        UINT count;
        const void* vertices;
        UINT stride;
        HRESULT result;
    } cases[] = {
        {D3DFVF_XYZ, D3DPT_LINESTRIP, 5, data, 16, D3D_OK},  // a longer stride is fine
        {D3DFVF_XYZ, D3DPT_POINTLIST, 0, data, 12, D3DERR_INVALIDCALL},
        {D3DFVF_XYZ, D3DPT_POINTLIST, 0x100000, data, 12, D3DERR_INVALIDCALL},  // beyond the largest count
        {D3DFVF_XYZ, D3DPT_POINTLIST, 1, nullptr, 12, D3DERR_INVALIDCALL},
        {D3DFVF_XYZ, static_cast<D3DPRIMITIVETYPE>(7), 1, data, 12, D3DERR_INVALIDCALL},
        // Position, normal, colour, one set of u, v: 36 bytes.
        {0x152, D3DPT_TRIANGLELIST, 2, data, 36, D3D_OK},
        {0x152, D3DPT_TRIANGLELIST, 2, data, 32, D3DERR_INVALIDCALL},
        {D3DFVF_XYZ | D3DFVF_TEX1 | 0x30000, D3DPT_POINTLIST, 1, data, 16, D3DERR_INVALIDCALL},  // 1-D coordinates
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "fvf " << c.fvf << " type " << c.type << " count " << c.count);
        ASSERT_EQ(device->SetFVF(c.fvf), D3D_OK);
        EXPECT_EQ(device->DrawPrimitiveUP(c.type, c.count, c.vertices, c.stride), c.result);
        DWORD fvf = 0;
        ASSERT_EQ(device->GetFVF(&fvf), D3D_OK);
        EXPECT_EQ(fvf, c.fvf);
    }
    ASSERT_EQ(device->EndScene(), D3D_OK);
}

TYPED_TEST(DeviceCoreTest, MeshSubsetsAreCheckedTakeTheirFormatAndUploadOncePerVersion)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    auto* own = dynamic_cast<typename TypeParam::Device*>(device);
    const float positions[4][3] = {{-1, 0, 1}, {1, 0, 1}, {-1, 0, -1}, {1, 0, -1}};
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    const WORD outside[3] = {0, 1, 4};  // vertex 4 does not exist
    int key = 0;
    D3DMESHSUBSET_EXT subset{&key, 0, 1, D3DFVF_XYZ, 12, positions, 4, indices, 6};
    EXPECT_EQ(device->DrawMeshSubsetEXT(subset), D3DERR_INVALIDCALL);  // outside a scene
    ASSERT_EQ(device->BeginScene(), D3D_OK);

    D3DMESHSUBSET_EXT bad[5] = {subset, subset, subset, subset, subset};
    bad[0].indices = outside;
    bad[0].numIndices = 3;
    bad[1].numIndices = 5;  // not whole triangles
    bad[2].stride = 8;
    bad[3].key = nullptr;
    bad[4].indices = nullptr;
    for (const D3DMESHSUBSET_EXT& b : bad)
        EXPECT_EQ(device->DrawMeshSubsetEXT(b), D3DERR_INVALIDCALL);
    EXPECT_EQ(own->MeshUploadCount(), 0);

    ASSERT_EQ(device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
    ASSERT_EQ(device->DrawMeshSubsetEXT(subset), D3D_OK);
    DWORD fvf = 0;
    device->GetFVF(&fvf);
    EXPECT_EQ(fvf, DWORD{D3DFVF_XYZ});                     // the mesh's, as D3DX's DrawSubset sets it
    ASSERT_EQ(device->DrawMeshSubsetEXT(subset), D3D_OK);  // same version
    EXPECT_EQ(own->MeshUploadCount(), 1);
    subset.subset = 1;
    ASSERT_EQ(device->DrawMeshSubsetEXT(subset), D3D_OK);
    subset.version = 2;
    ASSERT_EQ(device->DrawMeshSubsetEXT(subset), D3D_OK);
    EXPECT_EQ(own->MeshUploadCount(), 3);
    EXPECT_EQ(own->KnownMeshSubsetCount(), 2u);
    // Forgetting the key drops both its subsets.
    device->ForgetMeshEXT(&key);
    EXPECT_EQ(own->KnownMeshSubsetCount(), 0u);
    ASSERT_EQ(device->DrawMeshSubsetEXT(subset), D3D_OK);
    EXPECT_EQ(own->MeshUploadCount(), 4);
    ASSERT_EQ(device->EndScene(), D3D_OK);
}

TYPED_TEST(DeviceCoreTest, TexturesAreOneLevelOf32BitPixelsAndBoundOnesAreReferenced)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    const UINT max = DeviceChecks::kMaxSize;
    int shared = 0;
    const struct
    {
        UINT width, height, levels;
        D3DFORMAT format;
        void* sharedHandle;
        HRESULT result;
    } cases[] = {
        {max, 1, 0, D3DFMT_A8R8G8B8, nullptr, D3D_OK},
        {0, 4, 1, D3DFMT_A8R8G8B8, nullptr, D3DERR_INVALIDCALL},
        {4, max + 1, 1, D3DFMT_A8R8G8B8, nullptr, D3DERR_INVALIDCALL},
        {4, 4, 2, D3DFMT_A8R8G8B8, nullptr, D3DERR_INVALIDCALL},
        {4, 4, 1, D3DFMT_R8G8B8, nullptr, D3DERR_INVALIDCALL},
        {4, 4, 1, D3DFMT_A8R8G8B8, &shared, D3DERR_INVALIDCALL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " levels " << c.levels);
        IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
        EXPECT_EQ(device->CreateTexture(c.width, c.height, c.levels, 0, c.format, D3DPOOL_SYSTEMMEM, &texture,
                                        c.sharedHandle),
                  c.result);
        if (c.result != D3D_OK) {
            EXPECT_EQ(texture, nullptr);
            continue;
        }
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Width * 10 + desc.Height, c.width * 10 + c.height);
        EXPECT_EQ(texture->GetLevelDesc(1, &desc), D3DERR_INVALIDCALL);
        EXPECT_EQ(texture->Release(), 0u);
    }

    ComPtr<IDirect3DTexture9> a, b;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, a.Out(), nullptr), D3D_OK);
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, b.Out(), nullptr), D3D_OK);
    ASSERT_EQ(device->SetTexture(0, a.Get()), D3D_OK);
    IDirect3DTexture9* onlyStage = a.Get();
    a = ComPtr<IDirect3DTexture9>();  // the stage keeps it
    // Bound again while the stage holds its only reference: not freed on the way.
    ASSERT_EQ(device->SetTexture(0, onlyStage), D3D_OK);
    EXPECT_EQ(RefCount(onlyStage), 1u);
    ASSERT_EQ(device->SetTexture(1, onlyStage), D3D_OK);
    ComPtr<IDirect3DBaseTexture9> got;
    ASSERT_EQ(device->GetTexture(1, got.Out()), D3D_OK);
    EXPECT_EQ(RefCount(onlyStage), 3u);  // two stages and GetTexture's
    got.Reset();
    EXPECT_EQ(device->SetTexture(D3DTEXTURESTAGECOUNT_EXT, b.Get()), D3DERR_INVALIDCALL);
    EXPECT_EQ(RefCount(b.Get()), 1u);  // the refused call took none
    // Another device's texture cannot be bound.
    ComPtr<IDirect3DDevice9> other = this->NewDevice(HWND(this->m_Window), Parameters());
    ASSERT_TRUE(other);
    ComPtr<IDirect3DTexture9> foreign;
    ASSERT_EQ(other->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, foreign.Out(), nullptr), D3D_OK);
    EXPECT_EQ(device->SetTexture(0, foreign.Get()), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->GetTexture(0, got.Out()), D3D_OK);
    EXPECT_EQ(got.Get(), onlyStage);
    got.Reset();
    // A texture outlives the device it came from, and the device gives back
    // what its stages hold.
    ASSERT_EQ(device->SetTexture(3, b.Get()), D3D_OK);
    this->m_Device.Reset();
    EXPECT_EQ(RefCount(b.Get()), 1u);
}

TYPED_TEST(DeviceCoreTest, LockRectHandsOutThePixelsRowsTopFirstOneLockAtATime)
{
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(this->m_Device->CreateTexture(3, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    ASSERT_GE(locked.Pitch, 12);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] = DWORD(y * 16 + x);
    D3DLOCKED_RECT second{};
    EXPECT_EQ(texture->LockRect(0, &second, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
    // A rectangle's lock points at its top-left pixel.
    RECT rect{1, 1, 3, 2};
    ASSERT_EQ(texture->LockRect(0, &locked, &rect, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<DWORD*>(locked.pBits), 0x11u);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    for (RECT bad : {RECT{0, 0, 4, 2}, RECT{0, 0, 3, 3}, RECT{-1, 0, 1, 1}, RECT{1, 1, 1, 2}, RECT{2, 0, 1, 1}})
        EXPECT_EQ(texture->LockRect(0, &locked, &bad, 0), D3DERR_INVALIDCALL) << bad.left << "," << bad.right;
    EXPECT_EQ(texture->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL);
}

TYPED_TEST(DeviceCoreTest, BackBuffersTakeTheWindowsSizeTheDisplayFormatAndOneBufferWhenLeftOpen)
{
    // What was chosen is written back into the caller's parameters.
    const HWND window(this->m_Window);
    D3DPRESENT_PARAMETERS params = Parameters();
    params.BackBufferFormat = D3DFMT_UNKNOWN;
    ComPtr<IDirect3DDevice9> device;
    ASSERT_EQ(this->m_D3D->CreateDevice(0, D3DDEVTYPE_HAL, window, 0, &params, device.Out()), D3D_OK);
    EXPECT_EQ(params.BackBufferHeight, UINT{this->kHeight});
    EXPECT_EQ(params.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(params.BackBufferCount, 1u);
    // Sizes given win over the window's, in an additional chain too.
    params = Parameters();
    params.BackBufferWidth = 33;
    params.BackBufferHeight = 17;
    ComPtr<IDirect3DSwapChain9> chain;
    ASSERT_EQ(device->CreateAdditionalSwapChain(&params, chain.Out()), D3D_OK);
    ComPtr<IDirect3DSurface9> back;
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(chain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, back.Out()), D3D_OK);
    ASSERT_EQ(back->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width * 100 + desc.Height, 3317u);
    // Refused: formats other than 32-bit colour, sizes beyond the largest,
    // windows that are gone; the parameters are then left as they were.
    auto goneWindow = TypeParam::NewWindow(10, 10);
    const HWND gone(goneWindow);
    goneWindow.reset();
    const struct
    {
        const char* what;
        HWND focus;
        HWND deviceWindow;
        D3DFORMAT format;
        UINT width;
        HRESULT result;
    } cases[] = {
        {"24-bit colour", window, HWND(), D3DFMT_R8G8B8, 0, D3DERR_NOTAVAILABLE},
        {"too wide", window, HWND(), D3DFMT_X8R8G8B8, DeviceChecks::kMaxSize + 1, D3DERR_INVALIDCALL},
        {"no window at all", HWND(), HWND(), D3DFMT_X8R8G8B8, 0, D3DERR_INVALIDCALL},
        {"focus window gone", gone, HWND(), D3DFMT_X8R8G8B8, 0, D3DERR_INVALIDCALL},
        {"device window gone", window, gone, D3DFMT_X8R8G8B8, 0, D3DERR_INVALIDCALL},
        {"device window alone", HWND(), window, D3DFMT_A8R8G8B8, 0, D3D_OK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        params = Parameters();
        params.hDeviceWindow = c.deviceWindow;
        params.BackBufferFormat = c.format;
        params.BackBufferWidth = c.width;
        IDirect3DDevice9* made = reinterpret_cast<IDirect3DDevice9*>(0x1);
        EXPECT_EQ(this->m_D3D->CreateDevice(0, D3DDEVTYPE_HAL, c.focus, 0, &params, &made), c.result);
        if (c.result != D3D_OK) {
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(params.BackBufferHeight, 0u);
        } else {
            made->Release();
        }
        if (c.result == D3D_OK || c.focus.IsNull() || c.focus == gone)
            continue;
        // An additional chain is refused alike.
        params.BackBufferHeight = 0;
        IDirect3DSwapChain9* extra = reinterpret_cast<IDirect3DSwapChain9*>(0x1);
        EXPECT_EQ(device->CreateAdditionalSwapChain(&params, &extra), c.result);
        EXPECT_EQ(extra, nullptr);
        EXPECT_EQ(params.BackBufferHeight, 0u);
    }
    IDirect3DDevice9* made = nullptr;
    EXPECT_EQ(this->m_D3D->CreateDevice(1, D3DDEVTYPE_HAL, window, 0, &params, &made), D3DERR_INVALIDCALL);
}

TYPED_TEST(DeviceCoreTest, ChainsHoldTheDeviceAndAGoneChainGivesTheTargetBack)
{
    IDirect3DDevice9* device = this->m_Device.Get();
    const auto view = TypeParam::NewWindow(40, 30);
    D3DPRESENT_PARAMETERS params = Parameters();
    params.hDeviceWindow = HWND(view);
    IDirect3DSwapChain9* chain = nullptr;
    ASSERT_EQ(device->CreateAdditionalSwapChain(&params, &chain), D3D_OK);
    ComPtr<IDirect3DSurface9> backBuffer;
    ASSERT_EQ(chain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Out()), D3D_OK);
    const D3DVIEWPORT9 small{5, 5, 10, 10, 0.25f, 0.5f};
    ASSERT_EQ(device->SetViewport(&small), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(0, backBuffer.Get()), D3D_OK);
    D3DVIEWPORT9 viewport = this->Viewport();  // the whole new target
    EXPECT_EQ(viewport.X + viewport.Width * 100 + viewport.Height, 4030u);
    EXPECT_EQ(viewport.MinZ, 0.0f);
    EXPECT_EQ(device->SetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderTarget(1, backBuffer.Get()), D3DERR_INVALIDCALL);
    backBuffer.Reset();
    // The chain holds the device: dropping ours leaves it alive.
    device->AddRef();
    this->m_Device.Reset();
    EXPECT_EQ(RefCount(device), 2u);  // ours and the chain's
    // The target's chain goes: the target falls back to the implicit one.
    EXPECT_EQ(chain->Release(), 0u);
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Height, UINT{this->kHeight});
    IDirect3DSwapChain9* implicit = nullptr;
    EXPECT_EQ(device->GetSwapChain(1, &implicit), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->GetSwapChain(0, &implicit), D3D_OK);
    EXPECT_EQ(RefCount(device), 2u);  // the implicit chain is part of the device
    implicit->Release();
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
