#include "ORV_Primitive.h"
#include "TestSupport.h"

TEST(ORV_Primitive, DrawResetsThenSendsItsAttributesInOrderAndNothingWhenHidden)
{
    CountedPrimitive p;
    p.SetColor(ORV_Color(10, 20, 30, 40));
    p.SetBlending(true);
    p.SetTexturing(true);
    p.SetLighting(false);
    p.SetTextureFileName(L"updraft.png");
    p.SetFillMode(0);  // not passed by the base
    RecordingDrawHelper h;
    EXPECT_TRUE(h.log.empty());  // the base constructor's reset cannot reach it
    h.SetShadeColor(ORV_Color(5, 6, 7, 8));
    h.SetPointSize(9.0f);
    h.SetShadeMode(0);
    h.log.clear();
    p.Draw(2, h);
    EXPECT_EQ(p.drawn, 1);
    EXPECT_EQ(h.log,
              (std::vector<std::string>{"ResetAttributes", "EnableBlending 0", "EnableTexture 0", "EnableBlending 1",
                                        "SetTextureFileName", "EnableTexture 1", "EnableLighting 0"}));
    EXPECT_EQ(h.GetColor(), ORV_Color(10, 20, 30, 40));  // set after the reset
    EXPECT_EQ(h.GetShadeColor(), ORV_Color(255, 255, 255, 255));
    EXPECT_FLOAT_EQ(h.GetPointSize(), 1.0f);
    EXPECT_EQ(h.GetShadeMode(), 0);  // the reset leaves the modes
    EXPECT_EQ(h.GetFillMode(), 2);
    EXPECT_STREQ(h.GetTextureFileName(), L"updraft.png");
    p.SetVisible(false);
    h.log.clear();
    p.Draw(2, h);
    EXPECT_TRUE(h.log.empty());
    EXPECT_EQ(p.drawn, 1);
    // The bounding volume on display: red, flat, wireframe; none, no box.
    CountedPrimitive boxed({0, 0, 0}, {1, 1, 1});
    boxed.SetDrawBoundingVolume(true);
    RecordingDrawHelper hb;
    boxed.Draw(2, hb);
    EXPECT_EQ(boxed.drawn, 1);
    ASSERT_EQ(hb.shapes.size(), 12u);
    EXPECT_EQ(hb.shapes[0].color, ORV_Color(255, 0, 0, 255));
    EXPECT_EQ(hb.shapes[0].fillMode, 1);
}
