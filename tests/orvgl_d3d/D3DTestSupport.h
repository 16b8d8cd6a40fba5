// Shared pieces of the back-end tests: a scratch working folder, writers of
// small test files, a fixture on a fresh headless context, a view handler
// and a replay of the device's calls.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HeadlessDirect3D9.h"
#include "ORVD3D_DrawHelper.h"
#include "ORVD3D_GraphicsSystem.h"
#include "ORVD3D_WindowHandler.h"
#include "ORV_MessageBox.h"
#include "ORV_Primitive.h"
#include "ORV_ProblemReport.h"
#include "ORV_StatusEcho.h"
#include "xfile.h"

// A new empty working directory for its lifetime, removed afterwards.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Path;
};

class StatusRecorder : public ORV_IStatusText
{
public:
    void SetStatusText(const std::wstring& text) override { texts.push_back(text); }
    std::vector<std::wstring> texts;
};

// Draws what it is given after a clear to the sky colour, as the game's views.
class TestViewHandler : public ORVD3D_WindowHandler
{
public:
    void DrawGraphics() override;
    std::function<void()> draw;
};

// Writes a width x height PNG of one 0xAARRGGBB colour, making the folders.
void WriteTestImage(const std::string& path, int width, int height, DWORD argb = 0xFF808080u);
// A unit square in the XY plane (two triangles) with one material per
// texture name ("" for none); triangle i uses material i % count.
XFileMesh MakeSquareMesh(const std::vector<std::string>& textureNames);
void WriteTestMesh(const std::string& path, const XFileMesh& mesh);
// The asset maker's box.x, cylinder.x, cone.x and sphere.x, here.
void WriteShapeMeshes();

// Each test runs in a scratch folder on a headless context that records its
// calls, with slot 0, message boxes and problem lines recorded and failed
// loads looked at again on every request. TearDown checks that no Direct3D
// object outlives the context.
class HeadlessContextTest : public ::testing::Test
{
public:
    static ORVD3D_GraphicsSystem& System() { return ORVD3D_GraphicsSystem::GetInstance(); }
    static HeadlessDevice* Device() { return dynamic_cast<HeadlessDevice*>(System().GetD3DDevice()); }

protected:
    void SetUp() override;
    void TearDown() override;
    bool CreateContext(HeadlessOptions options = {});

    struct Box
    {
        bool hadOwner;
        std::wstring text;
    };
    std::optional<ScratchFolder> m_Folder;
    std::shared_ptr<HeadlessWindow> m_Window = std::make_shared<HeadlessWindow>(320, 240);
    std::shared_ptr<StatusRecorder> m_Status = std::make_shared<StatusRecorder>();
    std::vector<Box> m_Boxes;
    std::vector<std::string> m_Problems;
    std::optional<ORV_ProblemReporterScope> m_ProblemScope;
    std::shared_ptr<HeadlessCounters> m_Counters;
    ORV_MessageBoxHandler m_PreviousBoxes;
    std::optional<Direct3DFactory> m_PreviousFactory;
};

// One draw call with the device state it was made in.
struct RecordedDraw
{
    const HeadlessCall* call = nullptr;
    D3DXMATRIX world;
    D3DMATERIAL9 material{};
    DWORD lighting = TRUE;
};

// Replays calls from an identity world; every draw of the kind named.
std::vector<RecordedDraw> DrawsIn(const std::vector<HeadlessCall>& calls,
                                  const std::string& kind = "DrawMeshSubsetEXT");

// Draws primitive once through a fresh helper inside a scene; its draws of kind.
std::vector<RecordedDraw> DrawOnce(ORV_Primitive& primitive, const std::string& kind = "DrawMeshSubsetEXT");

inline D3DXVECTOR3 Apply(const D3DXMATRIX& m, D3DXVECTOR3 point)
{
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &point, &m);
    return out;
}

inline ORV_Color ColorOf(const D3DCOLORVALUE& c)
{
    return ORV_Color(c.r, c.g, c.b, c.a);
}

inline UINT WidthOf(IDirect3DTexture9* texture)
{
    D3DSURFACE_DESC desc{};
    return texture != nullptr && SUCCEEDED(texture->GetLevelDesc(0, &desc)) ? desc.Width : 0;
}

inline ::testing::AssertionResult Near(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-5f)
{
    if (std::abs(actual.x - expected.x) <= tolerance && std::abs(actual.y - expected.y) <= tolerance &&
        std::abs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not ("
                                         << expected.x << ", " << expected.y << ", " << expected.z << ")";
}
