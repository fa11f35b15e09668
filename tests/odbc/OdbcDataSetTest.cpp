// The connection and dataset over a .udl file naming the ODBC provider and a
// real PostgreSQL server through psqlODBC.

#include "Connection.h"
#include "DataSet.h"
#include "ExportToSql.h"
#include "FormatSettings.h"
#include "OdbcDiagnostics.h"
#include "OdbcTestSupport.h"

#include "ErrorOf.h"
#include "QueryRows.h"
#include "RecordTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

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

// psqlODBC turns what a date structure cannot hold into some other date
// (infinity into today, 10000-01-01 into 1000-12-10, BC dropped); read as
// text, such a value keeps the driver's text, never another valid date.
TEST_F(PgDataSet, DatesTheDataLayerCannotHoldKeepTheirText)
{
    OpenQuery("SELECT CAST('2024-01-02' AS date) AS d, CAST('infinity' AS date) AS inf,"
              " CAST('10000-01-01' AS date) AS far, CAST('0044-03-15 10:00' AS timestamp) AS ad,"
              " CAST('0044-03-15 10:00 BC' AS timestamp) AS bc, CAST('2024-01-02 10:30:00.123456' AS timestamp) AS us,"
              " CAST('24:00:00' AS time) AS midnight");
    const std::pair<const char*, const char*> texts[] = {
        {"d", "2024-01-02"}, {"inf", "0000-00-00"}, {"far", "1000-00-00"}, {"ad", "0044-03-15 10:00:00"},
        {"bc", "0044-03-15 10:00:00 BC"}, {"us", "2024-01-02 10:30:00"}, {"midnight", "24:00:00"}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(dataSet.FindField(name)->FieldText(), text) << name;
}

TEST_F(PgDataSet, ALongMessageArrivesWholeAndOnce)
{
    std::string words;
    for (int i = 0; i < 150; ++i)
        words += "abcdefghij ";
    std::string message = ErrorOf([&] {
        connection.Execute("DO $$BEGIN RAISE EXCEPTION '%', repeat('abcdefghij ', 150); END$$");
    });
    EXPECT_EQ(message.find("abcdefghi\n"), std::string::npos) << message;
    EXPECT_NE(message.find(words.substr(0, words.size() - 1)), std::string::npos) << message;
}

// PostgreSQL reads X'...' as a bit string: a bytea script carries its bytes
// as '\x...' and loads back with every byte.
TEST_F(PgDataSet, ByteaScriptLoadsBackIntoPostgreSql)
{
    connection.Execute("DROP TABLE IF EXISTS ds_bytes; DROP TABLE IF EXISTS ds_bytes_copy");
    connection.Execute("CREATE TABLE ds_bytes (id int, b bytea); CREATE TABLE ds_bytes_copy (id int, b bytea)");
    connection.Execute("INSERT INTO ds_bytes VALUES (1, '\\x00ff27275c0d0a41'), (2, ''), (3, NULL)");
    OpenQuery("SELECT * FROM ds_bytes ORDER BY id");
    TExportToSQL exporter(dataSet);
    exporter.TableName = "ds_bytes_copy";
    exporter.Generate();
    ASSERT_EQ(exporter.ScriptLines,
              (TStringList{"INSERT INTO ds_bytes_copy (ID, B) VALUES (1, '\\x00FF27275C0D0A41');",
                           "INSERT INTO ds_bytes_copy (ID, B) VALUES (2, '\\x');",
                           "INSERT INTO ds_bytes_copy (ID, B) VALUES (3, null);"}));
    for (const std::string& line : exporter.ScriptLines)
        connection.Execute(line);
    OpenQuery("SELECT count(*) AS same FROM ds_bytes a JOIN ds_bytes_copy c"
              " ON a.id = c.id AND a.b IS NOT DISTINCT FROM c.b");
    EXPECT_EQ(dataSet.Fields(0).ValueText(), "3");
}

TEST(OdbcDiagnostics, RecordsJoinLineByLineWithoutRepeats)
{
    const std::string lost = "server closed the connection unexpectedly\n\tThis probably means the server terminated";
    struct { std::vector<std::string> records; std::string text; } cases[] = {
        {{}, ""},
        {{"ERROR: x;\nError while executing the query"}, "ERROR: x;\nError while executing the query"},
        {{lost, lost, lost, lost}, lost},
        {{"could not send data;\n" + lost + "\n" + lost, lost}, "could not send data;\n" + lost},
        {{"a", "", "b", "a"}, "a\nb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinDiagnosticRecords(c.records), c.text);
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

namespace {

// Through a server cursor (psqlODBC's UseDeclareFetch) the rows come from the
// server as the dataset asks for them, a hundred at a time.
class PgFetch : public PgDataSet {
protected:
    void SetUp() override
    {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        connection.SetConnectionString("FILE NAME=" + WriteDataLink(name + ".udl", PgInitString("quillet", CursorOptions)));
    }

    static constexpr const char* CursorOptions = "BoolsAsChar=0;UseDeclareFetch=1;Fetch=100;";

    // One value through a connection of its own.
    static std::string AdminValue(const std::string& sql)
    {
        TRecordingReceiver result;
        OpenOdbc(PgConnectionString())->Query(sql, result);
        return result.Rows.empty() ? "<no row>" : result.ColumnTexts(result.Columns.at(0).Name).at(0);
    }
};

} // namespace

TEST_F(PgFetch, WalkingTheCursorEqualsTheWholeResult)
{
    connection.Execute("DROP TABLE IF EXISTS fetch_types");
    connection.Execute(
        "CREATE TABLE fetch_types AS SELECT g AS id,"
        " CASE WHEN g % 11 = 0 THEN NULL ELSE 'name ' || g END::varchar(20) AS vc,"
        " CASE WHEN g % 7 = 0 THEN NULL ELSE 'c' || g % 10 END::char(10) AS ch,"
        " CASE WHEN g % 13 = 0 THEN NULL ELSE repeat('memo ', g % 200) || g END AS tx,"
        " g::int8 * 1000003 AS i8, CASE WHEN g % 5 = 0 THEN NULL ELSE (g * 7 % 100000) / 100.0 END::numeric(10,2) AS nm,"
        " g / 8.0::float8 AS r8, CASE WHEN g % 3 = 0 THEN NULL ELSE g % 2 = 0 END AS b,"
        " date '2000-01-01' + g AS d, timestamp '2000-01-01' + g * interval '37 minutes' AS ts,"
        " CASE WHEN g % 17 = 0 THEN NULL ELSE decode(md5(g::text), 'hex') END AS by,"
        " md5(g::text)::uuid AS u, 'Съешь ещё ' || g AS ru"
        " FROM generate_series(1, 2517) g");
    const std::string sql = "SELECT * FROM fetch_types ORDER BY id";

    // The reference: the driver reads the whole result at once.
    TConnection whole("cnWhole");
    whole.SetConnectionString("FILE NAME=" + WriteDataLink("whole.udl", PgInitString("quillet", "BoolsAsChar=0;")));
    TDataSet all(whole, "dsWhole");
    all.SetCommandText(sql);
    all.Open();
    ASSERT_EQ(all.RecordCount(), 2517);
    const std::vector<std::string> expected = WalkRecords(all);

    OpenQuery(sql);
    EXPECT_LE(dataSet.FetchedRecordCount(), TDataSet::BatchRows);
    EXPECT_TRUE(dataSet.CanFetchMore());
    EXPECT_EQ(WalkRecords(dataSet), expected);
    EXPECT_FALSE(dataSet.CanFetchMore());

    OpenQuery(sql);
    dataSet.Next();
    EXPECT_EQ(dataSet.RecordCount(), 2517);
    EXPECT_EQ(dataSet.RecNo(), 2);
    EXPECT_EQ(WalkRecords(dataSet).size(), 2516u);
}

// The UPDATE runs after the dataset has fetched the rest: it shows the rows
// from before the UPDATE, and the UPDATE is committed.
TEST_F(PgFetch, AnUpdateWaitsForTheHalfFetchedResult)
{
    connection.Execute("DROP TABLE IF EXISTS fetch_update");
    connection.Execute("CREATE TABLE fetch_update AS SELECT g AS id, g AS v FROM generate_series(1, 100000) g");
    OpenQuery("SELECT id, v FROM fetch_update ORDER BY id");
    for (int i = 1; i < 50000; ++i)
        dataSet.Next();
    ASSERT_TRUE(dataSet.CanFetchMore());

    int64_t affected = 0;
    connection.Execute("UPDATE fetch_update SET v = -v", affected);
    EXPECT_EQ(affected, 100000);
    EXPECT_FALSE(dataSet.CanFetchMore());
    EXPECT_EQ(dataSet.FetchedRecordCount(), 100000);
    int wrong = 0;
    for (; !dataSet.Eof(); dataSet.Next())
        wrong += dataSet.Fields(1).FieldText() != dataSet.Fields(0).FieldText();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(AdminValue("SELECT max(v) FROM fetch_update"), "-1");
}

TEST_F(PgFetch, AServerGoneBetweenBatchesFailsTheNextThatNeedsARow)
{
    OpenQuery("SELECT pg_backend_pid() AS pid");
    const std::string pid = dataSet.Fields(0).FieldText();
    OpenQuery("SELECT g AS n FROM generate_series(1, 100000) g");
    const int fetched = dataSet.FetchedRecordCount();
    ASSERT_TRUE(dataSet.CanFetchMore());

    ASSERT_EQ(AdminValue("SELECT pg_terminate_backend(" + pid + ")"), "1");
    for (int wait = 0; wait < 100 && AdminValue("SELECT count(*) FROM pg_stat_activity WHERE pid = " + pid) != "0"; ++wait)
        usleep(100000);

    int visited = 0;
    std::string error = ErrorOf([&] {
        for (; !dataSet.Eof(); dataSet.Next())
            ++visited;
    });
    EXPECT_NE(error, "(no error)");
    EXPECT_FALSE(error.empty());
    EXPECT_GE(visited, fetched);
    EXPECT_LT(visited, 100000);
    EXPECT_TRUE(dataSet.Eof());
    EXPECT_FALSE(dataSet.CanFetchMore());
    EXPECT_EQ(dataSet.RecordCount(), visited);
    dataSet.First();
    EXPECT_EQ(dataSet.Fields(0).FieldText(), "1");
}

TEST_F(PgFetch, ClosingAfterTheFirstBatchFreesTheConnection)
{
    connection.Execute("DROP TABLE IF EXISTS fetch_close");
    connection.Execute("CREATE TABLE fetch_close (id int)");
    const std::string big = "SELECT g AS n FROM generate_series(1, 1000000) g";
    OpenQuery(big);
    ASSERT_TRUE(dataSet.CanFetchMore());
    dataSet.Close();
    connection.Execute("INSERT INTO fetch_close VALUES (1)");
    EXPECT_EQ(AdminValue("SELECT count(*) FROM fetch_close"), "1");

    OpenQuery(big);
    const int fetched = dataSet.FetchedRecordCount();
    connection.Close();
    EXPECT_TRUE(dataSet.Active());
    EXPECT_FALSE(dataSet.CanFetchMore());
    EXPECT_EQ(dataSet.RecordCount(), fetched);
    connection.Execute("INSERT INTO fetch_close VALUES (2)");
    EXPECT_EQ(AdminValue("SELECT count(*) FROM fetch_close"), "2");
}

// Edits of a result written back through psqlODBC, each checked by reading the
// table again on another connection. Tests run in parallel: each has tables of
// its own, named T("item") and so on.
class PgWriteBack : public PgDataSet {
protected:
    void SetUp() override
    {
        PgDataSet::SetUp();
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, "_%08zx", std::hash<std::string>()(name) & 0xffffffff);
        suffix_ = suffix;
        connection.Execute("DROP TABLE IF EXISTS " + T("item") + ", " + T("loose") + ", " + T("tag"));
        connection.Execute("CREATE TABLE " + T("item") + " (id serial PRIMARY KEY, name varchar(20), "
                           "price numeric(10,2), born date, ok boolean)");
        connection.Execute("INSERT INTO " + T("item") + " (name, price, born, ok) VALUES "
                           "('one', 1.5, '2024-03-05', true), ('two', NULL, NULL, false)");
        connection.Execute("CREATE TABLE " + T("loose") + " (a int, b text)");
        connection.Execute("INSERT INTO " + T("loose") + " VALUES (1, 'x'), (1, 'x'), (2, NULL)");
        connection.Execute("CREATE TABLE " + T("tag") + " (item_id int, label text)");
        connection.Execute("INSERT INTO " + T("tag") + " VALUES (1, 'red')");
    }

    std::string T(const std::string& table) const { return "wb_" + table + suffix_; }

    std::vector<std::string> Rows(const std::string& sql) { return QueryRows(connection.ConnectionString(), sql); }

private:
    std::string suffix_;
};

using Texts = std::vector<std::string>;

TEST_F(PgWriteBack, EditInsertAndDeleteRoundTrip)
{
    OpenQuery("SELECT id, name, price, born, ok FROM " + T("item") + " ORDER BY id");
    ASSERT_TRUE(dataSet.CanModify());
    dataSet.FindField("name")->SetText("ONE");
    dataSet.FindField("price")->SetText("2.25");
    dataSet.FindField("born")->SetText("2023-08-07");
    dataSet.FindField("ok")->SetFlag(false);
    dataSet.Post();
    dataSet.Append();
    dataSet.FindField("id")->SetText("10");
    dataSet.FindField("name")->SetText("new");
    dataSet.FindField("ok")->SetText("True");
    dataSet.Post();
    dataSet.MoveTo(1);
    dataSet.Delete();
    EXPECT_EQ(Rows("SELECT id, name, price, born, ok FROM " + T("item") + " ORDER BY id"),
              (Texts{"1|ONE|2.25|2023-08-07|False", "10|new|||True"}));
}

TEST_F(PgWriteBack, ARowChangedByAnotherConnectionIsNotOverwritten)
{
    OpenQuery("SELECT id, name FROM " + T("item") + " ORDER BY id");
    connection.Execute("UPDATE " + T("item") + " SET name = 'theirs' WHERE id = 1");
    dataSet.FindField("name")->SetText("mine");
    EXPECT_EQ(ErrorOf([&] { dataSet.Post(); }), "The record was changed or deleted by someone else since it was read.");
    EXPECT_EQ(dataSet.FindField("name")->ValueText(), "mine");
    dataSet.Cancel();
    EXPECT_EQ(Rows("SELECT name FROM " + T("item") + " WHERE id = 1"), Texts{"theirs"});
}

TEST_F(PgWriteBack, WithoutAKeyAllValuesLocateTheRow)
{
    OpenQuery("SELECT a, b FROM " + T("loose") + " ORDER BY a");
    dataSet.FindField("b")->SetText("y");
    EXPECT_EQ(ErrorOf([&] { dataSet.Post(); }), "The record was changed or deleted by someone else since it was read.");
    dataSet.Cancel();
    dataSet.MoveTo(2);
    dataSet.FindField("b")->SetText("z");
    dataSet.Post();
    EXPECT_EQ(Rows("SELECT a, b FROM " + T("loose") + " ORDER BY a, b"), (Texts{"1|x", "1|x", "2|z"}));
}

TEST_F(PgWriteBack, AJoinIsReadOnly)
{
    OpenQuery("SELECT i.name, t.label FROM " + T("item") + " i JOIN " + T("tag") + " t ON t.item_id = i.id");
    EXPECT_FALSE(dataSet.CanModify());
    EXPECT_EQ(ErrorOf([&] { dataSet.Fields(0).SetText("x"); }),
              "This result cannot be edited: its rows do not come from one table.");
}
