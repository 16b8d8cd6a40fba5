// soare-assets: makes every data file of the game, the same bytes on every run.
//
//   soare-assets RUN_DIR [ICON_DIR]   meshes, textures and sound into RUN_DIR
//                                     (MeshFiles/, Textures/, Sound/), icons
//                                     into ICON_DIR when given
//   soare-assets --preview DIR        pictures of every mesh and texture
#include <cstdio>
#include <string>
#include <string_view>

#include "AssetWriter.h"

namespace {

int Usage()
{
    std::fputs(
        "usage: soare-assets RUN_DIR [ICON_DIR]\n"
        "       soare-assets --preview DIR\n",
        stderr);
    return 2;
}

int Report(bool ok, const std::string& error)
{
    if (ok)
        return 0;
    std::fprintf(stderr, "soare-assets: %s\n", error.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
        return Usage();
    const std::string_view first = argv[1];
    std::string error;
    if (first == "--preview")
        return argc == 3 ? Report(assets::WritePreviews(argv[2], &error), error) : Usage();
    if (first.starts_with("-"))
        return Usage();
    if (!assets::WriteGameData(argv[1], &error))
        return Report(false, error);
    if (argc == 3)
        return Report(assets::WriteIcons(argv[2], &error), error);
    return 0;
}
