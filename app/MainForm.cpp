#include "MainForm.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "Desktop.h"
#include "QtText.h"
#include "SqlEditor.h"
#include "Words.h"

TfmMain::TfmMain(TDesktop& desktop, std::string programFile, TStringList arguments, QWidget* parent)
    : QWidget(parent), desktop_(desktop), programFile_(std::move(programFile)), arguments_(std::move(arguments))
{
    CreateControls();
    ConnectEvents();
    Guarded([this] { FormCreate(); });
}

TfmMain::~TfmMain()
{
    FormDestroy();
    // The grid is a view of DataSource1, a member that goes before the
    // child widgets do.
    delete DBGrid1;
}

void TfmMain::ConnectEvents()
{
    connect(btnAbout, &QPushButton::clicked, this, [this] { Guarded([this] { btnAboutClick(); }); });
    connect(btnConnect, &QPushButton::clicked, this, [this] { Guarded([this] { btnConnectClick(); }); });
    connect(btnBrowse, &QPushButton::clicked, this, [this] { Guarded([this] { btnBrowseClick(); }); });
    connect(tvDbObjects, &QTreeWidget::itemClicked, this, [this] { Guarded([this] { tvDbObjectsClick(); }); });
    connect(btnRun, &QToolButton::clicked, this, [this] { Guarded([this] { RunQuery(); }); });
    connect(btnPrev, &QToolButton::clicked, this, [this] { Guarded([this] { btnPrevClick(); }); });
    connect(btnNext, &QToolButton::clicked, this, [this] { Guarded([this] { btnNextClick(); }); });
    connect(btnExtractMetadata, &QToolButton::clicked, this, [this] { Guarded([this] { btnExtractMetadataClick(); }); });
    connect(btnSaveAsSQL, &QToolButton::clicked, this, [this] { Guarded([this] { btnSaveAsSQLClick(); }); });
    connect(btnSaveAsText, &QToolButton::clicked, this, [this] { Guarded([this] { btnSaveAsTextClick(); }); });
    connect(btnLoadSql, &QToolButton::clicked, this, [this] { Guarded([this] { btnLoadSqlClick(); }); });
    connect(btnStop, &QToolButton::clicked, this, [this] { btnStopClick(); });
    connect(redSQL, &TSqlEditor::KeyDown, this, [this](int key, Qt::KeyboardModifiers modifiers) {
        Guarded([&] { redSQLKeyDown(key, modifiers); });
    });
    ConnectResultPage();
}

bool TfmMain::Guarded(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        desktop_.ShowError(error.what());
    } catch (...) {
        desktop_.ShowError("Unexpected error.");
    }
    return false;
}

void TfmMain::FormCreate()
{
    files_ = TProgramFiles::For(programFile_);

    linksFileName_ = files_.DataDir + "Links.txt";
    const std::string linksSource = files_.StartFile("Links.txt");
    if (!FileExists(linksSource))
        WriteFileBytes(linksFileName_, "");
    SetRecentList(SplitLines(ReadFileBytes(linksSource)));
    linksLoaded_ = true;
    // The box shows the first line even when it is blank: blank lines are
    // dropped only after the selection.
    fedDataLink->setCurrentIndex(fedDataLink->count() > 0 ? 0 : -1);
    TStringList recent = RecentList();
    RemoveBlankLines(recent);
    SetRecentList(recent);

    const std::string historySource = files_.StartFile("SqlHistory.txt");
    if (FileExists(historySource))
        history_.LoadFromFile(historySource);
    historyLoaded_ = true;
    NavigateHistory(THistoryMove::Last);

    lblProgress->clear();
    lblQueryProgress->clear();

    iniFile_ = std::make_unique<TIniFile>(files_.IniFileName);

    ApplyCommandLine();
}

void TfmMain::ApplyCommandLine()
{
    if (arguments_.size() != 2)
        return;
    const std::string& fileName = arguments_[1];
    if (arguments_[0] == "-udl") {
        fedDataLink->setEditText(ToQString(fileName));
        SetConnected(true);
    } else if (arguments_[0] == "-task") {
        taskValues_.emplace();
        *taskValues_ = SplitLines(ReadFileBytes(fileName));
    }
}

void TfmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    Guarded([this] { FormShow(); });
}

void TfmMain::FormShow()
{
    PageCtrl->setCurrentIndex(0);
    if (taskValues_)
        RunTask();
}

void TfmMain::FormDestroy()
{
    // Each file is saved even when the other fails; errors come after both.
    std::vector<std::string> errors;
    auto attempt = [&errors](const std::function<void()>& save) {
        try {
            save();
        } catch (const std::exception& error) {
            errors.emplace_back(error.what());
        }
    };
    if (historyLoaded_)
        attempt([this] { history_.SaveToFile(HistoryFileName()); });
    if (linksLoaded_)
        attempt([this] { WriteLinesToFile(linksFileName_, RecentList()); });
    for (const auto& error : errors)
        desktop_.ShowError(error);
}

TStringList TfmMain::RecentList() const
{
    TStringList items;
    for (int i = 0; i < fedDataLink->count(); ++i)
        items.push_back(FromQString(fedDataLink->itemText(i)));
    return items;
}

void TfmMain::SetRecentList(const TStringList& items)
{
    const QString text = fedDataLink->currentText();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& item : items)
        texts.append(ToQString(item));
    fedDataLink->clear();
    fedDataLink->addItems(texts);  // in one batch: one model change, not one per item
    fedDataLink->setEditText(text);
}

void TfmMain::LogInfo(const std::string& text)
{
    lbInfo->addItem(ToQString(text));
    lbInfo->setCurrentRow(lbInfo->count() - 1);
    lbInfo->scrollToItem(lbInfo->currentItem());
    desktop_.InfoLogged(text);
}

void TfmMain::NavigateHistory(THistoryMove move)
{
    switch (move) {
    case THistoryMove::Previous: --historyIndex_; break;
    case THistoryMove::Next: ++historyIndex_; break;
    case THistoryMove::Last: historyIndex_ = history_.Count() - 1; break;
    }
    if (historyIndex_ >= 0 && historyIndex_ < history_.Count())
        redSQL->SetText(history_.ItemText(historyIndex_));
    btnPrev->setEnabled(historyIndex_ > 0);
    btnNext->setEnabled(historyIndex_ < history_.Count() - 1);
}

void TfmMain::btnAboutClick()
{
    // A missing help page is not an error: nothing is opened.
    if (FileExists(files_.HelpFileName))
        desktop_.OpenDocument(files_.HelpFileName);
}

void TfmMain::btnPrevClick()
{
    NavigateHistory(THistoryMove::Previous);
}

void TfmMain::btnNextClick()
{
    NavigateHistory(THistoryMove::Next);
}

void TfmMain::redSQLKeyDown(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_F9)
        RunQuery();
    else if (key == Qt::Key_Escape)
        btnStopClick();
}
