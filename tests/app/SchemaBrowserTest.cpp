#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

#include "QtText.h"
#include "SqliteLink.h"
#include "WidgetTexts.h"
#include "WindowFixture.h"

namespace {

class SchemaBrowserTest : public WindowTest {
protected:
    TfmMain& Connected(const std::string& sql)
    {
        TfmMain& window = Start({"-udl", MakeSqliteLink(ProgramDir(), "db", sql)});
        EXPECT_TRUE(window.cnAdo.Connected());
        return window;
    }
    QTreeWidgetItem* Node(int top, int child = -1) const
    {
        QTreeWidgetItem* node = window_->tvDbObjects->topLevelItem(top);
        return child < 0 ? node : node->child(child);
    }
    // Clicks the node as the user does.
    void Click(QTreeWidgetItem* node)
    {
        QTreeWidget* tree = window_->tvDbObjects;
        tree->scrollToItem(node);
        const QRect rect = tree->visualItemRect(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    }
    TStringList FieldLines() const { return ItemTexts(window_->lbFields); }
    static std::string Padded(const std::string& name) { return name + std::string(50 - name.size(), ' '); }
};

TEST_F(SchemaBrowserTest, ClickingATableListsItsFieldsAndOpensTheEmptyResult)
{
    const std::string longName(60, 'L');
    TfmMain& window = Connected("CREATE TABLE CUSTOMER (ID SMALLINT, NAME VARCHAR(20), " + longName + " DATE);"
                                "INSERT INTO CUSTOMER VALUES (1, 'Ann', '2024-01-02');");
    window.show();
    window.PageCtrl->setCurrentWidget(window.tsSQL);
    Click(Node(0, 0));
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(FieldLines(), (TStringList{Padded("ID") + "ftSmallint", Padded("NAME") + "ftString",
                                         longName + "ftDate"}));
    EXPECT_EQ(window.dsAdo.CommandText(), "SELECT * FROM CUSTOMER WHERE 1=2");
    ASSERT_TRUE(window.dsAdo.Active());
    EXPECT_EQ(window.dsAdo.RecordCount(), 0);
    EXPECT_EQ(window.dsAdo.FieldDefNames(), (TStringList{"ID", "NAME", longName}));
    // Nothing logged beyond the connection, no history, no page change.
    EXPECT_EQ(window.lbInfo->count(), 1);
    EXPECT_EQ(window.History().Count(), 0);
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
}

TEST_F(SchemaBrowserTest, OnlyChildrenOfTablesListFields)
{
    TfmMain& window = Connected("CREATE TABLE CUSTOMER (ID INTEGER);");
    window.show();
    window.PageCtrl->setCurrentWidget(window.tsSQL);
    Click(Node(0, 0));
    ASSERT_EQ(window.lbFields->count(), 1);
    // A procedure node stands in for one: SQLite has none.
    Node(1)->addChild(new QTreeWidgetItem(QStringList(QStringLiteral("CUSTOMER"))));
    for (QTreeWidgetItem* node : {Node(0), Node(1), Node(1, 0)}) {
        window.dsAdo.Close();
        Click(node);
        EXPECT_EQ(window.lbFields->count(), 1);
        EXPECT_FALSE(window.dsAdo.Active());
    }
    // Without a selection nothing happens.
    window.tvDbObjects->setCurrentItem(nullptr);
    window.ShowTableFields();
    EXPECT_FALSE(window.dsAdo.Active());
    // The parent's text must be exactly "Tables".
    Node(0)->setText(0, QStringLiteral("tables"));
    window.tvDbObjects->setCurrentItem(Node(0, 0));
    window.ShowTableFields();
    EXPECT_FALSE(window.dsAdo.Active());
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(SchemaBrowserTest, NamesThatAreNotPlainIdentifiersAreQuoted)
{
    struct Case {
        std::string table;
        std::string from;
    };
    const Case cases[] = {
        {"plain_Name1", "plain_Name1"},
        {"my table", "\"my table\""},
        {"1st", "\"1st\""},
        {"a-b", "\"a-b\""},
        {"Größe", "\"Größe\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
    };
    std::string sql;
    for (const Case& c : cases) {
        std::string quoted = "\"";
        for (char ch : c.table)
            quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        sql += "CREATE TABLE " + quoted + "\" (ID SMALLINT);";
    }
    TfmMain& window = Connected(sql);
    QTreeWidgetItem* tables = Node(0);
    ASSERT_EQ(tables->childCount(), static_cast<int>(std::size(cases)));
    for (int i = 0; i < tables->childCount(); ++i) {
        const std::string text = FromQString(tables->child(i)->text(0));
        const auto c = std::find_if(std::begin(cases), std::end(cases), [&](const Case& c) { return c.table == text; });
        ASSERT_NE(c, std::end(cases)) << text;
        Click(tables->child(i));
        EXPECT_EQ(window.dsAdo.CommandText(), "SELECT * FROM " + c->from + " WHERE 1=2");
        EXPECT_EQ(FieldLines(), TStringList{Padded("ID") + "ftSmallint"}) << text;
    }
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(SchemaBrowserTest, FailedFieldQueryLeavesTheListEmptyAndTheResultClosed)
{
    TfmMain& window = Connected("CREATE TABLE CUSTOMER (ID INTEGER);");
    window.tvDbObjects->setCurrentItem(Node(0, 0));
    window.ShowTableFields();
    ASSERT_EQ(window.lbFields->count(), 1);
    window.cnAdo.Execute("DROP TABLE CUSTOMER");
    Click(Node(0, 0));
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("CUSTOMER"), std::string::npos) << desktop_.errors[0];
    EXPECT_EQ(window.lbFields->count(), 0);
    EXPECT_FALSE(window.dsAdo.Active());
}

} // namespace
