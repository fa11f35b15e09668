// Task mode in a window someone watches: the task runs when the window is
// shown; a successful one closes the window, a failed one shows its error and
// leaves the window open where it stopped.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <filesystem>

#include "QtText.h"
#include "SqlEditor.h"
#include "WindowFixture.h"
#include "SqliteLink.h"

namespace fs = std::filesystem;

namespace {

class TaskWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        MakeSqliteLink(ProgramDir(), "shop", "CREATE TABLE customers (id INTEGER, name VARCHAR(20));"
                                             "INSERT INTO customers VALUES (1, 'Ann'), (7, 'Eve');");
    }

    // Starts the window on the task file and shows it, which runs the task.
    TfmMain& ShowWithTask(const std::string& task)
    {
        Write("job.task", task);
        TfmMain& window = Start({"-task", InProgramDir("job.task")});
        window.show();
        QApplication::processEvents();
        return window;
    }
};

TEST_F(TaskWindowTest, ASuccessfulTaskClosesTheWindow)
{
    TfmMain& window = ShowWithTask("UDL=" + InProgramDir("shop.udl") + "\nSQL=SELECT * FROM customers\nDestFile=" +
                                   InProgramDir("out.sql") + "\n");
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(SplitLines(Read("out.sql")).size(), 2u);
    EXPECT_EQ(window.redSQL->Text(), "SELECT * FROM customers");
    EXPECT_FALSE(window.chbCP866->isChecked());
}

TEST_F(TaskWindowTest, AFailedStepShowsItsErrorAndLeavesTheWindowOpen)
{
    TfmMain& window = ShowWithTask("UDL=" + InProgramDir("shop.udl") + "\nSQL=SELECT * FROM nowhere\nCp866=1\n"
                                   "DestFile=" + InProgramDir("out.sql") + "\n");
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("no such table: nowhere"), std::string::npos) << desktop_.errors[0];
    EXPECT_TRUE(window.isVisible());
    // The steps after the failing one did not run.
    EXPECT_FALSE(window.chbCP866->isChecked());
    EXPECT_FALSE(fs::exists(InProgramDir("out.sql")));
    EXPECT_EQ(window.History().Count(), 1);
}

TEST_F(TaskWindowTest, AnUnreadableTaskFileRunsTheTaskWithEmptyValues)
{
    TfmMain& window = Start({"-task", InProgramDir("missing.task")});
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find(InProgramDir("missing.task")), std::string::npos) << desktop_.errors[0];
    ASSERT_TRUE(window.TaskValues().has_value());
    EXPECT_TRUE(window.TaskValues()->empty());

    window.fedDataLink->setEditText(ToQString(InProgramDir("shop.udl")));
    window.show();
    QApplication::processEvents();
    // The data link box was emptied and connecting to nothing failed.
    EXPECT_EQ(desktop_.errors.size(), 2u);
    EXPECT_EQ(FromQString(window.fedDataLink->currentText()), "");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.PageCtrl->currentIndex(), 0);
}

} // namespace
