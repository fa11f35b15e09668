#include <gtest/gtest.h>

#include "Words.h"

namespace {

struct WordCase {
    int n;
    std::string text;
    std::string delimiters;
    int start;
    std::string word;
};

class WordTest : public testing::TestWithParam<WordCase> {};

TEST_P(WordTest, FindsNthWord)
{
    const auto& c = GetParam();
    const TCharSet delimiters(c.delimiters);
    EXPECT_EQ(WordStart(c.n, c.text, delimiters), c.start);
    EXPECT_EQ(NthWord(c.n, c.text, delimiters), c.word);
}

INSTANTIATE_TEST_SUITE_P(Texts, WordTest, testing::Values(
    WordCase{1, "  ab  cd", " ", 3, "ab"},
    WordCase{2, "  ab  cd", " ", 7, "cd"},
    WordCase{3, "  ab  cd", " ", 0, ""},
    WordCase{0, "  ab  cd", " ", 0, ""},
    WordCase{-1, "  ab  cd", " ", 0, ""},
    WordCase{1, "T", " \r\n", 1, "T"},
    WordCase{1, "", " ", 0, ""},
    WordCase{1, "   ", " ", 0, ""},
    WordCase{2, "SELECT *\r\nFROM\tt", " \r\n", 8, "*"},
    WordCase{3, "SELECT *\r\nFROM\tt", " \r\n", 11, "FROM\tt"},
    WordCase{2, "a\xff" "b", "\xff", 3, "b"},
    WordCase{2, std::string("a\0b", 3), std::string("\0", 1), 3, "b"},
    WordCase{1, "abc", "", 1, "abc"}));

TEST(Words, TrimRemovesControlCharactersAndBlanksOnly)
{
    EXPECT_EQ(Trim("\x01\t a b \r\n\x20"), "a b");
    EXPECT_EQ(Trim("\x7f" "x" "\xa0"), "\x7f" "x" "\xa0");
    EXPECT_EQ(Trim(std::string(" \0 ", 3)), "");
}

TEST(Words, RemoveBlankLinesKeepsOrderOfTheRest)
{
    TStringList lines{"", "a", "", "  ", "\t", "b", "", " c "};
    RemoveBlankLines(lines);
    EXPECT_EQ(lines, (TStringList{"a", "b", " c "}));
}

} // namespace
