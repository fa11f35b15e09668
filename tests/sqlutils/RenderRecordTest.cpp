#include "FieldLists.h"
#include "FormatSettings.h"
#include "GeneratorTestDb.h"
#include "RecordRenderer.h"

#include <gtest/gtest.h>

namespace {

using gentest::TTestDb;

struct TNameListCase { const char* quote; const char* list; };

class FieldNameListTest : public testing::TestWithParam<TNameListCase> {};

TEST_P(FieldNameListTest, UpperCasesAndQuotesTheNames)
{
    TTestDb db("CREATE TABLE t (id INTEGER, Name VARCHAR(10), CITY VARCHAR(10));");
    EXPECT_EQ(FieldNameList(db.Open("SELECT * FROM t"), GetParam().quote), GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(Quotes, FieldNameListTest, testing::Values(
    TNameListCase{"", "ID, NAME, CITY"},
    TNameListCase{"[", "[ID], [NAME], [CITY]"},
    TNameListCase{"\"", "\"ID\", \"NAME\", \"CITY\""},
    TNameListCase{"`", "`ID`, `NAME`, `CITY`"},
    TNameListCase{"<>", "<>ID<>, <>NAME<>, <>CITY<>"}));

TEST(FieldNameListTest, DoublesTheClosingQuoteInsideANameAndUpperCasesNationalLetters)
{
    TTestDb db("CREATE TABLE t (\"a\"\"b\" INT, \"x]y\" INT, \"имя\" INT);");
    TDataSet& ds = db.Open("SELECT * FROM t");
    EXPECT_EQ(FieldNameList(ds, ""), "A\"B, X]Y, ИМЯ");
    EXPECT_EQ(FieldNameList(ds, "\""), "\"A\"\"B\", \"X]Y\", \"ИМЯ\"");
    EXPECT_EQ(FieldNameList(ds, "["), "[A\"B], [X]]Y], [ИМЯ]");
}

TEST(FieldNameListTest, IsEmptyForAClosedDataset)
{
    TTestDb db("CREATE TABLE t (a INT);");
    EXPECT_EQ(FieldNameList(db.DataSet(), "["), "");
}

// One value in a column of the declared type, its field type and its literal.
struct TLiteralCase {
    const char* declared;
    const char* value;   // an SQL expression
    TFieldType type;
    const char* literal;
};

class SqlLiteralTest : public testing::TestWithParam<TLiteralCase> {};

TEST_P(SqlLiteralTest, KeepsEveryValueInsideItsLiteral)
{
    const TLiteralCase& c = GetParam();
    TFormatSettings settings;
    settings.ShortDateFormat = "dd.mm.yyyy";
    settings.LongTimeFormat = "hh:nn:ss";
    TFormatSettingsOverride format(settings);
    TTestDb db(std::string("CREATE TABLE t (v ") + c.declared + "); INSERT INTO t VALUES (" + c.value + ");");
    TField& field = db.Open("SELECT * FROM t").Fields(0);
    ASSERT_EQ(field.DataType(), c.type) << c.declared;
    EXPECT_EQ(SqlLiteral(field), c.literal) << c.declared << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(Types, SqlLiteralTest, testing::Values(
    TLiteralCase{"VARCHAR(20)", "'O''Brien'", ftString, "'O''Brien'"},
    TLiteralCase{"VARCHAR(20)", "'   '", ftString, "''"},
    TLiteralCase{"VARCHAR(20)", "' \tx\r\n'", ftString, "'x'"},
    TLiteralCase{"VARCHAR(20)", "NULL", ftString, "null"},
    TLiteralCase{"VARCHAR(40)", "'x''); DROP TABLE t; --'", ftString, "'x''); DROP TABLE t; --'"},
    TLiteralCase{"TEXT", "'line 1' || char(13, 10) || 'it''s'", ftMemo, "'line 1\r\nit''s'"},
    TLiteralCase{"BOOLEAN", "1", ftBoolean, "1"},
    TLiteralCase{"BOOLEAN", "0", ftBoolean, "0"},
    TLiteralCase{"BOOLEAN", "NULL", ftBoolean, "null"},
    TLiteralCase{"INTEGER", "42", ftLargeint, "42"},
    TLiteralCase{"INTEGER", "-9007199254740993", ftLargeint, "-9007199254740993"},
    TLiteralCase{"NUMERIC(10,2)", "12.5", ftBCD, "12.5"},
    TLiteralCase{"REAL", "0.25", ftFloat, "0.25"},
    TLiteralCase{"DATE", "'2003-12-31'", ftDate, "'31.12.2003'"},
    TLiteralCase{"DATE", "NULL", ftDate, "null"},
    TLiteralCase{"DATETIME", "'2003-12-31 10:20:30'", ftDateTime, "'31.12.2003 10:20:30'"},
    TLiteralCase{"DATETIME", "'1899-12-30 00:00:00'", ftDateTime, "null"},
    TLiteralCase{"TIME", "'12:30:00'", ftTime, "'12:30:00'"},
    TLiteralCase{"BLOB", "X'00270A5C41'", ftBlob, "X'00270A5C41'"},
    TLiteralCase{"BLOB", "X''", ftBlob, "X''"},
    TLiteralCase{"BLOB", "NULL", ftBlob, "null"},
    TLiteralCase{"VARBINARY(8)", "X'41FF'", ftVarBytes, "X'41FF'"},
    TLiteralCase{"BINARY(2)", "X'0A0D'", ftBytes, "X'0A0D'"},
    // What a byte column of a dynamically typed database holds, as it is stored.
    TLiteralCase{"BLOB", "5", ftBlob, "5"},
    TLiteralCase{"BLOB", "1.5", ftBlob, "1.5"},
    TLiteralCase{"BLOB", "'abc'", ftBlob, "'abc'"},
    TLiteralCase{"VARBINARY(8)", "'5x'", ftVarBytes, "'5x'"},
    TLiteralCase{"VARBINARY(8)", "'5'", ftVarBytes, "5"},  // numeric affinity: stored as 5
    TLiteralCase{"BINARY(4)", "'it''s'", ftBytes, "'it''s'"},
    TLiteralCase{"GUID", "'{0F2C1A3E-0000-4000-8000-00000000ABCD}'", ftGuid,
                 "'{0F2C1A3E-0000-4000-8000-00000000ABCD}'"},
    TLiteralCase{"GUID", "'x''y'", ftGuid, "'x''y'"},
    // Text that a dynamically typed column holds in place of a number.
    TLiteralCase{"INTEGER", "'1); DROP TABLE t; --'", ftLargeint, "'1); DROP TABLE t; --'"},
    TLiteralCase{"REAL", "9e999", ftFloat, "INF"}));

// "VALUES (12,5)" would be two values: SQL reads numbers with ".", while the
// text export shows the user's separator.
TEST(SqlLiteralTest, NumbersUseThePointWhateverTheSeparatorAndDatesDoubleTheirQuotes)
{
    TFormatSettings settings;
    settings.DecimalSeparator = ',';
    settings.ShortDateFormat = "yyyy\"'\"mm";
    TFormatSettingsOverride format(settings);
    TTestDb db("CREATE TABLE t (n NUMERIC(10,2), r REAL, d DATE, b BLOB, x INT);"
               "INSERT INTO t VALUES (12.5, -0.25, '2003-12-31', 2.5, 1.5);");
    TDataSet& ds = db.Open("SELECT * FROM t");
    EXPECT_EQ(RenderRecord(ds, "", rmSqlValues, false), "12.5, -0.25, '2003''12', 2.5, 1.5");
    EXPECT_EQ(TRecordRenderer(ds, rmText, false).Render(), "12,5|-0,25|2003'12|(BLOB)|1,5");
}

TEST(SqlLiteralTest, BytesTakeTheFormTheDatabaseReadsBack)
{
    struct { const char* dbms; TByteLiteral form; const char* literal; } cases[] = {
        {"SQLite", TByteLiteral::HexString, "X'41FF00'"},
        {"PostgreSQL", TByteLiteral::ByteaHex, "'\\x41FF00'"},
        {"Microsoft SQL Server", TByteLiteral::HexNumber, "0x41FF00"},
        {"MySQL", TByteLiteral::HexString, "X'41FF00'"},
        {"", TByteLiteral::HexString, "X'41FF00'"},
    };
    TTestDb db("CREATE TABLE t (b BLOB); INSERT INTO t VALUES (X'41FF00');");
    TField& field = db.Open("SELECT * FROM t").Fields(0);
    EXPECT_EQ(SqlLiteral(field), "X'41FF00'");
    for (const auto& c : cases) {
        EXPECT_EQ(ByteLiteralFor(c.dbms), c.form) << c.dbms;
        std::string literal;
        AppendSqlLiteral(field, c.form, literal);
        EXPECT_EQ(literal, c.literal) << c.dbms;
    }
}

TEST(TextValueTest, IsTheFieldTextUnchanged)
{
    TTestDb db("CREATE TABLE t (s VARCHAR(10), b BOOLEAN, n REAL);"
               "INSERT INTO t VALUES ('  a|b  ', 1, NULL);");
    TDataSet& ds = db.Open("SELECT * FROM t");
    EXPECT_EQ(TextValue(ds.Fields(0)), "  a|b  ");
    EXPECT_EQ(TextValue(ds.Fields(1)), "True");
    EXPECT_EQ(TextValue(ds.Fields(2)), "");
    ds.Fields(0).SetOnGetText([](const TField&, std::string& text, bool) { text = "<" + text + ">"; });
    EXPECT_EQ(TextValue(ds.Fields(0)), "<  a|b  >");
    EXPECT_EQ(SqlLiteral(ds.Fields(0)), "'<  a|b  >'");
}

struct TRenderCase {
    const char* names;
    TRenderMode mode;
    bool comment;
    const char* rendered;
};

class RenderRecordTest : public testing::TestWithParam<TRenderCase> {};

TEST_P(RenderRecordTest, RendersTheCurrentRecord)
{
    const TRenderCase& c = GetParam();
    TTestDb db("CREATE TABLE t (id INTEGER, name VARCHAR(10), paid BOOLEAN, amount REAL);"
               "INSERT INTO t VALUES (7, 'Smith', 1, NULL);");
    TDataSet& ds = db.Open("SELECT * FROM t");
    EXPECT_EQ(RenderRecord(ds, c.names, c.mode, c.comment), c.rendered) << c.names;
    EXPECT_EQ(TRecordRenderer(ds, c.names, c.mode, c.comment).Render(), c.rendered) << c.names;
}

INSTANTIATE_TEST_SUITE_P(Records, RenderRecordTest, testing::Values(
    TRenderCase{"ID, NAME, PAID, AMOUNT", rmSqlValues, false, "7, 'Smith', 1, null"},
    TRenderCase{"ID, NAME", rmSqlValues, true, "7 /* ID */, 'Smith' /* NAME */"},
    TRenderCase{"ID, NAME, PAID, AMOUNT", rmText, false, "7|Smith|True|"},
    TRenderCase{"", rmSqlValues, true, "7, 'Smith', 1, null"},
    TRenderCase{"", rmText, false, "7|'Smith'|1|null"},
    TRenderCase{" \"name\" ,id", rmSqlValues, true, "'Smith' /* name */, 7 /* id */"},
    // Names without a field: null keeps an INSERT loadable, text stays empty.
    TRenderCase{"ID, ROWID_X", rmSqlValues, true, "7 /* ID */, null /* ROWID_X */"},
    TRenderCase{"ID, ROWID_X", rmText, false, "7|"},
    TRenderCase{"ROWID_X", rmText, false, "\"\""},
    TRenderCase{",", rmSqlValues, false, "null"}));

TEST(RenderRecordTest, ASingleEmptyValueRendersAsTwoDoubleQuotes)
{
    TTestDb db("CREATE TABLE t (s VARCHAR(10)); INSERT INTO t VALUES (NULL), (''), ('x');");
    TDataSet& ds = db.Open("SELECT * FROM t");
    const char* expected[] = {"\"\"", "\"\"", "x"};
    for (const char* text : expected) {
        ASSERT_FALSE(ds.Eof());
        EXPECT_EQ(RenderRecord(ds, "S", rmText, false), text);
        ds.Next();
    }
}

TEST(RecordRendererTest, FollowsTheDatasetFromRecordToRecord)
{
    TTestDb db("CREATE TABLE t (a INT, b VARCHAR(5)); INSERT INTO t VALUES (1, 'x'), (2, 'y');");
    TDataSet& ds = db.Open("SELECT * FROM t");
    TRecordRenderer renderer(ds, "A, B", rmText, false);
    TRecordRenderer byPosition(ds, rmSqlValues, true);
    EXPECT_EQ(renderer.Render(), "1|x");
    EXPECT_EQ(byPosition.Render(), "1 /* A */, 'x' /* B */");
    ds.Next();
    EXPECT_EQ(renderer.Render(), "2|y");
    EXPECT_EQ(byPosition.Render(), "2 /* A */, 'y' /* B */");
}

// Names whose upper case does not lower back to them, and names the comma
// list cannot carry: every value stays with its column.
TEST(RecordRendererTest, NamesWithNationalLettersAndSeparatorsKeepTheirValues)
{
    TTestDb db("CREATE TABLE t (\"τιμής\" INT, \"ıd\" INT, \"µ\" INT, \"ſ\" INT, \"a,b\" INT, \" x\" INT, e INT);"
               "INSERT INTO t VALUES (1, 2, 3, 4, 5, 6, 7);");
    TDataSet& ds = db.Open("SELECT * FROM t");
    const std::string names = FieldNameList(ds, "");
    EXPECT_EQ(names, "ΤΙΜΉΣ, ID, Μ, S, A,B,  X, E");
    EXPECT_EQ(TRecordRenderer(ds, rmSqlValues, false).Render(), "1, 2, 3, 4, 5, 6, 7");
    EXPECT_EQ(TRecordRenderer(ds, rmText, false).Render(), "1|2|3|4|5|6|7");
    // The names text finds every field its upper-cased names can still carry.
    EXPECT_EQ(RenderRecord(ds, "ΤΙΜΉΣ, ID, Μ, S", rmSqlValues, false), "1, 2, 3, 4");
}

TEST(RecordRendererTest, ACommentStaysClosedWhateverTheNameHolds)
{
    TTestDb db("CREATE TABLE t (\"c*/d\" INT, \"e/*f\" INT, \"g**/h\" INT); INSERT INTO t VALUES (3, 4, 5);");
    TDataSet& ds = db.Open("SELECT * FROM t");
    EXPECT_EQ(TRecordRenderer(ds, rmSqlValues, true).Render(), "3 /* C* /D */, 4 /* E/ *F */, 5 /* G** /H */");
    EXPECT_EQ(ValueComment("*/"), " /* * / */");
    EXPECT_EQ(ValueComment("/"), " /* / */");
}

} // namespace
