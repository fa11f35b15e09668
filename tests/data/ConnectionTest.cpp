#include "Connection.h"
#include "TestDatabase.h"

#include <filesystem>
#include "ErrorOf.h"

#include <gtest/gtest.h>

namespace {

class ConnectionTest : public testing::Test {
protected:
    void SetUp() override
    {
        MakeDatabase(dir.File("db.sqlite"),
                     "CREATE TABLE b_items(id INTEGER PRIMARY KEY, name TEXT);"
                     "CREATE TABLE a_seq(id INTEGER PRIMARY KEY AUTOINCREMENT, v TEXT);"
                     "INSERT INTO a_seq(v) VALUES ('x');"
                     "CREATE VIEW v_items AS SELECT * FROM b_items;"
                     "INSERT INTO b_items VALUES (1, 'a'), (2, 'b'), (3, 'c');");
        WriteBytes(dir.File("db.udl"), Utf16Udl("Provider=SQLite.1;Data Source=db.sqlite"));
        cn.SetConnectionString("FILE NAME=" + dir.File("db.udl"));
    }
    TTempDir dir;
    TConnection cn{"cnAdo"};
};

} // namespace

TEST_F(ConnectionTest, ExecuteOpensImplicitlyAndCountsRecords)
{
    EXPECT_FALSE(cn.Connected());
    int64_t affected = -1;
    cn.Execute("UPDATE b_items SET name = name || '!' WHERE id >= 2", affected);
    EXPECT_TRUE(cn.Connected());
    EXPECT_EQ(affected, 2);
    cn.Execute("UPDATE b_items SET name = 'z' WHERE id = 99", affected);
    EXPECT_EQ(affected, 0);
    cn.Execute("DELETE FROM b_items WHERE id = 1");
    cn.Execute("SELECT * FROM b_items", affected);
    EXPECT_EQ(affected, 0);
    // Only what the statements changed: no stale count after DDL.
    struct { const char* sql; int64_t affected; } texts[] = {
        {"INSERT INTO b_items VALUES (7, 'g'); CREATE TABLE q(a)", 1},
        {"CREATE TABLE r(a)", 0},
        {"INSERT INTO q VALUES (1), (2); DROP TABLE r; UPDATE q SET a = 3 WHERE a = 1", 3},
        {"UPDATE q SET a = 4 WHERE a = 99; CREATE INDEX qa ON q(a)", 0},
    };
    for (const auto& t : texts) {
        cn.Execute(t.sql, affected);
        EXPECT_EQ(affected, t.affected) << t.sql;
    }
    cn.Close();
    EXPECT_FALSE(cn.Connected());
    cn.Close();
}

TEST_F(ConnectionTest, ListsTablesViewsAndNoProcedures)
{
    TStringList tables{"stale"};
    cn.GetTableNames(tables);
    EXPECT_EQ(tables, (TStringList{"a_seq", "b_items", "v_items"}));
    cn.GetTableNames(tables, true);
    EXPECT_EQ(tables, (TStringList{"sqlite_sequence", "a_seq", "b_items", "v_items"}));
    TStringList procedures{"kept"};
    cn.GetProcedureNames(procedures);
    EXPECT_EQ(procedures, TStringList{"kept"});
}

TEST_F(ConnectionTest, ProviderErrorsCarryTheDriverText)
{
    EXPECT_EQ(ErrorOf([&] { cn.Execute("SELEKT 1"); }), "near \"SELEKT\": syntax error");
    EXPECT_EQ(ErrorOf([&] { cn.Execute("SELECT * FROM b_items WHERE id = ?"); }),
              "No value given for one or more required parameters");
    EXPECT_EQ(ErrorOf([&] { cn.Execute("SELECT * FROM b_items WHERE id = :id"); }),
              "No value given for one or more required parameters");
    EXPECT_TRUE(cn.Connected());  // a failed execute keeps the connection it opened
}

TEST_F(ConnectionTest, ProvidersArePickedByName)
{
    struct { std::string init; std::string error; } cases[] = {
        {"Data Source=db.sqlite", "Provider \"VFPOLEDB.1\" is not available; the providers available are SQLite, MSDASQL"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=db.sqlite",
         "Provider \"Microsoft.Jet.OLEDB.4.0\" is not available; the providers available are SQLite, MSDASQL"},
        {"Provider=sqlite;Data Source=db.sqlite", ""},
        {"Provider=SQLite;Data Source=" + dir.File("db.sqlite"), ""},
    };
    for (const auto& c : cases) {
        WriteBytes(dir.File("p.udl"), Utf16Udl(c.init));
        TConnection connection("cnAdo");
        connection.SetConnectionString("FILE NAME=" + dir.File("p.udl"));
        if (c.error.empty())
            EXPECT_NO_THROW(connection.Open()) << c.init;
        else
            EXPECT_EQ(ErrorOf([&] { connection.Open(); }), c.error);
    }
}

TEST_F(ConnectionTest, MissingDatabaseIsAnErrorAndNotCreated)
{
    WriteBytes(dir.File("m.udl"), Utf16Udl("Provider=SQLite;Data Source=nothing.db"));
    TConnection connection("cnAdo");
    connection.SetConnectionString("FILE NAME=" + dir.File("m.udl"));
    std::string error = ErrorOf([&] { connection.Open(); });
    EXPECT_NE(error.find(dir.File("nothing.db")), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.File("nothing.db")));
    EXPECT_FALSE(connection.Connected());

    // A file that is not a SQLite database fails when the connection opens.
    WriteBytes(dir.File("notes.txt"), "Just some text, not a database at all.\n");
    WriteBytes(dir.File("t.udl"), Utf16Udl("Provider=SQLite;Data Source=notes.txt"));
    connection.SetConnectionString("FILE NAME=" + dir.File("t.udl"));
    EXPECT_EQ(ErrorOf([&] { connection.Open(); }),
              "Cannot open the SQLite database \"" + dir.File("notes.txt") + "\": file is not a database");
    EXPECT_FALSE(connection.Connected());

    TConnection unnamed("cnAdo");
    EXPECT_EQ(ErrorOf([&] { unnamed.Open(); }), "cnAdo: The connection string is empty");
    unnamed.SetConnectionString("FILE NAME=" + dir.File("absent.udl"));
    EXPECT_NE(ErrorOf([&] { unnamed.Open(); }).find(dir.File("absent.udl")), std::string::npos);
}

TEST_F(ConnectionTest, KnowsItsDatabaseAndIdentifierQuote)
{
    EXPECT_EQ(cn.DbmsName(), "SQLite");
    EXPECT_TRUE(cn.Connected());
    EXPECT_EQ(cn.IdentifierQuote(), "\"");
}

TEST(SchemaObjectTest, NamesOnlyWhatIsNotAPlainIdentifierInQuotes)
{
    constexpr TIdentifierCase mixed = TIdentifierCase::Mixed;
    struct Case {
        TSchemaObject object;
        std::string quote;
        TIdentifierCase folding;
        std::string text;
        std::string sql;
    };
    const Case cases[] = {
        {{"", "customer_2"}, "\"", mixed, "customer_2", "customer_2"},
        {{"", "_x"}, "\"", mixed, "_x", "_x"},
        {{"", "my table"}, "\"", mixed, "my table", "\"my table\""},
        {{"", "2nd"}, "\"", mixed, "2nd", "\"2nd\""},
        {{"", "Größe"}, "\"", mixed, "Größe", "\"Größe\""},
        {{"", "say \"hi\""}, "\"", mixed, "say \"hi\"", "\"say \"\"hi\"\"\""},
        {{"sales", "orders"}, "\"", mixed, "sales.orders", "sales.orders"},
        {{"my sales", "Order Lines"}, "\"", mixed, "my sales.Order Lines", "\"my sales\".\"Order Lines\""},
        {{"", "a`b"}, "`", mixed, "a`b", "`a``b`"},
        {{"", "my table"}, "", mixed, "my table", "my table"},
        // A database that folds unquoted names keeps the other case only in quotes.
        {{"", "Customer"}, "\"", TIdentifierCase::Lower, "Customer", "\"Customer\""},
        {{"Sales", "orders"}, "\"", TIdentifierCase::Lower, "Sales.orders", "\"Sales\".orders"},
        {{"", "customer"}, "\"", TIdentifierCase::Upper, "customer", "\"customer\""},
        {{"", "CUSTOMER"}, "\"", TIdentifierCase::Upper, "CUSTOMER", "CUSTOMER"},
        {{"", "Customer"}, "\"", mixed, "Customer", "Customer"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.object.Text(), c.text);
        EXPECT_EQ(c.object.SqlName(c.quote, c.folding), c.sql) << c.text;
    }
}
