// What the soare program does with its command line, apart from main() so
// that the tests run it in-process.
#pragma once

#include <functional>
#include <iosfwd>

#include "commandline.h"

class KeyScript;

// The windowed game: the game shell's entry point, with the key script read
// from --replay (empty without it). Returns the exit status.
using WindowedGameEntry = std::function<int(const SoareOptions& options, const KeyScript& replay)>;

// Parses the command line, finds the data folder and runs the headless
// game or the windowed one. Exit status: 0 done, 1 the game could not run,
// 2 a bad argument or input file (one line on err; nothing runs).
int RunSoare(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
             const WindowedGameEntry& windowedGame);

// The headless game for ticks ticks with the keys of the script, writing
// the trace (when not null) and, when stats is not null, the --stats line
// after the run (each tick counts as one timer event). The working directory
// is the data folder; the script and the trace were read and opened before
// the program changed to it. Exit status 0, or 1 when the game could not
// start.
int RunHeadlessGame(std::uint64_t ticks, const KeyScript& keys, std::ostream* trace, std::ostream* stats,
                    std::ostream& err);
