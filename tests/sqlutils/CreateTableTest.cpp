#include "CreateTable.h"
#include "FormatSettings.h"
#include "GeneratorTestDb.h"

#include <gtest/gtest.h>

namespace {

using gentest::TTestDb;

struct TCreateCase {
    const char* columns;  // column definitions of the table
    const char* tableName;
    TStringList lines;
};

class BuildCreateTableTest : public testing::TestWithParam<TCreateCase> {};

TEST_P(BuildCreateTableTest, DescribesTheFields)
{
    const TCreateCase& c = GetParam();
    TTestDb db(std::string("CREATE TABLE t (") + c.columns + "); INSERT INTO t DEFAULT VALUES; "
               "INSERT INTO t DEFAULT VALUES;");
    TDataSet& ds = db.Open("SELECT * FROM t");
    ds.Next();
    TStringList lines{"stale"};
    BuildCreateTable(ds, c.tableName, lines);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(ds.RecNo(), 2);  // the current record is not moved
}

INSTANTIATE_TEST_SUITE_P(Fields, BuildCreateTableTest, testing::Values(
    TCreateCase{"ID INTEGER, Name VARCHAR(40), Paid BOOLEAN, Amount NUMERIC(10,2), Qty NUMERIC(5,0), "
                "Created DATETIME", "ORDERS", {
        "CREATE TABLE ORDERS",
        "(ID \t?, ",
        " Name \tVARCHAR(40), ",
        " Paid \tSMALLINT, ",
        " Amount \tNUMERIC(10,2), ",
        " Qty \tINTEGER, ",
        " Created \tDATE)"}},
    TCreateCase{"ID INT", "T", {"CREATE TABLE T", "(ID \t?)"}},
    TCreateCase{"Code CHAR(3), Born DATE, At TIME, Ratio REAL, Note TEXT, Pic BLOB", "", {
        "CREATE TABLE ",
        "(Code \tVARCHAR(3), ",
        " Born \tDATE, ",
        " At \t?, ",
        " Ratio \t?, ",
        " Note \t?, ",
        " Pic \t?)"}}));

TEST(BuildCreateTableTest, AClosedDatasetGivesTheFirstLineAlone)
{
    TTestDb db("CREATE TABLE t (a INT);");
    TStringList lines;
    BuildCreateTable(db.DataSet(), "ORDERS", lines);
    EXPECT_EQ(lines, TStringList{"CREATE TABLE ORDERS"});
}

} // namespace

namespace {

// Money keeps four decimals; a numeric without a precision keeps whatever
// SQLite holds: neither becomes an INTEGER column nor loses its decimals.
TEST(BuildCreateTableTest, MoneyAndUnsizedNumericsKeepTheirDecimals)
{
    TTestDb db("CREATE TABLE t (m MONEY, n NUMERIC, d DECIMAL); INSERT INTO t VALUES (12.3456, 12.3456, 0.000123);"
               "INSERT INTO t VALUES (-5, 9007199254740993, 'n/a');");
    TFormatSettingsOverride settings{TFormatSettings()};
    TDataSet& ds = db.Open("SELECT * FROM t");
    TStringList lines;
    BuildCreateTable(ds, "T", lines);
    EXPECT_EQ(lines, (TStringList{"CREATE TABLE T", "(m \tNUMERIC(19,4), ", " n \t?, ", " d \t?)"}));
    std::vector<std::string> texts;
    for (; !ds.Eof(); ds.Next())
        for (int i = 0; i < ds.FieldCount(); ++i)
            texts.push_back(ds.Fields(i).ValueText());
    EXPECT_EQ(texts, (std::vector<std::string>{"12.3456", "12.3456", "0.000123", "-5", "9007199254740993", "n/a"}));
}

} // namespace
