#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "QtText.h"
#include "SqliteLink.h"
#include "WidgetTexts.h"
#include "WindowFixture.h"

namespace {

const char* const kShop =
    "CREATE TABLE customer (ID INTEGER, NAME VARCHAR(20));"
    "CREATE TABLE orders (ID INTEGER, CUSTOMER_ID INTEGER);"
    "CREATE VIEW big_orders AS SELECT * FROM orders WHERE ID > 10;";

class ConnectionPageTest : public WindowTest {
protected:
    std::string BoxText() const { return FromQString(window_->fedDataLink->currentText()); }
    TStringList LogLines() const { return ItemTexts(window_->lbInfo); }
    TStringList Children(int top) const { return ChildTexts(window_->tvDbObjects->topLevelItem(top)); }
    std::string Caption() const { return FromQString(window_->btnConnect->text()); }
};

TEST_F(ConnectionPageTest, CommandLineConnectsDuringCreationAndTheRecentListIsSavedAtExit)
{
    const std::string udl = MakeSqliteLink(ProgramDir(), "shop", kShop);
    Write("Links.txt", "other.udl\r\n");
    TfmMain& window = Start({"-udl", udl});
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_TRUE(window.cnAdo.Connected());
    EXPECT_EQ(LogLines(), TStringList{"Connection established."});
    EXPECT_EQ(Caption(), "Disconnect");
    EXPECT_EQ(window.DataLinkDir(), ProgramDir());
    EXPECT_EQ(window.RecentList(), (TStringList{udl, "other.udl"}));
    EXPECT_EQ(Children(0), (TStringList{"customer", "orders", "big_orders"}));
    EXPECT_EQ(Children(1), TStringList{});
    EXPECT_TRUE(window.tvDbObjects->topLevelItem(0)->isExpanded());
    // Connected while the SQL page was active: no page change until shown.
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
    window.show();
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsConnection);
    Close();
    EXPECT_EQ(Read("Links.txt"), udl + "\r\nother.udl\r\n");
}

TEST_F(ConnectionPageTest, FailedOpenChangesNothingAndShowsTheError)
{
    Write("Links.txt", "a.udl\r\n");
    const std::string missing = InProgramDir("missing.udl");
    TfmMain& window = Start({"-udl", missing});
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("missing.udl"), std::string::npos) << desktop_.errors[0];
    EXPECT_EQ(BoxText(), missing);
    EXPECT_EQ(Caption(), "Connect");
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(window.DataLinkDir(), "");
    EXPECT_EQ(window.RecentList(), TStringList{"a.udl"});

    // An empty box fails the same way, from the button.
    window.fedDataLink->setEditText("");
    window.btnConnect->click();
    EXPECT_EQ(desktop_.errors.size(), 2u);
    EXPECT_EQ(Caption(), "Connect");
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(window.RecentList(), TStringList{"a.udl"});
    Close();
    EXPECT_EQ(Read("Links.txt"), "a.udl\r\n");
}

TEST_F(ConnectionPageTest, ConnectingKeepsTheRecentListInOrder)
{
    const std::string udl = MakeSqliteLink(ProgramDir(), "shop", kShop);
    const std::string upper = ProgramDir() + "SHOP.UDL";
    struct Case {
        std::string name;
        TStringList before;
        std::string typed;
        TStringList after;
        std::string box;
    };
    const Case cases[] = {
        {"new entry goes first", {"a.udl", "b.udl"}, udl, {udl, "a.udl", "b.udl"}, udl},
        {"into an empty list", {}, udl, {udl}, udl},
        {"first stays first", {udl, "a.udl"}, udl, {udl, "a.udl"}, udl},
        {"third changes places with the first", {"a.udl", "b.udl", udl, "c.udl"}, udl,
         {udl, "b.udl", "a.udl", "c.udl"}, udl},
        {"letter case aside", {"a.udl", udl}, ProgramDir() + "Shop.Udl", {udl, "a.udl"}, udl},
        {"the stored text is shown", {"a.udl", udl}, upper, {udl, "a.udl"}, udl},
    };
    for (const Case& c : cases) {
        std::string links;
        for (const auto& item : c.before)
            links += item + "\r\n";
        Write("Links.txt", links);
        TfmMain& window = Start();
        window.fedDataLink->setEditText(ToQString(c.typed));
        if (c.typed != udl && !std::filesystem::exists(c.typed))
            std::filesystem::copy_file(udl, c.typed);  // a case-sensitive file system
        window.btnConnect->click();
        EXPECT_TRUE(desktop_.errors.empty()) << c.name;
        EXPECT_EQ(window.RecentList(), c.after) << c.name;
        EXPECT_EQ(BoxText(), c.box) << c.name;
        Close();
        std::filesystem::remove(upper);
        std::filesystem::remove(ProgramDir() + "Shop.Udl");
    }
}

TEST_F(ConnectionPageTest, ConnectToggles)
{
    const std::string udl = MakeSqliteLink(ProgramDir(), "shop", kShop);
    TfmMain& window = Start();
    window.show();
    window.fedDataLink->setEditText(ToQString(udl));
    window.btnConnect->click();
    EXPECT_EQ(Caption(), "Disconnect");
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
    window.tvDbObjects->setCurrentItem(window.tvDbObjects->topLevelItem(0)->child(0));
    window.ShowTableFields();
    EXPECT_TRUE(window.dsAdo.Active());

    window.PageCtrl->setCurrentWidget(window.tsConnection);
    window.btnConnect->click();
    EXPECT_FALSE(window.cnAdo.Connected());
    EXPECT_FALSE(window.dsAdo.Active());
    EXPECT_EQ(Caption(), "Connect");
    EXPECT_EQ(LogLines(), (TStringList{"Connection established.", "Connection closed."}));
    ASSERT_EQ(window.tvDbObjects->topLevelItemCount(), 2);
    EXPECT_EQ(Children(0), TStringList{});
    EXPECT_EQ(Children(1), TStringList{});
    // The field list stays as it was.
    EXPECT_EQ(window.lbFields->count(), 2);
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsConnection);

    window.btnConnect->click();
    EXPECT_EQ(Children(0), (TStringList{"customer", "orders", "big_orders"}));
    EXPECT_EQ(window.RecentList(), TStringList{udl});
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(ConnectionPageTest, PageChangesOnlyFromTheConnectionPageAndSchemaOnlyWhenTicked)
{
    const std::string udl = MakeSqliteLink(ProgramDir(), "shop", kShop);
    TfmMain& window = Start();
    window.show();
    window.fedDataLink->setEditText(ToQString(udl));
    window.chbGetTableNames->setChecked(false);
    window.PageCtrl->setCurrentWidget(window.tsResult);
    window.SetConnected(true);
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsResult);
    EXPECT_EQ(Children(0), TStringList{});

    // Already open: the connection is kept, the other steps run again.
    std::filesystem::remove(udl);
    window.chbGetTableNames->setChecked(true);
    window.PageCtrl->setCurrentWidget(window.tsConnection);
    window.SetConnected(true);
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
    EXPECT_EQ(Children(0), (TStringList{"customer", "orders", "big_orders"}));
    EXPECT_EQ(LogLines(), (TStringList{"Connection established.", "Connection established."}));
}

TEST_F(ConnectionPageTest, DataLinkDirIsSetOnlyWhenAConnectionIsOpened)
{
    const std::string udl = MakeSqliteLink(ProgramDir(), "shop", kShop);
    std::filesystem::create_directories(InProgramDir("sub"));
    const std::string other = MakeSqliteLink(InProgramDir("sub/"), "other", kShop);
    TfmMain& window = Start({"-udl", udl});
    EXPECT_EQ(window.DataLinkDir(), ProgramDir());
    // Typing another name while connected changes nothing until a new opening.
    window.fedDataLink->setEditText(ToQString(other));
    window.SetConnected(true);
    EXPECT_EQ(window.DataLinkDir(), ProgramDir());
    window.SetConnected(false);
    window.fedDataLink->setEditText(ToQString(other));
    window.SetConnected(true);
    EXPECT_EQ(window.DataLinkDir(), InProgramDir("sub/"));
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(ConnectionPageTest, BrowsePicksADataLinkFileWithoutConnecting)
{
    TfmMain& window = Start();
    window.fedDataLink->setEditText("typed.udl");
    desktop_.fileAnswers = {std::nullopt, std::string("/data/picked.udl")};
    window.btnBrowse->click();
    EXPECT_EQ(BoxText(), "typed.udl");
    window.btnBrowse->click();
    EXPECT_EQ(BoxText(), "/data/picked.udl");
    ASSERT_EQ(desktop_.fileRequests.size(), 2u);
    EXPECT_EQ(desktop_.fileRequests[0].filter, "Universal Data Link files|*.udl");
    EXPECT_EQ(desktop_.fileRequests[0].initialDir, "");
    EXPECT_EQ(Caption(), "Connect");
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(window.RecentList().empty());
}

} // namespace
