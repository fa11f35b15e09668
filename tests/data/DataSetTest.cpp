#include "CodePage.h"
#include "Connection.h"
#include "DataSet.h"
#include "FormatSettings.h"
#include "TestDatabase.h"

#include "ErrorOf.h"

#include <gtest/gtest.h>

namespace {

class TRecordingObserver : public TDataSetObserver {
public:
    void DataSetChanged(TDataSetChange change) override { changes.push_back(change); }
    std::vector<TDataSetChange> changes;
};

class DataSetTest : public testing::Test {
protected:
    void SetUp() override
    {
        MakeDatabase(dir.File("db.sqlite"), R"(
            CREATE TABLE t(id INTEGER PRIMARY KEY, name VARCHAR(5), code CHAR(10), price NUMERIC(10,2),
                           whole NUMERIC(5,0), born DATE, seen DATETIME, at TIME, ok BOOLEAN, ratio REAL,
                           note TEXT, data BLOB, big INTEGER);
            INSERT INTO t VALUES (1, 'abc', 'ab', 12.50, 7, '2024-03-05', '2024-03-05 00:00:00', '10:30:00', 1, 0.5,
                                  'memo', X'0001', 9223372036854775807);
            INSERT INTO t VALUES (2, 'much longer than five', 'x', 1.234567, 100, 'abc', '1899-12-30 00:00:00', NULL, 0,
                                  1e15, NULL, NULL, 'not a number');
            INSERT INTO t VALUES (3, NULL, NULL, NULL, NULL, NULL, '2024-03-05 14:07:09', NULL, NULL, NULL, NULL, NULL,
                                  -9223372036854775808);
            CREATE TABLE seq(id INTEGER PRIMARY KEY AUTOINCREMENT, v INT);
            INSERT INTO seq(v) VALUES (5);
            CREATE TABLE dos(s TEXT);
            INSERT INTO dos VALUES (CAST(X'8fe0a8a2a5e2' AS TEXT));
        )");
        WriteBytes(dir.File("db.udl"), Utf16Udl("Provider=SQLite;Data Source=db.sqlite"));
        cn.SetConnectionString("FILE NAME=" + dir.File("db.udl"));
    }

    TDataSet& OpenQuery(const std::string& sql)
    {
        ds.Close();
        ds.SetCommandText(sql);
        ds.Open();
        return ds;
    }

    // The FieldText of one field in every record.
    std::vector<std::string> Column(const std::string& field)
    {
        std::vector<std::string> texts;
        for (ds.First(); !ds.Eof(); ds.Next())
            texts.push_back(ds.FindField(field)->FieldText());
        return texts;
    }

    TTempDir dir;
    TConnection cn{"cnAdo"};
    TDataSet ds{cn, "dsAdo"};
    TFormatSettingsOverride settings{TFormatSettings()};
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(DataSetTest, OpensWalksAndCloses)
{
    TRecordingObserver observer;
    ds.AddObserver(&observer);
    int afterOpen = 0;
    ds.AfterOpen = [&](TDataSet& sender) { afterOpen += &sender == &ds; };
    OpenQuery("SELECT id FROM t ORDER BY id");
    EXPECT_TRUE(ds.Active());
    EXPECT_TRUE(cn.Connected());
    EXPECT_EQ(afterOpen, 1);
    EXPECT_EQ(ds.RecordCount(), 3);
    std::vector<int> recNos;
    for (; !ds.Eof(); ds.Next())
        recNos.push_back(ds.RecNo());
    EXPECT_EQ(recNos, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ds.RecNo(), 3);
    ds.First();
    EXPECT_EQ(ds.Fields(0).FieldText(), "1");
    ds.Open();  // does nothing when open
    EXPECT_EQ(afterOpen, 1);
    ds.Close();
    EXPECT_FALSE(ds.Active());
    EXPECT_EQ(ds.FieldCount(), 0);
    EXPECT_EQ(observer.changes.front(), TDataSetChange::Opened);
    EXPECT_EQ(observer.changes.back(), TDataSetChange::Closed);
    ds.RemoveObserver(&observer);
}

TEST_F(DataSetTest, EqualCommandTextChangesNothingAndOpensAreCounted)
{
    EXPECT_EQ(ds.OpenCount(), 0);
    OpenQuery("SELECT id FROM t");
    EXPECT_EQ(ds.OpenCount(), 1);
    ds.Next();
    EXPECT_NO_THROW(ds.SetCommandText("SELECT id FROM t"));
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.RecNo(), 2);
    ds.Open();  // already open: not counted
    EXPECT_EQ(ds.OpenCount(), 1);
    ds.Close();
    EXPECT_EQ(ds.OpenCount(), 1);
    ds.SetCommandText("SELECT * FROM nowhere");
    EXPECT_ANY_THROW(ds.Open());  // a failed open is not counted
    EXPECT_EQ(ds.OpenCount(), 1);
    OpenQuery("SELECT id FROM t");
    EXPECT_EQ(ds.OpenCount(), 2);
}

// Large and fractional decimals read the same whatever the C library's
// numeric locale (the decimal-comma run of these tests shows it).
TEST_F(DataSetTest, DecimalsReadTheSameInEveryLocale)
{
    MakeDatabase(dir.File("db.sqlite"), "CREATE TABLE big(n NUMERIC(18,2), t NUMERIC(18,2));"
                                        "INSERT INTO big VALUES (1234567890.55, '12.5'), (-98765432109.25, '1e300');");
    OpenQuery("SELECT * FROM big");
    EXPECT_EQ(Column("n"), (Texts{"1234567890.55", "-98765432109.25"}));
    EXPECT_EQ(Column("t"), (Texts{"12.5", "(Overflow)"}));
    ds.First();
    EXPECT_EQ(ds.Fields(0).ValueFloat(), 1234567890.55);
}

TEST_F(DataSetTest, EmptyResultKeepsItsFields)
{
    OpenQuery("SELECT * FROM t WHERE 1=2");
    EXPECT_EQ(ds.FieldCount(), 13);
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_EQ(ds.RecNo(), -1);
    ds.First();
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.Fields(0).ValueIsNull());
    EXPECT_EQ(ds.Fields(0).FieldText(), "");
}

TEST_F(DataSetTest, MessagesCarryTheDataSetName)
{
    EXPECT_EQ(ErrorOf([&] { ds.RecordCount(); }), "dsAdo: Cannot perform this operation on a closed dataset");
    OpenQuery("SELECT 1");
    EXPECT_EQ(ErrorOf([&] { ds.SetCommandText("SELECT 2"); }), "dsAdo: Cannot perform this operation on an open dataset");
    EXPECT_EQ(ErrorOf([&] { ds.Fields(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ErrorOf([&] { ds.Fields(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf([&] { ds.Fields(0).ValueFlag(); }), "Cannot access field '1' as type Boolean");
    ds.Close();
    ds.SetCommandText("UPDATE t SET id = id WHERE 1=2");
    EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "dsAdo: CommandText does not return a result set");
    EXPECT_FALSE(ds.Active());
    ds.SetCommandText("SELECT * FROM nowhere");
    EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "no such table: nowhere");
    ds.SetCommandText("SELECT * FROM t WHERE id = :id");
    EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "No value given for one or more required parameters");
    ds.SetCommandText("SELECT CAST(1 AS NUMERIC(40,33))");
    EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "(no error)");  // an expression has no declared type
    ds.Close();
    MakeDatabase(dir.File("db.sqlite"), "CREATE TABLE wide(n NUMERIC(40,33));");
    ds.SetCommandText("SELECT * FROM wide");
    EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "Invalid field size");
    EXPECT_FALSE(ds.Active());
}

TEST_F(DataSetTest, FieldDefinitionsTypesAndSizes)
{
    OpenQuery("SELECT * FROM t");
    struct { const char* name; TFieldType type; int size; int precision; } expected[] = {
        {"id", ftLargeint, 0, 0}, {"name", ftString, 5, 0}, {"code", ftString, 10, 0},
        {"price", ftBCD, 2, 10}, {"whole", ftBCD, 0, 5}, {"born", ftDate, 0, 0},
        {"seen", ftDateTime, 0, 0}, {"at", ftTime, 0, 0}, {"ok", ftBoolean, 0, 0},
        {"ratio", ftFloat, 0, 0}, {"note", ftMemo, 0, 0}, {"data", ftBlob, 0, 0}, {"big", ftLargeint, 0, 0},
    };
    ASSERT_EQ(ds.FieldCount(), 13);
    for (int i = 0; i < 13; ++i) {
        const TField& f = ds.Fields(i);
        EXPECT_EQ(f.FieldName(), expected[i].name);
        EXPECT_EQ(f.DataType(), expected[i].type) << expected[i].name;
        EXPECT_EQ(f.Size(), expected[i].size) << expected[i].name;
        EXPECT_EQ(f.Precision(), expected[i].precision) << expected[i].name;
    }
    EXPECT_EQ(ds.FieldDefs(2).DataType, ftFixedChar);  // the definition keeps the fixed length
    EXPECT_EQ(ds.FieldDefs(1).BaseTable, "t");
    EXPECT_EQ(ds.FieldDefNames().front(), "id");
    EXPECT_EQ(ds.FindField("PRICE"), &ds.Fields(3));
    EXPECT_EQ(ds.FindField("nothing"), nullptr);

    OpenQuery("SELECT * FROM seq");
    EXPECT_EQ(ds.Fields(0).DataType(), ftAutoInc);
    EXPECT_EQ(ds.Fields(1).DataType(), ftLargeint);
}

TEST_F(DataSetTest, NamesAreMadeUnique)
{
    OpenQuery("SELECT 1 AS ID, 2 AS id, 3 AS ID, 4 AS \"\", 5 AS \"\", 'x' AS \"Имя\", 'y' AS \"имя\"");
    EXPECT_EQ(ds.FieldDefNames(), (TStringList{"ID", "id_1", "ID_2", "COLUMN1", "COLUMN2", "Имя", "имя_1"}));
    EXPECT_EQ(ds.FindField("ИМЯ"), &ds.Fields(5));
}

TEST_F(DataSetTest, ValueTexts)
{
    OpenQuery("SELECT * FROM t ORDER BY id");
    EXPECT_EQ(Column("name"), (Texts{"abc", "much longer than five", ""}));  // never cut to Size
    EXPECT_EQ(Column("code"), (Texts{"ab", "x", ""}));
    EXPECT_EQ(Column("price"), (Texts{"12.5", "1.2346", ""}));
    EXPECT_EQ(Column("whole"), (Texts{"7", "100", ""}));
    EXPECT_EQ(Column("born"), (Texts{"3/5/24", "abc", ""}));  // a value that is no date reads as stored
    EXPECT_EQ(Column("seen"), (Texts{"3/5/24", "", "3/5/24 14:07:09"}));
    EXPECT_EQ(Column("at"), (Texts{"10:30:00", "", ""}));
    EXPECT_EQ(Column("ok"), (Texts{"True", "False", ""}));
    EXPECT_EQ(Column("ratio"), (Texts{"0.5", "1E15", ""}));
    EXPECT_EQ(Column("note"), (Texts{"(MEMO)", "(Memo)", "(Memo)"}));
    EXPECT_EQ(Column("data"), (Texts{"(BLOB)", "(Blob)", "(Blob)"}));
    EXPECT_EQ(Column("big"), (Texts{"9223372036854775807", "not a number", "-9223372036854775808"}));

    ds.First();
    EXPECT_EQ(ds.FindField("note")->ValueText(), "memo");
    EXPECT_EQ(ds.FindField("data")->ValueBytes(), std::string_view("\0\1", 2));
    EXPECT_TRUE(ds.FindField("ok")->ValueFlag());
    ds.Next();
    EXPECT_TRUE(ds.FindField("seen")->ValueIsNull());  // the zero date is no date
    EXPECT_FALSE(ds.FindField("ok")->ValueFlag());
    ds.Next();
    EXPECT_FALSE(ds.FindField("ok")->ValueFlag());

    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    comma.DateSeparator = '.';
    comma.ShortDateFormat = "dd/mm/yyyy";
    TFormatSettingsOverride override(comma);
    EXPECT_EQ(Column("price"), (Texts{"12,5", "1,2346", ""}));
    EXPECT_EQ(Column("born"), (Texts{"05.03.2024", "abc", ""}));
}

TEST_F(DataSetTest, BcdOverflowShowsInFieldText)
{
    OpenQuery("SELECT CAST(price AS NUMERIC(10,2)) AS p FROM t WHERE 0");
    MakeDatabase(dir.File("db.sqlite"), "CREATE TABLE n(v NUMERIC(30,2)); INSERT INTO n VALUES (1e20), ('abc');");
    OpenQuery("SELECT v FROM n");
    TField& v = ds.Fields(0);
    EXPECT_EQ(v.FieldText(), "(Overflow)");
    EXPECT_THROW(v.ValueText(), std::runtime_error);
    ds.Next();
    EXPECT_EQ(v.FieldText(), "abc");
}

TEST_F(DataSetTest, ExpressionColumnsTakeTheFirstValuesClass)
{
    OpenQuery("SELECT 1 AS a, 1.5 AS b, 'x' AS c, X'00' AS d, NULL AS e"
              " UNION ALL SELECT 'text', 2, 3.25, 'y', 5");
    EXPECT_EQ(ds.Fields(0).DataType(), ftLargeint);
    EXPECT_EQ(ds.Fields(1).DataType(), ftFloat);
    EXPECT_EQ(ds.Fields(2).DataType(), ftString);
    EXPECT_EQ(ds.Fields(3).DataType(), ftBlob);
    EXPECT_EQ(ds.Fields(4).DataType(), ftString);
    ds.Next();
    EXPECT_EQ(ds.Fields(0).FieldText(), "text");
    EXPECT_EQ(ds.Fields(1).FieldText(), "2");
    EXPECT_EQ(ds.Fields(2).FieldText(), "3.25");
    EXPECT_EQ(ds.Fields(3).ValueText(), "y");
    EXPECT_EQ(ds.Fields(4).FieldText(), "5");
}

TEST_F(DataSetTest, LegacyBytesArriveUnchanged)
{
    if (!CodePage::ProgramIsUtf8())
        GTEST_SKIP() << "the program code page is not UTF-8";
    OpenQuery("SELECT s FROM dos");
    EXPECT_EQ(ds.Fields(0).ValueText(), "\x8f\xe0\xa8\xa2\xa5\xe2");
    EXPECT_EQ(CodePage::Convert(ds.Fields(0).ValueText(), "CP866", "UTF-8"), "Привет");
}

TEST_F(DataSetTest, TextHandlersSupplyFieldText)
{
    OpenQuery("SELECT name FROM t ORDER BY id");
    TField& name = ds.Fields(0);
    name.SetOnGetText([](const TField& sender, std::string& text, bool display) {
        text = (display ? "shown:" : "text:") + sender.ValueText();
    });
    EXPECT_EQ(name.FieldText(), "text:abc");
    EXPECT_EQ(name.DisplayText(), "shown:abc");
    EXPECT_EQ(name.ValueText(), "abc");
    name.SetOnGetText([](const TField&, std::string& text, bool) { text = "<" + text + ">"; });
    EXPECT_EQ(name.FieldText(), "<abc>");
}

TEST_F(DataSetTest, ViewUpdatesNestAndResyncRedisplays)
{
    ds.Resync();  // closed: nothing happens
    TRecordingObserver observer;
    ds.AddObserver(&observer);
    OpenQuery("SELECT id FROM t");
    observer.changes.clear();
    ds.DisableControls();
    ds.DisableControls();
    ds.Next();
    ds.EnableControls();
    EXPECT_TRUE(ds.ControlsDisabled());
    EXPECT_TRUE(observer.changes.empty());
    ds.EnableControls();
    EXPECT_EQ(observer.changes, std::vector<TDataSetChange>{TDataSetChange::Redisplay});
    EXPECT_EQ(ds.RecNo(), 2);
    ds.Resync();
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(observer.changes.back(), TDataSetChange::Redisplay);
    ds.Next();
    EXPECT_EQ(observer.changes.back(), TDataSetChange::Scrolled);
    ds.RemoveObserver(&observer);
}

TEST_F(DataSetTest, MultiStatementCommandsOpenTheFirstRowset)
{
    OpenQuery("UPDATE t SET name = 'new' WHERE id = 1; SELECT name FROM t WHERE id = 1; SELECT 2");
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.Fields(0).FieldText(), "new");
}

TEST(CommandParameters, MarkersBecomeQuestionMarks)
{
    struct { const char* text; const char* parsed; TStringList names; } cases[] = {
        {"SELECT * FROM t WHERE a = :a", "SELECT * FROM t WHERE a = ?", {"a"}},
        {"WHERE a=:x AND b=:y)", "WHERE a=? AND b=?)", {"x", "y"}},
        {"SELECT ':a' FROM t", "SELECT ':a' FROM t", {}},
        {"SELECT a::text", "SELECT a:text", {}},
        {"a = :\"my name\" ,b", "a = ? ,b", {"my name"}},
        {"x = :p;\ny = :q\r\n", "x = ?;\ny = ?\r\n", {"p", "q"}},
        {"SELECT `:a`, \":b\"", "SELECT `:a`, \":b\"", {}},
        {"end :", "end ?", {""}},
    };
    for (const auto& c : cases) {
        TStringList names;
        EXPECT_EQ(ParseCommandParameters(c.text, &names), c.parsed) << c.text;
        EXPECT_EQ(names, c.names) << c.text;
    }
    TConnection cn("cnAdo");
    TDataSet ds(cn, "dsAdo");
    ds.SetCommandText("SELECT :a");
    EXPECT_EQ(ds.CommandText(), "SELECT :a");
    EXPECT_EQ(ds.ProviderCommandText(), "SELECT ?");
}
