#include "Statements.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct TKindCase { const char* text; TStatementKind kind; };

class ClassifyStatementTest : public testing::TestWithParam<TKindCase> {};

TEST_P(ClassifyStatementTest, SortsTextIntoItsKind)
{
    EXPECT_EQ(ClassifyStatement(GetParam().text), GetParam().kind) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Kinds, ClassifyStatementTest, testing::Values(
    TKindCase{"select * from t", skSelect},
    TKindCase{"  \t\r\n\r\n\tselect * from t", skSelect},
    TKindCase{"SELECT\r\n* FROM T", skOther},          // only a space ends the first word
    TKindCase{"COMMIT", skOther},
    TKindCase{"SELECT", skOther},
    TKindCase{"", skOther},
    TKindCase{"update t set a=1", skUpdate},
    TKindCase{"Insert into t values (1)", skInsert},
    TKindCase{"DELETE FROM t;", skDelete},              // no line break after the semicolon
    TKindCase{"UPDATE t SET a=1;\r\nUPDATE t SET b=2", skScript},
    TKindCase{"select 1;\r\n", skScript},
    TKindCase{"select 1;\n select 2", skSelect},       // a lone LF does not make a script
    TKindCase{"create table t (a int)", skSchemaChange},
    TKindCase{"ALTER TABLE t ADD b int", skSchemaChange},
    TKindCase{"drop table t", skSchemaChange},
    TKindCase{"export FROM t TO f BY 1 QUOTE [", skExport},
    TKindCase{"EXEC p", skOther},
    TKindCase{"WITH x AS (SELECT 1 AS a) SELECT a FROM x", skOther},
    TKindCase{"s\xc3\xa9lect * from t", skOther}));    // national letters are not upper-cased

struct TTableCase { const char* sql; const char* table; };

class TableNameFromSqlTest : public testing::TestWithParam<TTableCase> {};

TEST_P(TableNameFromSqlTest, TakesTheFirstWordAfterFrom)
{
    EXPECT_EQ(TableNameFromSql(GetParam().sql), GetParam().table) << GetParam().sql;
}

INSTANTIATE_TEST_SUITE_P(Statements, TableNameFromSqlTest, testing::Values(
    TTableCase{"SELECT * FROM customers WHERE id = 1", "CUSTOMERS"},
    TTableCase{"select a from dbo.Orders o", "DBO.ORDERS"},
    TTableCase{"SELECT * FROM t1, t2", "T1,"},
    TTableCase{"SELECT *\nFROM t", "T"},               // no " FROM ": SELEC dropped
    TTableCase{"SELECT * FROM ", ""},
    TTableCase{"SELECT * FROM  \r\n orders", "ORDERS"},
    TTableCase{"SELECT * FROM [my table]", "[MY"},
    TTableCase{"SELECT * FROM t\tx", "T\tX"},
    TTableCase{"SEL", ""},
    TTableCase{"", ""}));

struct TKeywordCase { const char* text; const char* key; const char* value; };

class KeywordValueTest : public testing::TestWithParam<TKeywordCase> {};

TEST_P(KeywordValueTest, ReadsTheValueAfterTheKeyword)
{
    EXPECT_EQ(KeywordValue(GetParam().text, GetParam().key), GetParam().value);
}

constexpr const char* Export = "EXPORT FROM orders TO c:\\out\\orders.sql BY 500 QUOTE [";

INSTANTIATE_TEST_SUITE_P(ExportCommand, KeywordValueTest, testing::Values(
    TKeywordCase{Export, "to", "c:\\out\\orders.sql"},
    TKeywordCase{Export, "FROM", "orders"},
    TKeywordCase{Export, "By", "500"},
    TKeywordCase{Export, "QUOTE", "["},
    TKeywordCase{"EXPORT FROM orders TO f BY  500 QUOTE [", "BY", ""},
    TKeywordCase{"EXPORT TO f QUOTE ", "QUOTE", ""},
    TKeywordCase{"EXPORT FROM Orders\r\nTO f", "from", "Orders"},
    TKeywordCase{"EXPORT FROM a TO b FROM c", "FROM", "a"}));

struct TMissingCase { const char* text; const char* key; };

class KeywordValueMissingTest : public testing::TestWithParam<TMissingCase> {};

TEST_P(KeywordValueMissingTest, NamesTheKeyAndTheWholeText)
{
    const TMissingCase& c = GetParam();
    try {
        KeywordValue(c.text, c.key);
        FAIL() << "no error for " << c.key;
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  std::string("Keyword \"") + c.key + "\" not found in command \"" + c.text + "\"");
    }
}

INSTANTIATE_TEST_SUITE_P(ExportCommand, KeywordValueMissingTest, testing::Values(
    TMissingCase{"EXPORT FROMAGE", "FROM"},
    TMissingCase{"EXPORT FROM t\r\nTO f BY 5", "quote"},
    TMissingCase{"FROM t TO f", "FROM"},               // at the very start: no space before it
    TMissingCase{"EXPORT FROM t\nTO f", "TO"}));       // at the start of a line

} // namespace
