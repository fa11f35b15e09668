// The Result page's exports over PostgreSQL through psqlODBC, driven through
// the window with the scripted desktop.

#include <QComboBox>
#include <QToolButton>

#include "OdbcTestSupport.h"
#include "QtText.h"
#include "SqlEditor.h"
#include "app/WindowFixture.h"
#include "data/TestDatabase.h"

namespace {

class PgExportTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WriteBytes(Udl(), Utf16Udl("Provider=MSDASQL.1;Extended Properties=\"" + PgConnectionString() + "\""));
    }

    std::string Udl() const { return links_.File("pg.udl"); }

    TTempDir links_;
};

TEST_F(PgExportTest, TheThreeFilesOfAQueryResult)
{
    TfmMain& window = Start();
    window.fedDataLink->setEditText(ToQString(Udl()));
    window.SetConnected(true);
    window.cnAdo.Execute("DROP TABLE IF EXISTS shop_customers");
    window.cnAdo.Execute("CREATE TABLE shop_customers (id int, name varchar(20), city text)");
    window.cnAdo.Execute("INSERT INTO shop_customers VALUES (1, 'Ann', 'Oslo'), (6, 'Bob', 'Rome'), "
                         "(7, 'O''Hara', NULL)");
    window.redSQL->SetText("SELECT * FROM shop_customers WHERE id > 5 ORDER BY id");
    window.RunQuery();

    desktop_.confirmAnswers = {true, false};
    window.btnExtractMetadata->click();
    window.btnSaveAsSQL->click();
    window.btnSaveAsText->click();
    EXPECT_TRUE(desktop_.errors.empty()) << desktop_.errors.at(0);

    EXPECT_EQ(Read("CREATE_SHOP_CUSTOMERS.sql"),
              "CREATE TABLE SHOP_CUSTOMERS\r\n(id \t?, \r\n name \tVARCHAR(20), \r\n city \t?)\r\n");
    const std::string script = links_.File("InsertInto_SHOP_CUSTOMERS.sql");
    EXPECT_EQ(ReadFileBytes(script),
              "INSERT INTO SHOP_CUSTOMERS (\"ID\", \"NAME\", \"CITY\") VALUES (6, 'Bob', 'Rome');\r\n"
              "INSERT INTO SHOP_CUSTOMERS (\"ID\", \"NAME\", \"CITY\") VALUES (7, 'O''Hara', null);\r\n");
    EXPECT_EQ(Read("SHOP_CUSTOMERS.txt"), "6|Bob|Rome\r\n7|O'Hara|\r\n");
    EXPECT_EQ(desktop_.editedFiles, TStringList{InProgramDir("CREATE_SHOP_CUSTOMERS.sql")});
    EXPECT_EQ(desktop_.openedDocuments, TStringList{script});
    EXPECT_EQ(desktop_.questions,
              (TStringList{"File created: " + script + ".\r\nDo you wish to open it using external editor?",
                           "File created " + InProgramDir("SHOP_CUSTOMERS.txt") +
                               ".\r\nDo you wish to open it using external editor?"}));
    window.cnAdo.Execute("DROP TABLE shop_customers");
}

} // namespace
