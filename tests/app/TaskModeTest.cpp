// Task mode as the user meets it: the real quillet program run as a process,
// offscreen, from a program folder of its own.

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

#include "TextLines.h"
#include "SqliteLink.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCustomers =
    "CREATE TABLE customers (id INTEGER, name VARCHAR(20));"
    "INSERT INTO customers VALUES (1, 'Ann'), (6, 'Bob'), (7, 'Eve');"
    "CREATE TABLE dos (id INTEGER, txt VARCHAR(20));"
    "INSERT INTO dos VALUES (1, CAST(X'8FE0A8A2A5E2' AS TEXT));";

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
        MakeSqliteLink(Dir(), "shop", kCustomers);
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
        environment.insert("LC_ALL", "C.UTF-8");
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

TEST_F(TaskModeTest, LowerCaseKeysRunTheTaskAndLeaveItsTraces)
{
    const TRun run = RunTask("udl=" + Dir() + "shop.udl\r\nsql=SELECT * FROM customers WHERE id > 5\r\n"
                             "destfile=" + Dir() + "out.sql\r\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFileBytes(Dir() + "out.sql"), "INSERT INTO CUSTOMERS (\"ID\", \"NAME\") VALUES (6, 'Bob');\r\n"
                                                "INSERT INTO CUSTOMERS (\"ID\", \"NAME\") VALUES (7, 'Eve');\r\n");
    // The information list on standard output, the recent list and the history.
    const TStringList out = SplitLines(run.out);
    ASSERT_EQ(out.size(), 2u) << run.out;
    EXPECT_EQ(out[0], "Connection established.");
    EXPECT_EQ(out[1].rfind("Execute time - ", 0), 0u) << out[1];
    EXPECT_EQ(ReadFileBytes(Dir() + "Links.txt"), Dir() + "shop.udl\r\n");
    EXPECT_EQ(ReadFileBytes(Dir() + "SqlHistory.txt"), "SELECT * FROM customers WHERE id > 5\r\n/**/\r\n");
}

TEST_F(TaskModeTest, ValuesAreTakenAsWritten)
{
    struct Case {
        std::string lines;   // after the UDL line
        std::string script;  // nothing written: "-"
    };
    const std::string dest = "DestFile=" + Dir() + "out.sql\n";
    const std::string eve = "INSERT INTO CUSTOMERS (\"ID\", \"NAME\") VALUES (7, 'Eve');\r\n";
    const Case cases[] = {
        {"SQL=SELECT * FROM customers WHERE id = 7\n", "-"},
        {"SQL=SELECT * FROM customers WHERE id = 7\nPutDeleteBeforeInserts=1\n" + dest, eve},
        {"SQL= SELECT * FROM customers WHERE id = 7\n" + dest, eve},
        {"SQL=SELECT * FROM dos\nCp866=1\n" + dest, "INSERT INTO DOS (\"ID\", \"TXT\") VALUES (1, 'Привет');\r\n"},
        {"SQL=SELECT * FROM dos\nCp866=01\n" + dest,
         "INSERT INTO DOS (\"ID\", \"TXT\") VALUES (1, '\x8F\xE0\xA8\xA2\xA5\xE2');\r\n"},
        {"SQL=UPDATE customers SET name = name\nCp866=1\n", "-"},
    };
    for (const auto& c : cases) {
        fs::remove(Dir() + "out.sql");
        const TRun run = RunTask("UDL=" + Dir() + "shop.udl\n" + c.lines);
        EXPECT_EQ(run.exitCode, 0) << c.lines << run.err;
        if (c.script == "-")
            EXPECT_FALSE(fs::exists(Dir() + "out.sql")) << c.lines;
        else
            EXPECT_EQ(ReadFileBytes(Dir() + "out.sql"), c.script) << c.lines;
    }
    // The blank after "SQL=" stays in the statement the history keeps.
    EXPECT_EQ(SplitLines(ReadFileBytes(Dir() + "SqlHistory.txt")).at(4), " SELECT * FROM customers WHERE id = 7");
}

TEST_F(TaskModeTest, AFailingTaskWritesNothingReportsOnStandardErrorAndEndsWithStatus1)
{
    struct Case {
        std::string task;
        std::string error;  // a part of the message on standard error
    };
    const std::string dest = "DestFile=" + Dir() + "out.sql\n";
    const std::string udl = "UDL=" + Dir() + "shop.udl\n";
    const Case cases[] = {
        {udl + "SQL=SELECT * FROM nowhere\n" + dest, "no such table: nowhere"},
        {"UDL=" + Dir() + "missing.udl\nSQL=SELECT * FROM customers\n" + dest, Dir() + "missing.udl"},
        {udl + "SQL=UPDATE customers SET name = name\n" + dest,
         "dsAdo: Cannot perform this operation on a closed dataset"},
    };
    for (const auto& c : cases) {
        const TRun run = RunTask(c.task);
        EXPECT_EQ(run.exitCode, 1) << c.task;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.task << run.err;
        EXPECT_FALSE(fs::exists(Dir() + "out.sql")) << c.task;
    }
}

TEST_F(TaskModeTest, AnUnreadableTaskFileEndsWithItsErrorAndStatus1)
{
    const TRun run = Run({"-task", Dir() + "missing.task"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(Dir() + "missing.task"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

} // namespace
