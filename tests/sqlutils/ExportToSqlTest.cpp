#include "ExportToSql.h"
#include "GeneratorTestDb.h"

#include "ErrorOf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

using gentest::TTestDb;

constexpr const char* Orders =
    "CREATE TABLE orders (id INTEGER, name VARCHAR(20), paid BOOLEAN);"
    "INSERT INTO orders VALUES (7, 'Smith', 1), (8, 'O''Neil', 0), (9, NULL, NULL);";

struct TScriptCase {
    const char* quote;
    bool comments;
    bool putDelete;
    TStringList lines;
};

class ExportToSqlScriptTest : public testing::TestWithParam<TScriptCase> {};

TEST_P(ExportToSqlScriptTest, WritesOneStatementPerRecord)
{
    const TScriptCase& c = GetParam();
    TTestDb db(Orders);
    TDataSet& ds = db.Open("SELECT * FROM orders WHERE id > 0");
    TExportToSQL exporter(ds);
    exporter.SetQuoteChar(c.quote);
    exporter.CommentValues = c.comments;
    exporter.PutDeleteBeforeInserts = c.putDelete;
    exporter.Generate();
    EXPECT_EQ(exporter.ScriptLines, c.lines);
    EXPECT_EQ(exporter.TableName, "ORDERS");
    EXPECT_TRUE(ds.Eof());
    EXPECT_FALSE(ds.ControlsDisabled());
}

TEST_P(ExportToSqlScriptTest, StreamsTheSameScriptIntoTheFile)
{
    const TScriptCase& c = GetParam();
    TTestDb db(Orders);
    TExportToSQL exporter(db.Open("SELECT * FROM orders WHERE id > 0"));
    exporter.SetQuoteChar(c.quote);
    exporter.CommentValues = c.comments;
    exporter.PutDeleteBeforeInserts = c.putDelete;
    const std::string file = db.Dir().File("orders.sql");
    WriteLinesToFile(file, {"old"});
    exporter.StreamToFile(file);
    std::string expected;
    for (const auto& line : c.lines)
        expected += line + "\r\n";
    EXPECT_EQ(ReadFileBytes(file), expected);
    EXPECT_TRUE(exporter.ScriptLines.empty());
    EXPECT_FALSE(db.DataSet().ControlsDisabled());
}

INSTANTIATE_TEST_SUITE_P(Options, ExportToSqlScriptTest, testing::Values(
    TScriptCase{"", false, false, {
        "INSERT INTO ORDERS (ID, NAME, PAID) VALUES (7, 'Smith', 1);",
        "INSERT INTO ORDERS (ID, NAME, PAID) VALUES (8, 'O''Neil', 0);",
        "INSERT INTO ORDERS (ID, NAME, PAID) VALUES (9, null, null);"}},
    TScriptCase{"\"", false, false, {
        "INSERT INTO ORDERS (\"ID\", \"NAME\", \"PAID\") VALUES (7, 'Smith', 1);",
        "INSERT INTO ORDERS (\"ID\", \"NAME\", \"PAID\") VALUES (8, 'O''Neil', 0);",
        "INSERT INTO ORDERS (\"ID\", \"NAME\", \"PAID\") VALUES (9, null, null);"}},
    TScriptCase{"[", true, false, {
        "INSERT INTO ORDERS ([ID], [NAME], [PAID]) VALUES (7 /* ID */, 'Smith' /* NAME */, 1 /* PAID */);",
        "INSERT INTO ORDERS ([ID], [NAME], [PAID]) VALUES (8 /* ID */, 'O''Neil' /* NAME */, 0 /* PAID */);",
        "INSERT INTO ORDERS ([ID], [NAME], [PAID]) VALUES (9 /* ID */, null /* NAME */, null /* PAID */);"}},
    // The flag is carried for task files; the script does not depend on it.
    TScriptCase{"", false, true, {
        "INSERT INTO ORDERS (ID, NAME, PAID) VALUES (7, 'Smith', 1);",
        "INSERT INTO ORDERS (ID, NAME, PAID) VALUES (8, 'O''Neil', 0);",
        "INSERT INTO ORDERS (ID, NAME, PAID) VALUES (9, null, null);"}}));

TEST(ExportToSqlTest, StartsAtTheCurrentRecordWhenNotFromFirstAndKeepsAGivenTableName)
{
    TTestDb db(Orders);
    TDataSet& ds = db.Open("SELECT id FROM orders");
    ds.Next();
    ds.Next();
    TExportToSQL exporter(ds);
    exporter.FromFirst = false;
    exporter.TableName = "archive.Orders";
    exporter.Generate();
    EXPECT_EQ(exporter.ScriptLines, TStringList{"INSERT INTO archive.Orders (ID) VALUES (9);"});

    // A second run starts again with an empty script.
    exporter.FromFirst = true;
    exporter.Generate();
    EXPECT_EQ(exporter.ScriptLines.size(), 3u);
}

TEST(ExportToSqlTest, SaveToFileWritesTheLinesWithCrLf)
{
    TTestDb db(Orders);
    TExportToSQL exporter(db.Open("SELECT id, name FROM orders WHERE id = 8"));
    const std::string file = db.Dir().File("InsertInto_ORDERS.sql");
    exporter.SaveToFile(file);
    EXPECT_EQ(ReadFileBytes(file), "INSERT INTO ORDERS (ID, NAME) VALUES (8, 'O''Neil');\r\n");
}

TEST(ExportToSqlTest, AnEmptyResultGivesAnEmptyFile)
{
    TTestDb db(Orders);
    TExportToSQL exporter(db.Open("SELECT * FROM orders WHERE 1=2"));
    const std::string file = db.Dir().File("empty.sql");
    WriteLinesToFile(file, {"old"});
    exporter.SaveToFile(file);
    EXPECT_TRUE(exporter.ScriptLines.empty());
    EXPECT_EQ(ReadFileBytes(file), "");
}

class ExportToSqlClosedTest : public testing::TestWithParam<bool> {};

TEST_P(ExportToSqlClosedTest, AClosedDatasetFailsAndLeavesThePreviousFile)
{
    TTestDb db(Orders);
    TExportToSQL exporter(db.DataSet());
    exporter.FromFirst = GetParam();
    const std::string file = db.Dir().File("orders.sql");
    WriteLinesToFile(file, {"previous"});
    for (const auto save : {&TExportToSQL::SaveToFile, &TExportToSQL::StreamToFile}) {
        try {
            (exporter.*save)(file);
            FAIL() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "dsAdo: Cannot perform this operation on a closed dataset");
        }
        EXPECT_EQ(ReadFileBytes(file), "previous\r\n");
        EXPECT_FALSE(db.DataSet().ControlsDisabled());
    }
}

INSTANTIATE_TEST_SUITE_P(FromFirst, ExportToSqlClosedTest, testing::Bool());

TEST(ExportToSqlTest, AFailedWriteKeepsTheScript)
{
    TTestDb db(Orders);
    TExportToSQL exporter(db.Open("SELECT id FROM orders"));
    EXPECT_THROW(exporter.SaveToFile(db.Dir().File("no/such/folder/x.sql")), std::runtime_error);
    EXPECT_EQ(exporter.ScriptLines.size(), 3u);
}

TEST(ExportToSqlTest, AValueThatCannotBeReadEndsTheRunWithTheStatementsBeforeIt)
{
    TTestDb db("CREATE TABLE t (id INTEGER, amount NUMERIC(10,2));"
               "INSERT INTO t VALUES (1, 1.5), (2, 2.5), (3, 1e300), (4, 4);");
    TDataSet& ds = db.Open("SELECT * FROM t");
    TExportToSQL exporter(ds);
    const std::string file = db.Dir().File("t.sql");
    EXPECT_THROW(exporter.SaveToFile(file), std::runtime_error);
    EXPECT_EQ(exporter.ScriptLines, (TStringList{"INSERT INTO T (ID, AMOUNT) VALUES (1, 1.5);",
                                                 "INSERT INTO T (ID, AMOUNT) VALUES (2, 2.5);"}));
    EXPECT_FALSE(ds.ControlsDisabled());
    EXPECT_FALSE(std::filesystem::exists(file));

    // Streamed, the statements before the failing value never reach the file.
    WriteLinesToFile(file, {"previous"});
    EXPECT_THROW(exporter.StreamToFile(file), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(file), "previous\r\n");
    EXPECT_FALSE(ds.ControlsDisabled());
}

std::string Numbers(int count)
{
    std::string script = "CREATE TABLE n (i INTEGER); WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                         "WHERE x < " + std::to_string(count) + ") INSERT INTO n SELECT x FROM c;";
    return script;
}

TEST(ExportToSqlTest, ReportsProgressAndProcessesMessagesEveryHundredRecords)
{
    TTestDb db(Numbers(250));
    TDataSet& ds = db.Open("SELECT * FROM n");
    TExportToSQL exporter(ds);
    std::vector<std::string> captions;
    std::vector<size_t> pumpedAt;
    exporter.ProgressControl = [&](const std::string& caption) { captions.push_back(caption); };
    exporter.ProcessMessages = [&] {
        EXPECT_TRUE(ds.ControlsDisabled());
        pumpedAt.push_back(exporter.ScriptLines.size());
    };
    exporter.Generate();
    EXPECT_EQ(pumpedAt, (std::vector<size_t>{100, 200}));
    ASSERT_EQ(captions.size(), 250u);
    EXPECT_EQ(captions.front(), "Record 1");
    EXPECT_EQ(captions.back(), "Record 250");
    EXPECT_FALSE(ds.ControlsDisabled());
}

TEST(ExportToSqlTest, ADatasetClosedWhileMessagesAreProcessedEndsTheRun)
{
    TTestDb db(Numbers(150));
    TDataSet& ds = db.Open("SELECT * FROM n");
    TExportToSQL exporter(ds);
    exporter.ProcessMessages = [&] { ds.Close(); };
    EXPECT_THROW(exporter.Generate(), std::runtime_error);
    EXPECT_EQ(exporter.ScriptLines.size(), 100u);
    EXPECT_FALSE(ds.ControlsDisabled());
}

// A dataset closed and reopened on another query while messages were
// processed must not have its rows written under the old column list.
TEST(ExportToSqlTest, ADatasetReopenedWhileMessagesAreProcessedEndsTheRun)
{
    TTestDb db(Numbers(250) + "CREATE TABLE other (a INT, b INT); INSERT INTO other VALUES (1, 2);");
    for (const char* reopened : {"SELECT * FROM other", "SELECT * FROM n"}) {
        TDataSet& ds = db.Open("SELECT * FROM n");
        TExportToSQL exporter(ds);
        exporter.ProcessMessages = [&] { db.Open(reopened); };
        EXPECT_EQ(ErrorOf([&] { exporter.Generate(); }),
                  "dsAdo: The dataset was reopened while its records were read") << reopened;
        EXPECT_EQ(exporter.ScriptLines.size(), 100u);
        EXPECT_FALSE(ds.ControlsDisabled());
    }
}

TEST(ExportToSqlTest, EveryColumnKeepsItsValueWhateverItsName)
{
    TTestDb db("CREATE TABLE t (\"τιμής\" INT, \"a,b\" INT, \" x\" INT, e INT, \"c*/d\" INT);"
               "INSERT INTO t VALUES (3, 4, 5, 6, 7);");
    TExportToSQL exporter(db.Open("SELECT * FROM t"));
    exporter.SetQuoteChar("\"");
    exporter.Generate();
    EXPECT_EQ(exporter.ScriptLines, TStringList{"INSERT INTO T (\"ΤΙΜΉΣ\", \"A,B\", \" X\", \"E\", \"C*/D\") "
                                                "VALUES (3, 4, 5, 6, 7);"});
    exporter.CommentValues = true;
    exporter.Generate();
    EXPECT_EQ(exporter.ScriptLines, TStringList{"INSERT INTO T (\"ΤΙΜΉΣ\", \"A,B\", \" X\", \"E\", \"C*/D\") "
                                                "VALUES (3 /* ΤΙΜΉΣ */, 4 /* A,B */, 5 /*  X */, 6 /* E */, "
                                                "7 /* C* /D */);"});
}

TEST(AppendInsertStatementsTest, AddsPageAfterPage)
{
    TTestDb db(Orders);
    TStringList list{"-- kept"};
    std::vector<std::string> captions;
    AppendInsertStatements(db.Open("SELECT id, name FROM orders WHERE id <= 7"), "orders", list, "[", true,
                           [&](const std::string& caption) { captions.push_back(caption); });
    TDataSet& second = db.Open("SELECT id, name FROM orders WHERE id > 7");
    second.Next();
    AppendInsertStatements(second, "orders", list, "[", false);
    EXPECT_EQ(list, (TStringList{"-- kept",
                                 "INSERT INTO orders ([ID], [NAME]) VALUES (7, 'Smith');",
                                 "INSERT INTO orders ([ID], [NAME]) VALUES (9, null);"}));
    EXPECT_EQ(captions, TStringList{"Record 1"});
    EXPECT_TRUE(second.Eof());
}

} // namespace
