// The entry into the windowed game: the application on the toolkit, run
// until its main window closes.
#pragma once

#include <iosfwd>

#include "commandline.h"

// Runs the game; the exit status. Without a display (DISPLAY and
// WAYLAND_DISPLAY unset, or the display cannot be opened) says so in one
// line on err and returns 1 before the toolkit starts.
int RunTutorialGame(const SoareOptions& options);
int RunTutorialGameReporting(const SoareOptions& options, std::ostream& err);

// True when the environment names a display to open.
bool HasDisplayEnvironment();
