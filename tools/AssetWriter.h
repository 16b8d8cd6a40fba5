// Writes the generated data files to disk: the game's run data (meshes,
// textures, sound), the application icons, and preview sheets of the meshes.
#pragma once

#include <string>
#include <vector>

#include "xfile.h"

namespace assets {

struct MeshAsset
{
    const char* fileName;  // under MeshFiles/
    XFileMesh (*make)();
};

// Every mesh the game reads, in a fixed order.
const std::vector<MeshAsset>& MeshAssets();

// Every file WriteGameData writes, relative to the run folder.
std::vector<std::string> GameDataFiles();
// Every file WriteIcons writes, relative to the icon folder.
std::vector<std::string> IconFiles();

// Each returns false with *error naming the file that could not be written.
// Folders are created as needed; existing files are replaced.
bool WriteGameData(const std::string& runDir, std::string* error);
bool WriteIcons(const std::string& iconDir, std::string* error);
bool WritePreviews(const std::string& dir, std::string* error);

}  // namespace assets
