#include "ProviderApi.h"
#include "SqliteColumnType.h"

#include <gtest/gtest.h>

TEST(SqliteColumnType, DeclaredTypesAndStorageClasses)
{
    using S = TSqliteStorage;
    struct { const char* declared; S first; bool autoinc; int ado; int64_t size; int precision; int scale; } cases[] = {
        {"VARCHAR(40)", S::None, false, adVarChar, 40, 0, 0},
        {"varchar (40)", S::None, false, adVarChar, 40, 0, 0},
        {"CHARACTER VARYING(12)", S::None, false, adVarChar, 12, 0, 0},
        {"CHAR(10)", S::None, false, adChar, 10, 0, 0},
        {"NVARCHAR(60)", S::None, false, adVarWChar, 60, 0, 0},
        {"NCHAR(3)", S::None, false, adWChar, 3, 0, 0},
        {"VARCHAR", S::None, false, adLongVarChar, 0, 0, 0},
        {"VARCHAR(100000)", S::None, false, adLongVarChar, 0, 0, 0},
        {"TEXT", S::None, false, adLongVarChar, 0, 0, 0},
        {"CLOB", S::None, false, adLongVarChar, 0, 0, 0},
        {"INTEGER", S::None, false, adBigInt, 0, 0, 0},
        {"INTEGER", S::None, true, adInteger, 0, 0, 0},
        {"INT", S::Text, false, adBigInt, 0, 0, 0},
        {"SMALLINT", S::None, false, adSmallInt, 0, 0, 0},
        {"BOOLEAN", S::None, false, adBoolean, 0, 0, 0},
        {"DATE", S::None, false, adDBDate, 0, 0, 0},
        {"TIME", S::None, false, adDBTime, 0, 0, 0},
        {"DATETIME", S::None, false, adDBTimeStamp, 0, 0, 0},
        {"TIMESTAMP", S::None, false, adDBTimeStamp, 0, 0, 0},
        {"NUMERIC(10,2)", S::None, false, adNumeric, 0, 10, 2},
        {"DECIMAL(5, 0)", S::None, false, adNumeric, 0, 5, 0},
        {"NUMERIC", S::None, false, adDouble, 0, 0, 0},
        {"DECIMAL", S::Integer, false, adDouble, 0, 0, 0},
        {"NUMERIC(10)", S::None, false, adNumeric, 0, 10, 0},
        {"REAL", S::None, false, adDouble, 0, 0, 0},
        {"DOUBLE PRECISION", S::None, false, adDouble, 0, 0, 0},
        {"BLOB", S::None, false, adLongVarBinary, 0, 0, 0},
        {"BINARY(16)", S::None, false, adBinary, 16, 0, 0},
        {"VARBINARY(8)", S::None, false, adVarBinary, 8, 0, 0},
        {"UNIQUEIDENTIFIER", S::None, false, adGUID, 0, 0, 0},
        {"MONEY", S::None, false, adCurrency, 0, 19, 4},
        {"", S::Integer, false, adBigInt, 0, 0, 0},
        {"", S::Float, false, adDouble, 0, 0, 0},
        {"", S::Text, false, adVarChar, SqliteUndeclaredStringSize, 0, 0},
        {"", S::Blob, false, adLongVarBinary, 0, 0, 0},
        {"", S::None, false, adVarChar, SqliteUndeclaredStringSize, 0, 0},
        {"JSON", S::Integer, false, adBigInt, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TSqliteColumnType t = SqliteColumnType(c.declared, c.first, c.autoinc);
        EXPECT_EQ(t.AdoType, c.ado) << c.declared;
        EXPECT_EQ(t.DefinedSize, c.size) << c.declared;
        EXPECT_EQ(t.Precision, c.precision) << c.declared;
        EXPECT_EQ(t.Scale, c.scale) << c.declared;
    }
}
