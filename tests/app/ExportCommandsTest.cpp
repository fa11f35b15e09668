// The Result page's three exports, driven through the window with the scripted
// desktop over a real SQLite database whose data link file lies in a folder of
// its own.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <filesystem>

#include "CodePage.h"
#include "QtText.h"
#include "SqlEditor.h"
#include "WindowFixture.h"
#include "SqliteLink.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCustomers =
    "CREATE TABLE customers (id INTEGER, name VARCHAR(20), city VARCHAR(30));"
    "INSERT INTO customers VALUES (1, 'Ann', 'Oslo'), (6, 'Bob', 'Rome'), (7, 'O''Hara', NULL), (9, 'Eve', 'Lima');"
    "CREATE TABLE \"a/b\" (x INTEGER);"
    "INSERT INTO \"a/b\" VALUES (1);"
    "CREATE TABLE n (i INTEGER);"
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 250) INSERT INTO n SELECT x FROM c;"
    "CREATE TABLE dos (id INTEGER, txt VARCHAR(20));"
    "INSERT INTO dos VALUES (1, CAST(X'8FE0A8A2A5E2' AS TEXT));";

const std::string kCustomersSql = "SELECT * FROM customers WHERE id > 5";

class ExportTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        udl_ = MakeSqliteLink(links_.File(""), "shop", kCustomers);
    }

    const std::string& Udl() const { return udl_; }
    std::string InLinkDir(const std::string& name) const { return links_.File(name); }

    // Connects to the database and runs the statement from the editor.
    TfmMain& StartWithResult(const std::string& sql)
    {
        TfmMain& window = Start();
        window.fedDataLink->setEditText(ToQString(Udl()));
        window.SetConnected(true);
        window.redSQL->SetText(sql);
        window.RunQuery();
        return window;
    }

    TTempDir links_;
    std::string udl_;
};

std::string Question(const std::string& created, const std::string& file)
{
    return created + file + ".\r\nDo you wish to open it using external editor?";
}

TEST_F(ExportTest, TheThreeFilesAreNamedAfterTheTableAndOpenedOrOffered)
{
    TfmMain& window = StartWithResult(kCustomersSql);

    window.btnExtractMetadata->click();
    const std::string metadata = InProgramDir("CREATE_CUSTOMERS.sql");
    EXPECT_EQ(ReadFileBytes(metadata),
              "CREATE TABLE CUSTOMERS\r\n(id \t?, \r\n name \tVARCHAR(20), \r\n city \tVARCHAR(30))\r\n");
    EXPECT_EQ(desktop_.editedFiles, TStringList{metadata});
    EXPECT_TRUE(desktop_.questions.empty());

    desktop_.confirmAnswers = {false, true};
    const std::string script = InLinkDir("InsertInto_CUSTOMERS.sql");
    const std::string inserts = "INSERT INTO CUSTOMERS (\"ID\", \"NAME\", \"CITY\") VALUES (6, 'Bob', 'Rome');\r\n"
                                "INSERT INTO CUSTOMERS (\"ID\", \"NAME\", \"CITY\") VALUES (7, 'O''Hara', null);\r\n"
                                "INSERT INTO CUSTOMERS (\"ID\", \"NAME\", \"CITY\") VALUES (9, 'Eve', 'Lima');\r\n";
    window.btnSaveAsSQL->click();
    EXPECT_EQ(ReadFileBytes(script), inserts);
    EXPECT_TRUE(desktop_.openedDocuments.empty());
    window.btnSaveAsSQL->click();
    EXPECT_EQ(ReadFileBytes(script), inserts);
    EXPECT_EQ(desktop_.openedDocuments, TStringList{script});
    EXPECT_EQ(desktop_.questions, TStringList(2, Question("File created: ", script)));

    desktop_.confirmAnswers = {false, true};
    const std::string text = InProgramDir("CUSTOMERS.txt");
    window.btnSaveAsText->click();
    EXPECT_EQ(ReadFileBytes(text), "6|Bob|Rome\r\n7|O'Hara|\r\n9|Eve|Lima\r\n");
    EXPECT_EQ(FromQString(window.lblProgress->text()), "Record 3");
    EXPECT_EQ(desktop_.editedFiles, TStringList{metadata});
    window.btnSaveAsText->click();
    EXPECT_EQ(desktop_.editedFiles, (TStringList{metadata, text}));
    EXPECT_EQ(desktop_.questions.back(), Question("File created ", text));
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(ExportTest, ExportOptionsAreReadAtEachExport)
{
    TfmMain& window = StartWithResult("SELECT id, city FROM customers WHERE id = 7");
    const std::string script = InLinkDir("InsertInto_CUSTOMERS.sql");
    desktop_.confirmAnswers = {false, false};

    window.chbDoubleQuotes->setChecked(false);
    window.btnSaveAsSQL->click();
    EXPECT_EQ(ReadFileBytes(script), "INSERT INTO CUSTOMERS (ID, CITY) VALUES (7, null);\r\n");

    window.chbDoubleQuotes->setChecked(true);
    window.chbCommentValues->setChecked(true);
    window.btnSaveAsSQL->click();
    EXPECT_EQ(ReadFileBytes(script),
              "INSERT INTO CUSTOMERS (\"ID\", \"CITY\") VALUES (7 /* ID */, null /* CITY */);\r\n");
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(ExportTest, ALongExportHoldsTheCommandsBackAndStopWritesNothing)
{
    TfmMain& window = StartWithResult("SELECT * FROM n");
    const std::string script = InLinkDir("InsertInto_N.sql"), text = InProgramDir("N.txt");
    WriteFileBytes(script, "old\r\n");
    WriteFileBytes(text, "old\r\n");
    desktop_.onProcessMessages = [&] {
        for (QWidget* command : std::initializer_list<QWidget*>{window.btnRun, window.btnSaveAsSQL, window.chbCP866})
            EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
        window.btnStop->click();
    };
    window.btnSaveAsSQL->click();
    window.btnSaveAsText->click();
    EXPECT_EQ(desktop_.errors, (TStringList{"Export stopped: \"" + script + "\" was not written.",
                                            "Export stopped: \"" + text + "\" was not written."}));
    EXPECT_TRUE(desktop_.questions.empty());
    EXPECT_EQ(ReadFileBytes(script), "old\r\n");
    EXPECT_EQ(ReadFileBytes(text), "old\r\n");
    EXPECT_TRUE(window.btnSaveAsSQL->isEnabled());
    EXPECT_FALSE(window.btnStop->isEnabled());

    desktop_.onProcessMessages = {};
    desktop_.confirmAnswers = {false};
    window.btnSaveAsText->click();
    EXPECT_EQ(SplitLines(ReadFileBytes(text)).size(), 250u);
}

TEST_F(ExportTest, OemCodepageConvertsTheStringsOfBothDataFiles)
{
    TfmMain& window = StartWithResult("SELECT * FROM dos");
    const std::string stored = "\x8F\xE0\xA8\xA2\xA5\xE2";  // "Привет" in code page 866
    const std::string converted = CodePage::FromUtf8("Привет");
    desktop_.confirmAnswers = {false, false, false, false};
    for (const bool ticked : {false, true}) {
        window.chbCP866->setChecked(ticked);
        window.btnSaveAsSQL->click();
        window.btnSaveAsText->click();
        const std::string text = ticked ? converted : stored;
        EXPECT_EQ(ReadFileBytes(InLinkDir("InsertInto_DOS.sql")),
                  "INSERT INTO DOS (\"ID\", \"TXT\") VALUES (1, '" + text + "');\r\n") << ticked;
        EXPECT_EQ(Read("DOS.txt"), "1|" + text + "\r\n") << ticked;
    }
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(ExportTest, WithNoResultOpenOnlyTheMetadataIsWritten)
{
    TfmMain& window = StartWithResult(kCustomersSql);
    window.dsAdo.Close();
    WriteFileBytes(InLinkDir("InsertInto_CUSTOMERS.sql"), "old script\r\n");

    window.btnExtractMetadata->click();
    EXPECT_EQ(Read("CREATE_CUSTOMERS.sql"), "CREATE TABLE CUSTOMERS\r\n");
    EXPECT_EQ(desktop_.editedFiles, TStringList{InProgramDir("CREATE_CUSTOMERS.sql")});

    window.btnSaveAsSQL->click();
    window.btnSaveAsText->click();
    const std::string closed = "dsAdo: Cannot perform this operation on a closed dataset";
    EXPECT_EQ(desktop_.errors, TStringList(2, closed));
    EXPECT_TRUE(desktop_.questions.empty());
    EXPECT_EQ(ReadFileBytes(InLinkDir("InsertInto_CUSTOMERS.sql")), "old script\r\n");
    EXPECT_FALSE(fs::exists(InProgramDir("CUSTOMERS.txt")));
}

TEST_F(ExportTest, FileNamesFromTheQueryStayInTheirFolder)
{
    struct Case {
        std::string sql;
        std::string table;  // as written in the scripts
        std::string file;   // as it names the files
    };
    const Case cases[] = {
        {"SELECT * FROM \"a/b\"", "\"A/B\"", "_A_B_"},
        {"SELECT 1 AS x FROM ../../x", "../../X", ".._.._X"},
    };
    for (const auto& c : cases) {
        TfmMain* window = nullptr;
        try {
            window = &StartWithResult(c.sql);
        } catch (const std::exception&) {
            // The last statement is not valid SQL: the exports run on the closed result.
            window = window_.get();
        }
        desktop_.confirmAnswers = {false, false};
        window->btnExtractMetadata->click();
        window->btnSaveAsSQL->click();
        window->btnSaveAsText->click();
        EXPECT_EQ(SplitLines(Read("CREATE_" + c.file + ".sql")).at(0), "CREATE TABLE " + c.table) << c.sql;
        if (window->dsAdo.Active()) {
            EXPECT_EQ(ReadFileBytes(InLinkDir("InsertInto_" + c.file + ".sql")),
                      "INSERT INTO " + c.table + " (\"X\") VALUES (1);\r\n") << c.sql;
            EXPECT_EQ(Read(c.file + ".txt"), "1\r\n") << c.sql;
        }
        Close();
    }
    // Nothing was written outside the two folders.
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(ProgramDir()).parent_path()))
        EXPECT_TRUE(entry.path().parent_path() == fs::path(ProgramDir()).parent_path()) << entry.path();
}

TEST_F(ExportTest, ReplacedFilesKeepTheirModeAndAFailedWriteNamesTheFile)
{
    TfmMain& window = StartWithResult(kCustomersSql);
    const std::string text = InProgramDir("CUSTOMERS.txt");
    WriteFileBytes(text, "old");
    fs::permissions(text, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    desktop_.confirmAnswers = {false};
    window.btnSaveAsText->click();
    EXPECT_EQ(Read("CUSTOMERS.txt"), "6|Bob|Rome\r\n7|O'Hara|\r\n9|Eve|Lima\r\n");
    EXPECT_EQ(fs::status(text).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A folder in the way of the file: the error names the file, and the
    // editor is not started on a file that was not written.
    fs::create_directory(InProgramDir("CREATE_CUSTOMERS.sql"));
    window.btnExtractMetadata->click();
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("\"" + InProgramDir("CREATE_CUSTOMERS.sql") + "\""), std::string::npos)
        << desktop_.errors[0];
    EXPECT_TRUE(desktop_.editedFiles.empty());
}

} // namespace
