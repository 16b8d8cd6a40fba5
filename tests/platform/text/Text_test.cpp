// The one UTF-8 conversion and the quoting of outside text in messages.
#include <gtest/gtest.h>

#include "QuotedText.h"
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
        {L"MeshFiles/box.x", "MeshFiles/box.x", true},
        {L"gr\u00fcn \u6f22 \U0001F600", "gr\xc3\xbcn \xe6\xbc\xa2 \xf0\x9f\x98\x80", true},
        {L"a" + pair + L"b", "a\xf0\x9f\x98\x80" "b", true},
        {std::wstring(L"lone") + wchar_t(0xD800) + L"x", "lone\xef\xbf\xbdx", false},
        {std::wstring(L"low") + wchar_t(0xDC00), "low\xef\xbf\xbd", false},
        {std::wstring{wchar_t(0xDC00), wchar_t(0xD800)}, "\xef\xbf\xbd\xef\xbf\xbd", false},  // wrong order
        {std::wstring(L"far") + wchar_t(0x110000), "far\xef\xbf\xbd", false},
        {L"", "", true},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
        const std::optional<std::string> exact = WideToUtf8Exactly(c.wide);
        EXPECT_EQ(exact.value_or("(none)"), c.exact ? c.utf8 : "(none)") << c.utf8;
    }

    // Each broken sequence becomes one replacement, and decoding goes on
    // after it.
    const std::pair<std::string, std::wstring> decoded[] = {
        {"caf\xc3\xa9 \xf0\x9f\x98\x80", L"caf\u00e9 \U0001F600"},
        {"a\xffz", L"a\uFFFDz"},             // not a lead byte
        {"a\xc3z", L"a\uFFFDz"},             // cut short
        {"\xc0\xaf", L"\uFFFD"},            // overlong '/'
        {"\xed\xa0\x80", L"\uFFFD"},        // a surrogate
        {"\xf4\x90\x80\x80", L"\uFFFD"},    // past U+10FFFF
        {"\xe6\xbc", L"\uFFFD"},             // cut at the end
    };
    for (const auto& [utf8, wide] : decoded)
        EXPECT_EQ(Utf8ToWide(utf8), wide) << utf8;
}

TEST(QuotedText, NamesAreCutAndWhatCannotBePrintedIsSpeltOut)
{
    struct Case
    {
        std::wstring text;
        std::size_t limit;
        std::wstring quoted;
    };
    const Case cases[] = {
        {L"MeshFiles/shusui.x", 80, L"MeshFiles/shusui.x"},
        {L"caf\u00e9 \u6f22\u5b57", 80, L"caf\u00e9 \u6f22\u5b57"},
        {L"a\tb\rc\nd\x7f" L"e\x1b[2J", 80, L"a\\x09b\\x0Dc\\x0Ad\\x7F" L"e\\x1B[2J"},
        {L"c1\x85\x9b" L"end", 80, L"c1\\x85\\x9B" L"end"},
        {L"line\u2028para\u2029", 80, L"line\\u{2028}para\\u{2029}"},
        {std::wstring(L"lone") + wchar_t(0xD800), 80, L"lone\\u{D800}"},
        {std::wstring(80, L'n'), 80, std::wstring(80, L'n')},
        {std::wstring(81, L'n'), 80, std::wstring(80, L'n') + L"..."},
        {L"abc\ndef", 4, L"abc\\x0A..."},
        {L"", 80, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteText(c.text, c.limit), c.quoted) << WideToUtf8(c.quoted);

    // UTF-8 text: bad bytes show as U+FFFD, the cut counts characters, and a
    // huge text is cut without being decoded whole.
    EXPECT_EQ(QuoteUtf8("caf\xc3\xa9\xff\n", 80), "caf\xc3\xa9\xef\xbf\xbd\\x0A");
    EXPECT_EQ(QuoteUtf8("\xc3\xa9\xc3\xa9\xc3\xa9", 2), "\xc3\xa9\xc3\xa9...");
    EXPECT_EQ(QuoteUtf8(std::string(1 << 20, '\x01'), 3), "\\x01\\x01\\x01...");
}

TEST(QuotedText, BytesOfNoKnownEncodingAreSpeltOutByteByByte)
{
    EXPECT_EQ(QuoteBytes("Mesh"), "Mesh");
    EXPECT_EQ(QuoteBytes("Gr\xc3\xbc\x7f"), "Gr\\xC3\\xBC\\x7F");
    EXPECT_EQ(QuoteBytes("it's a\\b"), "it\\x27s a\\x5Cb");  // can stand between quotes
    EXPECT_EQ(QuoteBytes(std::string(81, 'n')), std::string(80, 'n') + "...");
    EXPECT_EQ(QuoteBytes(std::string(80, 'n')), std::string(80, 'n'));
}

}  // namespace
