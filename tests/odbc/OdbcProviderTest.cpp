// The ODBC provider against a real PostgreSQL server (psqlODBC) and the
// SQLite ODBC driver.

#include "OdbcTestSupport.h"

#include "ErrorOf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

// A provider message ends neither in a blank, a control character nor a full stop.
void ExpectTrimmed(const std::string& message)
{
    ASSERT_FALSE(message.empty());
    char last = message.back();
    EXPECT_TRUE(last != ' ' && last != '.' && static_cast<unsigned char>(last) >= 0x20) << message;
}

class PgProvider : public testing::Test {
protected:
    void SetUp() override { db = OpenOdbc(PgConnectionString("BoolsAsChar=0;")); }

    TRecordingReceiver Select(const std::string& sql)
    {
        TRecordingReceiver receiver;
        EXPECT_TRUE(db->Query(sql, receiver)) << sql;
        return receiver;
    }

    std::unique_ptr<TProviderConnection> db;
};

TEST_F(PgProvider, ExecuteReportsRecordsAffected)
{
    db->Execute("DROP TABLE IF EXISTS exec_counts");
    db->Execute("CREATE TABLE exec_counts (id int, name varchar(10))");
    struct { const char* sql; int64_t affected; } cases[] = {
        {"INSERT INTO exec_counts VALUES (1, 'a'), (2, 'b'), (3, 'c')", 3},
        {"UPDATE exec_counts SET name = 'x' WHERE id > 1", 2},
        {"UPDATE exec_counts SET name = 'y' WHERE id > 100", 0},
        {"DELETE FROM exec_counts WHERE id = 1", 1},
        {"DELETE FROM exec_counts WHERE id = 1", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(db->Execute(c.sql), c.affected) << c.sql;
}

struct TTypeCase {
    const char* column;
    int adoType;
    int64_t definedSize;  // -1: not checked
    int precision;
    int scale;
    TReceived value;
};

TEST_F(PgProvider, ColumnTypesAndValues)
{
    db->Execute("DROP TABLE IF EXISTS all_types");
    db->Execute("CREATE TABLE all_types (vc varchar(20), ch char(10), tx text, i2 int2, i4 int4, i8 int8,"
                " nm numeric(10,2), n0 numeric(5,0), r4 real, r8 double precision, b boolean, d date,"
                " ts timestamp, ts0 timestamp, tm time, by bytea, u uuid, ru varchar(20))");
    db->Execute("INSERT INTO all_types VALUES ('abc', 'ab', 'some text', -32768, 2147483647,"
                " 9223372036854775807, 12.50, 42, 0.1, 1.5, true, '2024-01-02', '2024-01-02 10:30:00.123',"
                " '1999-12-31 00:00:00', '10:30:15', '\\x00ff41'::bytea,"
                " 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', 'Привет, мир')");
    const TTypeCase cases[] = {
        {"vc", adVarWChar, 20, 0, 0, TReceived::MakeText("abc")},
        {"ch", adWChar, 10, 0, 0, TReceived::MakeText("ab        ")},
        {"tx", adLongVarWChar, -1, 0, 0, TReceived::MakeText("some text")},
        {"i2", adSmallInt, 0, 0, 0, TReceived::MakeInteger(-32768)},
        {"i4", adInteger, 0, 0, 0, TReceived::MakeInteger(2147483647)},
        {"i8", adBigInt, 0, 0, 0, TReceived::MakeInteger(9223372036854775807LL)},
        {"nm", adNumeric, 0, 10, 2, TReceived::MakeText("12.50")},
        {"n0", adNumeric, 0, 5, 0, TReceived::MakeText("42")},
        {"r4", adSingle, 0, 0, 0, TReceived::MakeFloat(static_cast<double>(0.1f))},
        {"r8", adDouble, 0, 0, 0, TReceived::MakeFloat(1.5)},
        {"b", adBoolean, 0, 0, 0, TReceived::MakeInteger(1)},
        {"d", adDBDate, 0, 0, 0, TReceived::MakeText("2024-01-02")},
        {"ts", adDBTimeStamp, 0, 0, 0, TReceived::MakeText("2024-01-02 10:30:00.123")},
        {"ts0", adDBTimeStamp, 0, 0, 0, TReceived::MakeText("1999-12-31 00:00:00")},
        {"tm", adDBTime, 0, 0, 0, TReceived::MakeText("10:30:15")},
        {"by", adLongVarBinary, -1, 0, 0, TReceived::MakeBytes(std::string("\0\xff" "A", 3))},
        {"u", adGUID, 0, 0, 0, TReceived::MakeText("{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}")},
        {"ru", adVarWChar, 20, 0, 0, TReceived::MakeText("Привет, мир")},
    };
    TRecordingReceiver result = Select("SELECT * FROM all_types");
    ASSERT_EQ(result.Columns.size(), std::size(cases));
    ASSERT_EQ(result.Rows.size(), 1u);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TTypeCase& c = cases[i];
        const TColumnInfo& info = result.Columns[i];
        SCOPED_TRACE(c.column);
        EXPECT_EQ(info.Name, c.column);
        EXPECT_EQ(info.AdoType, c.adoType);
        if (c.definedSize >= 0) {
            EXPECT_EQ(info.DefinedSize, c.definedSize);
        }
        EXPECT_EQ(info.Precision, c.precision);
        EXPECT_EQ(info.Scale, c.scale);
        EXPECT_EQ(result.Rows[0][i], c.value);
        EXPECT_EQ(info.BaseTable, "all_types");
        EXPECT_EQ(info.BaseColumn, c.column);
        EXPECT_EQ(info.AutoIncrement, std::optional<bool>(false));
    }
}

TEST_F(PgProvider, NullsInEveryType)
{
    TRecordingReceiver result = Select("SELECT NULL::varchar(5), NULL::text, NULL::int4, NULL::int8, NULL::real,"
                                       " NULL::float8, NULL::numeric(8,3), NULL::boolean, NULL::date,"
                                       " NULL::timestamp, NULL::time, NULL::bytea, NULL::uuid, ''::varchar");
    ASSERT_EQ(result.Rows.size(), 1u);
    const auto& row = result.Rows[0];
    for (size_t i = 0; i + 1 < row.size(); ++i)
        EXPECT_EQ(row[i], TReceived::MakeNull()) << "column " << i;
    EXPECT_EQ(row.back(), TReceived::MakeText("")) << "an empty string is not null";
}

TEST_F(PgProvider, BooleansAsCharByDefault)
{
    auto plain = OpenOdbc(PgConnectionString());
    TRecordingReceiver result;
    ASSERT_TRUE(plain->Query("SELECT true AS t, false AS f", result));
    EXPECT_EQ(result.Columns[0].AdoType, adVarChar);
    EXPECT_EQ(result.Rows.at(0)[0], TReceived::MakeText("1"));
    EXPECT_EQ(result.Rows.at(0)[1], TReceived::MakeText("0"));
}

TEST_F(PgProvider, AnsiDriverGivesEightBitTypes)
{
    auto ansi = OpenOdbc("DRIVER={PostgreSQL ANSI};SERVER=" + PgSocketDir() + ";PORT=" + std::to_string(PgPort())
                         + ";DATABASE=quillet;UID=postgres;");
    TRecordingReceiver result;
    ASSERT_TRUE(ansi->Query("SELECT 'ab'::char(10) AS ch, 'Ёлка'::varchar(8) AS vc", result));
    EXPECT_EQ(result.Columns[0].AdoType, adChar);
    EXPECT_EQ(result.Columns[0].DefinedSize, 10);
    EXPECT_EQ(result.Columns[1].AdoType, adVarChar);
    EXPECT_EQ(result.Rows.at(0)[0], TReceived::MakeText("ab        "));
    EXPECT_EQ(result.Rows.at(0)[1], TReceived::MakeText("Ёлка"));
}

TEST_F(PgProvider, LongValuesArriveWhole)
{
    // Longer than any fetch buffer, with multi-byte characters across piece borders.
    TRecordingReceiver result = Select("SELECT repeat('я', 70001) AS t, decode(repeat('00ff', 50000), 'hex') AS b,"
                                       " repeat('x', 300)::varchar(10) AS v");
    ASSERT_EQ(result.Rows.size(), 1u);
    std::string expected;
    for (int i = 0; i < 70001; ++i)
        expected += "я";
    EXPECT_EQ(result.Rows[0][0].Data, expected);
    std::string bytes;
    for (int i = 0; i < 50000; ++i)
        bytes += std::string("\0\xff", 2);
    EXPECT_EQ(result.Rows[0][1], TReceived::MakeBytes(bytes));
    EXPECT_EQ(result.Rows[0][2], TReceived::MakeText(std::string(10, 'x')));
}

TEST_F(PgProvider, ManyRowsInOrder)
{
    // Whole result in the driver, and through a server cursor a few rows at a time.
    for (const char* options : {"", "UseDeclareFetch=1;Fetch=100;"}) {
        SCOPED_TRACE(options);
        auto connection = OpenOdbc(PgConnectionString(options));
        TRecordingReceiver result;
        ASSERT_TRUE(connection->Query("SELECT g AS n, 'row ' || g AS t, g * 0.5 AS h FROM generate_series(1, 5000) g",
                                      result));
        ASSERT_EQ(result.Rows.size(), 5000u);
        for (int i = 0; i < 5000; i += 999) {
            EXPECT_EQ(result.Rows[i][0], TReceived::MakeInteger(i + 1));
            EXPECT_EQ(result.Rows[i][1], TReceived::MakeText("row " + std::to_string(i + 1)));
        }
        EXPECT_EQ(result.Rows[4999][2], TReceived::MakeText("2500.0"));
    }
}

TEST_F(PgProvider, ErrorWhileFetchingThroughACursor)
{
    auto connection = OpenOdbc(PgConnectionString("UseDeclareFetch=1;Fetch=2;"));
    std::string message = ErrorOf([&] {
        TRecordingReceiver result;
        connection->Query("SELECT 10 / (5 - g) AS q FROM generate_series(1, 8) g", result);
    });
    EXPECT_NE(message.find("division by zero"), std::string::npos) << message;
    ExpectTrimmed(message);
}

TEST_F(PgProvider, EmptyResultStillDescribesColumns)
{
    TRecordingReceiver result = Select("SELECT 1 AS a, 'x'::varchar(3) AS b WHERE 1 = 2");
    ASSERT_EQ(result.Columns.size(), 2u);
    EXPECT_EQ(result.Columns[1].Name, "b");
    EXPECT_TRUE(result.Rows.empty());
}

TEST_F(PgProvider, QueryTakesTheFirstRowset)
{
    db->Execute("DROP TABLE IF EXISTS first_rowset");
    db->Execute("CREATE TABLE first_rowset (id int)");
    TRecordingReceiver result = Select("INSERT INTO first_rowset VALUES (7); SELECT id * 2 AS twice FROM first_rowset;"
                                       " SELECT 'second'");
    ASSERT_EQ(result.Columns.size(), 1u);
    EXPECT_EQ(result.Columns[0].Name, "twice");
    ASSERT_EQ(result.Rows.size(), 1u);
    EXPECT_EQ(result.Rows[0][0], TReceived::MakeInteger(14));

    TRecordingReceiver none;
    EXPECT_FALSE(db->Query("UPDATE first_rowset SET id = 1", none));
}

TEST_F(PgProvider, AutoIncrementColumns)
{
    db->Execute("DROP TABLE IF EXISTS auto_inc");
    db->Execute("CREATE TABLE auto_inc (id serial PRIMARY KEY, name varchar(10))");
    TRecordingReceiver result = Select("SELECT id, name FROM auto_inc");
    EXPECT_EQ(result.Columns[0].AutoIncrement, std::optional<bool>(true));
    EXPECT_EQ(result.Columns[1].AutoIncrement, std::optional<bool>(false));
}

TEST_F(PgProvider, DriverErrorsBecomeTrimmedMessages)
{
    struct { const char* sql; const char* part; } cases[] = {
        {"SELECT * FROM no_such_table", "relation \"no_such_table\" does not exist"},
        {"SELEKT 1", "syntax error"},
        {"SELECT 1/0", "division by zero"},
    };
    for (const auto& c : cases) {
        std::string query = ErrorOf([&] { TRecordingReceiver r; db->Query(c.sql, r); });
        EXPECT_NE(query.find(c.part), std::string::npos) << query;
        ExpectTrimmed(query);
        std::string execute = ErrorOf([&] { db->Execute(c.sql); });
        EXPECT_NE(execute.find(c.part), std::string::npos) << execute;
    }
    // The connection stays usable after errors.
    EXPECT_EQ(Select("SELECT 5 AS five").Rows.at(0)[0], TReceived::MakeInteger(5));
}

TEST_F(PgProvider, UnboundParameterIsTheDriversError)
{
    std::string message = ErrorOf([&] { TRecordingReceiver r; db->Query("SELECT * FROM pg_class WHERE relname = ?", r); });
    EXPECT_NE(message, "(no error)");
    ExpectTrimmed(message);
}

TEST_F(PgProvider, TablesAndProcedures)
{
    db->Execute("DROP VIEW IF EXISTS listed_view");
    db->Execute("DROP TABLE IF EXISTS listed_table");
    db->Execute("CREATE TABLE listed_table (id int)");
    db->Execute("CREATE VIEW listed_view AS SELECT id FROM listed_table");
    db->Execute("CREATE OR REPLACE FUNCTION listed_function(a int) RETURNS int AS 'SELECT a + 1' LANGUAGE sql");

    TRecordingReceiver tables;
    db->Schema(TSchemaRowset::Tables, tables);
    std::vector<std::string> names;
    for (const auto& column : tables.Columns)
        names.push_back(column.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"TABLE_CAT", "TABLE_SCHEM", "TABLE_NAME", "TABLE_TYPE", "REMARKS"}));
    std::vector<std::string> tableNames = tables.ColumnTexts("TABLE_NAME");
    std::vector<std::string> tableTypes = tables.ColumnTexts("TABLE_TYPE");
    std::map<std::string, std::string> typeOf;
    for (size_t i = 0; i < tableNames.size(); ++i)
        typeOf[tableNames[i]] = tableTypes[i];
    EXPECT_EQ(typeOf["listed_table"], "TABLE");
    EXPECT_EQ(typeOf["listed_view"], "VIEW");

    TRecordingReceiver procedures;
    db->Schema(TSchemaRowset::Procedures, procedures);
    ASSERT_GE(procedures.Columns.size(), 3u);
    EXPECT_EQ(procedures.Columns[0].Name, "PROCEDURE_CAT");
    EXPECT_EQ(procedures.Columns[2].Name, "PROCEDURE_NAME");
    std::vector<std::string> procedureNames = procedures.ColumnTexts("PROCEDURE_NAME");
    EXPECT_NE(std::find(procedureNames.begin(), procedureNames.end(), "listed_function"), procedureNames.end());
}

TEST(OdbcConnect, DescribesTheDatabaseBehindTheDriver)
{
    struct { std::string connection; const char* dbms; const char* quote; } cases[] = {
        {PgConnectionString(), "PostgreSQL", "\""},
        {SqliteOdbcConnectionString(TempPath("dialect.db")), "SQLite", "\""},
    };
    for (const auto& c : cases) {
        auto connection = OpenOdbc(c.connection);
        EXPECT_EQ(connection->DbmsName(), c.dbms) << c.connection;
        EXPECT_EQ(connection->IdentifierQuote(), c.quote) << c.connection;
    }
}

TEST(OdbcConnect, FailuresCarryTheDriverManagersOrDriversText)
{
    struct { std::string connection; const char* part; } cases[] = {
        {"DRIVER={No Such Driver};", "No Such Driver"},
        {"DSN=quillet_no_such_dsn;", "Data source name not found"},
        {"", "Data source name not found"},
        {"DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=1;DATABASE=x;", "connect"},
        {PgConnectionString() + "DATABASE=no_such_db;", "no_such_db"},
    };
    for (const auto& c : cases) {
        std::string message = ErrorOf([&] { OpenOdbc(c.connection); });
        EXPECT_NE(message.find(c.part), std::string::npos) << c.connection << " -> " << message;
        ExpectTrimmed(message);
    }
}

TEST(OdbcConnect, UserIdAndPasswordBecomeUidAndPwd)
{
    TInitProperties props;
    props.Set("Extended Properties",
              "DRIVER={PostgreSQL Unicode};SERVER=" + PgSocketDir() + ";PORT=" + std::to_string(PgPort())
                  + ";DATABASE=quillet");
    props.Set("User ID", "no_such_role");
    props.Set("Password", "p;w");
    std::string message = ErrorOf([&] { OpenOdbcConnection(props); });
    EXPECT_NE(message.find("no_such_role"), std::string::npos) << message;
}

class SqliteOdbc : public testing::Test {
protected:
    void SetUp() override
    {
        file = TempPath(std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".db");
        db = OpenOdbc(SqliteOdbcConnectionString(file));
    }
    std::string file;
    std::unique_ptr<TProviderConnection> db;
};

TEST_F(SqliteOdbc, ExecuteQueryAndTypes)
{
    db->Execute("CREATE TABLE t (id INTEGER PRIMARY KEY, ch CHAR(10), vc VARCHAR(40), r DOUBLE, n NUMERIC(10,2),"
                " ts TIMESTAMP, bl BLOB)");
    EXPECT_EQ(db->Execute("INSERT INTO t VALUES (1, 'ab', 'first', 1.5, 12.5, '2024-01-02 10:30:00', x'00ff'),"
                          " (2, NULL, 'Привет', NULL, NULL, NULL, NULL)"),
              2);
    EXPECT_EQ(db->Execute("UPDATE t SET vc = 'z' WHERE id = 99"), 0);

    TRecordingReceiver result;
    ASSERT_TRUE(db->Query("SELECT * FROM t ORDER BY id", result));
    ASSERT_EQ(result.Columns.size(), 7u);
    EXPECT_EQ(result.Columns[0].AdoType, adInteger);
    EXPECT_EQ(result.Columns[1].DefinedSize, 10);
    EXPECT_EQ(result.Columns[2].AdoType, adVarChar);
    EXPECT_EQ(result.Columns[3].AdoType, adDouble);
    EXPECT_EQ(result.Columns[5].AdoType, adDBTimeStamp);
    ASSERT_EQ(result.Rows.size(), 2u);
    EXPECT_EQ(result.Rows[0][0], TReceived::MakeInteger(1));
    EXPECT_EQ(result.Rows[0][2], TReceived::MakeText("first"));
    EXPECT_EQ(result.Rows[0][3], TReceived::MakeFloat(1.5));
    EXPECT_EQ(result.Rows[0][5], TReceived::MakeText("2024-01-02 10:30:00"));
    EXPECT_EQ(result.Rows[0][6], TReceived::MakeBytes(std::string("\0\xff", 2)));
    EXPECT_EQ(result.Rows[1][1], TReceived::MakeNull());
    EXPECT_EQ(result.Rows[1][2], TReceived::MakeText("Привет"));
    EXPECT_EQ(result.Rows[1][6], TReceived::MakeNull());
}

TEST_F(SqliteOdbc, TablesAndErrors)
{
    db->Execute("CREATE TABLE listed (id INTEGER PRIMARY KEY AUTOINCREMENT)");
    db->Execute("CREATE VIEW listed_v AS SELECT id FROM listed");
    TRecordingReceiver tables;
    db->Schema(TSchemaRowset::Tables, tables);
    std::vector<std::string> names = tables.ColumnTexts("TABLE_NAME");
    std::vector<std::string> types = tables.ColumnTexts("TABLE_TYPE");
    std::map<std::string, std::string> typeOf;
    for (size_t i = 0; i < names.size(); ++i)
        typeOf[names[i]] = types[i];
    EXPECT_EQ(typeOf["listed"], "TABLE");
    EXPECT_EQ(typeOf["listed_v"], "VIEW");

    TRecordingReceiver procedures;
    db->Schema(TSchemaRowset::Procedures, procedures);
    EXPECT_TRUE(procedures.Rows.empty());

    std::string message = ErrorOf([&] { db->Execute("INSERT INTO missing VALUES (1)"); });
    EXPECT_NE(message.find("no such table"), std::string::npos) << message;
    ExpectTrimmed(message);
}

} // namespace

TEST(OdbcConnect, AConnectionStringTooLongForOdbcIsRefusedWhole)
{
    // 65,536 characters more than a working string: cut to its length's low
    // sixteen bits it would name the working database alone.
    const std::string working = SqliteOdbcConnectionString(TempPath("long.db"));
    for (size_t padding : {size_t(32768), size_t(65536)}) {
        const std::string connection = working + "Unused=" + std::string(padding - 7 - 1, 'x') + ";";
        try {
            OpenOdbc(connection);
            ADD_FAILURE() << "connected with " << connection.size() << " characters";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "The connection string is longer than 32767 characters.");
        }
    }
}
