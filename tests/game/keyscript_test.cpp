// The key script: what the headless game replays and the shell records.
#include <gtest/gtest.h>

#include <sstream>

#include "keyscript.h"

namespace {

bool Parse(const std::string& text, KeyScript& script, std::string& error)
{
    std::istringstream in(text);
    return script.Parse(in, error);
}

TEST(KeyScriptTest, ReadsRunsOfHeldKeys)
{
    KeyScript script;
    std::string error;
    ASSERT_TRUE(Parse("# approach\n3 -\n\n  2\tLU  \r\n   # a comment after blanks\n1 PDRUL\n", script, error))
        << error;
    EXPECT_EQ(script.TotalTicks(), 6u);
    EXPECT_EQ(script.KeysAt(2), 0u);
    EXPECT_EQ(script.KeysAt(3), unsigned{kKeyLeft | kKeyUp});
    EXPECT_EQ(script.KeysAt(6), 0u);  // past the end no key is held

    // Written back, it reads the same.
    std::ostringstream out;
    script.Write(out);
    EXPECT_EQ(out.str().substr(out.str().find('\n') + 1), "3 -\n2 LU\n1 LRUDP\n");

    // The largest count is accepted, and leading zeros are harmless.
    ASSERT_TRUE(Parse("1000000000 -\n0007 R\n", script, error)) << error;
    EXPECT_EQ(script.TotalTicks(), 1000000007u);
    EXPECT_EQ(script.KeysAt(1000000006), unsigned{kKeyRight});
}

TEST(KeyScriptTest, AMalformedLineIsNamedAndNothingIsKept)
{
    struct Case
    {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"2 L\n0 R\n", "line 2: COUNT must be from 1 to 1000000000, got '0'"},
        {"99999999999999999999999 L\n", "line 1: COUNT must be from 1 to 1000000000"},
        {"# c\n-3 L\n", "line 2: COUNT must be a whole number, got '-3'"},
        {"1 L\n\n3 X\n", "line 3: KEYS must be letters from L, R, U, D, P or '-', got 'X'"},
        {"3 LUL\n", "line 1: key 'L' given twice in 'LUL'"},
        {"3 L # held\n", "line 1: expected 'COUNT KEYS', got 4 words"},
    };
    for (const Case& c : cases) {
        KeyScript script;
        std::string error;
        EXPECT_FALSE(Parse(c.text, script, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got: " << error;
        EXPECT_EQ(script.TotalTicks(), 0u);
        EXPECT_TRUE(script.GetRuns().empty());
    }
    KeyScript script;
    std::string error;
    EXPECT_FALSE(script.ParseFile("/nonexistent/keys", error));
    EXPECT_EQ(error, "cannot open for reading");
}

TEST(KeyScriptTest, RecordingMergesRunsOfTheSameKeysAndSplitsOnesTooLongForALine)
{
    KeyScript script;
    using Run = std::pair<unsigned, std::uint32_t>;
    for (const auto& [keys, count] : {Run{0, 2}, Run{kKeyLeft, 1}, Run{kKeyLeft, 4}, Run{kKeyP, 0}, Run{0, 1}})
        script.Append(keys, count);
    ASSERT_EQ(script.GetRuns().size(), 3u);
    EXPECT_EQ(script.GetRuns()[1].count, 5u);
    EXPECT_EQ(script.TotalTicks(), 8u);

    KeyScript longRun;
    longRun.Append(kKeyUp, KeyScript::kMaxCount);
    longRun.Append(kKeyUp, 5);
    EXPECT_EQ(longRun.GetRuns().size(), 2u);
    std::stringstream text;
    longRun.Write(text);
    KeyScript back;
    std::string error;
    ASSERT_TRUE(back.Parse(text, error)) << error;
    EXPECT_EQ(back.TotalTicks(), KeyScript::kMaxCount + 5ull);
}

}  // namespace
