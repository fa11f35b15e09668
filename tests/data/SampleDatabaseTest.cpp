#include "CodePage.h"
#include "Connection.h"
#include "DataSet.h"
#include "FormatSettings.h"
#include "TestDatabase.h"
#include "TextLines.h"

#include <gtest/gtest.h>

TEST(SampleDatabase, OpensEveryTableWithItsTypes)
{
    TTempDir dir;
    MakeDatabase(dir.File("sample.db"), ReadFileBytes(QUILLET_SAMPLE_SQL));
    WriteBytes(dir.File("sample.udl"), Utf16Udl("Provider=SQLite;Data Source=sample.db"));
    TFormatSettingsOverride settings{TFormatSettings()};

    TConnection cn("cnAdo");
    cn.SetConnectionString("FILE NAME=" + dir.File("sample.udl"));
    TStringList tables;
    cn.GetTableNames(tables);
    EXPECT_EQ(tables, (TStringList{"customers", "dos_texts", "order_lines", "orders", "products", "order_totals"}));

    TDataSet ds(cn, "dsAdo");
    for (const std::string& table : tables) {
        ds.Close();
        ds.SetCommandText("SELECT * FROM " + table);
        ds.Open();
        EXPECT_GT(ds.RecordCount(), 0) << table;
        for (; !ds.Eof(); ds.Next())
            for (int i = 0; i < ds.FieldCount(); ++i)
                EXPECT_NO_THROW(ds.Fields(i).FieldText()) << table;
    }

    ds.Close();
    ds.SetCommandText("SELECT * FROM products WHERE id = 2");
    ds.Open();
    EXPECT_EQ(ds.FindField("title")->DataType(), ftWideString);
    EXPECT_EQ(ds.FindField("price")->FieldText(), "129.99");
    EXPECT_EQ(ds.FindField("barcode")->FieldText(), "9223372036854775807");
    EXPECT_EQ(ds.FindField("code")->DataType(), ftGuid);

    if (CodePage::ProgramIsUtf8()) {
        ds.Close();
        ds.SetCommandText("SELECT text FROM dos_texts ORDER BY id");
        ds.Open();
        EXPECT_EQ(CodePage::Convert(ds.Fields(0).ValueText(), "CP866", "UTF-8"), "Привет");
    }
}
