// The command line of the soare program. None of the options changes the
// game: they find its data, replay it with or without a window, record it,
// or measure it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>

struct SoareOptions
{
    bool headless = false;
    std::uint64_t ticks = 0;                      // with headless
    std::optional<std::filesystem::path> input;   // key script to replay (headless)
    std::optional<std::filesystem::path> trace;   // CSV trace, "-" for standard output (headless)
    std::optional<std::filesystem::path> record;  // key script to write (windowed game)
    std::optional<std::filesystem::path> replay;  // key script to play in the window
    bool stats = false;                           // one line of steps and frames at the end
    std::optional<std::filesystem::path> dataDir;
    bool vario = false;  // audio variometer on from the start (windowed game)
};

// Largest --ticks: about 290 days of play at 25 ms a tick.
constexpr std::uint64_t kMaxTicks = 1000000000ull;

// Parses argv into options. Returns an exit status when the program should
// stop at once: 0 after --help or --version (written to out), 2 after a bad
// argument (one line naming the problem, written to err). Returns nothing
// when the program should go on.
std::optional<int> ParseCommandLine(int argc, const char* const* argv, SoareOptions& options, std::ostream& out,
                                    std::ostream& err);
