#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "SqlHistory.h"

namespace fs = std::filesystem;

namespace {

class SqlHistoryTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("sqlhistory-" + std::to_string(::getpid()) + "-"
                                             + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

std::vector<TStringList> Entries(const TSqlHistory& history)
{
    std::vector<TStringList> entries;
    for (int i = 0; i < history.Count(); ++i)
        entries.push_back(history.GetItem(i));
    return entries;
}

struct LoadCase {
    std::string name;
    std::string bytes;
    std::vector<TStringList> entries;
};

class LoadTest : public SqlHistoryTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, ReadsEntriesBetweenSeparators)
{
    const auto file = Path("h.txt");
    WriteFileBytes(file, GetParam().bytes);
    TSqlHistory history;
    history.LoadFromFile(file);
    EXPECT_EQ(Entries(history), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Files, LoadTest, testing::Values(
    LoadCase{"Empty", "", {}},
    LoadCase{"TwoEntries", "SELECT * FROM t\r\n/**/\r\nUPDATE t\r\nSET a = 1\r\n/**/\r\n",
             {{"SELECT * FROM t"}, {"UPDATE t", "SET a = 1"}}},
    LoadCase{"LastWithoutSeparator", "a\r\n/**/\r\nb\r\nc", {{"a"}, {"b", "c"}}},
    LoadCase{"SeparatorsInARow", "a\r\n/**/\r\n/**/\r\nb\r\n/**/\r\n", {{"a"}, {}, {"b"}}},
    LoadCase{"StartsWithSeparator", "/**/\r\na\r\n/**/\r\n", {{}, {"a"}}},
    LoadCase{"BlankLinesKept", "a\r\n\r\n  \r\nb\r\n/**/\r\n", {{"a", "", "  ", "b"}}},
    LoadCase{"PaddedSeparatorIsText", " /**/\r\n/**/ \r\n/**/\r\n", {{" /**/", "/**/ "}}},
    LoadCase{"LoneLf", "a\nb\n/**/\nc\n/**/\n", {{"a", "b"}, {"c"}}},
    LoadCase{"LoneCr", "a\rb\r/**/\rc\r/**/\r", {{"a", "b"}, {"c"}}},
    LoadCase{"EndsAtNul", std::string("a\r\n/**/\r\nb\0c\r\n/**/\r\n", 20), {{"a"}, {"b"}}}),
    [](const auto& info) { return info.param.name; });

TEST_F(SqlHistoryTest, SaveWritesEveryEntryWithItsSeparatorInCrLf)
{
    TSqlHistory history;
    EXPECT_EQ(history.AddText("SELECT * FROM t"), 0);
    EXPECT_EQ(history.Add({"UPDATE t", "SET a = 1"}), 1);
    EXPECT_EQ(history.AddText(""), 2);
    EXPECT_EQ(history.Add({"", "/**/", "x"}), 3);
    history.SaveToFile(Path("h.txt"));
    EXPECT_EQ(ReadFileBytes(Path("h.txt")),
              "SELECT * FROM t\r\n/**/\r\nUPDATE t\r\nSET a = 1\r\n/**/\r\n/**/\r\n\r\n/**/\r\nx\r\n/**/\r\n");

    // The empty entry survives; the entry holding a separator line splits in two.
    TSqlHistory reloaded;
    reloaded.LoadFromFile(Path("h.txt"));
    EXPECT_EQ(Entries(reloaded), (std::vector<TStringList>{
                                     {"SELECT * FROM t"}, {"UPDATE t", "SET a = 1"}, {}, {""}, {"x"}}));
}

TEST_F(SqlHistoryTest, LoneLineBreaksAreWrittenBackAsCrLf)
{
    WriteFileBytes(Path("h.txt"), "a\nb\r/**/\n");
    TSqlHistory history;
    history.LoadFromFile(Path("h.txt"));
    history.SaveToFile(Path("h.txt"));
    EXPECT_EQ(ReadFileBytes(Path("h.txt")), "a\r\nb\r\n/**/\r\n");
}

TEST_F(SqlHistoryTest, EmptyHistorySavesAnEmptyFile)
{
    WriteFileBytes(Path("h.txt"), "old\r\n");
    TSqlHistory().SaveToFile(Path("h.txt"));
    EXPECT_EQ(ReadFileBytes(Path("h.txt")), "");
}

TEST_F(SqlHistoryTest, LoadAppendsAfterExistingEntries)
{
    WriteFileBytes(Path("h.txt"), "b\r\n/**/\r\n");
    TSqlHistory history;
    history.AddText("a");
    history.LoadFromFile(Path("h.txt"));
    EXPECT_EQ(Entries(history), (std::vector<TStringList>{{"a"}, {"b"}}));
}

TEST_F(SqlHistoryTest, FileErrorsKeepTheEntries)
{
    TSqlHistory history;
    history.AddText("a");
    EXPECT_THROW(history.LoadFromFile(Path("missing.txt")), std::runtime_error);
    fs::create_directories(dir_ / "blocked" / "inside");
    EXPECT_THROW(history.SaveToFile(Path("blocked")), std::runtime_error);
    EXPECT_EQ(Entries(history), (std::vector<TStringList>{{"a"}}));
}

TEST(SqlHistory, AddTextCutsLinesAndKeepsDuplicates)
{
    TSqlHistory history;
    history.AddText("a\r\nb\rc\nd\r\n");
    history.AddText(std::string("x\0y", 3));
    history.AddText("x");
    EXPECT_EQ(Entries(history), (std::vector<TStringList>{{"a", "b", "c", "d"}, {"x"}, {"x"}}));
}

TEST(SqlHistory, GetItemOutOfRangeThrows)
{
    TSqlHistory history;
    history.AddText("a");
    for (int index : {-1, 1, 5})
        EXPECT_THROW(history.GetItem(index), std::runtime_error) << index;
}

TEST(SqlHistory, EntryTextEndsEveryLineWithCrLf)
{
    EXPECT_EQ(TSqlHistory::EntryText({}), "");
    EXPECT_EQ(TSqlHistory::EntryText({""}), "\r\n");
    EXPECT_EQ(TSqlHistory::EntryText({"UPDATE t", "SET a = 1"}), "UPDATE t\r\nSET a = 1\r\n");
}

} // namespace
