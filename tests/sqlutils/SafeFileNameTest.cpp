#include <gtest/gtest.h>

#include "SafeFileName.h"

namespace {

TEST(SafeFileName, ReplacesWhatWouldLeaveTheFolderOrIsRefusedByWindows)
{
    const struct {
        std::string name;
        std::string safe;
    } cases[] = {
        {"CUSTOMERS", "CUSTOMERS"},
        {"", "_"},
        {"../../ETC/X", ".._.._ETC_X"},
        {"\"A/B\"", "_A_B_"},
        {"MAIN.ORDERS", "MAIN.ORDERS"},
        {"C:\\TEMP\\T", "C__TEMP_T"},
        {"<>:\"/\\|?*", "_________"},
        {std::string("A\0B\tC\x1f\x7f", 7), "A_B_C__"},
        {"[ORDER DETAILS]", "[ORDER DETAILS]"},
        {"ЗАКАЗЫ", "ЗАКАЗЫ"},
        {"\xC7\xE0\xEA", "\xC7\xE0\xEA"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeFileName(c.name), c.safe) << c.name;
}

} // namespace
