#include <gtest/gtest.h>

#include <cstring>

#include "D3DTestSupport.h"
#include "ORVD3D_PointLight.h"
#include "ORVD3D_SpotLight.h"

namespace {

using LightTest = HeadlessContextTest;

bool SameRecord(const D3DLIGHT9& a, const D3DLIGHT9& b)
{
    return std::memcmp(&a, &b, sizeof(D3DLIGHT9)) == 0;
}

}  // namespace

TEST_F(LightTest, ApplyEnablesWithTheFullRecordOnlyWhenOn)
{
    ORVD3D_PointLight point(1);
    ORVD3D_SpotLight spot(3);

    // A new light only disables its index.
    Device()->ClearCalls();
    spot.Apply();
    ASSERT_EQ(Device()->CallNames(), (std::vector<std::string>{"LightEnable"}));
    EXPECT_EQ(Device()->Calls()[0].args, (std::vector<DWORD>{3, FALSE}));

    point.TurnOn();
    point.SetPosition(-60, 60, -60);
    Device()->ClearCalls();
    point.Apply();
    ASSERT_EQ(Device()->CallNames(), (std::vector<std::string>{"SetLight", "LightEnable"}));
    const HeadlessCall& set = Device()->Calls()[0];
    EXPECT_EQ(set.Arg(0), 1u);
    EXPECT_TRUE(SameRecord(set.light, point.GetLightRecord()));
    EXPECT_EQ(Device()->Calls()[1].args, (std::vector<DWORD>{1, TRUE}));

    // Off again: the index is disabled, the record in the device untouched.
    point.TurnOff();
    point.SetPosition(1, 2, 3);
    Device()->ClearCalls();
    point.Apply();
    ASSERT_EQ(Device()->CallNames(), (std::vector<std::string>{"LightEnable"}));
    EXPECT_EQ(Device()->Calls()[0].args, (std::vector<DWORD>{1, FALSE}));
    D3DLIGHT9 kept{};
    Device()->GetLight(1, &kept);
    EXPECT_EQ(kept.Position.x, -60.0f);
}
