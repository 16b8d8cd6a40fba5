#include "D3DTestSupport.h"

#include <stb_image_write.h>
#include <unistd.h>

#include <stdexcept>

#include "AssetStockMeshes.h"

ScratchFolder::ScratchFolder() : m_Previous(std::filesystem::current_path())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvgl_d3d_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder");
    m_Path = pattern;
    std::filesystem::current_path(m_Path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(m_Previous, ignored);
    std::filesystem::remove_all(m_Path, ignored);
}

void TestViewHandler::DrawGraphics()
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

void WriteTestImage(const std::string& path, int width, int height, DWORD argb)
{
    std::filesystem::create_directories(std::filesystem::path("./" + path).parent_path());
    const DWORD rgba = ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16) | (argb & 0xFF000000u);
    const std::vector<DWORD> pixels(static_cast<std::size_t>(width * height), rgba);  // bytes r, g, b, a
    if (stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4) == 0)
        throw std::runtime_error("cannot write " + path);
}

XFileMesh MakeSquareMesh(const std::vector<std::string>& textureNames)
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

void WriteTestMesh(const std::string& path, const XFileMesh& mesh)
{
    std::filesystem::create_directories(std::filesystem::path("./" + path).parent_path());
    std::string error;
    if (!WriteXFile(path, mesh, &error))
        throw std::runtime_error(error);
}

void WriteShapeMeshes()
{
    WriteTestMesh("box.x", assets::MakeBoxMesh());
    WriteTestMesh("cylinder.x", assets::MakeCylinderMesh());
    WriteTestMesh("cone.x", assets::MakeConeMesh());
    WriteTestMesh("sphere.x", assets::MakeSphereMesh());
}

std::vector<RecordedDraw> DrawsIn(const std::vector<HeadlessCall>& calls, const std::string& kind)
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

std::vector<RecordedDraw> DrawOnce(ORV_Primitive& primitive, const std::string& kind)
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

void HeadlessContextTest::SetUp()
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

bool HeadlessContextTest::CreateContext(HeadlessOptions options)
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

void HeadlessContextTest::TearDown()
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
