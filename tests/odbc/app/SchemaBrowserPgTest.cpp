// The schema browser on a PostgreSQL database through psqlODBC: each test
// makes a database of its own in the test cluster.

#include <QListWidget>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "QtText.h"
#include "app/WidgetTexts.h"
#include "app/WindowFixture.h"

namespace {

class SchemaBrowserPgTest : public WindowTest {
protected:
    void TearDown() override
    {
        Close();
        if (!database_.empty())
            Psql("postgres", "DROP DATABASE IF EXISTS " + database_ + ";");
    }

    // Runs the script as the cluster's superuser.
    void Psql(const std::string& database, const std::string& sql)
    {
        Write("script.sql", "SET client_min_messages = warning;\n" + sql);
        const std::string command = "psql -X -q -v ON_ERROR_STOP=1 -h " QUILLET_PG_SOCKET_DIR " -p " +
                                    std::to_string(QUILLET_PG_PORT) + " -U postgres -d " + database + " -f " +
                                    InProgramDir("script.sql") + " >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("psql failed: " + sql);
    }

    // A fresh database made by the script; returns the data link file that
    // connects to it as the user, with the driver options.
    std::string MakeDatabase(const std::string& name, const std::string& sql, const std::string& user = "postgres",
                             const std::string& options = {})
    {
        database_ = name;
        Psql("postgres", "DROP DATABASE IF EXISTS " + name + ";\nCREATE DATABASE " + name + ";");
        Psql(name, sql);
        Write(name + ".udl", "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                             "Provider=MSDASQL.1;Extended Properties=\"DRIVER={PostgreSQL Unicode};SERVER=" QUILLET_PG_SOCKET_DIR
                             ";PORT=" + std::to_string(QUILLET_PG_PORT) + ";DATABASE=" + name + ";UID=" + user + ";" + options + "\"\r\n");
        return InProgramDir(name + ".udl");
    }

    TStringList Children(int top) const { return ChildTexts(window_->tvDbObjects->topLevelItem(top)); }
    // Selects the listed table and lists its fields, as a click does.
    void ClickTable(const std::string& text)
    {
        const QTreeWidgetItem* tables = window_->tvDbObjects->topLevelItem(0);
        for (int i = 0; i < tables->childCount(); ++i)
            if (FromQString(tables->child(i)->text(0)) == text) {
                window_->tvDbObjects->setCurrentItem(tables->child(i));
                emit window_->tvDbObjects->itemClicked(tables->child(i), 0);
                return;
            }
        FAIL() << "no table " << text;
    }
    TStringList FieldLines() const { return ItemTexts(window_->lbFields); }
    static std::string Line(const std::string& name, const std::string& type)
    {
        return name + std::string(50 - name.size(), ' ') + type;
    }

private:
    std::string database_;
};

TEST_F(SchemaBrowserPgTest, ListsTheSearchPathBareOtherSchemasQualifiedAndNoCatalogue)
{
    const std::string udl = MakeDatabase("quillet_browse_lists",
                                         "CREATE TABLE customer (id integer, name varchar(20));\n"
                                         "CREATE TABLE \"my table\" (\"a b\" integer);\n"
                                         "CREATE TABLE \"Supplier\" (id integer);\n"
                                         "CREATE VIEW big_customers AS SELECT * FROM customer WHERE id > 10;\n"
                                         "CREATE SCHEMA sales;\n"
                                         "CREATE TABLE sales.orders (id integer, total numeric(10,2));\n"
                                         "CREATE TABLE sales.\"Order Lines\" (qty smallint);\n"
                                         "CREATE FUNCTION twice(a integer) RETURNS integer AS 'SELECT 2 * a' LANGUAGE sql;\n"
                                         "CREATE FUNCTION sales.total() RETURNS integer AS 'SELECT 1' LANGUAGE sql;\n",
                                         "postgres", "ShowSystemTables=1;");
    TfmMain& window = Start({"-udl", udl});
    ASSERT_TRUE(desktop_.errors.empty()) << desktop_.errors[0];
    EXPECT_TRUE(desktop_.notices.empty());
    TStringList tables = Children(0);
    std::sort(tables.begin(), tables.end());
    EXPECT_EQ(tables, (TStringList{"Supplier", "big_customers", "customer", "my table", "sales.Order Lines", "sales.orders"}));
    TStringList procedures = Children(1);
    std::sort(procedures.begin(), procedures.end());
    EXPECT_EQ(procedures, (TStringList{"sales.total", "twice"}));

    struct Case {
        std::string table;
        std::string sql;
        TStringList fields;
    };
    const Case cases[] = {
        {"customer", "SELECT * FROM customer WHERE 1=2", {Line("id", "ftInteger"), Line("name", "ftWideString")}},
        {"my table", "SELECT * FROM \"my table\" WHERE 1=2", {Line("a b", "ftInteger")}},
        {"Supplier", "SELECT * FROM \"Supplier\" WHERE 1=2", {Line("id", "ftInteger")}},
        {"big_customers", "SELECT * FROM big_customers WHERE 1=2", {Line("id", "ftInteger"), Line("name", "ftWideString")}},
        {"sales.orders", "SELECT * FROM sales.orders WHERE 1=2", {Line("id", "ftInteger"), Line("total", "ftBCD")}},
        {"sales.Order Lines", "SELECT * FROM sales.\"Order Lines\" WHERE 1=2", {Line("qty", "ftSmallint")}},
    };
    for (const Case& c : cases) {
        ClickTable(c.table);
        EXPECT_EQ(window.dsAdo.CommandText(), c.sql);
        EXPECT_EQ(FieldLines(), c.fields) << c.table;
        EXPECT_TRUE(window.dsAdo.Active()) << c.table;
    }
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(SchemaBrowserPgTest, WithoutRightsOnProceduresTheTablesAreStillListed)
{
    Psql("postgres", "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'quillet_clerk') THEN "
                     "CREATE ROLE quillet_clerk LOGIN; END IF; END $$;");
    const std::string udl = MakeDatabase("quillet_browse_rights",
                                         "CREATE TABLE customer (id integer);\n"
                                         "GRANT SELECT ON customer TO quillet_clerk;\n"
                                         "REVOKE SELECT ON pg_catalog.pg_proc FROM PUBLIC;\n",
                                         "quillet_clerk");
    TfmMain& window = Start({"-udl", udl});
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_TRUE(window.cnAdo.Connected());
    EXPECT_EQ(Children(0), TStringList{"customer"});
    EXPECT_EQ(Children(1), TStringList{});
    ASSERT_EQ(desktop_.notices.size(), 1u);
    const std::string prefix = "Failed to get list of procedures.\r\n";
    EXPECT_EQ(desktop_.notices[0].substr(0, prefix.size()), prefix);
    EXPECT_GT(desktop_.notices[0].size(), prefix.size());
}

} // namespace
