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
#include "SqliteLink.h"
#include "TextLines.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Starts the program offscreen with the parameters as bytes, its per-user
// files under home.
pid_t Spawn(const std::string& program, TStringList parameters, const std::string& home)
{
    std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen", "XDG_DATA_HOME=" + home + "/data",
                                            "XDG_RUNTIME_DIR=" + home, "HOME=" + home};
    for (char** variable = environ; *variable; ++variable) {
        const std::string_view text = *variable;
        if (!text.starts_with("QT_QPA_PLATFORM=") && !text.starts_with("XDG_") && !text.starts_with("HOME="))
            environment.emplace_back(text);
    }
    std::vector<char*> envp;
    for (auto& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string name = program;
    std::vector<char*> argv = {name.data()};
    for (auto& parameter : parameters)
        argv.push_back(parameter.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);
    return pid;
}

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

    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path().toStdString());  // a stray Links.txt would land here
    const pid_t pid = Spawn(program, {}, dir.path().toStdString());
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

namespace {

// A task file whose name is not valid UTF-8 is found and run.
TEST(ProgramPath, ParametersReachTheProgramAsBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString() + "/";
    const std::string udl = MakeSqliteLink(folder, "shop", "CREATE TABLE t (id INTEGER); INSERT INTO t VALUES (1);");
    const std::string task = folder + "task-\xe9.txt";
    WriteFileBytes(task, "UDL=" + udl + "\nSQL=SELECT * FROM t\nDestFile=" + folder + "out-\xe9.sql\n");
    const pid_t pid = Spawn(QUILLET_PROGRAM, {"-task", task}, folder);
    int status = -1;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);  // a task ends by itself
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFileBytes(folder + "out-\xe9.sql"), "INSERT INTO T (\"ID\") VALUES (1);\r\n");
    fs::remove(task);
    fs::remove(folder + "out-\xe9.sql");  // QTemporaryDir cannot name them
}

} // namespace
