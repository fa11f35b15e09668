// Task mode as the user meets it: the real quillet program run as a process,
// offscreen, from a program folder of its own.

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

#include "TextLines.h"
#include "data/TestDatabase.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCustomers =
    "CREATE TABLE customers (id INTEGER, name VARCHAR(20));"
    "INSERT INTO customers VALUES (1, 'Ann'), (6, 'Bob'), (7, 'Eve');";

struct TRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class TaskModeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programDir_.isValid() && home_.isValid());
        fs::copy_file(QUILLET_PROGRAM, Dir() + "quillet");
        MakeDatabase(Dir() + "shop.db", kCustomers);
        WriteBytes(Dir() + "shop.udl", Utf16Udl("Provider=SQLite;Data Source=shop.db"));
    }

    std::string Dir() const { return programDir_.path().toStdString() + "/"; }

    // Writes the task file and runs quillet -task on it.
    TRun RunTask(const std::string& task)
    {
        WriteFileBytes(Dir() + "job.task", task);
        return Run({"-task", Dir() + "job.task"});
    }

    TRun Run(const TStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", home_.path());
        environment.insert("XDG_DATA_HOME", home_.path());
        environment.insert("XDG_RUNTIME_DIR", home_.path());
        process.setProcessEnvironment(environment);
        QStringList parameters;
        for (const auto& argument : arguments)
            parameters << QString::fromStdString(argument);
        process.start(QString::fromStdString(Dir() + "quillet"), parameters);
        // A task ends by itself; the limit only keeps a hanging one from
        // blocking the suite.
        const bool finished = process.waitForFinished(120000);
        EXPECT_TRUE(finished) << "quillet did not end by itself";
        if (!finished)
            process.kill();
        TRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }

    QTemporaryDir programDir_;
    QTemporaryDir home_;
};

TEST_F(TaskModeTest, AnUnreadableTaskFileEndsWithItsErrorAndStatus1)
{
    const TRun run = Run({"-task", Dir() + "missing.task"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(Dir() + "missing.task"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

} // namespace
