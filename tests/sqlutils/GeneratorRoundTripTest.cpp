// INSERT scripts made from whole databases load back into an empty copy of
// their schema, with the same rows and every integer, string (trimmed), NULL
// and byte value unchanged.

#include "ExportToSql.h"
#include "GeneratorTestDb.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace {

using gentest::ExecSqlite;
using gentest::TTempDir;

using TDb = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;
using TStmt = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

TDb OpenSqlite(const std::string& file)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    return TDb(db, sqlite3_close);
}

TStmt Prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    return TStmt(stmt, sqlite3_finalize);
}

std::string ColumnBytes(sqlite3_stmt* stmt, int column)
{
    const void* data = sqlite3_column_blob(stmt, column);
    return std::string(static_cast<const char*>(data), static_cast<size_t>(sqlite3_column_bytes(stmt, column)));
}

std::string Trimmed(std::string text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    size_t start = 0;
    while (start < text.size() && blank(text[start]))
        ++start;
    return text.substr(start);
}

enum class TCheck { Integer, Text, Bytes, NullOnly, Unchecked };

TCheck CheckFor(TFieldType type)
{
    switch (type) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
        return TCheck::Integer;
    case ftString: case ftMemo: case ftWideString: case ftFixedChar: case ftGuid:
        return TCheck::Text;
    case ftBytes: case ftVarBytes: case ftBlob:
        return TCheck::Bytes;
    case ftDate: case ftDateTime:  // midnight of 30 December 1899 reads as null
        return TCheck::Unchecked;
    default:
        return TCheck::NullOnly;
    }
}

// Compares every row of the table in both databases, in rowid order.
void CompareTable(sqlite3* source, sqlite3* target, const std::string& table, const std::vector<TFieldType>& types)
{
    const std::string sql = "SELECT * FROM \"" + table + "\" ORDER BY rowid";
    TStmt a = Prepare(source, sql), b = Prepare(target, sql);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(static_cast<size_t>(sqlite3_column_count(a.get())), types.size()) << table;
    for (int row = 1;; ++row) {
        const int ra = sqlite3_step(a.get()), rb = sqlite3_step(b.get());
        ASSERT_EQ(ra, rb) << table << " row " << row;
        if (ra != SQLITE_ROW)
            return;
        for (size_t i = 0; i < types.size(); ++i) {
            const int c = static_cast<int>(i);
            const int sourceClass = sqlite3_column_type(a.get(), c), targetClass = sqlite3_column_type(b.get(), c);
            const std::string where = table + " row " + std::to_string(row) + " column " + std::to_string(c);
            const TCheck check = CheckFor(types[i]);
            if (check == TCheck::Unchecked)
                continue;
            ASSERT_EQ(sourceClass == SQLITE_NULL, targetClass == SQLITE_NULL) << where;
            if (check == TCheck::Integer && sourceClass == SQLITE_INTEGER) {
                EXPECT_EQ(sqlite3_column_int64(a.get(), c), sqlite3_column_int64(b.get(), c)) << where;
            } else if (check == TCheck::Integer && sourceClass == SQLITE_TEXT) {
                // Text kept in an integer column comes back as the same text.
                EXPECT_EQ(ColumnBytes(a.get(), c), ColumnBytes(b.get(), c)) << where;
            } else if (check == TCheck::Text && sourceClass == SQLITE_TEXT) {
                EXPECT_EQ(Trimmed(ColumnBytes(a.get(), c)), ColumnBytes(b.get(), c)) << where;
            } else if (check == TCheck::Bytes && sourceClass == SQLITE_BLOB) {
                EXPECT_EQ(ColumnBytes(a.get(), c), ColumnBytes(b.get(), c)) << where;
            }
        }
    }
}

// Exports every table of the database through the data layer and loads the
// scripts into a new database with the same schema.
void RoundTrip(const std::string& sourceFile)
{
    TTempDir dir;
    const std::string targetFile = dir.File("copy.db");
    TStringList tables;
    {
        TDb source = OpenSqlite(sourceFile);
        TStmt schema = Prepare(source.get(),
                               "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
        while (sqlite3_step(schema.get()) == SQLITE_ROW) {
            tables.push_back(ColumnBytes(schema.get(), 0));
            ExecSqlite(targetFile, ColumnBytes(schema.get(), 1));
        }
    }
    ASSERT_FALSE(tables.empty());

    TConnection connection("cnAdo");
    connection.SetConnectionString("FILE NAME=" + gentest::WriteUdl(dir, sourceFile));
    TDataSet dataSet(connection, "dsAdo");
    for (const std::string& table : tables) {
        dataSet.Close();
        dataSet.SetCommandText("SELECT * FROM " + table + " ORDER BY rowid");
        dataSet.Open();
        std::vector<TFieldType> types;
        for (int i = 0; i < dataSet.FieldDefCount(); ++i)
            types.push_back(dataSet.FieldDefs(i).DataType);

        TExportToSQL exporter(dataSet);
        exporter.SetQuoteChar("\"");
        const std::string script = dir.File(table + ".sql");
        exporter.SaveToFile(script);
        ASSERT_EQ(exporter.ScriptLines.size(), static_cast<size_t>(dataSet.RecordCount())) << table;
        ASSERT_NO_THROW(ExecSqlite(targetFile, "BEGIN;\n" + ReadFileBytes(script) + "\nCOMMIT;")) << table;

        TDb source = OpenSqlite(sourceFile), target = OpenSqlite(targetFile);
        CompareTable(source.get(), target.get(), table, types);
    }
}

TEST(GeneratorRoundTripTest, HostileValuesStayInsideTheirLiterals)
{
    TTempDir dir;
    const std::string file = dir.File("hostile.db");
    ExecSqlite(file,
        "CREATE TABLE t (id INTEGER PRIMARY KEY, s VARCHAR(60), m TEXT, n INTEGER, b BLOB, tm TIME, r REAL,"
        " d NUMERIC(10,2), flag BOOLEAN, \"we\"\"ird\" INT, \"x]y\" INT);"
        "INSERT INTO t VALUES (1, 'x''); DROP TABLE t; --', 'a' || char(13, 10) || ''');--', 9223372036854775807,"
        " X'27290D0A3B00FF', '12:30:00', 0.5, 12.34, 1, 5, 6);"
        "INSERT INTO t VALUES (2, '  padded  ', '', -9223372036854775808, X'', '23:59:59', -1e-7, -0.01, 0,"
        " NULL, NULL);"
        "INSERT INTO t VALUES (3, NULL, NULL, '1); DROP TABLE t; --', NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
        "INSERT INTO t VALUES (4, 'Привет', CAST(X'8fe0a8a2a5e2' AS TEXT), 0, X'00', NULL, NULL, NULL, NULL,"
        " 1, 2);");
    RoundTrip(file);
}

#ifdef QUILLET_SAMPLE_DB
TEST(GeneratorRoundTripTest, EveryTableOfTheSampleDatabase)
{
    if (!std::filesystem::exists(QUILLET_SAMPLE_DB))
        GTEST_SKIP() << "no sample database at " << QUILLET_SAMPLE_DB;
    RoundTrip(QUILLET_SAMPLE_DB);
}
#endif

#ifdef QUILLET_CHINOOK_DIR
TEST(GeneratorRoundTripTest, EveryTableOfChinook)
{
    const std::string script = std::string(QUILLET_CHINOOK_DIR) + "/Chinook_Sqlite.sql";
    if (!std::filesystem::exists(script))
        GTEST_SKIP() << "no Chinook script at " << script;
    TTempDir dir;
    const std::string file = dir.File("chinook.db");
    ExecSqlite(file, "BEGIN;\n" + ReadFileBytes(script) + "\nCOMMIT;");
    RoundTrip(file);
}
#endif

} // namespace
