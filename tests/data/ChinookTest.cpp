#include "Connection.h"
#include "DataSet.h"
#include "TestDatabase.h"
#include "TextLines.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(Chinook, EveryTableOpensAndReads)
{
    const std::string script = std::string(QUILLET_CHINOOK_DIR) + "/Chinook_Sqlite.sql";
    if (!std::filesystem::exists(script))
        GTEST_SKIP() << "Chinook sample not present";
    TTempDir dir;
    std::string sql = ReadFileBytes(script);
    if (sql.compare(0, 3, "\xEF\xBB\xBF") == 0)
        sql.erase(0, 3);
    MakeDatabase(dir.File("chinook.db"), sql);
    WriteBytes(dir.File("chinook.udl"), Utf16Udl("Provider=SQLite;Data Source=chinook.db"));

    TConnection cn("cnAdo");
    cn.SetConnectionString("FILE NAME=" + dir.File("chinook.udl"));
    TStringList tables;
    cn.GetTableNames(tables);
    ASSERT_EQ(tables.size(), 11u);
    TDataSet ds(cn, "dsAdo");
    int64_t rows = 0;
    for (const std::string& table : tables) {
        ds.Close();
        ds.SetCommandText("SELECT * FROM " + table);
        ASSERT_NO_THROW(ds.Open()) << table;
        EXPECT_GT(ds.RecordCount(), 0) << table;
        for (ds.First(); !ds.Eof(); ds.Next(), ++rows)
            for (int i = 0; i < ds.FieldCount(); ++i)
                ASSERT_NO_THROW(ds.Fields(i).FieldText()) << table << "." << ds.Fields(i).FieldName();
    }
    EXPECT_GT(rows, 15000);

    ds.Close();
    ds.SetCommandText("SELECT InvoiceDate, Total FROM Invoice WHERE InvoiceId = 1");
    ds.Open();
    EXPECT_EQ(ds.Fields(0).DataType(), ftDateTime);
    EXPECT_EQ(ds.Fields(1).DataType(), ftBCD);
    EXPECT_EQ(ds.Fields(1).Size(), 2);
    EXPECT_EQ(ds.Fields(1).Precision(), 10);
}
