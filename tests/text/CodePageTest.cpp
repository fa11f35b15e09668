#include "CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, ConvertsLegacyOemTextAndReplacesWhatCannotBeConverted)
{
    // "Привет" in code page 866
    const std::string oem = "\x8f\xe0\xa8\xa2\xa5\xe2";
    EXPECT_EQ(CodePage::Convert(oem, "CP866", "UTF-8"), "Привет");
    EXPECT_EQ(CodePage::Convert("a\xff" "b", "UTF-8", "UTF-16LE").size(), 6u);
    EXPECT_EQ(CodePage::Convert("Ж", "UTF-8", "ISO-8859-1"), "??");
}

TEST(CodePage, RoundTripsThroughUtf16)
{
    const std::string text = CodePage::FromUtf8("Проба 1");
    EXPECT_EQ(CodePage::FromUtf16(CodePage::ToUtf16(text)), text);
    EXPECT_EQ(CodePage::ToUtf16(CodePage::FromUtf8("Ж")), std::u16string(u"Ж"));
}

// A bad unit becomes "?" and the text after it converts in step.
TEST(CodePage, UnpairedSurrogatesBecomeQuestionMarks)
{
    struct { std::u16string utf16; const char* utf8; } cases[] = {
        {u"X\xD800" u"ABCDEF", "X?ABCDEF"},
        {u"\xDC00" u"Ж", "?Ж"},
        {u"ab\xD83D", "ab?"},
        {u"\xD83D\xDE00" u"!", "😀!"},
        {u"\xD800\xD800" u"z", "??z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodePage::ToUtf8(CodePage::FromUtf16(c.utf16)), CodePage::ToUtf8(CodePage::FromUtf8(c.utf8)))
            << c.utf8;
}
