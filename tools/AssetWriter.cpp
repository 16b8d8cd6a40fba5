#include "AssetWriter.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "AssetPreview.h"
#include "AssetSailplane.h"
#include "AssetSound.h"
#include "AssetStockMeshes.h"
#include "AssetTextures.h"

namespace assets {

namespace fs = std::filesystem;

namespace {

constexpr int kJpegQuality = 90;
constexpr int kIconSizes[] = {48, 128, 256};

bool MakeFolder(const fs::path& dir, std::string* error)
{
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        *error = "cannot create folder " + dir.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool Failed(const fs::path& file, std::string* error)
{
    *error = "cannot write " + file.string();
    return false;
}

bool WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes, std::string* error)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? true : Failed(file, error);
}

std::string IconName(int size)
{
    return "soare-" + std::to_string(size) + ".png";
}

}  // namespace

const std::vector<MeshAsset>& MeshAssets()
{
    static const std::vector<MeshAsset> meshes{
        {"box.x", &MakeBoxMesh},       {"cylinder.x", &MakeCylinderMesh}, {"cone.x", &MakeConeMesh},
        {"sphere.x", &MakeSphereMesh}, {"shusui.x", &MakeSailplaneMesh},
    };
    return meshes;
}

std::vector<std::string> GameDataFiles()
{
    std::vector<std::string> files;
    for (const MeshAsset& m : MeshAssets())
        files.push_back(std::string("MeshFiles/") + m.fileName);
    for (const char* t : {"Textures/target.jpg", "Textures/central-park.jpg", "Textures/islandTexture.jpg",
                          "Textures/updraft.png", "Sound/PauseBlip.wav"})
        files.emplace_back(t);
    return files;
}

std::vector<std::string> IconFiles()
{
    std::vector<std::string> files;
    for (int size : kIconSizes)
        files.push_back(IconName(size));
    return files;
}

bool WriteGameData(const std::string& runDir, std::string* error)
{
    const fs::path root(runDir);
    const fs::path meshDir = root / "MeshFiles";
    const fs::path textureDir = root / "Textures";
    const fs::path soundDir = root / "Sound";
    if (!MakeFolder(meshDir, error) || !MakeFolder(textureDir, error) || !MakeFolder(soundDir, error))
        return false;

    for (const MeshAsset& m : MeshAssets()) {
        const fs::path file = meshDir / m.fileName;
        std::string why;
        if (!WriteXFile(file.string(), m.make(), &why)) {
            *error = "cannot write " + file.string() + ": " + why;
            return false;
        }
    }

    struct Jpeg
    {
        const char* name;
        AssetImage (*make)();
    };
    for (const Jpeg& j : {Jpeg{"target.jpg", &MakeTargetTexture}, Jpeg{"central-park.jpg", &MakeParkTexture},
                          Jpeg{"islandTexture.jpg", &MakeIslandTexture}}) {
        const fs::path file = textureDir / j.name;
        if (!j.make().WriteJpg(file.string(), kJpegQuality))
            return Failed(file, error);
    }
    const fs::path updraft = textureDir / "updraft.png";
    if (!MakeUpdraftTexture().WritePng(updraft.string(), 4))
        return Failed(updraft, error);

    return WriteBytes(soundDir / "PauseBlip.wav", EncodeWav(MakeBlipSamples(), kBlipSampleRate), error);
}

bool WriteIcons(const std::string& iconDir, std::string* error)
{
    const fs::path dir(iconDir);
    if (!MakeFolder(dir, error))
        return false;
    for (int size : kIconSizes) {
        const fs::path file = dir / IconName(size);
        if (!MakeIcon(size).WritePng(file.string(), 4))
            return Failed(file, error);
    }
    return true;
}

bool WritePreviews(const std::string& dir, std::string* error)
{
    const fs::path out(dir);
    if (!MakeFolder(out, error))
        return false;
    for (const MeshAsset& m : MeshAssets()) {
        const fs::path file = out / (fs::path(m.fileName).stem().string() + "-preview.png");
        if (!RenderPreviewSheet(m.make(), 256).WritePng(file.string(), 3))
            return Failed(file, error);
    }
    // A close look at the sailplane from behind and above, where it must read best.
    const XFileMesh plane = MakeSailplaneMesh();
    const PreviewView closeViews[] = {
        {{0.0f, -0.18f, -1.0f}, {0, 1, 0}, true, true, 1.0f},
        {{0.0f, -1.0f, 0.0f}, {0, 0, -1}, false, true, 1.0f},
        {{0.7f, -0.35f, -0.6f}, {0, 1, 0}, true, true, 1.0f},
    };
    int i = 0;
    for (const PreviewView& v : closeViews) {
        const AssetImage img = RenderPreview(plane, v, 512);
        AssetImage onSky(img.Width(), img.Height(), Rgba{0.55f, 0.70f, 0.86f, 1.0f});
        for (int y = 0; y < img.Height(); ++y)
            for (int x = 0; x < img.Width(); ++x) {
                const Rgba& p = img.At(x, y);
                onSky.At(x, y) = Mix(onSky.At(x, y), Rgba{p.r, p.g, p.b, 1.0f}, p.a);
            }
        const fs::path file = out / ("shusui-close-" + std::to_string(i++) + ".png");
        if (!onSky.WritePng(file.string(), 3))
            return Failed(file, error);
    }
    // The textures as the game gets them, and the icon at its largest.
    for (const auto& [name, image] : {std::pair{"target", MakeTargetTexture()}, std::pair{"park", MakeParkTexture()},
                                      std::pair{"island", MakeIslandTexture()}}) {
        const fs::path file = out / (std::string(name) + "-texture.png");
        if (!image.WritePng(file.string(), 3))
            return Failed(file, error);
    }
    return true;
}

}  // namespace assets
