// The window icon: the asset maker's icon image, looked up beside the data
// folder (the working directory) where the build tree and an installation
// keep it.
#pragma once

#include <wx/icon.h>

// An invalid icon when none is found.
wxIcon LoadApplicationIcon();

// The application id the installation names its files after.
inline constexpr const char* kApplicationId = "io.github.soare.Soare";
