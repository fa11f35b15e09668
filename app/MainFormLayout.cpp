// The controls of the main window, their captions, hints, positions and tab order.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "AnchorLayout.h"
#include "DBGrid.h"
#include "DataLinkBox.h"
#include "MainForm.h"
#include "SqlEditor.h"

namespace {

// The sizes the positions below were designed for.
constexpr QSize kClientSize(856, 501);
constexpr QSize kPageSize(849, 413);

template <class TWidget>
TWidget* Named(TWidget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* NewLabel(const char* name, const QString& caption)
{
    auto* label = Named(new QLabel(caption), name);
    label->adjustSize();
    return label;
}

// A label whose size follows its caption, at (x, y).
QRect LabelRect(QLabel* label, int x, int y)
{
    return QRect(QPoint(x, y), label->sizeHint().expandedTo(QSize(1, 1)));
}

QPushButton* NewButton(const char* name, const QString& caption)
{
    return Named(new QPushButton(caption), name);
}

QCheckBox* NewCheckBox(const char* name, const QString& caption, bool checked)
{
    auto* box = Named(new QCheckBox(caption), name);
    box->setChecked(checked);
    return box;
}

void AddButton(QToolBar* bar, QToolButton* button)
{
    button->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(button);
    // Drawn as a button, not only when hovered (the bar made it flat).
    button->setAutoRaise(false);
}

QToolButton* AddIconButton(QToolBar* bar, const char* name, const QString& hint, QStyle::StandardPixmap icon)
{
    auto* button = Named(new QToolButton, name);
    button->setToolTip(hint);
    button->setIcon(QApplication::style()->standardIcon(icon));
    AddButton(bar, button);
    return button;
}

QToolButton* AddTextButton(QToolBar* bar, const char* name, const QString& caption, const QString& hint)
{
    auto* button = Named(new QToolButton, name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Wider than designed when the caption needs it in the font at hand.
    button->setFixedSize(std::max(109, button->sizeHint().width()), 21);
    AddButton(bar, button);
    return button;
}

void AddSeparator(QToolBar* bar, const char* name)
{
    bar->addSeparator()->setObjectName(QLatin1String(name));
}

// The designed place of a captioned control, widened when its caption needs
// more room in the font at hand than it had in the designed one.
QRect CaptionRect(QWidget* widget, QRect rect)
{
    rect.setWidth(std::max(rect.width(), widget->sizeHint().width()));
    return rect;
}

QListWidget* NewListBox(const char* name)
{
    return Named(new QListWidget, name);
}

} // namespace

void TfmMain::CreateControls()
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Quillet"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quillet.svg")));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    resize(kClientSize);
    // Smaller, the controls would overlap.
    setMinimumSize(kClientSize);

    PageCtrl = Named(new QTabWidget, "PageCtrl");
    tsConnection = Named(new QWidget, "tsConnection");
    tsSQL = Named(new QWidget, "tsSQL");
    tsResult = Named(new QWidget, "tsResult");
    PageCtrl->addTab(tsConnection, QStringLiteral("Connection"));
    PageCtrl->addTab(tsSQL, QStringLiteral("SQL"));
    PageCtrl->addTab(tsResult, QStringLiteral("Result"));
    lbInfo = NewListBox("lbInfo");

    auto* layout = new TAnchorLayout(this, kClientSize);
    layout->Place(PageCtrl, {0, 8, 857, 441}, kAnchorAll);
    layout->Place(lbInfo, {8, 456, 837, 41}, TAnchors(TAnchor::Left) | TAnchor::Right | TAnchor::Bottom);

    CreateConnectionPage();
    CreateSqlPage();
    CreateResultPage();
    // The SQL page is the active one while the window is created.
    PageCtrl->setCurrentWidget(tsSQL);
}

void TfmMain::CreateConnectionPage()
{
    Label3 = NewLabel("Label3", QStringLiteral("Connection file (.UDL)"));
    fedDataLink = Named(new TDataLinkBox, "fedDataLink");
    btnBrowse = NewButton("btnBrowse", QStringLiteral("Browse..."));
    btnConnect = NewButton("btnConnect", QStringLiteral("Connect"));
    chbGetTableNames = NewCheckBox("chbGetTableNames", QStringLiteral("Query database schema"), true);
    btnAbout = NewButton("btnAbout", QStringLiteral("About"));

    auto* layout = new TAnchorLayout(tsConnection, kPageSize);
    layout->GrowWith(this, kClientSize);
    layout->Place(Label3, LabelRect(Label3, 8, 8));
    layout->Place(fedDataLink, {8, 24, 241, 21});
    layout->Place(btnBrowse, {256, 24, 75, 25});
    layout->Place(btnConnect, {8, 56, 89, 25});
    layout->Place(chbGetTableNames, CaptionRect(chbGetTableNames, {104, 56, 153, 17}));
    layout->Place(btnAbout, {744, 376, 97, 25}, TAnchors(TAnchor::Right) | TAnchor::Bottom);

    setTabOrder(btnConnect, fedDataLink);
    setTabOrder(fedDataLink, btnBrowse);
    setTabOrder(btnBrowse, btnAbout);
    setTabOrder(btnAbout, chbGetTableNames);
}

void TfmMain::CreateSqlPage()
{
    Label1 = NewLabel("Label1", QStringLiteral("Database objects"));
    tvDbObjects = Named(new QTreeWidget, "tvDbObjects");
    tvDbObjects->setHeaderHidden(true);
    tvDbObjects->setIndentation(19);
    tvDbObjects->setUniformRowHeights(true);
    tvDbObjects->addTopLevelItem(new QTreeWidgetItem(QStringList(QStringLiteral("Tables"))));
    tvDbObjects->addTopLevelItem(new QTreeWidgetItem(QStringList(QStringLiteral("Procedures"))));
    Label2 = NewLabel("Label2", QStringLiteral("Fields"));
    lbFields = NewListBox("lbFields");

    ToolBar1 = Named(new QToolBar, "ToolBar1");
    ToolBar1->setIconSize(QSize(16, 16));
    btnRun = AddIconButton(ToolBar1, "btnRun", QStringLiteral("Run query (F9)"), QStyle::SP_MediaPlay);
    AddSeparator(ToolBar1, "ToolButton2");
    btnPrev = AddIconButton(ToolBar1, "btnPrev", QStringLiteral("Previous query"), QStyle::SP_ArrowBack);
    btnNext = AddIconButton(ToolBar1, "btnNext", QStringLiteral("Next query"), QStyle::SP_ArrowForward);
    AddSeparator(ToolBar1, "ToolButton1");
    btnLoadSql = AddIconButton(ToolBar1, "btnLoadSql", QStringLiteral("Load SQL from file"),
                               QStyle::SP_DialogOpenButton);
    // Ends a script, a SQL file or an EXPORT command that is running.
    btnStop = AddIconButton(ToolBar1, "btnStop", QStringLiteral("Stop (Esc)"), QStyle::SP_BrowserStop);
    btnPrev->setEnabled(false);
    btnNext->setEnabled(false);
    btnStop->setEnabled(false);

    Label5 = NewLabel("Label5", QStringLiteral("SQL editor"));
    redSQL = Named(new TSqlEditor, "redSQL");
    lblQueryProgress = Named(new QLabel, "lblQueryProgress");

    auto* layout = new TAnchorLayout(tsSQL, kPageSize);
    layout->GrowWith(this, kClientSize);
    layout->Place(Label1, LabelRect(Label1, 0, 16));
    layout->Place(tvDbObjects, {0, 32, 265, 185});
    layout->Place(Label2, LabelRect(Label2, 0, 224));
    layout->Place(lbFields, {0, 240, 265, 97});
    layout->Place(ToolBar1, {272, 0, 577, 33});
    layout->Place(Label5, LabelRect(Label5, 272, 32));
    layout->Place(redSQL, {272, 48, 577, 345}, kAnchorAll);
    // Wide enough for "Executing line " and a long line number.
    layout->Place(lblQueryProgress, {0, 392, 265, 16}, TAnchors(TAnchor::Left) | TAnchor::Bottom);

    setTabOrder(redSQL, lbFields);
    setTabOrder(lbFields, tvDbObjects);
}

void TfmMain::CreateResultPage()
{
    ToolBar2 = Named(new QToolBar, "ToolBar2");
    btnExtractMetadata = AddTextButton(ToolBar2, "btnExtractMetadata", QStringLiteral("Export metadata"),
                                       QStringLiteral("Сгенерировать CREATE TABLE"));
    btnSaveAsSQL = AddTextButton(ToolBar2, "btnSaveAsSQL", QStringLiteral("Export data into script"),
                                 QStringLiteral("Сгенерировать INSERT"));
    btnSaveAsText = AddTextButton(ToolBar2, "btnSaveAsText", QStringLiteral("Export data into text"), QString());

    DBGrid1 = Named(new TDBGrid(DataSource1), "DBGrid1");

    GroupBox1 = Named(new QGroupBox(QStringLiteral("View options")), "GroupBox1");
    chbCP866 = NewCheckBox("chbCP866", QStringLiteral("OEM codepage"), false);
    auto* viewLayout = new TAnchorLayout(GroupBox1, QSize(185, 89));
    viewLayout->Place(chbCP866, CaptionRect(chbCP866, {10, 18, 143, 21}));

    GroupBox2 = Named(new QGroupBox(QStringLiteral("Export options")), "GroupBox2");
    chbDoubleQuotes = NewCheckBox("chbDoubleQuotes", QStringLiteral("Field names in double quotes"), true);
    chbCommentValues = NewCheckBox("chbCommentValues", QStringLiteral("Comment values"), false);
    auto* exportLayout = new TAnchorLayout(GroupBox2, QSize(265, 89));
    exportLayout->Place(chbDoubleQuotes, CaptionRect(chbDoubleQuotes, {8, 18, 192, 21}));
    exportLayout->Place(chbCommentValues, CaptionRect(chbCommentValues, {8, 48, 97, 17}));

    Label4 = NewLabel("Label4", QStringLiteral("Field value"));
    redMemo = Named(new QPlainTextEdit, "redMemo");
    redMemo->setReadOnly(true);
    lblProgress = Named(new QLabel, "lblProgress");

    auto* layout = new TAnchorLayout(tsResult, kPageSize);
    layout->GrowWith(this, kClientSize);
    layout->Place(ToolBar2, {4, 0, 789, 29});
    // The grid takes what the window grows by; what lies below it keeps its
    // distance to the page's bottom.
    const TAnchors belowGrid = TAnchors(TAnchor::Left) | TAnchor::Bottom;
    layout->Place(DBGrid1, {8, 32, 841, 257}, kAnchorAll);
    layout->Place(GroupBox1, {8, 296, 185, 89}, belowGrid);
    layout->Place(GroupBox2, {208, 296, 265, 89}, belowGrid);
    layout->Place(Label4, LabelRect(Label4, 496, 296), belowGrid);
    layout->Place(redMemo, {496, 312, 353, 73}, belowGrid);
    // Wide enough for "Record " and a large record number.
    layout->Place(lblProgress, {4, 400, 185, 16}, belowGrid);

    setTabOrder(redMemo, DBGrid1);
    setTabOrder(DBGrid1, chbCP866);
    setTabOrder(chbCP866, chbDoubleQuotes);
    setTabOrder(chbDoubleQuotes, chbCommentValues);
}
