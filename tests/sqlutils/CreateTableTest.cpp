#include "CreateTable.h"
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
