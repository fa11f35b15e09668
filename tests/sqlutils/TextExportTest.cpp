#include "GeneratorTestDb.h"
#include "TextExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

using gentest::TTestDb;

struct TTextCase {
    const char* script;
    const char* query;
    const char* file;  // the whole file
};

class ExportTextTest : public testing::TestWithParam<TTextCase> {};

TEST_P(ExportTextTest, WritesOneLinePerRecordFromTheFirst)
{
    const TTextCase& c = GetParam();
    TTestDb db(c.script);
    TDataSet& ds = db.Open(c.query);
    if (!ds.Eof())
        ds.Next();  // the export starts at the first record all the same
    const std::string file = db.Dir().File("out.txt");
    ExportText(ds, file);
    EXPECT_EQ(ReadFileBytes(file), c.file);
    EXPECT_TRUE(ds.Eof());
    EXPECT_FALSE(ds.ControlsDisabled());
}

INSTANTIATE_TEST_SUITE_P(Records, ExportTextTest, testing::Values(
    TTextCase{"CREATE TABLE t (id INT, name VARCHAR(10), n INT);"
              "INSERT INTO t VALUES (1, 'Smith', NULL), (2, 'Jones', 5);",
              "SELECT * FROM t", "1|Smith|\r\n2|Jones|5\r\n"},
    TTextCase{"CREATE TABLE t (s VARCHAR(10)); INSERT INTO t VALUES ('A'), (''), ('B');",
              "SELECT * FROM t", "A\r\n\"\"\r\nB\r\n"},
    TTextCase{"CREATE TABLE t (id INT, note TEXT);"
              "INSERT INTO t VALUES (1, 'two' || char(13, 10) || 'lines|bar  ');",
              "SELECT * FROM t", "1|two\r\nlines|bar  \r\n"},
    TTextCase{"CREATE TABLE t (b BOOLEAN, d DATE); INSERT INTO t VALUES (0, NULL);",
              "SELECT * FROM t", "False|\r\n"},
    TTextCase{"CREATE TABLE t (a INT);", "SELECT * FROM t", ""}));

TEST(ExportTextTest, WritesWhatTheTextHandlerReturns)
{
    TTestDb db("CREATE TABLE t (s VARCHAR(10)); INSERT INTO t VALUES (CAST(X'8fe0a8a2a5e2' AS TEXT));");
    TDataSet& ds = db.Open("SELECT * FROM t");
    ds.Fields(0).SetOnGetText([](const TField& field, std::string& text, bool) {
        text = field.ValueText() == "\x8f\xe0\xa8\xa2\xa5\xe2" ? "Привет" : "?";
    });
    TStringList lines{"kept"};
    BuildTextLines(ds, lines);
    EXPECT_EQ(lines, (TStringList{"kept", "Привет"}));
}

TEST(ExportTextTest, ReportsProgressAndProcessesMessagesEveryHundredRecords)
{
    TTestDb db("CREATE TABLE n (i INTEGER); WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
               "WHERE x < 201) INSERT INTO n SELECT x FROM c;");
    TDataSet& ds = db.Open("SELECT * FROM n");
    TStringList lines, captions;
    int pumps = 0;
    BuildTextLines(ds, lines, [&](const std::string& caption) { captions.push_back(caption); }, [&] { ++pumps; });
    EXPECT_EQ(lines.size(), 201u);
    EXPECT_EQ(pumps, 2);
    EXPECT_EQ(captions.back(), "Record 201");
}

TEST(ExportTextTest, AClosedDatasetFailsAndWritesNoFile)
{
    TTestDb db("CREATE TABLE t (a INT);");
    const std::string file = db.Dir().File("out.txt");
    try {
        ExportText(db.DataSet(), file);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot perform this operation on a closed dataset"),
                  std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
