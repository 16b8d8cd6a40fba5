// Finds the folder that holds the game's data (MeshFiles/, Textures/,
// Sound/), since the game reads every data file relative to its working
// directory.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// True when folder has a MeshFiles subfolder.
bool HoldsGameData(const std::filesystem::path& folder);

// Where the game should run from, in this order: dataDirOption when given
// (an explicit choice wins; it must hold the data); else the working
// directory when it holds the data; else the first folder holding the data
// on the way up from the executable's folder; else installDataDir when it
// holds the data. Empty when none does (or when dataDirOption does not),
// with error saying why.
std::optional<std::filesystem::path> FindDataFolder(const std::filesystem::path& workingDirectory,
                                                    const std::optional<std::filesystem::path>& dataDirOption,
                                                    const std::filesystem::path& executable,
                                                    const std::filesystem::path& installDataDir, std::string& error);

// The running program's own file (/proc/self/exe); empty when unknown.
std::filesystem::path ExecutablePath();

// share/soare under the install prefix this program was built for.
std::filesystem::path InstalledDataFolder();

// Finds the data folder for this process and makes it the working
// directory. False, with error set, when --data-dir names a folder without
// the data or the change fails; true (and nothing changed) when no data is
// found anywhere, in which case error holds a warning.
bool EnterDataFolder(const std::optional<std::filesystem::path>& dataDirOption, std::string& error);
