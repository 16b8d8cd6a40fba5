// Whole frames compared with golden images, each also checked by a pixel
// or two that say what the frame must show whatever the golden holds.
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "GoldenImage.h"
#include "RenderTest.h"

namespace {

TEST_F(RenderTest, ScenesMatchTheirGoldenImages)
{
    ComPtr<IDirect3DTexture9> texture;
    const auto texturedQuad = [&] {
        // Red, green / blue, white quadrants, top row first.
        ASSERT_EQ(m_Device->CreateTexture(16, 16, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr),
                  D3D_OK);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        const DWORD colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                static_cast<DWORD*>(locked.pBits)[y * locked.Pitch / 4 + x] = colours[(y / 8) * 2 + x / 8];
        texture->UnlockRect(0);
        m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        m_Device->SetTexture(0, texture.Get());
        const float quad[4][5] = {{-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0}, {-1, -1, 0, 0, 1}, {1, -1, 0, 1, 1}};
        m_Device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
        ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]), D3D_OK);
    };
    const auto alphaBlending = [&] {
        SetIdentityTransforms();
        m_Device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-0.8f, 0.6f, 0.3f, -0.6f, 0.5f, 0xFF0000FF).data(), 2);
        m_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        m_Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        m_Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-0.3f, 0.4f, 0.8f, -0.4f, 0.5f, 0x80FF0000).data(), 2);
    };
    const auto triangleFan = [&] {
        // As the draw helper's discs: centre, a ring, the first ring vertex again.
        SetIdentityTransforms();
        const DWORD colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
        std::vector<ColorVertex> fan{{0.0f, 0.0f, 0.5f, 0xFFFFFFFF}};
        for (int i = 0; i <= 12; ++i) {
            const float a = 6.28318531f * static_cast<float>(i % 12) / 12;
            fan.push_back({0.8f * std::cos(a), 0.8f * std::sin(a), 0.5f, colours[i % 12 % 3]});
        }
        DrawColored(D3DPT_TRIANGLEFAN, fan.data(), 12);
    };
    const auto depthTest = [&] {
        // Green near, red far, blue at exactly the green's depth: Direct3D's
        // default LESSEQUAL lets it in.
        SetIdentityTransforms();
        DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-0.8f, 0.8f, 0.2f, -0.2f, 0.2f, 0xFF00FF00).data(), 2);
        DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-0.2f, 0.2f, 0.8f, -0.8f, 0.8f, 0xFFFF0000).data(), 2);
        DrawColored(D3DPT_TRIANGLESTRIP, Rectangle(-0.8f, 0.8f, -0.5f, 0.5f, 0.2f, 0xFF0000FF).data(), 2);
    };
    const struct
    {
        const char* name;
        std::function<void()> draw;
        std::vector<std::array<int, 6>> pixels;  // x, y, r, g, b, tolerance
    } scenes[] = {
        {"textured_quad", texturedQuad, {{44, 44, 255, 0, 0, 2}, {83, 44, 0, 255, 0, 2}, {44, 83, 0, 0, 255, 2}}},
        {"alpha_blending", alphaBlending, {{64, 64, 128, 0, 127, 2}, {100, 64, 0x99, 0x22, 0x2B, 2}}},
        {"triangle_fan", triangleFan, {{64, 63, 250, 250, 250, 8}, {113, 64, 255, 0, 0, 40}}},
        {"depth_test", depthTest, {{64, 64, 0, 255, 0, 0}, {96, 96, 255, 0, 0, 0}, {16, 16, 0, 0, 255, 0}}},
    };
    for (const auto& scene : scenes) {
        SCOPED_TRACE(scene.name);
        m_Device = NewDevice(m_Window);  // each from Direct3D's defaults
        ASSERT_TRUE(m_Device);
        SetFixedStates();
        SetCamera(D3DXVECTOR3(0.0f, 0.0f, 4.0f), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
        BeginFrame(0xFF334455);
        scene.draw();
        const RgbaImage& frame = EndFrame();
        for (const auto& p : scene.pixels)
            EXPECT_TRUE(PixelNear(frame, p[0], p[1], p[2], p[3], p[4], p[5]));
        EXPECT_TRUE(MatchesGolden(frame, scene.name));
    }
}

}  // namespace
