// Frames drawn through the OpenGL device into an offscreen window against the
// golden PNGs; skipped, saying why, where EGL gives no context.
#include "AssetTextures.h"
#include "D3DTestSupport.h"
#include "EglOffscreenWindow.h"
#include "GLDirect3D9.h"
#include "GoldenImage.h"
#include "ORVD3D_Cloud.h"
#include "ORVD3D_DirectionalLight.h"
#include "ORVD3D_PointLight.h"
#include "ORVD3D_PrimitiveMesh.h"
#include "ORVD3D_PrimitiveMeshAxis.h"
#include "ORVD3D_PrimitiveMeshCustom.h"
#include "ORV_PrimitiveRectangleXZ.h"
#include "ORV_SceneNode.h"

namespace {

class MeshPrimitivesRender : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Made once and never destroyed: the last context going terminates
        // EGL and unloads the driver, whose thread-local storage the leak
        // checker would then trip over.
        static std::string whyNot;
        static const auto* context = new std::shared_ptr<EglOffscreenContext>(EglOffscreenContext::Create(&whyNot));
        if (!*context)
            GTEST_SKIP() << "no offscreen OpenGL context: " << whyNot;
        m_Folder.emplace();
        WriteShapeMeshes();
        std::filesystem::create_directories("Textures");
        ASSERT_TRUE(assets::MakeUpdraftTexture().WritePng("Textures/updraft.png", 4));
        // Grey checks whose top-left quarter is tinted red, so a flipped or
        // turned texture shows.
        std::vector<unsigned char> rgb;
        for (int i = 0; i < 64 * 64; ++i) {
            const unsigned char grey = ((i % 64 / 8) + (i / 64 / 8)) % 2 == 0 ? 225 : 120;
            const bool tinted = i % 64 < 32 && i / 64 < 32;
            rgb.insert(rgb.end(), {tinted ? static_cast<unsigned char>(230) : grey,
                                   tinted ? static_cast<unsigned char>(grey / 3) : grey,
                                   tinted ? static_cast<unsigned char>(grey / 3) : grey});
        }
        ASSERT_NE(stbi_write_png("Textures/checker.png", 64, 64, 3, rgb.data(), 64 * 3), 0);
        m_Window = std::make_shared<EglOffscreenWindow>(*context, 160, 120);
        m_PreviousFactory = InstallOpenGLDirect3D();
        // As at start-up: no view has a swap chain yet, so ours gets the
        // device's own.
        System().ResetForTestingEXT();
        const HWND window(std::static_pointer_cast<IWindowSurface>(m_Window));
        ASSERT_TRUE(System().CreateGraphicsContext(window));
        ASSERT_TRUE(m_Handler.Initialize(window));
    }

    void TearDown() override
    {
        m_Handler.ShutDown();
        System().ResetForTestingEXT();
        if (m_PreviousFactory)
            SetDirect3DFactory(std::move(*m_PreviousFactory));
    }

    static ORVD3D_GraphicsSystem& System() { return ORVD3D_GraphicsSystem::GetInstance(); }
    // One frame of draw seen from eye, cleared to the game's sky colour.
    const RgbaImage& Frame(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const std::function<void()>& draw)
    {
        ORV_Camera* camera = m_Handler.GetCamera();
        camera->SetPosition(eye);
        camera->SetLookAt(at);
        camera->SetUpVector(0, 1, 0);
        camera->SetPerspective(45.0f, 0.5f, 50.0f);
        m_Handler.draw = draw;
        m_Handler.DrawGraphics();
        return m_Window->LastFrame();
    }

    std::optional<ScratchFolder> m_Folder;
    std::shared_ptr<EglOffscreenWindow> m_Window;
    TestViewHandler m_Handler;
    std::optional<Direct3DFactory> m_PreviousFactory;
};

// Draws primitive under xform, as its scene node would.
void DrawUnder(ORV_Primitive* primitive, const ORV_XformInfo& xform)
{
    ORVD3D_DrawHelper helper;
    helper.PushModelTransform();
    xform.SetUpModelTransform(helper);
    primitive->Draw(helper.GetLod(), helper);
    helper.PopModelTransform();
}

// A white light from direction with some ambient and no specular.
void Sun(ORVD3D_DirectionalLight& light, D3DXVECTOR3 direction, float ambient)
{
    light.TurnOn();
    light.SetDirection(direction.x, direction.y, direction.z);
    light.SetDiffuse(1.0f, 1.0f, 1.0f, 1.0f);
    light.SetAmbient(ambient, ambient, ambient, 1.0f);
    light.SetSpecular(0.0f, 0.0f, 0.0f, 1.0f);
}

ORV_SceneNode* AddNode(ORV_SceneNode* parent, ORV_Primitive* primitive, D3DXVECTOR3 at, float scale = 1,
                       float turnY = 0)
{
    auto* node = new ORV_SceneNode(L"node");
    node->SetPrimitive(primitive);
    ORV_XformInfo xform;
    xform.SetScale(scale, scale, scale);
    xform.SetTranslation(at.x, at.y, at.z);
    xform.RotateYDegrees(turnY);
    node->SetXformInfo(xform);
    parent->AddChild(node);
    return node;
}

TEST_F(MeshPrimitivesRender, TexturedCloudOfSevenPuffs)
{
    ORVD3D_Cloud cloud;
    cloud.SetColor(ORV_Color(255, 255, 255, 255));
    cloud.SetBlending(true);
    cloud.SetTexturing(true);
    cloud.SetTextureFileName(L"Textures/updraft.png");
    ORV_XformInfo xform;
    xform.SetScale(4, 4, 4);
    EXPECT_TRUE(MatchesGolden(Frame({0.6f, 0.5f, -1.6f}, {0, 0, 0}, [&] { DrawUnder(&cloud, xform); }), "cloud"));
}

TEST_F(MeshPrimitivesRender, RaisedTexturedGridUnderADirectionalLight)
{
    ORVD3D_PrimitiveMeshCustom grid(12, L"Raised.x");
    grid.SetTexturing(true);
    grid.SetTextureFileName(L"Textures/checker.png");
    ORV_Material material;
    material.SetDiffuse(ORV_Color(255, 255, 255, 255));
    material.SetAmbient(ORV_Color(255, 255, 255, 255));
    grid.SetMaterial(material);
    // A ridge along the rows and a single peak, as the island is raised.
    const auto raise = [&grid](int row, int column, float height) {
        grid.SelectControlPoint(row, column);
        D3DXVECTOR3 p;
        grid.GetSelectedPosition(p);
        grid.SetSelectedPosition(p.x, height, p.z);
    };
    for (int row = 2; row <= 9; ++row)
        for (int column = 3; column <= 4; ++column)
            raise(row, column, 0.35f);
    raise(7, 8, 0.6f);
    ORVD3D_DirectionalLight sun(1);
    Sun(sun, {1.0f, -1.0f, 0.5f}, 0.3f);
    const RgbaImage& frame = Frame({0, 2.2f, -2.4f}, {0, 0.1f, 0}, [&] {
        sun.Apply();
        DrawUnder(&grid, ORV_XformInfo());
    });
    EXPECT_TRUE(MatchesGolden(frame, "raised_grid"));
}

TEST_F(MeshPrimitivesRender, DirectionalAndPointLightMarkers)
{
    ORVD3D_DirectionalLight directional(2);
    directional.SetPosition(0.3f, 1.2f, 0);
    directional.SetDirection(-1, -1, 0);
    directional.SetDiffuse(ORV_Color(255, 220, 40, 255));
    ORVD3D_PointLight point(1);
    point.SetPosition(-1.2f, 0.4f, 0);
    point.SetDiffuse(ORV_Color(40, 120, 255, 255));
    directional.TurnOn();
    directional.ShowMarker();
    point.TurnOn();
    point.ShowMarker();
    const RgbaImage& frame = Frame({0, 1.5f, -4}, {0, 0.5f, 0}, [&] {
        ORVD3D_DrawHelper helper;
        directional.DrawLight(helper);
        point.DrawLight(helper);
    });
    EXPECT_TRUE(MatchesGolden(frame, "light_markers"));
}

TEST_F(MeshPrimitivesRender, DrawHelperCircleAndRectangles)
{
    const RgbaImage& frame = Frame({0, 2.5f, -5}, {0, 0, 0}, [&] {
        ORVD3D_DrawHelper helper;
        helper.InitializeModelTransform();
        helper.EnableLighting(false);
        helper.SetFillMode(2);
        helper.SetShadeMode(1);  // Gouraud: white centre fading to the colour
        helper.SetColor(ORV_Color(200, 30, 30, 255));
        helper.SetShadeColor(ORV_Color(255, 255, 255, 255));
        helper.DrawCircle({-1.3f, 1.0f, 0}, 0.6f);
        helper.SetShadeMode(0);
        helper.SetColor(ORV_Color(30, 60, 200, 255));
        helper.DrawRectangleXY({0.6f, 0.4f, 0}, {1.8f, 1.6f, 0});
        helper.SetColor(ORV_Color(240, 200, 40, 255));
        helper.DrawRectangleXZ({-2, 0, -1}, {2, 0, 1});
        helper.SetFillMode(1);
        helper.SetColor(ORV_Color(0, 0, 0, 255));
        helper.DrawRectangleXY({-0.4f, 0.2f, 0}, {0.2f, 1.4f, 0});
    });
    EXPECT_TRUE(MatchesGolden(frame, "draw_helper_shapes"));
}

// A flat green ground, a lit red box turned about Y with an axis standing on
// it, and a cloud, under one directional light, drawn as the game draws.
TEST_F(MeshPrimitivesRender, SmallSceneThroughTheSceneGraph)
{
    ORV_SceneNode root(L"Scene");
    auto* ground = new ORV_PrimitiveRectangleXZ();
    ground->SetCorners(-3, 0, -3, 3, 0, 3);
    ground->SetColor(ORV_Color(60, 140, 70, 255));
    ground->SetShadeMode(0);
    ground->SetLighting(false);
    AddNode(&root, ground, {0, 0, 0});
    auto* box = new ORVD3D_PrimitiveMesh(L"box.x");
    ORV_Material red;
    red.SetDiffuse(ORV_Color(220, 40, 30, 255));
    red.SetAmbient(ORV_Color(90, 20, 20, 255));
    red.SetSpecular(ORV_Color(0, 0, 0, 255));
    red.SetEmissive(ORV_Color(0, 0, 0, 255));
    box->SetMaterial(red);
    AddNode(AddNode(&root, box, {0, 0.5f, 0}, 1, 30), new ORVD3D_PrimitiveMeshAxis(1.2f), {0, 0.55f, 0});
    auto* cloud = new ORVD3D_Cloud();
    cloud->SetColor(ORV_Color(240, 240, 255, 255));
    AddNode(&root, cloud, {-1.5f, 2.2f, 1.0f}, 6);
    ORVD3D_DirectionalLight light(1);
    Sun(light, {-1.0f, -2.0f, 1.5f}, 0.4f);
    const RgbaImage& frame = Frame({3.2f, 3.0f, -4.8f}, {0, 0.6f, 0}, [&] {
        ORVD3D_DrawHelper helper;
        light.Apply();
        root.Draw(helper.GetLod(), helper);
    });
    EXPECT_TRUE(MatchesGolden(frame, "scene"));
}

}  // namespace
