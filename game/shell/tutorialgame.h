// The entry into the windowed game: the application on the toolkit, run
// until its main window closes.
#pragma once

#include <iosfwd>

#include "commandline.h"

class KeyScript;

// Runs the game, playing replay in the window when options.replay is set;
// the exit status. The --stats line goes to out. Without a display (DISPLAY
// and WAYLAND_DISPLAY unset, or the display cannot be opened) says so in one
// line on err and returns 1 before the toolkit starts.
int RunTutorialGame(const SoareOptions& options, const KeyScript& replay);
int RunTutorialGameReporting(const SoareOptions& options, const KeyScript& replay, std::ostream& out,
                             std::ostream& err);

// True when the environment names a display to open.
bool HasDisplayEnvironment();
