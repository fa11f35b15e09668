// The query runner driven through the window over a real SQLite database.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <regex>
#include <set>
#include <unistd.h>

#include "SqlEditor.h"
#include "QtText.h"
#include "WindowFixture.h"
#include "SqliteLink.h"

namespace {

class QueryRunnerTest : public WindowTest {
protected:
    TfmMain& StartConnected()
    {
        // One write to disk per statement would make the scripts slow to test.
        const std::string udl = MakeSqliteLink(ProgramDir(), "db", "PRAGMA journal_mode = MEMORY;");
        TfmMain& window = Start();
        window.fedDataLink->setEditText(ToQString(udl));
        window.SetConnected(true);
        window.cnAdo.Execute("PRAGMA synchronous = OFF");
        window.lbInfo->clear();
        return window;
    }

    void Exec(const std::string& sql) { window_->cnAdo.Execute(sql); }

    // Runs the text as the user does with "Run query": an error goes to an error box.
    void Run(const std::string& text)
    {
        window_->redSQL->SetText(text);
        window_->btnRun->click();
    }

    std::string Scalar(const std::string& sql)
    {
        TDataSet query(window_->cnAdo, "query");
        query.SetCommandText(sql);
        query.Open();
        return query.Fields(0).ValueText();
    }

    std::vector<std::string> InfoLines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < window_->lbInfo->count(); ++i)
            lines.push_back(FromQString(window_->lbInfo->item(i)->text()));
        return lines;
    }

    static bool IsTimeLine(const std::string& line)
    {
        return std::regex_match(line, std::regex(R"(Execute time - \d+[.,]\d\d sec\.)"));
    }

    // A table of n rows numbered from first on in RECORD_NUMBER.
    void MakeNumberedTable(const std::string& name, int first, int count)
    {
        Exec("CREATE TABLE " + name + " (RECORD_NUMBER INTEGER, NAME TEXT)");
        Exec("WITH RECURSIVE n(i) AS (SELECT " + std::to_string(first) + " UNION ALL SELECT i + 1 FROM n LIMIT "
             + std::to_string(count) + ") INSERT INTO " + name + " SELECT i, 'row ' || i FROM n");
    }
};

TEST_F(QueryRunnerTest, SelectShowsTheResultAndEntersTheHistory)
{
    TfmMain& window = StartConnected();
    MakeNumberedTable("t", 1, 3);
    window.PageCtrl->setCurrentWidget(window.tsSQL);
    Run("select *\r\n  from t");
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsResult);
    ASSERT_TRUE(window.dsAdo.Active());
    EXPECT_EQ(window.dsAdo.CommandText(), "select *   from t");
    EXPECT_EQ(window.dsAdo.RecordCount(), 3);
    ASSERT_EQ(window.lbInfo->count(), 1);
    EXPECT_TRUE(IsTimeLine(InfoLines()[0])) << InfoLines()[0];
    ASSERT_EQ(window.History().Count(), 1);
    EXPECT_EQ(window.History().GetItem(0), (TStringList{"select *", "  from t"}));
    EXPECT_EQ(window.HistoryIndex(), 0);
    EXPECT_EQ(window.redSQL->Text(), "select *\r\n  from t");
}

TEST_F(QueryRunnerTest, AFailedRunIsTimedAndRecordedAndShown)
{
    TfmMain& window = StartConnected();
    window.PageCtrl->setCurrentWidget(window.tsSQL);
    Run("select * from missing_table");
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("missing_table"), std::string::npos) << desktop_.errors[0];
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
    EXPECT_FALSE(window.dsAdo.Active());
    ASSERT_EQ(window.lbInfo->count(), 1);
    EXPECT_TRUE(IsTimeLine(InfoLines()[0]));
    // A repeated text is recorded again.
    Run("select * from missing_table");
    EXPECT_EQ(window.History().Count(), 2);
    EXPECT_EQ(window.HistoryIndex(), 1);
    EXPECT_TRUE(window.btnPrev->isEnabled());
    EXPECT_FALSE(window.btnNext->isEnabled());
}

TEST_F(QueryRunnerTest, DataChangesLogTheProvidersCountBeforeTheTime)
{
    TfmMain& window = StartConnected();
    MakeNumberedTable("t", 1, 5);
    Run("select * from t");
    const struct { const char* sql; const char* line; } cases[] = {
        {"UPDATE t SET NAME = 'x' WHERE RECORD_NUMBER <= 3", "Изменено записей: 3"},
        {"insert into t values (6, 'six')", "Добавлено записей: 1"},
        {"Delete from t where RECORD_NUMBER > 1", "Удалено записей: 5"},
    };
    for (const auto& c : cases) {
        window.lbInfo->clear();
        Run(c.sql);
        ASSERT_EQ(InfoLines().size(), 2u) << c.sql;
        EXPECT_EQ(InfoLines()[0], c.line);
        EXPECT_TRUE(IsTimeLine(InfoLines()[1]));
        EXPECT_FALSE(window.dsAdo.Active()) << "the result grid empties";
    }
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(window.History().Count(), 4);
}

TEST_F(QueryRunnerTest, SchemaChangeRunsBetweenDisconnectAndReconnect)
{
    TfmMain& window = StartConnected();
    Run("create table t2 (a int)");
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_TRUE(window.cnAdo.Connected());
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM t2"), "0");
    ASSERT_EQ(InfoLines().size(), 3u);
    EXPECT_EQ(InfoLines()[0], "Connection closed.");
    EXPECT_EQ(InfoLines()[1], "Connection established.");
    EXPECT_TRUE(IsTimeLine(InfoLines()[2]));
    EXPECT_EQ(FromQString(window.tvDbObjects->topLevelItem(0)->child(0)->text(0)), "t2");
    EXPECT_EQ(window.History().Count(), 1);

    // A failing statement skips the reconnect: the window shows the disconnected state.
    window.lbInfo->clear();
    Run("create table t2 (a int)");
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_EQ(InfoLines().at(0), "Connection closed.");
    EXPECT_TRUE(IsTimeLine(InfoLines().at(1)));
    EXPECT_EQ(FromQString(window.btnConnect->text()), "Connect");
    EXPECT_EQ(window.tvDbObjects->topLevelItem(0)->childCount(), 0);
    EXPECT_EQ(window.History().Count(), 2);
}

TEST_F(QueryRunnerTest, OtherTextRunsWithoutCountOrResult)
{
    TfmMain& window = StartConnected();
    MakeNumberedTable("t", 1, 2);
    window.PageCtrl->setCurrentWidget(window.tsSQL);
    // Only a blank ends the first word, so this is not a SELECT.
    Run("SELECT\r\n* FROM t");
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_FALSE(window.dsAdo.Active());
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
    ASSERT_EQ(window.lbInfo->count(), 1);
    EXPECT_TRUE(IsTimeLine(InfoLines()[0]));
    EXPECT_EQ(window.History().Count(), 1);
}

TEST_F(QueryRunnerTest, ScriptRunsLineByLinePumpingEveryHundredLines)
{
    TfmMain& window = StartConnected();
    Exec("CREATE TABLE t (a INTEGER)");
    std::string script;
    for (int i = 1; i <= 250; ++i)
        script += i == 10 ? "  \r\n" : "INSERT INTO t VALUES (" + std::to_string(i) + ");\r\n";
    script += "DELETE FROM t WHERE a = 1;";
    std::vector<std::string> labelsAtPumps;
    desktop_.onProcessMessages = [&] { labelsAtPumps.push_back(FromQString(window.lblQueryProgress->text())); };
    Run(script);
    EXPECT_TRUE(desktop_.errors.empty()) << desktop_.errors[0];
    EXPECT_EQ(labelsAtPumps, (std::vector<std::string>{"Executing line 1", "Executing line 101",
                                                       "Executing line 201"}));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM t"), "248");
    EXPECT_TRUE(window.lblQueryProgress->text().isEmpty());
    EXPECT_EQ(window.History().Count(), 0);
    ASSERT_EQ(window.lbInfo->count(), 1);
    EXPECT_TRUE(IsTimeLine(InfoLines()[0]));
}

TEST_F(QueryRunnerTest, AFailingScriptLineKeepsTheLinesBeforeIt)
{
    TfmMain& window = StartConnected();
    Exec("CREATE TABLE t (a INTEGER)");
    std::string script;
    for (int i = 1; i <= 20; ++i)
        script += (i == 7 ? std::string("INSERT INTO t VALUES (;") : "INSERT INTO t VALUES (" + std::to_string(i) + ");")
                  + "\r\n";
    Run(script);
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_EQ(Scalar("SELECT group_concat(a) FROM t"), "1,2,3,4,5,6");
    EXPECT_EQ(FromQString(window.lblQueryProgress->text()), "Executing line 7");
    ASSERT_EQ(window.lbInfo->count(), 1);
    EXPECT_TRUE(IsTimeLine(InfoLines()[0]));
    EXPECT_TRUE(window.btnRun->isEnabled());
    EXPECT_FALSE(window.btnStop->isEnabled());
}

TEST_F(QueryRunnerTest, LongRunsHoldCommandsBackAndStopOnRequest)
{
    TfmMain& window = StartConnected();
    Exec("CREATE TABLE t (a INTEGER)");
    window.NavigateHistory(THistoryMove::Last);
    std::string script;
    for (int i = 1; i <= 250; ++i)
        script += "INSERT INTO t VALUES (" + std::to_string(i) + ");\r\n";
    QWidget* heldBack[] = {window.btnRun, window.btnLoadSql, window.btnConnect, window.tvDbObjects,
                           window.btnExtractMetadata, window.btnSaveAsSQL, window.btnSaveAsText};
    int pumps = 0;
    desktop_.onProcessMessages = [&] {
        ++pumps;
        for (QWidget* command : heldBack)
            EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
        EXPECT_TRUE(window.btnStop->isEnabled());
        // F9 meanwhile starts nothing.
        window.RunQuery();
        if (pumps == 2)
            QTest::keyClick(window.redSQL, Qt::Key_Escape);
    };
    Run(script);
    EXPECT_TRUE(desktop_.errors.empty());
    // Stopped before line 101 ran.
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM t"), "100");
    EXPECT_EQ(InfoLines().at(0), "Stopped by the user.");
    EXPECT_TRUE(IsTimeLine(InfoLines().at(1)));
    for (QWidget* command : heldBack)
        EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
    EXPECT_FALSE(window.btnStop->isEnabled());
    EXPECT_FALSE(window.btnPrev->isEnabled());

    // A run that is not stopped runs to its end.
    desktop_.onProcessMessages = {};
    Run(script);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM t"), "350");
}

TEST_F(QueryRunnerTest, ClosingDuringARunStopsItThenCloses)
{
    TfmMain& window = StartConnected();
    Exec("CREATE TABLE t (a INTEGER)");
    window.show();
    std::string script;
    for (int i = 1; i <= 150; ++i)
        script += "INSERT INTO t VALUES (" + std::to_string(i) + ");\r\n";
    desktop_.onProcessMessages = [&] { window.close(); };
    Run(script);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM t"), "0");
    EXPECT_TRUE(window.isVisible()) << "closes once the run has ended";
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    const std::string historyFile = window.HistoryFileName();
    Close();
    EXPECT_TRUE(std::filesystem::exists(historyFile));
}

class LoadSqlTest : public QueryRunnerTest {
protected:
    TfmMain& StartWithFile(const std::string& bytes)
    {
        TfmMain& window = StartConnected();
        Exec("CREATE TABLE t (a TEXT)");
        Write("script.sql", bytes);
        window.fedDataLink->setEditText(ToQString(InProgramDir("db.udl")));
        desktop_.fileAnswers.push_back(InProgramDir("script.sql"));
        return window;
    }
};

TEST_F(LoadSqlTest, AFileUpToTheLimitIsLoadedIntoTheEditor)
{
    std::string bytes = "INSERT INTO t VALUES ('x');\r\nSELECT 1\r\n";
    bytes += std::string(1000 - bytes.size(), '-');
    TfmMain& window = StartWithFile(bytes);
    window.btnLoadSql->click();
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_TRUE(desktop_.questions.empty());
    ASSERT_EQ(desktop_.fileRequests.size(), 1u);
    EXPECT_EQ(desktop_.fileRequests[0].initialDir, ProgramDir());
    EXPECT_EQ(window.redSQL->LineCount(), 3);
    EXPECT_EQ(window.redSQL->Line(1), "SELECT 1");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM t"), "0") << "loading runs nothing";
}

TEST_F(LoadSqlTest, ALargerFileAsksAndYesExecutesItWithoutLoading)
{
    std::string bytes = "INSERT INTO t VALUES ('a');\r\n\r\nINSERT INTO t VALUES ('b')\n";
    bytes += std::string(1001 - bytes.size() - 2, ' ') + "\r\n";
    TfmMain& window = StartWithFile(bytes);
    window.redSQL->SetText("kept");
    desktop_.confirmAnswers = {false, true};
    window.btnLoadSql->click();
    ASSERT_EQ(desktop_.questions.size(), 1u);
    EXPECT_EQ(desktop_.questions[0], "The file size is   1 001 bytes\r\nExecute without loading into editor?");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM t"), "0");

    desktop_.fileAnswers.push_back(InProgramDir("script.sql"));
    window.btnLoadSql->click();
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(Scalar("SELECT group_concat(a) FROM t"), "a,b");
    EXPECT_EQ(window.redSQL->Text(), "kept");
    EXPECT_EQ(window.lbInfo->count(), 0) << "no time line";
    EXPECT_EQ(window.History().Count(), 0);
}

TEST_F(LoadSqlTest, TheLimitComesFromTheSettingsFile)
{
    TfmMain& window = StartWithFile(std::string(1024, ' '));
    Write("quillet.INI", "[SqlEditor]\r\nMaxBytesLoaded=0x400\r\n");
    window.btnLoadSql->click();
    EXPECT_TRUE(desktop_.questions.empty());
    Write("quillet.INI", "[SqlEditor]\r\nMaxBytesLoaded=1023\r\n");
    desktop_.fileAnswers.push_back(InProgramDir("script.sql"));
    desktop_.confirmAnswers = {false};
    window.btnLoadSql->click();
    EXPECT_EQ(desktop_.questions.size(), 1u);
}

TEST_F(LoadSqlTest, AHugeSingleLineFileRunsAsOneStatement)
{
    const std::string value(3'000'000, 'v');
    TfmMain& window = StartWithFile("INSERT INTO t VALUES ('" + value + "');");
    desktop_.confirmAnswers = {true};
    window.btnLoadSql->click();
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(Scalar("SELECT length(a) FROM t"), "3000000");
}

TEST_F(LoadSqlTest, AFileThatCannotBeReadIsAnErrorAndLoadsNothing)
{
    TfmMain& window = StartWithFile("");
    window.redSQL->SetText("kept");
    desktop_.fileAnswers = {InProgramDir("missing.sql"), ProgramDir()};
    window.btnLoadSql->click();
    window.btnLoadSql->click();
    ASSERT_EQ(desktop_.errors.size(), 2u);
    EXPECT_NE(desktop_.errors[0].find("missing.sql"), std::string::npos) << desktop_.errors[0];
    EXPECT_TRUE(desktop_.questions.empty());
    EXPECT_EQ(window.redSQL->Text(), "kept");
}

class ExportCommandTest : public QueryRunnerTest {
protected:
    // The page queries shown in the editor while the command runs.
    std::vector<std::string> RunExport(const std::string& command, bool openInEditor = false)
    {
        std::vector<std::string> shown;
        auto connection = QObject::connect(window_->redSQL, &QPlainTextEdit::textChanged,
                                           [&] { shown.push_back(window_->redSQL->Text()); });
        desktop_.confirmAnswers.push_back(openInEditor);
        Run(command);
        QObject::disconnect(connection);
        std::erase(shown, command);
        return shown;
    }

    // The RECORD_NUMBER of every INSERT line of the file, in order.
    std::vector<int> ExportedNumbers(const std::string& file)
    {
        std::vector<int> numbers;
        const std::regex line(R"(INSERT INTO \w+ \("RECORD_NUMBER", "NAME"\) VALUES \((\d+), 'row \1'\);)");
        for (const std::string& text : SplitLines(ReadFileBytes(file))) {
            std::smatch match;
            EXPECT_TRUE(std::regex_match(text, match, line)) << text;
            numbers.push_back(std::stoi(match[1]));
        }
        return numbers;
    }

    static std::vector<int> Range(int first, int last)
    {
        std::vector<int> numbers;
        for (int i = first; i <= last; ++i)
            numbers.push_back(i);
        return numbers;
    }
};

TEST_F(ExportCommandTest, PagesThroughTheTableWritingEveryRecordOnce)
{
    TfmMain& window = StartConnected();
    MakeNumberedTable("orders", 1, 250);
    const std::string command = "export from orders To " + InProgramDir("out.sql") + " by 100 QUOTE \"";
    const auto pages = RunExport(command, true);
    EXPECT_TRUE(desktop_.errors.empty()) << desktop_.errors[0];
    EXPECT_EQ(pages, (std::vector<std::string>{
                         "SELECT * FROM orders WHERE RECORD_NUMBER > 0 AND RECORD_NUMBER <= 100",
                         "SELECT * FROM orders WHERE RECORD_NUMBER > 100 AND RECORD_NUMBER <= 200",
                         "SELECT * FROM orders WHERE RECORD_NUMBER > 200 AND RECORD_NUMBER <= 300",
                         "SELECT * FROM orders WHERE RECORD_NUMBER > 300 AND RECORD_NUMBER <= 400"}));
    EXPECT_EQ(ExportedNumbers(InProgramDir("out.sql")), Range(1, 250));
    EXPECT_EQ(desktop_.questions, (std::vector<std::string>{"File created " + InProgramDir("out.sql")
                                                            + ".\r\nDo you wish to open it using external editor?"}));
    EXPECT_EQ(desktop_.editedFiles, (std::vector<std::string>{InProgramDir("out.sql")}));
    EXPECT_EQ(FromQString(window.lblProgress->text()), "Record 50");
    // The result stays open on the last, empty page; the window stays on the SQL page.
    EXPECT_TRUE(window.dsAdo.Active());
    EXPECT_EQ(window.dsAdo.CommandText(), pages.back());
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
    // The history keeps the command, and the editor shows it again.
    ASSERT_EQ(window.History().Count(), 1);
    EXPECT_EQ(window.redSQL->Text(), command);
    EXPECT_TRUE(IsTimeLine(InfoLines().back()));
}

TEST_F(ExportCommandTest, AGapWiderThanAPageDoesNotEndTheExport)
{
    StartConnected();
    MakeNumberedTable("t", 1, 100);
    Exec("INSERT INTO t SELECT RECORD_NUMBER + 600, 'row ' || (RECORD_NUMBER + 600) FROM t");
    RunExport("EXPORT FROM t TO " + InProgramDir("gap.sql") + " BY 100 QUOTE \"");
    std::vector<int> expected = Range(1, 100);
    for (int i : Range(601, 700))
        expected.push_back(i);
    EXPECT_EQ(ExportedNumbers(InProgramDir("gap.sql")), expected);
}

TEST_F(ExportCommandTest, BadParametersEndTheCommandBeforeAnyFile)
{
    TfmMain& window = StartConnected();
    MakeNumberedTable("t", 1, 3);
    const std::string file = InProgramDir("bad.sql");
    const struct { std::string command; std::string error; } cases[] = {
        {"EXPORT FROM t TO " + file + " BY 0 QUOTE [", "'0' is not a valid page size"},
        {"EXPORT FROM t TO " + file + " BY -5 QUOTE [", "'-5' is not a valid page size"},
        {"EXPORT FROM t TO " + file + " BY x QUOTE [", "'x' is not a valid integer value"},
        {"EXPORT FROM t TO " + file + " BY 10", "Keyword \"QUOTE\" not found in command \"EXPORT FROM t TO " + file
                                                    + " BY 10\""},
    };
    for (const auto& c : cases) {
        desktop_.errors.clear();
        window.lbInfo->clear();
        Run(c.command);
        EXPECT_EQ(desktop_.errors, (std::vector<std::string>{c.error}));
        EXPECT_TRUE(IsTimeLine(InfoLines().at(0)));
        EXPECT_EQ(window.History().GetItem(window.HistoryIndex()), TStringList{c.command});
    }
    EXPECT_TRUE(desktop_.questions.empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ExportCommandTest, AFileThatCannotBeCreatedIsNamedAndNothingIsLeft)
{
    StartConnected();
    MakeNumberedTable("t", 1, 3);
    Write("plain.txt", "");
    std::vector<std::string> files{InProgramDir("no/such/folder/out.sql"), InProgramDir("plain.txt/out.sql")};
    // Permissions do not hold the superuser back.
    if (geteuid() != 0) {
        std::filesystem::create_directory(InProgramDir("locked"));
        std::filesystem::permissions(InProgramDir("locked"), std::filesystem::perms::owner_read
                                                                 | std::filesystem::perms::owner_exec);
        files.push_back(InProgramDir("locked/out.sql"));
    }
    for (const std::string& file : files) {
        desktop_.errors.clear();
        Run("EXPORT FROM t TO " + file + " BY 10 QUOTE [");
        ASSERT_EQ(desktop_.errors.size(), 1u);
        EXPECT_NE(desktop_.errors[0].find(file), std::string::npos) << desktop_.errors[0];
    }
    EXPECT_TRUE(desktop_.questions.empty());
    EXPECT_FALSE(std::filesystem::exists(InProgramDir("no")));
}

TEST_F(ExportCommandTest, AFailingPageLeavesTheWholePagesBeforeIt)
{
    TfmMain& window = StartConnected();
    MakeNumberedTable("base", 1, 250);
    // Reading a record above 150 fails with an integer overflow.
    Exec("CREATE VIEW v AS SELECT RECORD_NUMBER, CASE WHEN RECORD_NUMBER > 150 THEN abs(-9223372036854775808) "
         "ELSE 'row ' || RECORD_NUMBER END AS NAME FROM base");
    RunExport("EXPORT FROM v TO " + InProgramDir("part.sql") + " BY 100 QUOTE \"");
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("overflow"), std::string::npos) << desktop_.errors[0];
    EXPECT_EQ(desktop_.questions.size(), 1u) << "asked before the error is shown";
    EXPECT_EQ(ExportedNumbers(InProgramDir("part.sql")), Range(1, 100));
    EXPECT_TRUE(window.btnRun->isEnabled());
}

TEST_F(ExportCommandTest, StopWritesThePagesSoFarAndStillAsks)
{
    TfmMain& window = StartConnected();
    MakeNumberedTable("t", 1, 250);
    desktop_.onProcessMessages = [&] { window.btnStop->click(); };
    RunExport("EXPORT FROM t TO " + InProgramDir("stopped.sql") + " BY 150 QUOTE \"");
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(ExportedNumbers(InProgramDir("stopped.sql")), Range(1, 150));
    EXPECT_EQ(desktop_.questions.size(), 1u);
    EXPECT_EQ(InfoLines().at(0), "Stopped by the user.");
}

} // namespace
