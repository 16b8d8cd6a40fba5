// A headless device over a 320 x 240 window, made as the graphics system
// makes it. TearDown checks that nothing the test made outlives its
// references.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "HeadlessDirect3D9.h"
#include "WindowedParameters.h"

class HeadlessFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Window = std::make_shared<HeadlessWindow>(320, 240);
        m_D3D = CreateHeadlessDirect3D9(HeadlessOptions{.counters = m_Counters});
        D3DPRESENT_PARAMETERS params = WindowedParameters();
        ASSERT_EQ(m_D3D->CreateDevice(0, D3DDEVTYPE_HAL, HWND(m_Window), 0, &params, &m_Device), D3D_OK);
        m_Headless = dynamic_cast<HeadlessDevice*>(m_Device);
        ASSERT_NE(m_Headless, nullptr);
    }

    void TearDown() override
    {
        if (m_Device)
            m_Device->Release();
        m_D3D->Release();
        EXPECT_EQ(m_Counters->devicesAlive + m_Counters->swapChainsAlive + m_Counters->texturesAlive +
                      m_Counters->direct3DAlive,
                  0);
    }

    std::shared_ptr<HeadlessCounters> m_Counters = std::make_shared<HeadlessCounters>();
    std::shared_ptr<HeadlessWindow> m_Window;
    IDirect3D9* m_D3D = nullptr;
    IDirect3DDevice9* m_Device = nullptr;
    HeadlessDevice* m_Headless = nullptr;
};
