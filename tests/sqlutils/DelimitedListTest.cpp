#include <gtest/gtest.h>

#include "DelimitedList.h"

namespace {

struct SplitCase {
    std::string text;
    TStringList items;
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, CutsAtCommasAndTrims)
{
    TDelimitedList list;
    list.Delimiter = ',';
    list.push_back("stale item");
    list.Split(GetParam().text);
    EXPECT_EQ(static_cast<const TStringList&>(list), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitTest, testing::Values(
    SplitCase{"", {}},
    SplitCase{"a,b", {"a", "b"}},
    SplitCase{"a,b,", {"a", "b"}},
    SplitCase{",a", {"", "a"}},
    SplitCase{"a,,b", {"a", "", "b"}},
    SplitCase{",", {""}},
    SplitCase{",,", {"", ""}},
    SplitCase{"   ", {""}},
    SplitCase{"NAME, CITY, ZIP", {"NAME", "CITY", "ZIP"}},
    SplitCase{"\t x \r\n,\x01y\x1f", {"x", "y"}},
    SplitCase{std::string("a,b\0,c", 6), {"a", "b"}},
    SplitCase{std::string("\0a", 2), {}},
    SplitCase{"a;b", {"a;b"}}));

TEST(DelimitedList, DefaultDelimiterIsSemicolon)
{
    TDelimitedList list;
    EXPECT_EQ(list.Delimiter, ';');
    list.Split("a; b,c");
    EXPECT_EQ(static_cast<const TStringList&>(list), (TStringList{"a", "b,c"}));
}

struct JoinCase {
    TStringList items;
    std::string quote;
    std::string separator;
    std::string joined;
};

class JoinTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinTest, QuotesAndSeparates)
{
    TDelimitedList list;
    list.assign(GetParam().items.begin(), GetParam().items.end());
    EXPECT_EQ(list.Join(GetParam().quote, GetParam().separator), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(Lists, JoinTest, testing::Values(
    JoinCase{{}, "'", ", ", ""},
    JoinCase{{""}, "", ", ", "\"\""},
    JoinCase{{""}, "'", "|", "\"\""},
    JoinCase{{"1", "2"}, "", ", ", "1, 2"},
    JoinCase{{"x", "y"}, "'", ", ", "'x', 'y'"},
    JoinCase{{"a", ""}, "", "|", "a|"},
    JoinCase{{"", ""}, "'", ",", "'','"  "'"},
    JoinCase{{"it's"}, "'", ",", "'it's'"}));

} // namespace
