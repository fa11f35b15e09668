#include "TextLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace std::string_literals;

TEST(SplitLines, CutsAtEveryLineBreakKind)
{
    struct Case { std::string text; TStringList lines; };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"x\ny\rz", {"x", "y", "z"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"ab\0cd"s, {"ab"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(SplitLines, KeepsNulWhenAsked)
{
    EXPECT_EQ(SplitLines("ab\0cd\n"s, TNulHandling::Keep), TStringList{"ab\0cd"s});
}

TEST(WriteLinesToFile, EndsEveryLineWithCrLfAndReplacesWhole)
{
    auto dir = std::filesystem::path(testing::TempDir()) / "quillet-textlines";
    std::filesystem::create_directories(dir);
    auto file = (dir / "out.txt").string();
    WriteLinesToFile(file, {"one", "two"});
    EXPECT_EQ(ReadFileBytes(file), "one\r\ntwo\r\n");
    WriteLinesToFile(file, {});
    EXPECT_EQ(ReadFileBytes(file), "");
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp~"));
}

TEST(WriteLinesToFile, FailureNamesTheFileAndKeepsNothingBehind)
{
    auto file = (std::filesystem::path(testing::TempDir()) / "no-such-dir" / "x.txt").string();
    try {
        WriteLinesToFile(file, {"a"});
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReadFileBytes(file), std::runtime_error);
}
