// The program finds its folder and its parameters as bytes, whatever their
// encoding.

#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "ProgramFiles.h"
#include "TextLines.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

TEST(ProgramPath, LinkTargetsAndTheProgramFileAreReadAsBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString() + "/dir-\xe9/";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::symlink((folder + "target-\xff").c_str(), (folder + "link").c_str()), 0);
    EXPECT_EQ(ReadLinkBytes(folder + "link"), folder + "target-\xff");
    EXPECT_EQ(ReadLinkBytes(folder + "missing"), "");
    EXPECT_TRUE(IsWritableDirectory(folder));
    EXPECT_FALSE(FileExists(folder + "link"));  // a dangling link names no file
    fs::remove_all(folder);

    EXPECT_EQ(ProgramFileName("ignored"), fs::canonical("/proc/self/exe").string());
}

// The real program, copied into a folder whose name is not valid UTF-8,
// keeps its recent list in that folder.
TEST(ProgramPath, ProgramInAFolderWithAnUndecodableName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString() + "/dir-\xe9/";
    fs::create_directory(folder);
    const std::string program = folder + "quillet";
    fs::copy_file(QUILLET_PROGRAM, program);
    fs::permissions(program, fs::perms::owner_all);

    std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen",
                                            "XDG_DATA_HOME=" + dir.path().toStdString() + "/data",
                                            "HOME=" + dir.path().toStdString()};
    for (char** variable = environ; *variable; ++variable)
        if (!std::string_view(*variable).starts_with("QT_QPA_PLATFORM=") &&
            !std::string_view(*variable).starts_with("XDG_DATA_HOME=") &&
            !std::string_view(*variable).starts_with("HOME="))
            environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (auto& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string programArg = program;
    char* argv[] = {programArg.data(), nullptr};

    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path().toStdString());  // a stray Links.txt would land here
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    fs::current_path(cwd);

    // Start-up creates the recent list; the program then waits for the user.
    bool created = false, exited = false;
    for (int i = 0; i < 600 && !created && !exited; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        created = fs::exists(folder + "Links.txt");
        exited = ::waitpid(pid, nullptr, WNOHANG) == pid;
    }
    if (!exited) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    EXPECT_TRUE(created);
    EXPECT_FALSE(fs::exists(dir.path().toStdString() + "/Links.txt"));
    fs::remove_all(folder);  // QTemporaryDir cannot name it
}

} // namespace
