#include "ReplacingFile.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

std::string TestFile(const char* name)
{
    auto dir = std::filesystem::path(testing::TempDir()) / "quillet-replacingfile";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

} // namespace

TEST(ReplacingFile, WritesPiecesOfEverySizeInOrder)
{
    const std::string file = TestFile("pieces.txt");
    // Small pieces that fill the buffer many times over, and pieces larger
    // than the buffer, which bypass it.
    std::string expected;
    TReplacingFile writer(file);
    for (int i = 0; i < 300000; ++i) {
        const std::string piece = std::to_string(i) + (i % 100000 == 0 ? std::string(3 << 20, 'x') : "\r\n");
        writer.Append(piece);
        expected += piece;
    }
    writer.Commit();
    EXPECT_EQ(ReadFileBytes(file), expected);
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp~"));
}

TEST(ReplacingFile, WithoutCommitTheOldFileStaysAndNothingIsLeftBehind)
{
    const std::string file = TestFile("kept.txt");
    WriteFileBytes(file, "old");
    {
        TReplacingFile writer(file);
        writer.Append(std::string(5 << 20, 'n'));
    }
    EXPECT_EQ(ReadFileBytes(file), "old");
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp~"));
}

TEST(ReplacingFile, TheReplacedFileKeepsItsPermissions)
{
    namespace fs = std::filesystem;
    const std::string file = TestFile("modes.txt");
    for (const auto mode : {fs::perms::owner_read | fs::perms::owner_write,
                            fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read}) {
        WriteFileBytes(file, "old");
        fs::permissions(file, mode);
        WriteFileBytes(file, "new");
        EXPECT_EQ(ReadFileBytes(file), "new");
        EXPECT_EQ(fs::status(file).permissions(), mode);
    }
}
