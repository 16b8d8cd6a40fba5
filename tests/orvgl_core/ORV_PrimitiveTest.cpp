#include <cmath>

#include <gtest/gtest.h>

#include "ORV_Primitive.h"
#include "RecordingDrawHelper.h"
#include "TestSupport.h"

namespace {

// A primitive whose location can be placed, for MoveAwayFrom.
class Placed : public CountedPrimitive
{
public:
    explicit Placed(D3DXVECTOR3 at) : CountedPrimitive({0, 0, 0}, {1, 1, 1}), m_At(at) {}
    D3DXVECTOR3 GetLocation() override { return m_At; }

private:
    D3DXVECTOR3 m_At;
};

TEST(ORV_Primitive, Defaults)
{
    CountedPrimitive p;
    EXPECT_TRUE(p.IsVisible());
    EXPECT_EQ(p.GetColor(), ORV_Color(0, 0, 0, 255));
    EXPECT_EQ(p.GetShadeColor(), ORV_Color(255, 255, 255, 255));
    EXPECT_EQ(p.GetFillMode(), 2);
    EXPECT_EQ(p.GetShadeMode(), 1);
    EXPECT_FLOAT_EQ(p.GetPointSize(), 2.0f);
    EXPECT_TRUE(p.IsLighting());
    EXPECT_FALSE(p.IsTexturing());
    EXPECT_FALSE(p.IsBlending());
    EXPECT_FALSE(p.IsDrawBoundingVolume());
    EXPECT_EQ(p.GetMaterial(), ORV_Material());
    EXPECT_STREQ(p.GetTextureFileName(), L"");
    EXPECT_EQ(p.GetVelocity(), D3DXVECTOR3(0, 0, 0));

    p.SetTextureFileName(L"Textures/target.jpg");
    p.SetTextureFileName(nullptr);  // a null name clears rather than crashes
    EXPECT_STREQ(p.GetTextureFileName(), L"");
}

TEST(ORV_Primitive, DrawSendsAttributesInOrderThenTheShape)
{
    CountedPrimitive p;
    p.SetColor(ORV_Color(10, 20, 30, 40));
    ORV_Material m;
    m.SetPower(7.0f);
    p.SetMaterial(m);
    p.SetBlending(true);
    p.SetTexturing(true);
    p.SetLighting(false);
    p.SetTextureFileName(L"updraft.png");
    // Not passed by the base: these must not reach the helper.
    p.SetShadeColor(ORV_Color(1, 1, 1, 1));
    p.SetFillMode(0);
    p.SetShadeMode(0);
    p.SetPointSize(9.0f);

    RecordingDrawHelper h;
    p.Draw(2, h);
    EXPECT_EQ(p.drawn, 1);
    EXPECT_EQ(h.log, (std::vector<std::string>{"ResetAttributes", "EnableBlending 0",
                                               "EnableTexture 0", "EnableBlending 1",
                                               "SetTextureFileName", "EnableTexture 1",
                                               "EnableLighting 0"}));
    // The colour is set after the reset, so it survives it.
    EXPECT_EQ(h.GetColor(), ORV_Color(10, 20, 30, 40));
    EXPECT_FLOAT_EQ(h.GetMaterial().GetPower(), 7.0f);
    EXPECT_STREQ(h.GetTextureFileName(), L"updraft.png");
    EXPECT_EQ(h.GetShadeColor(), ORV_Color(255, 255, 255, 255));
    EXPECT_EQ(h.GetFillMode(), 2);
    EXPECT_EQ(h.GetShadeMode(), 1);
    EXPECT_FLOAT_EQ(h.GetPointSize(), 1.0f);

    // Hidden: no call at all.
    p.SetVisible(false);
    h.log.clear();
    p.Draw(2, h);
    EXPECT_TRUE(h.log.empty());
    EXPECT_EQ(p.drawn, 1);
}

TEST(ORV_Primitive, BoundingVolumeDisplayIsRedFlatWireframe)
{
    CountedPrimitive boxed({0, 0, 0}, {1, 1, 1});
    boxed.SetDrawBoundingVolume(true);
    RecordingDrawHelper h;
    boxed.Draw(2, h);
    EXPECT_EQ(boxed.drawn, 1);
    ASSERT_EQ(h.shapes.size(), 12u);
    EXPECT_EQ(h.shapes[0].color, ORV_Color(255, 0, 0, 255));
    EXPECT_EQ(h.GetColor(), ORV_Color(255, 0, 0, 255));
    EXPECT_EQ(h.GetShadeMode(), 0);
    EXPECT_EQ(h.GetFillMode(), 1);

    // No volume: only the shape, and the attributes are left alone.
    CountedPrimitive bare(false);
    bare.SetDrawBoundingVolume(true);
    RecordingDrawHelper h2;
    bare.Draw(2, h2);
    EXPECT_EQ(bare.drawn, 1);
    EXPECT_TRUE(h2.shapes.empty());
    EXPECT_EQ(h2.GetFillMode(), 2);

    // No helper: nothing.
    boxed.DrawBoundingVolume(0, nullptr, ORV_Color(0, 0, 255, 255));
}

TEST(ORV_Primitive, StationaryUpToOneNanoUnitInclusive)
{
    CountedPrimitive p;
    EXPECT_TRUE(p.IsStationary());
    p.SetVelocity(1e-9f, -1e-9f, 0);
    EXPECT_TRUE(p.IsStationary());
    p.SetVelocity(0, 0, std::nextafter(1e-9f, 1.0f));
    EXPECT_FALSE(p.IsStationary());
    p.SetVelocity(-2e-9f, 0, 0);
    EXPECT_FALSE(p.IsStationary());
    p.SetVelocity(0, 5, 0);
    EXPECT_FALSE(p.IsStationary());
}

TEST(ORV_Primitive, MoveAwayFromKeepsSpeedAndPointsAway)
{
    Placed p({0, 0, 0});
    p.MoveAwayFrom(0, {-1, 0, 0});
    EXPECT_EQ(p.GetVelocity(), D3DXVECTOR3(0, 0, 0));

    p.SetVelocity(0, 3, 0);
    p.MoveAwayFrom(0, {-1, 0, 0});
    ExpectNear(p.GetVelocity(), {3, 0, 0});

    Placed q({2, 2, 0});
    q.SetVelocity(0, 0, 5);
    q.MoveAwayFrom(123, {2, 5, 0});  // the point lies above: move down
    ExpectNear(q.GetVelocity(), {0, -5, 0});

    // At the point itself there is no direction: the velocity becomes zero
    // rather than NaN.
    q.MoveAwayFrom(0, {2, 2, 0});
    EXPECT_EQ(q.GetVelocity(), D3DXVECTOR3(0, 0, 0));
}

}  // namespace
