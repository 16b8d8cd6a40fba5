// Shared pieces of the back-end tests: a scratch working folder, recorders
// for the status echo, message boxes and problem lines, writers of small test
// files, a fixture on a fresh headless context, and a replay of the device's
// calls.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "HeadlessDirect3D9.h"
#include "ORVD3D_DrawHelper.h"
#include "ORVD3D_GraphicsSystem.h"
#include "ORV_MessageBox.h"
#include "ORV_Primitive.h"
#include "ORV_ProblemReport.h"
#include "ORV_StatusEcho.h"
#include "xfile.h"

// Makes a new empty folder the working directory for its lifetime, then
// goes back and removes it with everything the test wrote.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Path;
};

// Collects what is written to the status slot it is bound to.
class StatusRecorder : public ORV_IStatusText
{
public:
    void SetStatusText(const std::wstring& text) override { texts.push_back(text); }
    std::vector<std::wstring> texts;
};

// Replaces the message-box handler for its lifetime and keeps every call.
class MessageBoxRecorder
{
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    struct Box
    {
        bool hadOwner;
        std::wstring text;
    };
    std::vector<Box> boxes;

private:
    ORV_MessageBoxHandler m_Previous;
};

// Keeps every line sent to the problem reporter while it lives.
class ProblemRecorder
{
public:
    ProblemRecorder();
    std::vector<std::string> lines;

private:
    ORV_ProblemReporterScope m_Scope;
};

// Writes a width x height PNG of one 0xAARRGGBB colour, making the folders.
void WriteTestImage(const std::string& path, int width, int height, DWORD argb = 0xFF808080u);

// A unit square in the XY plane (two triangles) with one material per
// texture name given ("" for a material without texture); triangle i uses
// material i % count.
XFileMesh MakeSquareMesh(const std::vector<std::string>& textureNames);
void WriteTestMesh(const std::string& path, const XFileMesh& mesh);
// The asset maker's box.x, cylinder.x, cone.x and sphere.x, here.
void WriteShapeMeshes();

// Each test runs in an empty scratch folder on a headless context that
// records its calls, with slot 0, message boxes and problem lines recorded
// and failed loads looked at again on every request. TearDown checks that no
// Direct3D object outlives the context.
class HeadlessContextTest : public ::testing::Test
{
public:
    static ORVD3D_GraphicsSystem& System() { return ORVD3D_GraphicsSystem::GetInstance(); }
    // The context's device as the headless device it is (null without one).
    static HeadlessDevice* Device();

protected:
    void SetUp() override;
    void TearDown() override;

    // Installs the headless factory with options and creates the context.
    bool CreateContext(HeadlessOptions options = {});

    std::unique_ptr<ScratchFolder> m_Folder;
    std::shared_ptr<HeadlessWindow> m_Window;
    std::shared_ptr<StatusRecorder> m_Status;
    std::unique_ptr<MessageBoxRecorder> m_Boxes;
    std::unique_ptr<ProblemRecorder> m_Problems;
    std::shared_ptr<HeadlessCounters> m_Counters;
    Direct3DFactory m_PreviousFactory;
    bool m_FactoryInstalled = false;
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

// Devices draw only inside a scene: one is open while a test draws
// straight through the helper, as the window handler opens one per frame.
class SceneScope
{
public:
    explicit SceneScope(IDirect3DDevice9* device) : m_Device(device) { m_Device->BeginScene(); }
    ~SceneScope() { m_Device->EndScene(); }
    SceneScope(const SceneScope&) = delete;
    SceneScope& operator=(const SceneScope&) = delete;

private:
    IDirect3DDevice9* m_Device;
};

// Draws primitive once through a fresh helper; its draws of kind.
std::vector<RecordedDraw> DrawOnce(ORV_Primitive& primitive, const std::string& kind = "DrawMeshSubsetEXT");

inline D3DXVECTOR3 Apply(const D3DXMATRIX& m, D3DXVECTOR3 point)
{
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &point, &m);
    return out;
}

inline ::testing::AssertionResult Near(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-5f)
{
    if (std::abs(actual.x - expected.x) <= tolerance && std::abs(actual.y - expected.y) <= tolerance &&
        std::abs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not ("
                                         << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// The packed colour a material's emissive term holds.
inline ORV_Color EmissiveOf(const D3DMATERIAL9& material)
{
    return ORV_Color(material.Emissive.r, material.Emissive.g, material.Emissive.b, material.Emissive.a);
}
