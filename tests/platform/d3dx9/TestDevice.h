// A headless device recording every call; on destruction it checks that
// nothing the test made outlives its references.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "HeadlessDirect3D9.h"

class TestDevice
{
public:
    TestDevice()
    {
        m_D3D = CreateHeadlessDirect3D9(HeadlessOptions{.recordFromStart = true, .counters = counters});
        D3DPRESENT_PARAMETERS params{};
        params.Windowed = TRUE;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        EXPECT_EQ(m_D3D->CreateDevice(0, D3DDEVTYPE_HAL, HWND(m_Window), 0, &params, &m_Device), D3D_OK);
        m_Device->BeginScene();  // the tests draw meshes straight away
    }
    ~TestDevice()
    {
        m_Device->EndScene();
        m_Device->Release();
        m_D3D->Release();
        EXPECT_EQ(counters->devicesAlive, 0);
        EXPECT_EQ(counters->texturesAlive, 0);
    }
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    IDirect3DDevice9* Get() const { return m_Device; }
    HeadlessDevice& Headless() const { return *dynamic_cast<HeadlessDevice*>(m_Device); }
    std::vector<HeadlessCall> Draws() const
    {
        std::vector<HeadlessCall> draws = Headless().CallsNamed("DrawMeshSubsetEXT");
        std::erase_if(draws, [](const HeadlessCall& call) { return call.result != D3D_OK; });
        return draws;
    }
    ULONG RefCount() const { return m_Device->AddRef(), m_Device->Release(); }

    std::shared_ptr<HeadlessCounters> counters = std::make_shared<HeadlessCounters>();

private:
    std::shared_ptr<HeadlessWindow> m_Window = std::make_shared<HeadlessWindow>(64, 64);
    IDirect3D9* m_D3D = nullptr;
    IDirect3DDevice9* m_Device = nullptr;
};
