// The text forms of ODBC date, time, timestamp and GUID values.

#include "OdbcValueText.h"

#include <gtest/gtest.h>

namespace {

TEST(OdbcValueText, DatesTimesAndTimestamps)
{
    EXPECT_EQ(OdbcDateText({2024, 1, 2}), "2024-01-02");
    EXPECT_EQ(OdbcDateText({99, 12, 31}), "0099-12-31");
    EXPECT_EQ(OdbcTimeText({0, 5, 9}), "00:05:09");
    const std::pair<SQL_TIMESTAMP_STRUCT, const char*> cases[] = {
        {{2024, 1, 2, 10, 30, 0, 0}, "2024-01-02 10:30:00"},
        {{2024, 1, 2, 10, 30, 0, 123000000}, "2024-01-02 10:30:00.123"},
        {{2024, 1, 2, 10, 30, 0, 7000000}, "2024-01-02 10:30:00.007"},
        {{1899, 12, 30, 0, 0, 0, 999999}, "1899-12-30 00:00:00"},  // below a millisecond
        {{1, 1, 1, 23, 59, 59, 999000000}, "0001-01-01 23:59:59.999"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(OdbcTimestampText(value), text);
}

TEST(OdbcValueText, GuidsInBracesAndCapitals)
{
    SQLGUID guid{0xa0eebc99, 0x9c0b, 0x4ef8, {0xbb, 0x6d, 0x6b, 0xb9, 0xbd, 0x38, 0x0a, 0x11}};
    EXPECT_EQ(OdbcGuidText(guid), "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
    EXPECT_EQ(OdbcGuidText(SQLGUID{}), "{00000000-0000-0000-0000-000000000000}");
}

} // namespace
