// The key script: which keys are held at every tick of a run. The headless
// game replays one (--input) and the game shell writes one (--record).
//
// Text format: a line whose first non-blank character is '#' is a comment,
// blank lines are skipped, and every other line is "COUNT KEYS": for COUNT
// ticks (1 to kMaxCount) exactly the keys KEYS are held, KEYS being letters
// from L (Left arrow), R (Right), U (Up), D (Down) and P (the P key), each at
// most once and in any order, or "-" for none.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

// Bit set of the keys a script can hold.
enum KeyScriptKey : unsigned {
    kKeyLeft = 1u << 0,
    kKeyRight = 1u << 1,
    kKeyUp = 1u << 2,
    kKeyDown = 1u << 3,
    kKeyP = 1u << 4,
};
constexpr unsigned kAllScriptKeys = kKeyLeft | kKeyRight | kKeyUp | kKeyDown | kKeyP;

class KeyScript
{
public:
    // A run of ticks with the same keys held.
    struct Run
    {
        std::uint32_t count;
        unsigned keys;
    };

    // Largest COUNT of one line: about 290 days of play at 25 ms a tick,
    // and far from any overflow when many lines are added up.
    static constexpr std::uint32_t kMaxCount = 1000000000u;

    // Reads a script. On a malformed line returns false, leaves *this
    // empty and sets error to "line N: what is wrong".
    bool Parse(std::istream& in, std::string& error);
    // The same from a file; error also covers a file that cannot be read.
    bool ParseFile(const std::filesystem::path& file, std::string& error);

    // Writes the script in the format above, one line per run, after a
    // comment line.
    void Write(std::ostream& out) const;
    bool WriteFile(const std::filesystem::path& file) const;

    // Appends ticks with keys held; extends the last run when the keys are
    // the same (so a recording stays short). count 0 adds nothing.
    void Append(unsigned keys, std::uint32_t count = 1);

    // The keys held at tick index (0 for the first tick); none past the end.
    unsigned KeysAt(std::uint64_t tick) const;
    std::uint64_t TotalTicks() const { return m_TotalTicks; }
    const std::vector<Run>& GetRuns() const { return m_Runs; }
    void Clear();

    // "LRUDP" letters of keys in that order, or "-".
    static std::string KeysToText(unsigned keys);

private:
    std::vector<Run> m_Runs;
    std::vector<std::uint64_t> m_RunEnds;  // tick index one past each run
    std::uint64_t m_TotalTicks = 0;
};
