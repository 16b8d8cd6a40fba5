#include <cstring>

#include "D3DTestSupport.h"
#include "ORVD3D_PointLight.h"

using LightTest = HeadlessContextTest;

TEST_F(LightTest, ApplyEnablesWithTheFullRecordOnlyWhenOn)
{
    ORVD3D_PointLight point(1);
    const auto apply = [&point] {
        Device()->ClearCalls();
        point.Apply();
        return Device()->Calls();
    };
    // A new light only disables its index.
    std::vector<HeadlessCall> calls = apply();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<DWORD>{1, FALSE}));
    point.TurnOn();
    point.SetPosition(-60, 60, -60);
    calls = apply();
    ASSERT_EQ(Device()->CallNames(), (std::vector<std::string>{"SetLight", "LightEnable"}));
    EXPECT_EQ(calls[0].Arg(0), 1u);
    EXPECT_EQ(std::memcmp(&calls[0].light, &point.GetLightRecord(), sizeof(D3DLIGHT9)), 0);
    EXPECT_EQ(calls[1].args, (std::vector<DWORD>{1, TRUE}));
    // Off again: the index is disabled, the record in the device untouched.
    point.TurnOff();
    point.SetPosition(1, 2, 3);
    calls = apply();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<DWORD>{1, FALSE}));
    D3DLIGHT9 kept{};
    Device()->GetLight(1, &kept);
    EXPECT_EQ(kept.Position.x, -60.0f);
}
