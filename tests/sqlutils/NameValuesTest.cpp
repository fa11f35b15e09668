#include <gtest/gtest.h>

#include "NameValues.h"

namespace {

TEST(NameValues, FirstLineWithTheNameGivesItsValueUntrimmed)
{
    const TStringList task = {
        "no equals sign here",
        "udl=/data/shop.udl",
        "SQL= SELECT * FROM t WHERE a = 'x=y' ",
        " Cp866=1",
        "Cp866=01",
        "UDL=/data/second.udl",
        "DestFile=",
        "=nameless",
    };
    const struct {
        std::string name;
        std::string value;
    } cases[] = {
        {"UDL", "/data/shop.udl"},
        {"Udl", "/data/shop.udl"},
        {"SQL", " SELECT * FROM t WHERE a = 'x=y' "},
        {"Cp866", "01"},
        {" Cp866", "1"},
        {"DestFile", ""},
        {"PutDeleteBeforeInserts", ""},
        {"", "nameless"},
        {"no equals sign here", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueOfName(task, c.name), c.value) << '"' << c.name << '"';
    EXPECT_EQ(ValueOfName({}, "UDL"), "");
}

} // namespace
