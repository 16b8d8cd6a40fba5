// Whole frames compared with golden images, each also checked by a few
// pixel rules that say what the frame must show whatever the golden holds.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "GoldenImage.h"
#include "RenderTest.h"
#include "d3dx9tex.h"

namespace {

constexpr D3DCOLOR kSky = 0xFF334455;

class GoldenScene : public RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        if (IsSkipped())
            return;
        SetFixedStates();
        SetCamera(D3DXVECTOR3(0.0f, 0.0f, 4.0f), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    }

    void LitSphereMaterial()
    {
        const D3DMATERIAL9 material = MakeMaterial({0.9f, 0.9f, 0.9f, 1.0f}, {0.3f, 0.3f, 0.3f, 1.0f},
                                                   {0.6f, 0.6f, 0.6f, 1.0f}, {0.0f, 0.0f, 0.0f, 0.0f}, 16.0f);
        m_Device->SetMaterial(&material);
        m_Device->SetRenderState(D3DRS_LIGHTING, TRUE);
    }

    static D3DLIGHT9 WhiteLight(D3DLIGHTTYPE type)
    {
        D3DLIGHT9 light{};
        light.Type = type;
        light.Diffuse = {1.0f, 0.9f, 0.8f, 1.0f};
        light.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
        light.Ambient = {0.1f, 0.1f, 0.1f, 1.0f};
        light.Range = 200.0f;
        light.Attenuation0 = 1.0f;
        return light;
    }
};

TEST_F(GoldenScene, PointLightOnTheRightLightsTheSphereFromTheRight)
{
    LitSphereMaterial();
    D3DLIGHT9 light = WhiteLight(D3DLIGHT_POINT);
    light.Position = {4.0f, 1.0f, 3.0f};
    m_Device->SetLight(1, &light);
    m_Device->LightEnable(1, TRUE);
    ComPtr<ID3DXMesh> sphere = MakeSphere();
    ASSERT_TRUE(sphere);

    BeginFrame(kSky);
    ASSERT_EQ(sphere->DrawSubset(0), D3D_OK);
    const RgbaImage& frame = EndFrame();

    EXPECT_GT(MeanBrightness(frame, 72, 56, 90, 72), MeanBrightness(frame, 38, 56, 56, 72) + 60.0);
    EXPECT_GT(MeanBrightness(frame, 60, 40, 80, 56), MeanBrightness(frame, 60, 72, 80, 88));  // light is above
    EXPECT_TRUE(PixelNear(frame, 4, 4, 0x33, 0x44, 0x55, 0));
    EXPECT_TRUE(MatchesGolden(frame, "point_light_sphere"));
}

TEST_F(GoldenScene, DirectionalLightShiningLeftwardsLightsTheRightSide)
{
    LitSphereMaterial();
    // The light travels towards −X and −Z: it comes from the right, front.
    D3DLIGHT9 light = WhiteLight(D3DLIGHT_DIRECTIONAL);
    light.Direction = {-1.0f, 0.0f, -1.0f};
    m_Device->SetLight(2, &light);
    m_Device->LightEnable(2, TRUE);
    ComPtr<ID3DXMesh> sphere = MakeSphere();
    ASSERT_TRUE(sphere);

    BeginFrame(kSky);
    ASSERT_EQ(sphere->DrawSubset(0), D3D_OK);
    const RgbaImage& frame = EndFrame();

    EXPECT_GT(MeanBrightness(frame, 72, 56, 90, 72), MeanBrightness(frame, 38, 56, 56, 72) + 60.0);
    // Top and bottom are lit alike: the light has no vertical component.
    EXPECT_NEAR(MeanBrightness(frame, 60, 44, 80, 52), MeanBrightness(frame, 60, 76, 80, 84), 4.0);
    EXPECT_TRUE(MatchesGolden(frame, "directional_light_sphere"));
}

TEST_F(GoldenScene, TexturedQuadShowsTheImageUprightWithItsOwnColours)
{
    // Our own image: red, green / blue, white quadrants, top row first.
    constexpr int kTex = 16;
    std::vector<unsigned char> rgb(kTex * kTex * 3);
    for (int y = 0; y < kTex; ++y) {
        for (int x = 0; x < kTex; ++x) {
            const int quadrant = (y >= kTex / 2 ? 2 : 0) + (x >= kTex / 2 ? 1 : 0);
            static constexpr unsigned char kColors[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
            std::memcpy(&rgb[static_cast<size_t>(y * kTex + x) * 3], kColors[quadrant], 3);
        }
    }
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("soare_quadrants_" + std::to_string(::getpid()) + ".png");
    ASSERT_NE(stbi_write_png(file.c_str(), kTex, kTex, 3, rgb.data(), kTex * 3), 0);
    ComPtr<IDirect3DTexture9> texture;
    ASSERT_EQ(D3DXCreateTextureFromFileW(m_Device.Get(), file.wstring().c_str(), texture.Out()), D3D_OK);
    std::filesystem::remove(file);

    LitSphereMaterial();
    m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    m_Device->SetTexture(0, texture.Get());
    ComPtr<ID3DXMesh> quad = MakeQuad();
    ASSERT_TRUE(quad);

    BeginFrame(kSky);
    ASSERT_EQ(quad->DrawSubset(0), D3D_OK);
    const RgbaImage& frame = EndFrame();

    // The texture replaces the lit colour, so its colours show exactly.
    EXPECT_TRUE(PixelNear(frame, 44, 44, 255, 0, 0, 2));
    EXPECT_TRUE(PixelNear(frame, 83, 44, 0, 255, 0, 2));
    EXPECT_TRUE(PixelNear(frame, 44, 83, 0, 0, 255, 2));
    EXPECT_TRUE(PixelNear(frame, 83, 83, 255, 255, 255, 2));
    EXPECT_TRUE(MatchesGolden(frame, "textured_quad"));
}

TEST_F(GoldenScene, AlphaBlendingMixesByTheSourceAlpha)
{
    SetIdentityTransforms();
    m_Device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    const ColorVertex blue[4] = {{-0.8f, 0.6f, 0.5f, 0xFF0000FF},
                                 {0.3f, 0.6f, 0.5f, 0xFF0000FF},
                                 {-0.8f, -0.6f, 0.5f, 0xFF0000FF},
                                 {0.3f, -0.6f, 0.5f, 0xFF0000FF}};
    const ColorVertex red[4] = {{-0.3f, 0.4f, 0.5f, 0x80FF0000},
                                {0.8f, 0.4f, 0.5f, 0x80FF0000},
                                {-0.3f, -0.4f, 0.5f, 0x80FF0000},
                                {0.8f, -0.4f, 0.5f, 0x80FF0000}};
    BeginFrame(kSky);
    DrawColored(D3DPT_TRIANGLESTRIP, blue, 2);
    m_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    m_Device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    DrawColored(D3DPT_TRIANGLESTRIP, red, 2);
    const RgbaImage& frame = EndFrame();

    EXPECT_TRUE(PixelNear(frame, 64, 64, 128, 0, 127, 2));        // red over blue
    EXPECT_TRUE(PixelNear(frame, 100, 64, 0x99, 0x22, 0x2B, 2));  // red over the sky
    EXPECT_TRUE(PixelNear(frame, 20, 64, 0, 0, 255, 0));          // blue alone
    EXPECT_TRUE(MatchesGolden(frame, "alpha_blending"));
}

TEST_F(GoldenScene, FlatShadingTakesTheFirstVertexColourGouraudBlends)
{
    SetIdentityTransforms();
    const ColorVertex left[3] = {
        {-0.9f, -0.6f, 0.5f, 0xFFFF0000}, {-0.5f, 0.6f, 0.5f, 0xFF00FF00}, {-0.1f, -0.6f, 0.5f, 0xFF0000FF}};
    const ColorVertex right[3] = {
        {0.1f, -0.6f, 0.5f, 0xFFFF0000}, {0.5f, 0.6f, 0.5f, 0xFF00FF00}, {0.9f, -0.6f, 0.5f, 0xFF0000FF}};
    BeginFrame(kSky);
    m_Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    DrawColored(D3DPT_TRIANGLELIST, left, 1);
    m_Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    DrawColored(D3DPT_TRIANGLELIST, right, 1);
    const RgbaImage& frame = EndFrame();

    // Flat: the first vertex's red everywhere, even next to the others.
    EXPECT_TRUE(PixelNear(frame, 32, 70, 255, 0, 0, 0));
    EXPECT_TRUE(PixelNear(frame, 32, 40, 255, 0, 0, 0));
    EXPECT_TRUE(PixelNear(frame, 50, 95, 255, 0, 0, 0));
    // Gouraud: about a third of each at the centroid.
    EXPECT_TRUE(PixelNear(frame, 96, 77, 85, 85, 85, 12));
    EXPECT_TRUE(MatchesGolden(frame, "flat_and_gouraud"));
}

TEST_F(GoldenScene, WireframeDrawsEdgesOnly)
{
    const D3DMATERIAL9 white = MakeMaterial({0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {1, 1, 1, 1}, 0.0f);
    m_Device->SetMaterial(&white);
    m_Device->SetRenderState(D3DRS_LIGHTING, TRUE);
    m_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    ComPtr<ID3DXMesh> sphere = MakeSphere(8, 12);
    ASSERT_TRUE(sphere);

    BeginFrame(kSky);
    ASSERT_EQ(sphere->DrawSubset(0), D3D_OK);
    const RgbaImage& frame = EndFrame();

    int white_pixels = 0;
    int sky_pixels = 0;
    for (int y = 44; y < 84; ++y) {
        for (int x = 44; x < 84; ++x) {
            white_pixels += PixelNear(frame, x, y, 255, 255, 255, 0) ? 1 : 0;
            sky_pixels += PixelNear(frame, x, y, 0x33, 0x44, 0x55, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(white_pixels, 100);  // edges, front and back
    EXPECT_GT(sky_pixels, 400);    // and the sky between them
    EXPECT_TRUE(MatchesGolden(frame, "wireframe_sphere"));
}

TEST_F(GoldenScene, TriangleFanBlendsPerVertexColours)
{
    SetIdentityTransforms();
    // As the draw helper's discs: centre, a ring, the first ring vertex again.
    constexpr int kRing = 12;
    const DWORD colors[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    std::vector<ColorVertex> fan;
    fan.push_back({0.0f, 0.0f, 0.5f, 0xFFFFFFFF});
    for (int i = 0; i <= kRing; ++i) {
        const float a = 6.28318531f * static_cast<float>(i % kRing) / kRing;
        fan.push_back({0.8f * std::cos(a), 0.8f * std::sin(a), 0.5f, colors[(i % kRing) % 3]});
    }
    BeginFrame(kSky);
    DrawColored(D3DPT_TRIANGLEFAN, fan.data(), kRing);
    const RgbaImage& frame = EndFrame();

    EXPECT_TRUE(PixelNear(frame, 64, 63, 250, 250, 250, 8));  // white centre
    EXPECT_TRUE(PixelNear(frame, 113, 64, 255, 0, 0, 40));    // red at angle 0 (right)
    EXPECT_TRUE(MatchesGolden(frame, "triangle_fan"));
}

TEST_F(GoldenScene, DepthTestKeepsTheNearerSurfaceAndPassesEqualDepth)
{
    SetIdentityTransforms();
    const ColorVertex nearGreen[4] = {{-0.8f, 0.8f, 0.2f, 0xFF00FF00},
                                      {0.2f, 0.8f, 0.2f, 0xFF00FF00},
                                      {-0.8f, -0.2f, 0.2f, 0xFF00FF00},
                                      {0.2f, -0.2f, 0.2f, 0xFF00FF00}};
    const ColorVertex farRed[4] = {{-0.2f, 0.2f, 0.8f, 0xFFFF0000},
                                   {0.8f, 0.2f, 0.8f, 0xFFFF0000},
                                   {-0.2f, -0.8f, 0.8f, 0xFFFF0000},
                                   {0.8f, -0.8f, 0.8f, 0xFFFF0000}};
    // At exactly the green's depth: Direct3D's default LESSEQUAL lets it in.
    const ColorVertex equalBlue[4] = {{-0.8f, 0.8f, 0.2f, 0xFF0000FF},
                                      {-0.5f, 0.8f, 0.2f, 0xFF0000FF},
                                      {-0.8f, 0.5f, 0.2f, 0xFF0000FF},
                                      {-0.5f, 0.5f, 0.2f, 0xFF0000FF}};
    BeginFrame(kSky);
    DrawColored(D3DPT_TRIANGLESTRIP, nearGreen, 2);
    DrawColored(D3DPT_TRIANGLESTRIP, farRed, 2);
    DrawColored(D3DPT_TRIANGLESTRIP, equalBlue, 2);
    const RgbaImage& frame = EndFrame();

    EXPECT_TRUE(PixelNear(frame, 64, 64, 0, 255, 0, 0));  // overlap: green stays in front
    EXPECT_TRUE(PixelNear(frame, 96, 96, 255, 0, 0, 0));  // red where alone
    EXPECT_TRUE(PixelNear(frame, 16, 16, 0, 0, 255, 0));  // equal depth passes
    EXPECT_TRUE(MatchesGolden(frame, "depth_test"));
}

TEST_F(GoldenScene, EmissiveOnlyMaterialShowsOneFlatColourWhateverTheLights)
{
    const D3DMATERIAL9 emissive =
        MakeMaterial({0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0.2f, 0.6f, 0.9f, 1.0f}, 0.0f);
    m_Device->SetMaterial(&emissive);
    m_Device->SetRenderState(D3DRS_LIGHTING, TRUE);
    D3DLIGHT9 light = WhiteLight(D3DLIGHT_POINT);
    light.Position = {4.0f, 1.0f, 3.0f};
    m_Device->SetLight(1, &light);
    m_Device->LightEnable(1, TRUE);
    ComPtr<ID3DXMesh> sphere = MakeSphere();
    ASSERT_TRUE(sphere);

    BeginFrame(kSky);
    ASSERT_EQ(sphere->DrawSubset(0), D3D_OK);
    const RgbaImage& frame = EndFrame();

    for (const auto& [x, y] : {std::pair{64, 64}, std::pair{46, 64}, std::pair{82, 64}, std::pair{64, 46}})
        EXPECT_TRUE(PixelNear(frame, x, y, 51, 153, 230, 1));
    EXPECT_TRUE(MatchesGolden(frame, "emissive_sphere"));
}

}  // namespace
