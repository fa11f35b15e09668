#include <gtest/gtest.h>
#include <random>

#include "CodePage.h"
#include "QtText.h"

namespace {

TEST(QtTextTest, ValidTextBecomesItsCharacters)
{
    if (!CodePage::ProgramIsUtf8())
        GTEST_SKIP() << "the program code page is not UTF-8";
    EXPECT_EQ(ToQString("SELECT 'Привет', '€', '😀'"), QStringLiteral(u"SELECT 'Привет', '€', '😀'"));
    EXPECT_EQ(FromQString(QStringLiteral(u"Привет 😀")), "Привет 😀");
    EXPECT_EQ(ToQString(std::string_view("a\0b", 3)).size(), 3);
}

TEST(QtTextTest, EveryByteStringSurvivesTheRoundTrip)
{
    if (!CodePage::ProgramIsUtf8())
        GTEST_SKIP() << "the program code page is not UTF-8";
    std::vector<std::string> samples = {"\xff", "\xc3", "\xc3(", "\xe2\x82", "\xed\xa0\x80", "\xc0\xaf",
                                        "\xf4\x90\x80\x80", "\xe2\x80\xa8", "\xe2\x80\xa9", "\xef\xb7\x90"};
    for (int b = 0; b < 256; ++b)
        samples.push_back(std::string(1, static_cast<char>(b)));
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        std::string s(static_cast<size_t>(random() % 12), '\0');
        for (char& c : s)
            c = static_cast<char>(random() % 256);
        samples.push_back(s);
    }
    for (const std::string& s : samples)
        EXPECT_EQ(FromQString(ToQString(s)), s) << testing::PrintToString(s);
}

TEST(QtTextTest, StructureCharactersNeverReachTheDocument)
{
    if (!CodePage::ProgramIsUtf8())
        GTEST_SKIP() << "the program code page is not UTF-8";
    const QString text = ToQString("a\xe2\x80\xa8" "b\xe2\x80\xa9" "c\xef\xb7\x90\xef\xb7\x91");
    for (const QChar c : text)
        EXPECT_TRUE(c != QChar::LineSeparator && c != QChar::ParagraphSeparator && c.unicode() != 0xFDD0
                    && c.unicode() != 0xFDD1);
}

} // namespace
