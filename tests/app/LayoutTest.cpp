#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "QtText.h"
#include "SqlEditor.h"
#include "WindowFixture.h"

namespace {

std::string Caption(QWidget* widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return FromQString(button->text());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return FromQString(label->text());
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return FromQString(box->title());
    return {};
}

TEST_F(WindowTest, EveryControlHasItsNameCaptionHintAndPage)
{
    TfmMain& window = Start();
    EXPECT_EQ(window.objectName(), "fmMain");
    EXPECT_EQ(window.windowTitle(), "Quillet");
    struct Control {
        const char* name;
        const char* page;
        std::string caption;
        std::string hint;
    };
    const Control controls[] = {
        {"Label3", "tsConnection", "Connection file (.UDL)", ""},
        {"fedDataLink", "tsConnection", "", ""},
        {"btnBrowse", "tsConnection", "Browse...", ""},
        {"btnConnect", "tsConnection", "Connect", ""},
        {"chbGetTableNames", "tsConnection", "Query database schema", ""},
        {"btnAbout", "tsConnection", "About", ""},
        {"Label1", "tsSQL", "Database objects", ""},
        {"tvDbObjects", "tsSQL", "", ""},
        {"Label2", "tsSQL", "Fields", ""},
        {"lbFields", "tsSQL", "", ""},
        {"ToolBar1", "tsSQL", "", ""},
        {"btnRun", "tsSQL", "", "Run query (F9)"},
        {"btnPrev", "tsSQL", "", "Previous query"},
        {"btnNext", "tsSQL", "", "Next query"},
        {"btnLoadSql", "tsSQL", "", "Load SQL from file"},
        {"Label5", "tsSQL", "SQL editor", ""},
        {"redSQL", "tsSQL", "", ""},
        {"lblQueryProgress", "tsSQL", "", ""},
        {"ToolBar2", "tsResult", "", ""},
        {"btnExtractMetadata", "tsResult", "Export metadata", "Сгенерировать CREATE TABLE"},
        {"btnSaveAsSQL", "tsResult", "Export data into script", "Сгенерировать INSERT"},
        {"btnSaveAsText", "tsResult", "Export data into text", ""},
        {"DBGrid1", "tsResult", "", ""},
        {"GroupBox1", "tsResult", "View options", ""},
        {"chbCP866", "tsResult", "OEM codepage", ""},
        {"GroupBox2", "tsResult", "Export options", ""},
        {"chbDoubleQuotes", "tsResult", "Field names in double quotes", ""},
        {"chbCommentValues", "tsResult", "Comment values", ""},
        {"Label4", "tsResult", "Field value", ""},
        {"redMemo", "tsResult", "", ""},
        {"lblProgress", "tsResult", "", ""},
    };
    for (const auto& c : controls) {
        auto* widget = window.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        auto* page = window.findChild<QWidget*>(c.page);
        EXPECT_TRUE(page->isAncestorOf(widget)) << c.name;
        EXPECT_EQ(Caption(widget), c.caption) << c.name;
        EXPECT_EQ(FromQString(widget->toolTip()), c.hint) << c.name;
    }
    for (const char* separator : {"ToolButton1", "ToolButton2"}) {
        auto* action = window.ToolBar1->findChild<QAction*>(separator);
        ASSERT_NE(action, nullptr) << separator;
        EXPECT_TRUE(action->isSeparator());
    }
}

TEST_F(WindowTest, ControlsStartInTheirListedState)
{
    TfmMain& window = Start();
    ASSERT_EQ(window.PageCtrl->count(), 3);
    const char* pages[][2] = {{"tsConnection", "Connection"}, {"tsSQL", "SQL"}, {"tsResult", "Result"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window.PageCtrl->widget(i)->objectName(), pages[i][0]);
        EXPECT_EQ(window.PageCtrl->tabText(i), pages[i][1]);
    }
    EXPECT_TRUE(window.fedDataLink->isEditable());
    EXPECT_TRUE(window.chbGetTableNames->isChecked());
    EXPECT_FALSE(window.chbCP866->isChecked());
    EXPECT_TRUE(window.chbDoubleQuotes->isChecked());
    EXPECT_FALSE(window.chbCommentValues->isChecked());
    EXPECT_TRUE(window.btnRun->isEnabled());
    EXPECT_TRUE(window.btnLoadSql->isEnabled());
    EXPECT_TRUE(window.redMemo->isReadOnly());
    EXPECT_TRUE(window.redMemo->toPlainText().isEmpty());
    EXPECT_EQ(window.lbFields->count(), 0);
    EXPECT_EQ(window.lbInfo->count(), 0);
    EXPECT_TRUE(window.lblProgress->text().isEmpty());
    EXPECT_TRUE(window.lblQueryProgress->text().isEmpty());
    ASSERT_EQ(window.tvDbObjects->topLevelItemCount(), 2);
    EXPECT_EQ(window.tvDbObjects->topLevelItem(0)->text(0), "Tables");
    EXPECT_EQ(window.tvDbObjects->topLevelItem(1)->text(0), "Procedures");
    EXPECT_EQ(window.tvDbObjects->topLevelItem(0)->childCount(), 0);
    EXPECT_EQ(window.tvDbObjects->topLevelItem(1)->childCount(), 0);
    EXPECT_EQ(window.tvDbObjects->indentation(), 19);
    for (auto* button : {window.btnRun, window.btnPrev, window.btnNext, window.btnLoadSql})
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
}

TEST_F(WindowTest, DesignedGeometryAndStretchingWithTheWindow)
{
    TfmMain& window = Start();
    window.resize(856, 501);
    window.show();
    EXPECT_EQ(window.PageCtrl->geometry(), QRect(0, 8, 857, 441));
    EXPECT_EQ(window.lbInfo->geometry(), QRect(8, 456, 837, 41));

    struct Control {
        QWidget* widget;
        QWidget* page;
    };
    const Control inPages[] = {{window.redSQL, window.tsSQL},
                               {window.DBGrid1, window.tsResult},
                               {window.btnAbout, window.tsConnection},
                               {window.fedDataLink, window.tsConnection},
                               {window.lblQueryProgress, window.tsSQL},
                               {window.GroupBox1, window.tsResult},
                               {window.GroupBox2, window.tsResult},
                               {window.redMemo, window.tsResult},
                               {window.Label4, window.tsResult},
                               {window.lblProgress, window.tsResult}};
    for (const auto& c : inPages)
        window.PageCtrl->setCurrentWidget(c.page);
    std::vector<QRect> before;
    for (const auto& c : inPages)
        before.push_back(c.widget->geometry());
    EXPECT_EQ(before[1], QRect(8, 32, 841, 257));
    EXPECT_EQ(before[5], QRect(8, 296, 185, 89));
    EXPECT_EQ(before[6], QRect(208, 296, 265, 89));
    EXPECT_EQ(before[7], QRect(496, 312, 353, 73));

    window.resize(856 + 100, 501 + 60);
    for (const auto& c : inPages)
        window.PageCtrl->setCurrentWidget(c.page);
    EXPECT_EQ(window.PageCtrl->geometry(), QRect(0, 8, 957, 501));
    EXPECT_EQ(window.lbInfo->geometry(), QRect(8, 516, 937, 41));
    const QRect grown[] = {
        before[0].adjusted(0, 0, 100, 60),   // editor: all four sides
        before[1].adjusted(0, 0, 100, 60),   // grid: all four sides
        before[2].translated(100, 60),       // About: right, bottom
        before[3],                           // data link box: left, top
        before[4].translated(0, 60),         // progress: left, bottom
        before[5].translated(0, 60),         // below the grid: left, bottom
        before[6].translated(0, 60),
        before[7].translated(0, 60),
        before[8].translated(0, 60),
        before[9].translated(0, 60),
    };
    for (size_t i = 0; i < std::size(inPages); ++i)
        EXPECT_EQ(inPages[i].widget->geometry(), grown[i]) << inPages[i].widget->objectName().toStdString();
}

TEST_F(WindowTest, TheWindowIsNeverSmallerThanItsDesignedSize)
{
    TfmMain& window = Start();
    window.show();
    window.resize(600, 300);
    EXPECT_EQ(window.size(), QSize(856, 501));
    EXPECT_EQ(window.minimumSize(), QSize(856, 501));
}

TEST_F(WindowTest, TheDataLinkBoxShowsLongNamesWhole)
{
    const std::string longName = "/home/user/projects/warehouse/connections/reporting-replica-" + std::string(80, 'x') + ".udl";
    Write("Links.txt", "short.udl\r\n" + longName + "\r\n");
    TfmMain& window = Start();
    window.resize(856, 501);
    window.show();
    EXPECT_EQ(FromQString(window.fedDataLink->toolTip()), "short.udl");
    window.fedDataLink->setCurrentIndex(1);
    EXPECT_EQ(FromQString(window.fedDataLink->toolTip()), longName);
    window.fedDataLink->setEditText("typed.udl");
    EXPECT_EQ(FromQString(window.fedDataLink->toolTip()), "typed.udl");

    window.fedDataLink->showPopup();
    QAbstractItemView* list = window.fedDataLink->view();
    EXPECT_GT(list->width(), window.fedDataLink->width());
    EXPECT_GE(list->viewport()->width(), list->fontMetrics().horizontalAdvance(ToQString(longName)));
    window.fedDataLink->hidePopup();

    // Its size is not measured from its entries, which a long recent list
    // would make slow to show.
    const int hint = window.fedDataLink->sizeHint().width();
    window.fedDataLink->addItem(QString(1000, u'w'));
    EXPECT_EQ(window.fedDataLink->sizeHint().width(), hint);
}

TEST_F(WindowTest, ToolBarButtonsLookLikeButtons)
{
    TfmMain& window = Start();
    for (QToolButton* button : {window.btnRun, window.btnPrev, window.btnNext, window.btnLoadSql,
                                window.btnExtractMetadata, window.btnSaveAsSQL, window.btnSaveAsText})
        EXPECT_FALSE(button->autoRaise()) << button->objectName().toStdString();
}

TEST_F(WindowTest, WindowShowsTheApplicationIcon)
{
    TfmMain& window = Start();
    for (int size : {16, 32, 64}) {
        const QImage image = window.windowIcon().pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        // Drawn, not blank: the corner is transparent, the middle is not.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
}

TEST_F(WindowTest, TabOrderOfEachPage)
{
    TfmMain& window = Start();
    window.show();
    // The next focusable control of each, skipping the parts of composite controls.
    auto nextFocus = [](QWidget* widget) {
        QWidget* next = widget->nextInFocusChain();
        while (next != widget && (!(next->focusPolicy() & Qt::TabFocus) || !next->isEnabled()
                                  || next->focusProxy() || widget->isAncestorOf(next)))
            next = next->nextInFocusChain();
        return next;
    };
    const std::vector<std::vector<QWidget*>> chains = {
        {window.btnConnect, window.fedDataLink, window.btnBrowse, window.btnAbout, window.chbGetTableNames},
        {window.redSQL, window.lbFields, window.tvDbObjects},
        {window.redMemo, window.DBGrid1, window.chbCP866, window.chbDoubleQuotes, window.chbCommentValues},
    };
    for (const auto& chain : chains)
        for (size_t i = 0; i + 1 < chain.size(); ++i)
            EXPECT_EQ(nextFocus(chain[i]), chain[i + 1]) << chain[i]->objectName().toStdString();
}

} // namespace
