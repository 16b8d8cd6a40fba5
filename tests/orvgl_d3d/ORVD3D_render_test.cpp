#include <gtest/gtest.h>

#include "D3DRenderTest.h"
#include "GoldenImage.h"
#include "ORVD3D_Cloud.h"
#include "ORVD3D_DirectionalLight.h"
#include "ORVD3D_DrawHelper.h"
#include "ORVD3D_PointLight.h"
#include "ORVD3D_PrimitiveMeshAxis.h"
#include "ORVD3D_PrimitiveMeshCustom.h"
#include "ORV_XformInfo.h"
#include "TestScene.h"

namespace {

using MeshPrimitivesRender = D3DRenderTest;

// Draws primitive under xform, as its scene node would.
void DrawUnder(ORV_Primitive* primitive, const ORV_XformInfo& xform)
{
    ORVD3D_DrawHelper helper;
    helper.PushModelTransform();
    xform.SetUpModelTransform(helper);
    primitive->Draw(helper.GetLod(), helper);
    helper.PopModelTransform();
}

}  // namespace

TEST_F(MeshPrimitivesRender, TexturedCloudOfSevenPuffs)
{
    LookFrom({0.6f, 0.5f, -1.6f}, {0, 0, 0});
    ORVD3D_Cloud cloud;
    cloud.SetColor(ORV_Color(255, 255, 255, 255));
    cloud.SetBlending(true);
    cloud.SetTexturing(true);
    cloud.SetTextureFileName(L"Textures/updraft.png");
    ORV_XformInfo xform;
    xform.SetScale(4, 4, 4);
    EXPECT_TRUE(MatchesGolden(Frame([&] { DrawUnder(&cloud, xform); }), "cloud"));
}

TEST_F(MeshPrimitivesRender, RaisedTexturedGridUnderADirectionalLight)
{
    LookFrom({0, 2.2f, -2.4f}, {0, 0.1f, 0});
    ORVD3D_PrimitiveMeshCustom grid(12, L"Raised.x");
    grid.SetTexturing(true);
    grid.SetTextureFileName(L"Textures/checker.png");
    ORV_Material material;
    material.SetDiffuse(ORV_Color(255, 255, 255, 255));
    material.SetAmbient(ORV_Color(255, 255, 255, 255));
    grid.SetMaterial(material);
    // A ridge along the rows and a single peak, as the island is raised.
    for (int row = 2; row <= 9; ++row) {
        for (int column = 3; column <= 4; ++column) {
            grid.SelectControlPoint(row, column);
            D3DXVECTOR3 p;
            grid.GetSelectedPosition(p);
            grid.SetSelectedPosition(p.x, 0.35f, p.z);
        }
    }
    grid.SelectControlPoint(7, 8);
    D3DXVECTOR3 peak;
    grid.GetSelectedPosition(peak);
    grid.SetSelectedPosition(peak.x, 0.6f, peak.z);

    ORVD3D_DirectionalLight sun(1);
    sun.TurnOn();
    sun.SetDirection(1.0f, -1.0f, 0.5f);
    sun.SetDiffuse(1.0f, 1.0f, 1.0f, 1.0f);
    sun.SetAmbient(0.3f, 0.3f, 0.3f, 1.0f);
    sun.SetSpecular(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(MatchesGolden(Frame([&] {
                                  sun.Apply();
                                  DrawUnder(&grid, ORV_XformInfo());
                              }),
                              "raised_grid"));
}

TEST_F(MeshPrimitivesRender, DirectionalAndPointLightMarkers)
{
    LookFrom({0, 1.5f, -4}, {0, 0.5f, 0});
    ORVD3D_DirectionalLight directional(2);
    directional.SetPosition(0.3f, 1.2f, 0);
    directional.SetDirection(-1, -1, 0);
    directional.SetDiffuse(ORV_Color(255, 220, 40, 255));
    directional.TurnOn();
    directional.ShowMarker();
    ORVD3D_PointLight point(1);
    point.SetPosition(-1.2f, 0.4f, 0);
    point.SetDiffuse(ORV_Color(40, 120, 255, 255));
    point.TurnOn();
    point.ShowMarker();
    EXPECT_TRUE(MatchesGolden(Frame([&] {
                                  ORVD3D_DrawHelper helper;
                                  directional.DrawLight(helper);
                                  point.DrawLight(helper);
                              }),
                              "light_markers"));
}

TEST_F(MeshPrimitivesRender, DrawHelperCircleAndRectangles)
{
    LookFrom({0, 2.5f, -5}, {0, 0, 0});
    EXPECT_TRUE(MatchesGolden(Frame([&] {
                                  ORVD3D_DrawHelper helper;
                                  helper.InitializeModelTransform();
                                  helper.EnableLighting(false);
                                  helper.SetFillMode(2);
                                  // Gouraud: white centre fading to the colour.
                                  helper.SetShadeMode(1);
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
                              }),
                              "draw_helper_shapes"));
}

TEST_F(MeshPrimitivesRender, SmallSceneThroughTheSceneGraph)
{
    LookFrom({3.2f, 3.0f, -4.8f}, {0, 0.6f, 0});
    TestScene scene;
    EXPECT_TRUE(MatchesGolden(Frame([&] { scene.Draw(); }), "scene"));
}
