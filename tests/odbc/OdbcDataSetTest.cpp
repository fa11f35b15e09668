// The connection and dataset over a .udl file naming the ODBC provider and a
// real PostgreSQL server through psqlODBC.

#include "Connection.h"
#include "DataSet.h"
#include "FormatSettings.h"
#include "OdbcTestSupport.h"

#include "ErrorOf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// Writes a data link file as Windows does: UTF-16LE with a byte-order mark, CR LF.
std::string WriteDataLink(const std::string& name, const std::string& initString)
{
    std::string path = TempPath(name);
    std::u16string text = u"[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n";
    for (unsigned char c : initString)
        text += static_cast<char16_t>(c);  // the init strings here are ASCII
    text += u"\r\n";
    std::ofstream out(path, std::ios::binary);
    out.write("\xFF\xFE", 2);
    for (char16_t c : text) {
        out.put(static_cast<char>(c & 0xFF));
        out.put(static_cast<char>(c >> 8));
    }
    return path;
}

std::string PgInitString(const std::string& database, const std::string& extra = {})
{
    return "Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"DRIVER={PostgreSQL Unicode};SERVER="
           + PgSocketDir() + ";PORT=" + std::to_string(PgPort()) + ";DATABASE=" + database + ";UID=postgres;" + extra
           + "\"";
}

TFormatSettings IsoSettings()
{
    TFormatSettings settings;
    settings.DecimalSeparator = '.';
    settings.DateSeparator = '-';
    settings.ShortDateFormat = "yyyy/mm/dd";
    settings.LongTimeFormat = "hh:nn:ss";
    return settings;
}

class PgDataSet : public testing::Test {
protected:
    PgDataSet() : settings(IsoSettings()), connection("cnAdo"), dataSet(connection, "dsAdo") {}

    void SetUp() override
    {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        connection.SetConnectionString("FILE NAME=" + WriteDataLink(name + ".udl", PgInitString("quillet", "BoolsAsChar=0;")));
    }

    void OpenQuery(const std::string& sql)
    {
        dataSet.Close();
        dataSet.SetCommandText(sql);
        dataSet.Open();
    }

    TFormatSettingsOverride settings;
    TConnection connection;
    TDataSet dataSet;
};

TEST_F(PgDataSet, ExecuteReportsRecordsAffected)
{
    connection.Execute("DROP TABLE IF EXISTS ds_exec");
    EXPECT_TRUE(connection.Connected()) << "execute opens the connection";
    connection.Execute("CREATE TABLE ds_exec (id int)");
    struct { const char* sql; int64_t affected; } cases[] = {
        {"INSERT INTO ds_exec SELECT generate_series(1, 4)", 4},
        {"UPDATE ds_exec SET id = id + 10 WHERE id <= 2", 2},
        {"UPDATE ds_exec SET id = 0 WHERE id = -1", 0},
        {"DELETE FROM ds_exec", 4},
    };
    for (const auto& c : cases) {
        int64_t affected = -99;
        connection.Execute(c.sql, affected);
        EXPECT_EQ(affected, c.affected) << c.sql;
    }
}

TEST_F(PgDataSet, TableAndProcedureNames)
{
    connection.Execute("DROP VIEW IF EXISTS ds_view");
    connection.Execute("DROP TABLE IF EXISTS ds_table");
    connection.Execute("DROP SEQUENCE IF EXISTS ds_sequence");
    connection.Execute("CREATE TABLE ds_table (id int)");
    connection.Execute("CREATE VIEW ds_view AS SELECT * FROM ds_table");
    connection.Execute("CREATE SEQUENCE ds_sequence");
    connection.Execute("CREATE OR REPLACE FUNCTION ds_function() RETURNS int AS 'SELECT 1' LANGUAGE sql");

    TStringList tables{"stale"};
    connection.GetTableNames(tables);
    auto has = [](const TStringList& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    EXPECT_TRUE(has(tables, "ds_table"));
    EXPECT_TRUE(has(tables, "ds_view"));
    EXPECT_FALSE(has(tables, "ds_sequence"));
    EXPECT_FALSE(has(tables, "pg_class")) << "system tables are left out";
    EXPECT_FALSE(has(tables, "stale"));

    TStringList procedures{"kept"};
    connection.GetProcedureNames(procedures);
    EXPECT_EQ(procedures.front(), "kept");
    EXPECT_TRUE(has(procedures, "ds_function"));
}

struct TFieldCase {
    const char* name;
    const char* type;
    int size;
    int precision;
    const char* text;
};

TEST_F(PgDataSet, FieldTypesAndTexts)
{
    connection.Execute("DROP TABLE IF EXISTS ds_types");
    connection.Execute("CREATE TABLE ds_types (id serial, vc varchar(20), ch char(10), tx text, i2 int2, i4 int4,"
                       " i8 int8, nm numeric(10,2), n0 numeric(5,0), r4 real, r8 double precision, b boolean,"
                       " d date, ts timestamp, tm time, by bytea, u uuid, ru varchar(30))");
    connection.Execute("INSERT INTO ds_types (vc, ch, tx, i2, i4, i8, nm, n0, r4, r8, b, d, ts, tm, by, u, ru)"
                       " VALUES ('abc', 'ab', 'long text', -2, 2147483647, -9223372036854775808, 12.50, 42, 0.1,"
                       " 1e15, true, '2024-01-02', '2024-01-02 10:30:05', '23:59:58', '\\x414243'::bytea,"
                       " 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', 'Съешь ещё этих булок')");
    const TFieldCase cases[] = {
        {"id", "ftAutoInc", 0, 0, "1"},
        {"vc", "ftWideString", 20, 0, "abc"},
        {"ch", "ftWideString", 10, 0, "ab        "},
        {"tx", "ftMemo", 0, 0, "(MEMO)"},
        {"i2", "ftSmallint", 0, 0, "-2"},
        {"i4", "ftInteger", 0, 0, "2147483647"},
        {"i8", "ftLargeint", 0, 0, "-9223372036854775808"},
        {"nm", "ftBCD", 2, 10, "12.5"},
        {"n0", "ftBCD", 0, 5, "42"},
        {"r4", "ftFloat", 0, 0, "0.100000001490116"},
        {"r8", "ftFloat", 0, 0, "1E15"},
        {"b", "ftBoolean", 0, 0, "True"},
        {"d", "ftDate", 0, 0, "2024-01-02"},
        {"ts", "ftDateTime", 0, 0, "2024-01-02 10:30:05"},
        {"tm", "ftTime", 0, 0, "23:59:58"},
        {"by", "ftBlob", 0, 0, "(BLOB)"},
        {"u", "ftGuid", 38, 0, "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}"},
        {"ru", "ftWideString", 30, 0, "Съешь ещё этих булок"},
    };
    OpenQuery("SELECT * FROM ds_types");
    ASSERT_EQ(dataSet.FieldCount(), static_cast<int>(std::size(cases)));
    ASSERT_EQ(dataSet.RecordCount(), 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TFieldCase& c = cases[i];
        TField& field = dataSet.Fields(static_cast<int>(i));
        SCOPED_TRACE(c.name);
        EXPECT_EQ(field.FieldName(), c.name);
        EXPECT_STREQ(FieldTypeName(field.DataType()), c.type);
        EXPECT_EQ(field.Size(), c.size);
        EXPECT_EQ(field.Precision(), c.precision);
        EXPECT_EQ(field.FieldText(), c.text);
    }
    EXPECT_EQ(dataSet.FindField("TX")->ValueText(), "long text");
    EXPECT_EQ(dataSet.FindField("by")->ValueText(), "ABC");
    EXPECT_TRUE(dataSet.FindField("b")->ValueFlag());
}

TEST_F(PgDataSet, NullsAndEmptyResults)
{
    // In dataset commands "::" stands for ":", so casts are written with CAST.
    OpenQuery("SELECT CAST(NULL AS varchar(4)) AS v, CAST(NULL AS text) AS t, CAST(NULL AS int) AS i,"
              " CAST(NULL AS boolean) AS b, CAST(NULL AS bytea) AS y, CAST(NULL AS timestamp) AS ts");
    const std::pair<const char*, const char*> texts[] = {
        {"v", ""}, {"t", "(Memo)"}, {"i", ""}, {"b", ""}, {"y", "(Blob)"}, {"ts", ""}};
    for (const auto& [name, text] : texts) {
        TField* field = dataSet.FindField(name);
        ASSERT_NE(field, nullptr) << name;
        EXPECT_TRUE(field->ValueIsNull()) << name;
        EXPECT_EQ(field->FieldText(), text) << name;
    }

    OpenQuery("SELECT relname, relpages FROM pg_class WHERE 1 = 2");
    EXPECT_EQ(dataSet.FieldCount(), 2);
    EXPECT_EQ(dataSet.RecordCount(), 0);
    EXPECT_EQ(dataSet.RecNo(), -1);
    dataSet.First();
    EXPECT_TRUE(dataSet.Eof());
}

TEST_F(PgDataSet, ErrorsComeFromTheDriver)
{
    std::string missing = ErrorOf([&] { OpenQuery("SELECT * FROM ds_no_such_table"); });
    EXPECT_EQ(missing.rfind("ERROR: relation \"ds_no_such_table\" does not exist", 0), 0u) << missing;
    EXPECT_FALSE(dataSet.Active());

    // A ":name" marker reaches the driver as an unbound "?".
    std::string parameter = ErrorOf([&] { OpenQuery("SELECT relname FROM pg_class WHERE relname = :name"); });
    EXPECT_EQ(dataSet.ProviderCommandText(), "SELECT relname FROM pg_class WHERE relname = ?");
    EXPECT_NE(parameter, "(no error)");
    EXPECT_FALSE(dataSet.Active());

    std::string noRowset = ErrorOf([&] { OpenQuery("SET search_path TO public"); });
    EXPECT_EQ(noRowset, "dsAdo: CommandText does not return a result set");

    // A colon inside quotes is no marker; "::::" reaches the server as a "::" cast.
    OpenQuery("SELECT ':name' AS quoted, '7'::::int AS seven");
    EXPECT_EQ(dataSet.Fields(0).ValueText(), ":name");
    EXPECT_EQ(dataSet.Fields(1).FieldText(), "7");
}

TEST(OdbcDataLink, ByDataSourceName)
{
    // A user DSN in an odbc.ini of our own, which unixODBC finds through ODBCINI.
    std::string ini = TempPath("odbc.ini");
    std::ofstream(ini) << "[quillet_test]\nDriver=PostgreSQL Unicode\nServername=" << PgSocketDir()
                       << "\nPort=" << PgPort() << "\nDatabase=quillet\n";
    const char* old = std::getenv("ODBCINI");
    std::string saved = old ? old : "";
    setenv("ODBCINI", ini.c_str(), 1);
    TConnection connection("cnAdo");
    connection.SetConnectionString("FILE NAME=" + WriteDataLink("dsn.udl",
        "Provider=MSDASQL.1;Persist Security Info=False;User ID=postgres;Data Source=quillet_test"));
    TStringList tables;
    EXPECT_NO_THROW(connection.GetTableNames(tables));
    connection.Close();
    if (old)
        setenv("ODBCINI", saved.c_str(), 1);
    else
        unsetenv("ODBCINI");
}

TEST(OdbcDataLink, SqliteDriverEndToEnd)
{
    TFormatSettingsOverride settings(IsoSettings());
    std::string file = TempPath("end_to_end.db");
    TConnection connection("cnAdo");
    connection.SetConnectionString("FILE NAME=" + WriteDataLink("sqlite.udl",
        "Provider=MSDASQL.1;Extended Properties=\"Driver=SQLite3;Database=" + file + ";\""));
    connection.Execute("CREATE TABLE t (id INTEGER PRIMARY KEY, ch CHAR(10), name VARCHAR(20))");
    int64_t affected = 0;
    connection.Execute("INSERT INTO t VALUES (1, 'ab', 'один'), (2, NULL, 'два')", affected);
    EXPECT_EQ(affected, 2);
    TStringList tables;
    connection.GetTableNames(tables);
    EXPECT_EQ(tables, TStringList{"t"});

    TDataSet dataSet(connection, "dsAdo");
    dataSet.SetCommandText("SELECT * FROM t ORDER BY id");
    dataSet.Open();
    ASSERT_EQ(dataSet.RecordCount(), 2);
    EXPECT_STREQ(FieldTypeName(dataSet.Fields(2).DataType()), "ftString");
    EXPECT_EQ(dataSet.Fields(2).Size(), 20);
    EXPECT_EQ(dataSet.Fields(2).FieldText(), "один");
    dataSet.Next();
    EXPECT_TRUE(dataSet.Fields(1).ValueIsNull());
    EXPECT_EQ(dataSet.Fields(2).FieldText(), "два");
}

// The Chinook sample database, loaded with psql from its public script.
TEST(OdbcChinook, EveryTableReads)
{
    const std::string script = std::string(QUILLET_CHINOOK_DIR) + "/Chinook_PostgreSql.sql";
    if (!std::filesystem::exists(script))
        GTEST_SKIP() << "no " << script;
    auto admin = OpenOdbc(PgConnectionString());
    TRecordingReceiver exists;
    admin->Query("SELECT 1 FROM pg_database WHERE datname = 'chinook'", exists);
    if (exists.Rows.empty()) {
        std::string command = "psql -X -q -v ON_ERROR_STOP=1 -h " + PgSocketDir() + " -p " + std::to_string(PgPort())
                              + " -U postgres -d postgres -f '" + script + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    TFormatSettingsOverride settings(IsoSettings());
    TConnection connection("cnAdo");
    connection.SetConnectionString("FILE NAME=" + WriteDataLink("chinook.udl", PgInitString("chinook")));
    TStringList tables;
    connection.GetTableNames(tables);
    std::sort(tables.begin(), tables.end());
    EXPECT_EQ(tables, (TStringList{"album", "artist", "customer", "employee", "genre", "invoice", "invoice_line",
                                   "media_type", "playlist", "playlist_track", "track"}));
    TDataSet counts(connection, "dsCount");
    TDataSet dataSet(connection, "dsAdo");
    for (const std::string& table : tables) {
        SCOPED_TRACE(table);
        counts.Close();
        counts.SetCommandText("SELECT count(*) FROM " + table);
        counts.Open();
        dataSet.Close();
        dataSet.SetCommandText("SELECT * FROM " + table);
        dataSet.Open();
        EXPECT_EQ(std::to_string(dataSet.RecordCount()), counts.Fields(0).FieldText());
        EXPECT_GT(dataSet.RecordCount(), 0);
        size_t characters = 0;
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
            for (int i = 0; i < dataSet.FieldCount(); ++i)
                characters += dataSet.Fields(i).DisplayText().size();
        EXPECT_GT(characters, 0u);
    }
    dataSet.Close();
    dataSet.SetCommandText("SELECT name FROM artist WHERE artist_id = 1");
    dataSet.Open();
    EXPECT_EQ(dataSet.Fields(0).FieldText(), "AC/DC");
    dataSet.Close();
    dataSet.SetCommandText("SELECT unit_price, invoice_date FROM invoice_line JOIN invoice USING (invoice_id)"
                           " WHERE invoice_line_id = 1");
    dataSet.Open();
    EXPECT_EQ(dataSet.Fields(0).FieldText(), "0.99");
    EXPECT_EQ(dataSet.Fields(1).FieldText(), "2021-01-01");
}

} // namespace
