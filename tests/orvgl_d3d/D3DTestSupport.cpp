#include "D3DTestSupport.h"

#include <stb_image_write.h>
#include <unistd.h>

#include <cstdlib>
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

MessageBoxRecorder::MessageBoxRecorder()
{
    m_Previous = SetMessageBoxHandler([this](HWND owner, const wchar_t* text, const wchar_t*, UINT) {
        boxes.push_back({!owner.IsNull(), text});
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHandler(std::move(m_Previous));
}

ProblemRecorder::ProblemRecorder() : m_Scope([this](const std::string& line) { lines.push_back(line); }) {}

namespace {

void MakeParentFolders(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent);
}

}  // namespace

void WriteTestImage(const std::string& path, int width, int height, DWORD argb)
{
    MakeParentFolders(path);
    std::vector<unsigned char> rgba;
    for (int i = 0; i < width * height; ++i) {
        rgba.push_back(static_cast<unsigned char>(argb >> 16));
        rgba.push_back(static_cast<unsigned char>(argb >> 8));
        rgba.push_back(static_cast<unsigned char>(argb));
        rgba.push_back(static_cast<unsigned char>(argb >> 24));
    }
    if (stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) == 0)
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
        const float shade = 0.2f * static_cast<float>(i + 1);
        material.material.Diffuse = {shade, 0.5f, 0.25f, 1.0f};
        material.material.Specular = {0.1f, 0.1f, 0.1f, 1.0f};
        material.material.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
        material.material.Power = 4.0f + static_cast<float>(i);
        material.textureFilename = textureNames[i];
        mesh.materials.push_back(material);
    }
    if (!textureNames.empty())
        for (std::size_t face = 0; face < mesh.faces.size(); ++face)
            mesh.faceMaterials.push_back(static_cast<std::uint32_t>(face % textureNames.size()));
    return mesh;
}

void WriteTestMesh(const std::string& path, const XFileMesh& mesh)
{
    MakeParentFolders(path);
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
    const SceneScope scene(device);
    device->ClearCalls();
    primitive.Draw(helper.GetLod(), helper);
    return DrawsIn(device->Calls(), kind);
}

void HeadlessContextTest::SetUp()
{
    m_Folder = std::make_unique<ScratchFolder>();
    m_Window = std::make_shared<HeadlessWindow>(320, 240);
    m_Status = std::make_shared<StatusRecorder>();
    BindStatusWindow(0, m_Status);
    m_Boxes = std::make_unique<MessageBoxRecorder>();
    m_Problems = std::make_unique<ProblemRecorder>();
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
    if (!m_FactoryInstalled) {
        m_PreviousFactory = std::move(previous);
        m_FactoryInstalled = true;
    }
    return System().CreateGraphicsContext(HWND(m_Window));
}

HeadlessDevice* HeadlessContextTest::Device()
{
    return dynamic_cast<HeadlessDevice*>(System().GetD3DDevice());
}

void HeadlessContextTest::TearDown()
{
    // A draw outside a scene is refused: a test that made one proved nothing.
    if (HeadlessDevice* device = Device()) {
        EXPECT_EQ(device->DrawsOutsideSceneCount(), 0);
    }
    System().ReleaseGraphicsContext();
    if (m_Counters) {
        EXPECT_EQ(m_Counters->direct3DAlive, 0);
        EXPECT_EQ(m_Counters->devicesAlive, 0);
        EXPECT_EQ(m_Counters->swapChainsAlive, 0);
        EXPECT_EQ(m_Counters->texturesAlive, 0);
    }
    if (m_FactoryInstalled)
        SetDirect3DFactory(std::move(m_PreviousFactory));
    BindStatusWindow(0, {});
    System().SetFailureRecheckIntervalEXT(ORVD3D_FailedLoads::kDefaultRecheckInterval);
    m_Problems.reset();
    m_Boxes.reset();
    m_Folder.reset();
}
