// The one UTF-8 conversion.
#include <gtest/gtest.h>

#include "Utf8.h"

namespace {

TEST(Utf8, APairIsJoinedAndWhatIsNotACharacterBecomesTheReplacement)
{
    struct Case
    {
        std::wstring wide;
        std::string utf8;
        bool exact;
    };
    const std::wstring pair{wchar_t(0xD83D), wchar_t(0xDE00)};  // U+1F600 as UTF-16
    const Case cases[] = {
        {L"gr\u00fcn \u6f22 \U0001F600", "gr\xc3\xbcn \xe6\xbc\xa2 \xf0\x9f\x98\x80", true},
        {L"a" + pair + L"b",
         "a\xf0\x9f\x98\x80"
         "b",
         true},
        {std::wstring(L"lone") + wchar_t(0xD800) + L"x", "lone\xef\xbf\xbdx", false},
        {std::wstring{wchar_t(0xDC00), wchar_t(0xD800)}, "\xef\xbf\xbd\xef\xbf\xbd", false},  // wrong order
        {std::wstring(L"far") + wchar_t(0x110000), "far\xef\xbf\xbd", false},
        {L"", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
        const std::optional<std::string> exact = WideToUtf8Exactly(c.wide);
        EXPECT_EQ(exact.value_or("(none)"), c.exact ? c.utf8 : "(none)") << c.utf8;
    }

    // Each broken sequence becomes one replacement, and decoding goes on
    // after it.
    const std::pair<std::string, std::wstring> decoded[] = {
        {"caf\xc3\xa9 \xf0\x9f\x98\x80", L"caf\u00e9 \U0001F600"},
        {"a\xffz", L"a\uFFFDz"},          // not a lead byte
        {"a\xc3z", L"a\uFFFDz"},          // cut short
        {"\xc0\xaf", L"\uFFFD"},          // overlong '/'
        {"\xed\xa0\x80", L"\uFFFD"},      // a surrogate
        {"\xf4\x90\x80\x80", L"\uFFFD"},  // past U+10FFFF
    };
    for (const auto& [utf8, wide] : decoded)
        EXPECT_EQ(Utf8ToWide(utf8), wide) << utf8;
}

}  // namespace
