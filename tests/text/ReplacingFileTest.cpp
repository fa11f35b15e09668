#include "ReplacingFile.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh, empty folder for each test.
std::string TestFolder()
{
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const fs::path dir = fs::path(testing::TempDir()) / "quillet-replacingfile" / test->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string() + "/";
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using Names = std::vector<std::string>;

bool IsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

TEST(ReplacingFile, WritesPiecesOfEverySizeInOrder)
{
    const std::string folder = TestFolder();
    const std::string file = folder + "pieces.txt";
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
    EXPECT_EQ(FilesIn(folder), Names{"pieces.txt"});
}

TEST(ReplacingFile, WithoutCommitTheOldFileStaysAndNothingIsLeftBehind)
{
    const std::string folder = TestFolder();
    const std::string file = folder + "kept.txt";
    WriteFileBytes(file, "old");
    {
        TReplacingFile writer(file);
        writer.Append(std::string(5 << 20, 'n'));
    }
    EXPECT_EQ(ReadFileBytes(file), "old");
    EXPECT_EQ(FilesIn(folder), Names{"kept.txt"});
}

TEST(ReplacingFile, TwoSavesAtOnceNeverMixTheirContents)
{
    const std::string folder = TestFolder();
    const std::string file = folder + "SqlHistory.txt";
    WriteFileBytes(file, "old");
    const std::string first(3 << 20, 'a'), second(2 << 20, 'b');
    for (bool firstCommitsFirst : {true, false}) {
        TReplacingFile a(file), b(file);
        a.Append(first.substr(0, 1000));
        b.Append(second);
        a.Append(first.substr(1000));
        if (firstCommitsFirst) {
            a.Commit();
            b.Commit();
            EXPECT_EQ(ReadFileBytes(file), second);
        } else {
            b.Commit();
            a.Commit();
            EXPECT_EQ(ReadFileBytes(file), first);
        }
        EXPECT_EQ(FilesIn(folder), Names{"SqlHistory.txt"});
    }
}

TEST(ReplacingFile, StaleTemporaryFilesGoWithTheNextSaveLiveOnesStay)
{
    const std::string folder = TestFolder();
    const std::string file = folder + "Links.txt";
    for (const char* stale : {"Links.txt.tmp~", "Links.txt.Ab3xYz.tmp~"})
        WriteFileBytes(folder + stale, "left by a killed run");
    WriteFileBytes(folder + "Other.txt.Ab3xYz.tmp~", "another file's");

    TReplacingFile live(file);
    live.Append("live");
    EXPECT_EQ(FilesIn(folder).size(), 2u);  // the other file's and the live writer's
    WriteFileBytes(file, "saved meanwhile");
    live.Commit();
    EXPECT_EQ(ReadFileBytes(file), "live");
    EXPECT_EQ(FilesIn(folder), (Names{"Links.txt", "Other.txt.Ab3xYz.tmp~"}));
}

TEST(ReplacingFile, ModeOwnerAndGroupOfTheReplacedFileStay)
{
    const std::string folder = TestFolder();
    const std::string file = folder + "modes.txt";
    for (const auto mode : {fs::perms::owner_read | fs::perms::owner_write,
                            fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read,
                            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write}) {
        WriteFileBytes(file, "old");
        fs::permissions(file, mode);
        WriteFileBytes(file, "new");
        EXPECT_EQ(ReadFileBytes(file), "new");
        EXPECT_EQ(fs::status(file).permissions(), mode);
    }
    if (IsRoot()) {
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        WriteFileBytes(file, "for nobody");
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }

    // A new file gets what the umask leaves of 0666.
    const mode_t umask = ::umask(027);
    WriteFileBytes(folder + "new.txt", "");
    ::umask(umask);
    EXPECT_EQ(fs::status(folder + "new.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ReplacingFile, AReadOnlyFileIsNotReplaced)
{
    const std::string folder = TestFolder();
    const std::string file = folder + "Links.txt";
    WriteFileBytes(file, "a.udl\r\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        WriteFileBytes(file, "b.udl\r\n");
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot replace file \"" + file + "\". The file is read-only.");
    }
    EXPECT_EQ(ReadFileBytes(file), "a.udl\r\n");
    EXPECT_EQ(FilesIn(folder), Names{"Links.txt"});
}

TEST(ReplacingFile, ASymbolicLinkStaysAndItsTargetIsReplaced)
{
    const std::string folder = TestFolder();
    fs::create_directories(folder + "real");
    WriteFileBytes(folder + "real/SqlHistory.txt", "old\r\n/**/\r\n");
    struct Case {
        std::string link;
        std::string points;  // as written into the link
    };
    const Case cases[] = {
        {"absolute.txt", folder + "real/SqlHistory.txt"},
        {"relative.txt", "real/SqlHistory.txt"},
        {"chained.txt", "relative.txt"},
    };
    for (const Case& c : cases)
        fs::create_symlink(c.points, folder + c.link);
    for (const Case& c : cases) {
        WriteFileBytes(folder + c.link, "via " + c.link);
        EXPECT_TRUE(fs::is_symlink(folder + c.link)) << c.link;
        EXPECT_EQ(ReadFileBytes(folder + "real/SqlHistory.txt"), "via " + c.link);
    }
    EXPECT_EQ(FilesIn(folder + "real"), Names{"SqlHistory.txt"});

    // A link to a file not there yet creates it.
    fs::create_symlink("real/new.txt", folder + "dangling.txt");
    WriteFileBytes(folder + "dangling.txt", "created");
    EXPECT_TRUE(fs::is_symlink(folder + "dangling.txt"));
    EXPECT_EQ(ReadFileBytes(folder + "real/new.txt"), "created");
}

TEST(ReplacingFile, NamesUpToTheLongestFileNameCanBeSaved)
{
    const std::string folder = TestFolder();
    for (size_t length : {240u, 251u, 255u}) {
        const std::string file = folder + std::string(length - 4, 'n') + ".txt";
        WriteFileBytes(file, "first");
        WriteFileBytes(file, "second");
        EXPECT_EQ(ReadFileBytes(file), "second") << length;
        fs::remove(file);
    }
    EXPECT_TRUE(FilesIn(folder).empty());
}

TEST(ReplacingFile, AWritableFileInAReadOnlyFolderIsRewrittenInPlace)
{
    const std::string folder = TestFolder();
    const std::string file = folder + "SqlHistory.txt";
    WriteFileBytes(file, "a longer old content\r\n");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (IsRoot()) {
        fs::permissions(folder, fs::perms::owner_all);
        GTEST_SKIP() << "folder modes do not stop this user";
    }
    WriteFileBytes(file, "short\r\n");
    EXPECT_EQ(ReadFileBytes(file), "short\r\n");
    EXPECT_THROW(WriteFileBytes(folder + "new.txt", ""), std::runtime_error);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(FilesIn(folder), Names{"SqlHistory.txt"});
}
