#include "D3DRenderTest.h"

#include <stb/stb_image_write.h>

#include <filesystem>
#include <vector>

#include "AssetTextures.h"
#include "GLDirect3D9.h"

namespace {

std::shared_ptr<EglOffscreenContext> SharedContext(std::string* whyNot)
{
    // Made once and never destroyed: the last context going terminates EGL
    // and unloads the driver, whose thread-local storage the leak checker
    // would then trip over.
    static std::string error;
    static const auto* context = new std::shared_ptr<EglOffscreenContext>(EglOffscreenContext::Create(&error));
    *whyNot = error;
    return *context;
}

}  // namespace

void RenderViewHandler::DrawGraphics()
{
    if (m_pDevice == nullptr)
        return;
    BeginDraw();
    SetupViewTransform();
    SetupProjection();
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    m_pDevice->SetTransform(D3DTS_WORLD, &identity);
    m_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x7F99B2B2u, 1.0f, 0);
    if (draw)
        draw();
    EndDraw();
}

void D3DRenderTest::SetUp()
{
    std::string whyNot;
    m_Context = SharedContext(&whyNot);
    if (!m_Context)
        GTEST_SKIP() << "no offscreen OpenGL context: " << whyNot;

    m_Folder = std::make_unique<ScratchFolder>();
    WriteShapeMeshes();
    std::filesystem::create_directories("Textures");
    ASSERT_TRUE(assets::MakeUpdraftTexture().WritePng("Textures/updraft.png", 4));
    WriteCheckerTexture("Textures/checker.png");

    m_Window = std::make_shared<EglOffscreenWindow>(m_Context, kWidth, kHeight);
    m_PreviousFactory = InstallOpenGLDirect3D();
    m_Installed = true;
    // As at start-up: no view has a swap chain yet, so ours gets the
    // device's own.
    System().ResetForTestingEXT();
    const HWND window(std::static_pointer_cast<IWindowSurface>(m_Window));
    ASSERT_TRUE(System().CreateGraphicsContext(window));
    ASSERT_TRUE(m_Handler.Initialize(window));
}

void D3DRenderTest::TearDown()
{
    m_Handler.ShutDown();
    System().ResetForTestingEXT();
    if (m_Installed)
        SetDirect3DFactory(std::move(m_PreviousFactory));
    m_Window.reset();
    m_Folder.reset();
}

void D3DRenderTest::LookFrom(const D3DXVECTOR3& eye, const D3DXVECTOR3& at)
{
    ORV_Camera* camera = m_Handler.GetCamera();
    camera->SetPosition(eye);
    camera->SetLookAt(at);
    camera->SetUpVector(0, 1, 0);
    camera->SetPerspective(45.0f, 0.5f, 50.0f);
}

const RgbaImage& D3DRenderTest::Frame(const std::function<void()>& draw)
{
    m_Handler.draw = draw;
    m_Handler.DrawGraphics();
    m_Handler.draw = nullptr;
    return m_Window->LastFrame();
}

void WriteCheckerTexture(const std::string& path)
{
    constexpr int kSize = 64;
    std::vector<unsigned char> rgb;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            const unsigned char grey = light ? 225 : 120;
            const bool tinted = x < kSize / 2 && y < kSize / 2;
            rgb.push_back(tinted ? 230 : grey);
            rgb.push_back(tinted ? static_cast<unsigned char>(grey / 3) : grey);
            rgb.push_back(tinted ? static_cast<unsigned char>(grey / 3) : grey);
        }
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_NE(stbi_write_png(path.c_str(), kSize, kSize, 3, rgb.data(), kSize * 3), 0);
}
