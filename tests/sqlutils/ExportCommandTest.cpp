#include "ExportCommand.h"

#include "ErrorOf.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseExportCommand, ReadsTheFourValuesInAnyLetterCase)
{
    const TExportCommand command = ParseExportCommand("export from Orders to /tmp/out.sql by 500 quote [");
    EXPECT_EQ(command.Table, "Orders");
    EXPECT_EQ(command.FileName, "/tmp/out.sql");
    EXPECT_EQ(command.PageSize, 500);
    EXPECT_EQ(command.Quote, "[");
}

TEST(ParseExportCommand, NamesTheFirstFaultInReadingOrder)
{
    const struct { const char* text; const char* error; } cases[] = {
        {"EXPORT TO f BY 1 QUOTE \"", "Keyword \"FROM\" not found in command \"EXPORT TO f BY 1 QUOTE \"\""},
        {"EXPORT FROM t TO f BY 10", "Keyword \"QUOTE\" not found in command \"EXPORT FROM t TO f BY 10\""},
        {"EXPORT FROM t TO f BY ten", "'ten' is not a valid integer value"},
        {"EXPORT FROM t TO f BY 1.5 QUOTE [", "'1.5' is not a valid integer value"},
        {"EXPORT FROM t TO f BY 99999999999 QUOTE [", "'99999999999' is not a valid integer value"},
        {"EXPORT FROM t TO f BY 0 QUOTE [", "'0' is not a valid page size"},
        {"EXPORT FROM t TO f BY -5 QUOTE [", "'-5' is not a valid page size"},
        {"EXPORT FROM t TO f BY 0", "Keyword \"QUOTE\" not found in command \"EXPORT FROM t TO f BY 0\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { ParseExportCommand(c.text); }), c.error) << c.text;
}

TEST(ExportPageQuery, BoundsThePageOnBothSidesIn64Bits)
{
    EXPECT_EQ(ExportPageQuery("t", 200, 100), "SELECT * FROM t WHERE RECORD_NUMBER > 200 AND RECORD_NUMBER <= 300");
    EXPECT_EQ(ExportPageQuery("t", 4294967296, 2147483647),
              "SELECT * FROM t WHERE RECORD_NUMBER > 4294967296 AND RECORD_NUMBER <= 6442450943");
}

} // namespace
