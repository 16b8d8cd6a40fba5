// The quoting of outside text in messages.
#include <gtest/gtest.h>

#include "QuotedText.h"
#include "Utf8.h"

namespace {

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
        {L"a\tb\rc\nd\x7f"
         L"e\x1b[2J",
         80,
         L"a\\x09b\\x0Dc\\x0Ad\\x7F"
         L"e\\x1B[2J"},
        {L"line\u2028para\u2029", 80, L"line\\u{2028}para\\u{2029}"},
        {std::wstring(L"lone") + wchar_t(0xD800), 80, L"lone\\u{D800}"},
        {std::wstring(81, L'n'), 80, std::wstring(80, L'n') + L"..."},
        {L"abc\ndef", 4, L"abc\\x0A..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteText(c.text, c.limit), c.quoted) << WideToUtf8(c.quoted);

    // UTF-8 text: bad bytes show as U+FFFD, the cut counts characters, and a
    // huge text is cut without being decoded whole.
    EXPECT_EQ(QuoteUtf8("caf\xc3\xa9\xff\n", 80), "caf\xc3\xa9\xef\xbf\xbd\\x0A");
    EXPECT_EQ(QuoteUtf8("\xc3\xa9\xc3\xa9\xc3\xa9", 2), "\xc3\xa9\xc3\xa9...");
    EXPECT_EQ(QuoteUtf8(std::string(1 << 20, '\x01'), 3), "\\x01\\x01\\x01...");

    // Bytes of no known encoding are spelt out byte by byte.
    EXPECT_EQ(QuoteBytes("Gr\xc3\xbc\x7f"), "Gr\\xC3\\xBC\\x7F");
    EXPECT_EQ(QuoteBytes("it's a\\b"), "it\\x27s a\\x5Cb");  // can stand between quotes
    EXPECT_EQ(QuoteBytes(std::string(81, 'n')), std::string(80, 'n') + "...");
}

}  // namespace
