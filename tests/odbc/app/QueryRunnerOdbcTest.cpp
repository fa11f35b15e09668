// The query runner's main paths over PostgreSQL through psqlODBC, driven
// through the window with the scripted desktop.

#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <set>

#include "OdbcTestSupport.h"
#include "QtText.h"
#include "SqlEditor.h"
#include "app/WindowFixture.h"
#include "data/TestDatabase.h"

namespace {

class PgQueryRunnerTest : public WindowTest {
protected:
    TfmMain& StartConnected()
    {
        WriteBytes(links_.File("pg.udl"),
                   Utf16Udl("Provider=MSDASQL.1;Extended Properties=\"" + PgConnectionString() + "\""));
        TfmMain& window = Start();
        window.fedDataLink->setEditText(ToQString(links_.File("pg.udl")));
        window.SetConnected(true);
        window.lbInfo->clear();
        return window;
    }

    void Run(const std::string& text)
    {
        window_->redSQL->SetText(text);
        window_->btnRun->click();
        EXPECT_TRUE(desktop_.errors.empty()) << text << ": " << desktop_.errors.at(0);
    }

    std::string Scalar(const std::string& sql)
    {
        TDataSet query(window_->cnAdo, "query");
        query.SetCommandText(sql);
        query.Open();
        return query.Fields(0).ValueText();
    }

    std::string InfoLine(int row) const { return FromQString(window_->lbInfo->item(row)->text()); }

    TTempDir links_;
};

TEST_F(PgQueryRunnerTest, SelectUpdateScriptAndSchemaChange)
{
    TfmMain& window = StartConnected();
    window.cnAdo.Execute("DROP TABLE IF EXISTS runner_items");
    Run("CREATE TABLE runner_items (id int, name varchar(20))");
    EXPECT_EQ(InfoLine(0), "Connection closed.");
    EXPECT_EQ(InfoLine(1), "Connection established.");
    EXPECT_TRUE(window.cnAdo.Connected());

    window.lbInfo->clear();
    Run("INSERT INTO runner_items VALUES (1, 'a');\r\n INSERT INTO runner_items VALUES (2, 'b');\r\n"
        "INSERT INTO runner_items VALUES (3, 'c');");
    EXPECT_EQ(Scalar("SELECT count(*) FROM runner_items"), "3");
    Run("UPDATE runner_items SET name = 'x' WHERE id > 1");
    EXPECT_EQ(InfoLine(1), "Изменено записей: 2");

    window.PageCtrl->setCurrentWidget(window.tsSQL);
    Run("SELECT * FROM runner_items ORDER BY id");
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsResult);
    EXPECT_EQ(window.dsAdo.RecordCount(), 3);
    EXPECT_EQ(window.History().Count(), 3) << "every run but the script";
    window.cnAdo.Execute("DROP TABLE runner_items");
}

TEST_F(PgQueryRunnerTest, ExportPagesThroughTheTable)
{
    TfmMain& window = StartConnected();
    window.cnAdo.Execute("DROP TABLE IF EXISTS runner_export");
    window.cnAdo.Execute("CREATE TABLE runner_export (RECORD_NUMBER int, NAME text)");
    window.cnAdo.Execute("INSERT INTO runner_export SELECT g, 'row ' || g FROM generate_series(1, 250) g");
    const std::string file = links_.File("export.sql");
    desktop_.confirmAnswers = {false};
    Run("EXPORT FROM runner_export TO " + file + " BY 100 QUOTE [");
    const TStringList lines = SplitLines(ReadFileBytes(file));
    EXPECT_EQ(lines.size(), 250u);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 250u);
    EXPECT_TRUE(lines.at(0).starts_with("INSERT INTO runner_export ([RECORD_NUMBER], [NAME]) VALUES (")) << lines[0];
    EXPECT_EQ(window.dsAdo.CommandText(),
              "SELECT * FROM runner_export WHERE RECORD_NUMBER > 300 AND RECORD_NUMBER <= 400");
    window.cnAdo.Execute("DROP TABLE runner_export");
}

} // namespace
