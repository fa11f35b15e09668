#include "RunnerTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(FileSizeText, WritesEveryBlankOfThePattern)
{
    const struct { uint64_t size; const char* text; } cases[] = {
        {0, "   0 bytes"},
        {999, "   999 bytes"},
        {1000, "  1 000 bytes"},
        {1001, "  1 001 bytes"},
        {999999, "  999 999 bytes"},
        {1234567, " 1 234 567 bytes"},
        {1234567890, "1 234 567 890 bytes"},
        {12345678901, "12 345 678 901 bytes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileSizeText(c.size), c.text) << c.size;
}

TEST(ExecuteTimeText, TwoDecimalsWithTheGivenSeparator)
{
    const struct { double seconds; char separator; const char* text; } cases[] = {
        {0.25, '.', "Execute time - 0.25 sec."},
        {0.25, ',', "Execute time - 0,25 sec."},
        {0, '.', "Execute time - 0.00 sec."},
        {1.005001, '.', "Execute time - 1.01 sec."},
        {0.994, '.', "Execute time - 0.99 sec."},
        {0.996, '.', "Execute time - 1.00 sec."},
        {4294967.295, '.', "Execute time - 4294967.30 sec."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExecuteTimeText(c.seconds, c.separator), c.text) << c.seconds;
}

TEST(ScriptLineStatement, TrimsAndDropsOneFinalSemicolon)
{
    const struct { const char* line; const char* statement; } cases[] = {
        {"DELETE FROM t;", "DELETE FROM t"},
        {"DELETE FROM t;;", "DELETE FROM t;"},
        {" \t update t set a = 1 ; \t", "update t set a = 1 "},
        {"select 1", "select 1"},
        {"", ""},
        {" \t ", ""},
        {";", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScriptLineStatement(c.line), c.statement) << c.line;
}

} // namespace
