#include "datafolder.h"

#include <system_error>

#ifndef SOARE_INSTALL_DATADIR
#define SOARE_INSTALL_DATADIR "/usr/local/share/soare"
#endif

namespace fs = std::filesystem;

bool HoldsGameData(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_directory(folder / "MeshFiles", ec);
}

std::optional<fs::path> FindDataFolder(const fs::path& workingDirectory, const std::optional<fs::path>& dataDirOption,
                                       const fs::path& executable, const fs::path& installDataDir, std::string& error)
{
    error.clear();
    if (dataDirOption) {
        if (HoldsGameData(*dataDirOption))
            return *dataDirOption;
        error = "--data-dir " + dataDirOption->string() + ": no MeshFiles folder there";
        return std::nullopt;
    }
    if (HoldsGameData(workingDirectory))
        return workingDirectory;
    if (!executable.empty()) {
        // The build tree's run folder holds the executable and the data; an
        // installed program finds share/soare beside its bin/, wherever the
        // prefix was moved to.
        fs::path folder = executable.parent_path();
        while (!folder.empty()) {
            if (HoldsGameData(folder))
                return folder;
            if (HoldsGameData(folder / "share" / "soare"))
                return folder / "share" / "soare";
            const fs::path parent = folder.parent_path();
            if (parent == folder)
                break;
            folder = parent;
        }
    }
    if (!installDataDir.empty() && HoldsGameData(installDataDir))
        return installDataDir;
    error = "no game data (a MeshFiles folder) found in the working directory, beside the program or in " +
            installDataDir.string() + "; use --data-dir DIR";
    return std::nullopt;
}

fs::path ExecutablePath()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe;
}

fs::path InstalledDataFolder()
{
    return fs::path(SOARE_INSTALL_DATADIR);
}

bool EnterDataFolder(const std::optional<fs::path>& dataDirOption, std::string& error)
{
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    const std::optional<fs::path> folder =
        FindDataFolder(ec ? fs::path() : cwd, dataDirOption, ExecutablePath(), InstalledDataFolder(), error);
    if (!folder)
        return !dataDirOption;  // nothing found at all is only a warning
    if (!ec && fs::equivalent(*folder, cwd, ec))
        return true;
    fs::current_path(*folder, ec);
    if (ec) {
        error = "cannot change to the data folder " + folder->string() + ": " + ec.message();
        return false;
    }
    return true;
}
