#include "TextLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
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

TEST(ForEachLine, StopsWhenTheVisitorSaysSo)
{
    std::vector<std::string> seen;
    ForEachLine("\n\nfirst\r\nsecond\nthird", TNulHandling::EndsText, [&](std::string_view line) {
        seen.emplace_back(line);
        return line.empty();
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"", "", "first"}));
}

TEST(ReadFileBytes, ReadsRegularFilesOnlyAndWithinTheirLimit)
{
    const auto dir = std::filesystem::path(testing::TempDir()) / "quillet-readfile";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "f.txt").string(), fifo = (dir / "fifo").string();
    const size_t size = (1 << 20) + 1;
    WriteFileBytes(file, std::string(size, 'x'));
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string name;
        size_t limit;
        std::string error;  // empty: read
    };
    const Case cases[] = {
        {file, kNoSizeLimit, ""},
        {file, size, ""},
        {file, 1 << 20, "Cannot read file \"" + file + "\". It is larger than 1 MB."},
        {file, 1000, "Cannot read file \"" + file + "\". It is larger than 1000 bytes."},
        {"/dev/zero", kNoSizeLimit, "Cannot read file \"/dev/zero\". It is not a regular file."},
        {fifo, kNoSizeLimit, "Cannot read file \"" + fifo + "\". It is not a regular file."},
        {dir.string(), kNoSizeLimit, "Cannot read file \"" + dir.string() + "\". It is not a regular file."},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(ReadFileBytes(c.name, c.limit).size(), size) << c.name;
            EXPECT_EQ(c.error, "") << c.name;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), c.error) << c.name;
        }
    }
}
