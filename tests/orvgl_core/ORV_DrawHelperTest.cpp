#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ORV_DrawHelper.h"
#include "RecordingDrawHelper.h"
#include "TestSupport.h"

namespace {

TEST(ORV_DrawHelper, BaseDrawsNothingAndLeavesPointsAlone)
{
    ORV_DrawHelper h;
    const D3DXVECTOR3 p(1, 2, 3);
    EXPECT_FALSE(h.DrawPoint(p));
    EXPECT_FALSE(h.DrawLine(p, p));
    EXPECT_FALSE(h.DrawCircle(p, 1.0f));
    EXPECT_FALSE(h.DrawRectangleXY(p, p));
    EXPECT_FALSE(h.DrawRectangleXZ(p, p));
    EXPECT_FALSE(h.PushModelTransform());
    EXPECT_FALSE(h.PopModelTransform());
    EXPECT_FALSE(h.InitializeModelTransform());
    EXPECT_FALSE(h.AccumulateModelTransform(p, p, D3DXMATRIX3X3(), p));
    EXPECT_FALSE(h.EnableBlending(true));
    EXPECT_FALSE(h.EnableTexture(true));
    EXPECT_FALSE(h.EnableLighting(true));
    EXPECT_FALSE(h.ResetAttributes());  // the result of EnableTexture(false)
    D3DXVECTOR3 q = p;
    EXPECT_FALSE(h.TransformPoint(&q));
    EXPECT_EQ(q, p);
}

TEST(ORV_DrawHelper, ConstructionSetsDefaultsAndResets)
{
    ORV_DrawHelper h;
    EXPECT_EQ(h.GetLod(), 2);
    EXPECT_EQ(h.GetShadeMode(), 1);
    EXPECT_EQ(h.GetFillMode(), 2);
    EXPECT_FLOAT_EQ(h.GetPointSize(), 1.0f);
    EXPECT_EQ(h.GetColor(), ORV_Color(255, 255, 255, 255));
    EXPECT_EQ(h.GetShadeColor(), ORV_Color(255, 255, 255, 255));
    EXPECT_EQ(h.GetMaterial(), ORV_Material());
    EXPECT_STREQ(h.GetTextureFileName(), L"");

    // The reset inside the base constructor cannot reach a derived class:
    // the derived helper sees no command until it is fully built.
    RecordingDrawHelper derived;
    EXPECT_TRUE(derived.log.empty());
    EXPECT_EQ(derived.GetColor(), ORV_Color(255, 255, 255, 255));
}

TEST(ORV_DrawHelper, ResetLeavesModesMaterialAndTextureName)
{
    RecordingDrawHelper h;
    h.SetShadeMode(0);
    h.SetFillMode(1);
    ORV_Material shiny;
    shiny.SetPower(20.0f);
    EXPECT_EQ(h.SetMaterial(shiny), ORV_Material());  // setters return the old value
    h.SetTextureFileName(L"target.jpg");
    EXPECT_EQ(h.SetColor(ORV_Color(1, 2, 3, 4)), ORV_Color(255, 255, 255, 255));
    h.SetShadeColor(ORV_Color(5, 6, 7, 8));
    EXPECT_FLOAT_EQ(h.SetPointSize(9.0f), 1.0f);
    h.EnableBlending(true);
    h.EnableTexture(true);
    h.EnableLighting(true);
    h.log.clear();

    EXPECT_TRUE(h.ResetAttributes());
    EXPECT_EQ(h.GetShadeMode(), 0);
    EXPECT_EQ(h.GetFillMode(), 1);
    EXPECT_FLOAT_EQ(h.GetMaterial().GetPower(), 20.0f);
    EXPECT_STREQ(h.GetTextureFileName(), L"target.jpg");
    EXPECT_TRUE(h.lighting);
    EXPECT_EQ(h.SetColor(ORV_Color()), ORV_Color(255, 255, 255, 255));
    EXPECT_EQ(h.GetShadeColor(), ORV_Color(255, 255, 255, 255));
    EXPECT_FLOAT_EQ(h.GetPointSize(), 1.0f);
    // Blending, then texture, through the table.
    EXPECT_EQ(h.log, (std::vector<std::string>{"ResetAttributes", "EnableBlending 0",
                                               "EnableTexture 0"}));
    EXPECT_FALSE(h.blending);
    EXPECT_FALSE(h.texturing);

    h.SetTextureFileName(nullptr);
    EXPECT_STREQ(h.GetTextureFileName(), L"");
}

}  // namespace
