// The dataset fetches its rows batch by batch as they are needed.

#include "Connection.h"
#include "DataSet.h"
#include "FormatSettings.h"
#include "TestDatabase.h"

#include "ErrorOf.h"
#include "RecordTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class TChangeCounter : public TDataSetObserver {
public:
    void DataSetChanged(TDataSetChange change) override { appended += change == TDataSetChange::RowsAppended; }
    int appended = 0;
};

// Rows 1 to n of every kind of value, with nulls in every column now and then.
std::string TableScript(const std::string& table, int rows)
{
    return "CREATE TABLE " + table + "(id INTEGER PRIMARY KEY, name VARCHAR(20), amount NUMERIC(10,2), born DATE,"
           " seen DATETIME, ok BOOLEAN, ratio REAL, note TEXT, data BLOB);"
           "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(rows) + ")"
           " INSERT INTO " + table + " SELECT x,"
           " CASE WHEN x % 11 = 0 THEN NULL ELSE 'name ' || x END,"
           " CASE WHEN x % 13 = 0 THEN NULL ELSE x * 7 % 100000 / 100.0 END,"
           " CASE WHEN x % 17 = 0 THEN NULL ELSE date('2000-01-01', '+' || x || ' days') END,"
           " datetime('2000-01-01', '+' || (x * 37) || ' minutes'),"
           " CASE WHEN x % 5 = 0 THEN NULL ELSE x % 2 END,"
           " x / 8.0,"
           " CASE WHEN x % 19 = 0 THEN NULL ELSE printf('%.*c', x % 300, 'm') || x END,"
           " CASE WHEN x % 23 = 0 THEN NULL ELSE randomblob(x % 40) END"
           " FROM n;";
}

// A result that fails with "integer overflow" when the row after `good` is read.
std::string FailingAfter(int good)
{
    return "SELECT id, CASE WHEN id > " + std::to_string(good) +
           " THEN abs(-9223372036854775807 - 1) ELSE id END AS v FROM big ORDER BY id";
}

class FetchTest : public testing::Test {
protected:
    static constexpr int BigRows = 100000;

    static void SetUpTestSuite()
    {
        dir_ = new TTempDir;
        MakeDatabase(dir_->File("template.sqlite"), TableScript("t", 2 * TDataSet::BatchRows + 17) +
                                                       "CREATE TABLE big(id INTEGER PRIMARY KEY, v INT);"
                                                       "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n"
                                                       " WHERE x < " + std::to_string(BigRows) + ")"
                                                       " INSERT INTO big SELECT x, x FROM n;");
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }

    void SetUp() override
    {
        // Each test changes its own copy.
        std::filesystem::copy_file(dir_->File("template.sqlite"), dir.File("db.sqlite"));
        WriteBytes(dir.File("db.udl"), Utf16Udl("Provider=SQLite;Data Source=db.sqlite"));
        cn.SetConnectionString("FILE NAME=" + dir.File("db.udl"));
    }

    void OpenQuery(TDataSet& dataSet, const std::string& sql)
    {
        dataSet.Close();
        dataSet.SetCommandText(sql);
        dataSet.Open();
    }

    static inline TTempDir* dir_ = nullptr;
    TTempDir dir;
    TConnection cn{"cnAdo"};
    TDataSet ds{cn, "dsAdo"};
    TFormatSettingsOverride settings{TFormatSettings()};
};

} // namespace

TEST_F(FetchTest, WalkingFetchesBatchesThatEqualTheWholeResult)
{
    const int rows = 2 * TDataSet::BatchRows + 17;
    TDataSet whole(cn, "whole");
    OpenQuery(whole, "SELECT * FROM t ORDER BY id");
    ASSERT_EQ(whole.RecordCount(), rows);
    EXPECT_FALSE(whole.CanFetchMore());
    const std::vector<std::string> expected = WalkRecords(whole);
    whole.Close();

    TChangeCounter counter;
    ds.AddObserver(&counter);
    OpenQuery(ds, "SELECT * FROM t ORDER BY id");
    EXPECT_GT(ds.FetchedRecordCount(), 0);
    EXPECT_LE(ds.FetchedRecordCount(), TDataSet::BatchRows);
    EXPECT_TRUE(ds.CanFetchMore());
    std::vector<std::string> walked;
    std::vector<int> recNos;
    for (; !ds.Eof(); ds.Next()) {
        walked.push_back(RecordText(ds));
        recNos.push_back(ds.RecNo());
    }
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(recNos.size(), static_cast<size_t>(rows));
    EXPECT_TRUE(std::is_sorted(recNos.begin(), recNos.end()));
    EXPECT_EQ(recNos.back(), rows);
    EXPECT_GE(counter.appended, 2) << "views hear of every batch";
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(ds.RecordCount(), rows);
    ds.RemoveObserver(&counter);
}

TEST_F(FetchTest, RecordCountFetchesTheRestMidWalk)
{
    TChangeCounter counter;
    ds.AddObserver(&counter);
    OpenQuery(ds, "SELECT id FROM big ORDER BY id");
    for (int i = 0; i < 10; ++i)
        ds.Next();
    EXPECT_EQ(counter.appended, 0);
    ds.FetchMore();
    EXPECT_EQ(counter.appended, 1);
    EXPECT_GT(ds.FetchedRecordCount(), ds.RecNo());

    EXPECT_EQ(ds.RecordCount(), BigRows);
    EXPECT_EQ(ds.FetchedRecordCount(), BigRows);
    EXPECT_EQ(counter.appended, 2);
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(ds.RecNo(), 11);
    EXPECT_EQ(ds.Fields(0).FieldText(), "11");
    ds.FetchMore();  // at the end: nothing
    EXPECT_EQ(counter.appended, 2);
    int visited = 0;
    for (; !ds.Eof(); ds.Next())
        EXPECT_EQ(ds.Fields(0).FieldText(), std::to_string(11 + visited++));
    EXPECT_EQ(visited, BigRows - 10);

    OpenQuery(ds, "SELECT id FROM big WHERE id < 0");
    EXPECT_TRUE(ds.Eof());
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.RemoveObserver(&counter);
}

// Before the connection runs anything else, a dataset still fetching finishes
// and releases its statement; it shows the rows from before the change.
TEST_F(FetchTest, TheConnectionRunsOneStatementAtATime)
{
    OpenQuery(ds, "SELECT id, v FROM big ORDER BY id");
    for (int i = 1; i < BigRows / 2; ++i)
        ds.Next();
    ASSERT_EQ(ds.RecNo(), BigRows / 2);
    ASSERT_TRUE(ds.CanFetchMore());

    int64_t affected = 0;
    cn.Execute("UPDATE big SET v = -v", affected);
    EXPECT_EQ(affected, BigRows);
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(ds.FetchedRecordCount(), BigRows);
    int64_t expected = BigRows / 2, wrong = 0;
    for (; !ds.Eof(); ds.Next())
        wrong += ds.Fields(1).FieldText() != std::to_string(expected++);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(expected, BigRows + 1);

    // Another open, a schema list and a write that SQLite refuses while a read
    // of the table is under way.
    TDataSet other(cn, "other");
    OpenQuery(ds, "SELECT id FROM big");
    OpenQuery(other, "SELECT v FROM big ORDER BY id");
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(other.Fields(0).FieldText(), "-1");
    TStringList tables;
    cn.GetTableNames(tables);
    EXPECT_FALSE(other.CanFetchMore());
    OpenQuery(ds, "SELECT id FROM big");
    cn.Execute("DROP TABLE big");
    EXPECT_EQ(ds.RecordCount(), BigRows);
}

// A failing fetch is raised where its row is needed; the rows before it stay.
TEST_F(FetchTest, AFailureInALaterBatchEndsTheRowsetThere)
{
    const int good = TDataSet::BatchRows + TDataSet::BatchRows / 2;
    OpenQuery(ds, FailingAfter(good));
    int visited = 0;
    std::string error;
    try {
        for (; !ds.Eof(); ds.Next())
            ++visited;
    } catch (const std::exception& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "integer overflow");
    EXPECT_EQ(visited, good);
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), good);
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(ds.RecordCount(), good);
    ds.First();
    EXPECT_EQ(WalkRecords(ds).size(), static_cast<size_t>(good));

    OpenQuery(ds, FailingAfter(good));
    EXPECT_EQ(ErrorOf([&] { ds.RecordCount(); }), "integer overflow");
    EXPECT_EQ(ds.FetchedRecordCount(), good);
    EXPECT_EQ(ds.RecNo(), 1);
    cn.Execute("DELETE FROM big");  // the failed statement is released
}

// Closing the dataset or the connection abandons the rows not fetched yet:
// fetching them would fail here.
TEST_F(FetchTest, ClosingAbandonsTheRest)
{
    OpenQuery(ds, FailingAfter(TDataSet::BatchRows + 1));
    ASSERT_TRUE(ds.CanFetchMore());
    ds.Close();
    cn.Execute("DROP TABLE t");

    OpenQuery(ds, FailingAfter(TDataSet::BatchRows + 1));
    const int fetched = ds.FetchedRecordCount();
    cn.Close();
    EXPECT_TRUE(ds.Active());
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(ds.RecordCount(), fetched);
    EXPECT_EQ(WalkRecords(ds).size(), static_cast<size_t>(fetched));
    cn.Execute("DROP TABLE big");
}

TEST_F(FetchTest, AWideRowTakesLittleMemory)
{
    std::string sql = "SELECT 1 AS c1";
    for (int c = 2; c <= 1999; ++c)
        sql += ", " + std::to_string(c) + " AS c" + std::to_string(c);
    OpenQuery(ds, sql);
    EXPECT_EQ(ds.FieldCount(), 1999);
    EXPECT_EQ(ds.Fields(1998).FieldText(), "1999");
    EXPECT_LT(ds.Store().ReservedBytes(), 1u << 20);
}
