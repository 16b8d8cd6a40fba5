#include "keyscript.h"

#include <algorithm>
#include <fstream>
#include <istream>
#include <ostream>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

unsigned KeyOfLetter(char c)
{
    switch (c) {
    case 'L': return kKeyLeft;
    case 'R': return kKeyRight;
    case 'U': return kKeyUp;
    case 'D': return kKeyDown;
    case 'P': return kKeyP;
    default: return 0;
    }
}

// Splits a line into its blank-separated words.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

// Shows a word in an error message without flooding the terminal.
std::string Quote(const std::string& word)
{
    constexpr std::size_t kShown = 20;
    std::string shown = word.size() > kShown ? word.substr(0, kShown) + "..." : word;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            c = '?';
    return "'" + shown + "'";
}

bool ParseCount(const std::string& word, std::uint32_t& count, std::string& problem)
{
    const bool digits =
        !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        problem = "COUNT must be a whole number, got " + Quote(word);
        return false;
    }
    // Leading zeros are harmless; count the significant digits before
    // converting so a huge number cannot overflow.
    const std::size_t first = std::min(word.find_first_not_of('0'), word.size());
    const std::string significant = word.substr(first);
    const std::uint64_t value = significant.size() > 10 ? KeyScript::kMaxCount + 1ull
                                : significant.empty()   ? 0
                                                        : std::stoull(significant);
    if (value < 1 || value > KeyScript::kMaxCount) {
        problem = "COUNT must be from 1 to " + std::to_string(KeyScript::kMaxCount) + ", got " + Quote(word);
        return false;
    }
    count = static_cast<std::uint32_t>(value);
    return true;
}

bool ParseKeys(const std::string& word, unsigned& keys, std::string& problem)
{
    keys = 0;
    if (word == "-")
        return true;
    for (char c : word) {
        const unsigned key = KeyOfLetter(c);
        if (key == 0) {
            problem = "KEYS must be letters from L, R, U, D, P or '-', got " + Quote(word);
            return false;
        }
        if (keys & key) {
            problem = std::string("key '") + c + "' given twice in " + Quote(word);
            return false;
        }
        keys |= key;
    }
    return true;
}

}  // namespace

bool KeyScript::Parse(std::istream& in, std::string& error)
{
    Clear();
    std::string line;
    std::uint64_t lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words.front().front() == '#')
            continue;
        std::string problem;
        std::uint32_t count = 0;
        unsigned keys = 0;
        if (words.size() != 2)
            problem = "expected 'COUNT KEYS', got " + std::to_string(words.size()) + " words";
        else if (ParseCount(words[0], count, problem))
            ParseKeys(words[1], keys, problem);
        if (!problem.empty()) {
            Clear();
            error = "line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
        // Runs are kept as written (not merged) so that Write gives back
        // the same lines.
        m_Runs.push_back({count, keys});
        m_TotalTicks += count;
        m_RunEnds.push_back(m_TotalTicks);
    }
    if (in.bad()) {
        Clear();
        error = "read error";
        return false;
    }
    return true;
}

bool KeyScript::ParseFile(const std::filesystem::path& file, std::string& error)
{
    std::ifstream in(file);
    if (!in) {
        Clear();
        error = "cannot open for reading";
        return false;
    }
    return Parse(in, error);
}

void KeyScript::Write(std::ostream& out) const
{
    out << "# Soare! key script: COUNT KEYS per line (L R U D P, or - for none)\n";
    for (const Run& run : m_Runs)
        out << run.count << ' ' << KeysToText(run.keys) << '\n';
}

bool KeyScript::WriteFile(const std::filesystem::path& file) const
{
    std::ofstream out(file, std::ios::trunc);
    if (!out)
        return false;
    Write(out);
    out.flush();
    return static_cast<bool>(out);
}

void KeyScript::Append(unsigned keys, std::uint32_t count)
{
    keys &= kAllScriptKeys;
    while (count > 0) {
        if (m_Runs.empty() || m_Runs.back().keys != keys || m_Runs.back().count == kMaxCount) {
            m_Runs.push_back({0, keys});
            m_RunEnds.push_back(m_TotalTicks);
        }
        const std::uint32_t added = std::min(count, kMaxCount - m_Runs.back().count);
        m_Runs.back().count += added;
        m_TotalTicks += added;
        m_RunEnds.back() = m_TotalTicks;
        count -= added;
    }
}

unsigned KeyScript::KeysAt(std::uint64_t tick) const
{
    const auto run = std::upper_bound(m_RunEnds.begin(), m_RunEnds.end(), tick);
    if (run == m_RunEnds.end())
        return 0;
    return m_Runs[static_cast<std::size_t>(run - m_RunEnds.begin())].keys;
}

void KeyScript::Clear()
{
    m_Runs.clear();
    m_RunEnds.clear();
    m_TotalTicks = 0;
}

std::string KeyScript::KeysToText(unsigned keys)
{
    std::string text;
    if (keys & kKeyLeft)
        text += 'L';
    if (keys & kKeyRight)
        text += 'R';
    if (keys & kKeyUp)
        text += 'U';
    if (keys & kKeyDown)
        text += 'D';
    if (keys & kKeyP)
        text += 'P';
    return text.empty() ? "-" : text;
}
