// Editing a result and writing the changes back to a real SQLite file.

#include "Connection.h"
#include "DataSet.h"
#include "FormatSettings.h"
#include "TestDatabase.h"

#include "ErrorOf.h"
#include "QueryRows.h"

#include <gtest/gtest.h>

namespace {

class DataSetEditingTest : public testing::Test {
protected:
    void SetUp() override
    {
        MakeDatabase(dir.File("db.sqlite"), R"(
            CREATE TABLE item(id INTEGER PRIMARY KEY, name VARCHAR(20), price NUMERIC(10,2), born DATE, ok BOOLEAN);
            INSERT INTO item VALUES (1, 'one', 1.5, '2024-03-05', 1), (2, 'two', NULL, NULL, 0), (3, 'three', 3, NULL, NULL);
            CREATE TABLE loose(a INT, b TEXT);
            INSERT INTO loose VALUES (1, 'x'), (1, 'x'), (2, NULL);
            CREATE TABLE tag(item_id INT, label TEXT);
            INSERT INTO tag VALUES (1, 'red');
        )");
        WriteBytes(dir.File("db.udl"), Utf16Udl("Provider=SQLite;Data Source=db.sqlite"));
        cn.SetConnectionString("FILE NAME=" + dir.File("db.udl"));
    }

    TDataSet& Open(TDataSet& ds, const std::string& sql)
    {
        ds.Close();
        ds.SetCommandText(sql);
        ds.Open();
        return ds;
    }

    std::vector<std::string> Rows(const std::string& sql) { return QueryRows(cn.ConnectionString(), sql); }

    TTempDir dir;
    TConnection cn{"cnAdo"};
    TDataSet ds{cn, "dsAdo"};
    TFormatSettingsOverride settings{[] {
        TFormatSettings s;
        s.DecimalSeparator = ',';
        s.DateSeparator = '.';
        s.ShortDateFormat = "dd.mm.yyyy";
        return s;
    }()};
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(DataSetEditingTest, EditInsertAndDeleteAreWrittenBack)
{
    Open(ds, "SELECT id, name, price, born, ok FROM item ORDER BY id");
    EXPECT_TRUE(ds.CanModify());
    ds.MoveTo(1);
    ds.FindField("name")->SetText("TWO");
    ds.FindField("price")->SetText("2,25");
    ds.FindField("born")->SetText("07.08.2023");
    EXPECT_EQ(ds.State(), TDataSetState::Edit);
    ds.Post();
    EXPECT_EQ(ds.State(), TDataSetState::Browse);
    EXPECT_EQ(ds.FindField("price")->FieldText(), "2,25");

    ds.MoveTo(0);
    ds.Insert();
    EXPECT_EQ(ds.RecordCount(), 4);
    ds.FindField("name")->SetText("new");
    ds.FindField("ok")->SetFlag(true);
    ds.Post();
    // The key the database generated shows in the new record.
    EXPECT_EQ(ds.FindField("id")->ValueText(), "4");
    EXPECT_EQ(ds.CurrentRecord(), 0);

    ds.MoveTo(3);
    EXPECT_EQ(ds.FindField("name")->ValueText(), "three");
    ds.Delete();
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.CurrentRecord(), 2);

    EXPECT_EQ(Rows("SELECT id, name, price, born, ok FROM item ORDER BY id"),
              (Texts{"1|one|1,5|05.03.2024|True", "2|TWO|2,25|07.08.2023|False", "4|new|||True"}));
    // The dataset shows what the table holds, in its own order.
    std::vector<std::string> names;
    for (ds.First(); !ds.Eof(); ds.Next())
        names.push_back(ds.FindField("name")->ValueText());
    EXPECT_EQ(names, (std::vector<std::string>{"new", "one", "TWO"}));
}

TEST_F(DataSetEditingTest, AppendAddsAfterTheLastRecordAndCancelDropsIt)
{
    Open(ds, "SELECT * FROM item");
    ds.Append();
    EXPECT_EQ(ds.CurrentRecord(), 3);
    EXPECT_TRUE(ds.FindField("name")->ValueIsNull());
    ds.Cancel();
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.CurrentRecord(), 2);

    ds.Append();
    ds.FindField("id")->SetText("10");
    ds.MoveTo(0);  // moving away posts
    EXPECT_EQ(Rows("SELECT id FROM item ORDER BY id"), (Texts{"1", "2", "3", "10"}));

    // An insertion nobody changed is dropped when the dataset closes.
    ds.Append();
    ds.Close();
    EXPECT_EQ(Rows("SELECT count(*) FROM item"), Texts{"4"});
}

TEST_F(DataSetEditingTest, InvalidTextsAreRefusedWithTheTypesMessage)
{
    Open(ds, "SELECT id, price, born, ok FROM item ORDER BY id");
    struct TCase { const char* field; const char* text; const char* message; };
    const TCase cases[] = {
        {"id", "12a", "'12a' is not a valid integer value"},
        {"price", "1.5", "'1.5' is not a valid BCD value"},
        {"born", "31.02.2024", "'31.02.2024' is not a valid date"},
        {"ok", "maybe", "'maybe' is not a valid boolean value"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ErrorOf([&] { ds.FindField(c.field)->SetText(c.text); }), c.message) << c.field;
    EXPECT_FALSE(ds.Modified());
    ds.FindField("born")->SetText("");
    EXPECT_TRUE(ds.FindField("born")->ValueIsNull());
    ds.Cancel();
    EXPECT_EQ(ds.FindField("born")->FieldText(), "05.03.2024");
}

TEST_F(DataSetEditingTest, AChangeByAnotherConnectionIsNotOverwritten)
{
    Open(ds, "SELECT id, name FROM item ORDER BY id");
    MakeDatabase(dir.File("db.sqlite"), "UPDATE item SET name = 'theirs' WHERE id = 1");
    ds.FindField("name")->SetText("mine");
    EXPECT_EQ(ErrorOf([&] { ds.Post(); }),
              "The record was changed or deleted by someone else since it was read.");
    // Nothing typed is lost, and nothing was written.
    EXPECT_EQ(ds.State(), TDataSetState::Edit);
    EXPECT_EQ(ds.FindField("name")->ValueText(), "mine");
    EXPECT_EQ(ErrorOf([&] { ds.Close(); }), "The record was changed or deleted by someone else since it was read.");
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(Rows("SELECT name FROM item WHERE id = 1"), Texts{"theirs"});

    MakeDatabase(dir.File("db.sqlite"), "DELETE FROM item WHERE id = 2");
    ds.Cancel();
    ds.MoveTo(1);
    EXPECT_EQ(ErrorOf([&] { ds.Delete(); }), "The record was changed or deleted by someone else since it was read.");
    EXPECT_EQ(ds.RecordCount(), 3);
}

TEST_F(DataSetEditingTest, WithoutAKeyRowsAreLocatedByAllTheirValues)
{
    Open(ds, "SELECT a, b FROM loose");
    // Two identical rows: a change would touch both, so it is refused.
    ds.FindField("b")->SetText("y");
    EXPECT_EQ(ErrorOf([&] { ds.Post(); }), "The record was changed or deleted by someone else since it was read.");
    ds.Cancel();
    // A null value is compared with IS NULL.
    ds.MoveTo(2);
    ds.FindField("b")->SetText("z");
    ds.Post();
    EXPECT_EQ(Rows("SELECT a, b FROM loose ORDER BY a"), (Texts{"1|x", "1|x", "2|z"}));
    ds.Delete();
    EXPECT_EQ(Rows("SELECT a, b FROM loose ORDER BY a"), (Texts{"1|x", "1|x"}));
}

TEST_F(DataSetEditingTest, ResultsNotFromOneTableAreReadOnly)
{
    for (const char* sql : {"SELECT i.name, t.label FROM item i JOIN tag t ON t.item_id = i.id",
                            "SELECT count(*) FROM item", "SELECT id, name || '!' FROM item"}) {
        Open(ds, sql);
        EXPECT_FALSE(ds.CanModify()) << sql;
        EXPECT_EQ(ErrorOf([&] { ds.Fields(0).SetText("1"); }),
                  "This result cannot be edited: its rows do not come from one table.")
            << sql;
        EXPECT_EQ(ErrorOf([&] { ds.Delete(); }), "This result cannot be edited: its rows do not come from one table.");
        EXPECT_EQ(ds.State(), TDataSetState::Browse);
    }
    EXPECT_EQ(Rows("SELECT count(*) FROM item"), Texts{"3"});
}

TEST_F(DataSetEditingTest, AnyRecordCanBeReadWithoutMovingTheCurrentOne)
{
    Open(ds, "SELECT name FROM item ORDER BY id");
    ds.MoveTo(1);
    ds.Fields(0).SetText("edited");
    {
        const TDataSet::TRecordPeek peek(ds, 2);
        EXPECT_EQ(ds.Fields(0).ValueText(), "three");
    }
    EXPECT_EQ(ds.Fields(0).ValueText(), "edited");
    EXPECT_EQ(ds.CurrentRecord(), 1);
    ds.Insert();
    {
        const TDataSet::TRecordPeek peek(ds, 2);  // the edited record, moved down by the insertion
        EXPECT_EQ(ds.Fields(0).ValueText(), "edited");
    }
}
