// The text form of ODBC GUID values.

#include "OdbcValueText.h"

#include <gtest/gtest.h>

namespace {

TEST(OdbcValueText, GuidsInBracesAndCapitals)
{
    SQLGUID guid{0xa0eebc99, 0x9c0b, 0x4ef8, {0xbb, 0x6d, 0x6b, 0xb9, 0xbd, 0x38, 0x0a, 0x11}};
    EXPECT_EQ(OdbcGuidText(guid), "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
    EXPECT_EQ(OdbcGuidText(SQLGUID{}), "{00000000-0000-0000-0000-000000000000}");
}

} // namespace
