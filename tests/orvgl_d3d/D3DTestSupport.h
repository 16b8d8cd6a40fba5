// The back-end tests' scratch folder, file writers, headless-context fixture,
// view handler and replay of the device's calls.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "AssetStockMeshes.h"
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
    ScratchFolder() : m_Previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvgl_d3d_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a scratch folder");
        std::filesystem::current_path(m_Path = pattern);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_Previous, ignored);
        std::filesystem::remove_all(m_Path, ignored);
    }
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
    void DrawGraphics() override
    {
        if (m_pDevice == nullptr)
            return;
        BeginDraw();
        SetupViewTransform();
        SetupProjection();
        D3DXMATRIX identity;
        m_pDevice->SetTransform(D3DTS_WORLD, D3DXMatrixIdentity(&identity));
        m_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x7F99B2B2u, 1.0f, 0);
        if (draw)
            draw();
        EndDraw();
    }
    std::function<void()> draw;
};

// A grey width x height PNG, its folders made.
inline void WriteTestImage(const std::string& path, int width, int height)
{
    std::filesystem::create_directories(std::filesystem::path("./" + path).parent_path());
    const std::vector<unsigned char> rgb(static_cast<std::size_t>(width * height * 3), 0x80);
    if (stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) == 0)
        throw std::runtime_error("cannot write " + path);
}

// A unit square in the XY plane (two triangles) with one material per
// texture name ("" for none); triangle i uses material i % count.
inline XFileMesh MakeSquareMesh(const std::vector<std::string>& textureNames)
{
    XFileMesh mesh;
    mesh.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    mesh.texcoords = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    for (std::size_t i = 0; i < textureNames.size(); ++i) {
        XFileMaterial material;
        material.material.Diffuse = {0.2f * static_cast<float>(i + 1), 0.5f, 0.25f, 1.0f};
        material.material.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
        material.textureFilename = textureNames[i];
        mesh.materials.push_back(material);
    }
    if (!textureNames.empty())
        mesh.faceMaterials = {0, static_cast<std::uint32_t>(1 % textureNames.size())};
    return mesh;
}

inline void WriteTestMesh(const std::string& path, const XFileMesh& mesh)
{
    std::filesystem::create_directories(std::filesystem::path("./" + path).parent_path());
    std::string error;
    if (!WriteXFile(path, mesh, &error))
        throw std::runtime_error(error);
}

// The asset maker's box.x, cylinder.x, cone.x and sphere.x, here.
inline void WriteShapeMeshes()
{
    WriteTestMesh("box.x", assets::MakeBoxMesh());
    WriteTestMesh("cylinder.x", assets::MakeCylinderMesh());
    WriteTestMesh("cone.x", assets::MakeConeMesh());
    WriteTestMesh("sphere.x", assets::MakeSphereMesh());
}

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
    void SetUp() override
    {
        m_Folder.emplace();
        BindStatusWindow(0, m_Status);
        m_PreviousBoxes = SetMessageBoxHandler([this](HWND owner, const wchar_t* text, const wchar_t*, UINT) {
            m_Boxes.push_back({!owner.IsNull(), text});
            return IDOK;
        });
        m_ProblemScope.emplace([this](const std::string& line) { m_Problems.push_back(line); });
        System().SetFailureRecheckIntervalEXT({});
        ASSERT_TRUE(CreateContext());
    }

    void TearDown() override
    {
        // A draw outside a scene is refused: a test that made one proved nothing.
        if (HeadlessDevice* device = Device()) {
            EXPECT_EQ(device->DrawsOutsideSceneCount(), 0);
        }
        System().ReleaseGraphicsContext();
        if (m_Counters) {
            EXPECT_EQ(m_Counters->direct3DAlive + m_Counters->devicesAlive, 0);
            EXPECT_EQ(m_Counters->swapChainsAlive + m_Counters->texturesAlive, 0);
        }
        if (m_PreviousFactory)
            SetDirect3DFactory(std::move(*m_PreviousFactory));
        BindStatusWindow(0, {});
        System().SetFailureRecheckIntervalEXT(ORVD3D_FailedLoads::kDefaultRecheckInterval);
        m_ProblemScope.reset();
        SetMessageBoxHandler(std::move(m_PreviousBoxes));
        m_Folder.reset();
    }

    bool CreateContext(HeadlessOptions options = {})
    {
        System().ReleaseGraphicsContext();
        m_Counters = options.counters ? options.counters : std::make_shared<HeadlessCounters>();
        options.counters = m_Counters;
        options.recordFromStart = true;
        Direct3DFactory previous = InstallHeadlessDirect3D(options);
        if (!m_PreviousFactory)
            m_PreviousFactory = std::move(previous);
        return System().CreateGraphicsContext(HWND(m_Window));
    }

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
inline std::vector<RecordedDraw> DrawsIn(const std::vector<HeadlessCall>& calls,
                                         const std::string& kind = "DrawMeshSubsetEXT")
{
    std::vector<RecordedDraw> draws;
    RecordedDraw state;
    D3DXMatrixIdentity(&state.world);
    for (const HeadlessCall& call : calls) {
        if (call.name == "SetTransform" && call.Arg(0) == D3DTS_WORLD)
            state.world = D3DXMATRIX(call.matrix);
        else if (call.name == "SetMaterial")
            state.material = call.material;
        else if (call.name == "SetRenderState" && call.Arg(0) == D3DRS_LIGHTING)
            state.lighting = call.Arg(1);
        else if (call.name == kind) {
            state.call = &call;
            draws.push_back(state);
        }
    }
    return draws;
}

// Draws primitive once through a fresh helper inside a scene; its draws of kind.
inline std::vector<RecordedDraw> DrawOnce(ORV_Primitive& primitive, const std::string& kind = "DrawMeshSubsetEXT")
{
    HeadlessDevice* device = HeadlessContextTest::Device();
    ORVD3D_DrawHelper helper;
    helper.InitializeModelTransform();
    device->BeginScene();
    device->ClearCalls();
    primitive.Draw(helper.GetLod(), helper);
    device->EndScene();
    return DrawsIn(device->Calls(), kind);
}

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
