#pragma once
// The main window: three pages ("Connection", "SQL", "Result") above the
// information list. Creating it loads the recent data-link list and the query
// history and applies the command line; destroying it saves both lists.
//
// The controls are public fields named as their components, and every
// control's Qt object name is that name. Every event handler runs inside
// Guarded, which shows an error's message in an error box.

#include <QWidget>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Connection.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "DataSource.h"
#include "IniFile.h"
#include "ProgramFiles.h"
#include "SqlHistory.h"
#include "TextLines.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TDesktop;
class TSqlEditor;

enum class THistoryMove { Previous, Next, Last };

class TfmMain : public QWidget {
    Q_OBJECT
public:
    // programFile: the program's own file name; arguments: the command-line
    // parameters after it. Runs the creation steps.
    TfmMain(TDesktop& desktop, std::string programFile, TStringList arguments, QWidget* parent = nullptr);
    // Runs the destruction steps: saves the history and the recent list.
    ~TfmMain() override;

    // Appends a line to the information list and selects it.
    void LogInfo(const std::string& text);
    // Moves the history cursor, shows the entry under it and sets the buttons.
    void NavigateHistory(THistoryMove move);
    // Runs the editor's text: the query runner's entry point (F9, "Run query").
    void RunQuery();
    // Writes the INSERT script of the result to the file, with the export
    // options ticked on the Result page at this moment.
    void ExportInsertScript(const std::string& fileName, bool putDeleteBeforeInserts);
    // Writes the CREATE TABLE script of the result to the program folder and
    // starts the text editor on it.
    void ExportMetadata();
    // Connects to the data link named in the data link box, or disconnects.
    void SetConnected(bool value);
    // Lists the fields of the table selected in the object tree and opens the
    // result dataset on the table's columns, without rows.
    void ShowTableFields();
    // Executes each non-blank line as one statement; adds 1 to count per statement.
    void ExecuteLines(const TStringList& lines, int& count);
    // Executes the lines of a stream's text as ExecuteLines does.
    void ExecuteStream(std::istream& stream);
    // Carries out the EXPORT command written in the editor.
    void RunExportCommand();

    // Runs an action; an error it raises is shown in an error box. True when
    // the action ended without error.
    bool Guarded(const std::function<void()>& action);

    // The folder of the program file, where the settings and the help page are read.
    const std::string& ProgramDir() const { return files_.ProgramDir; }
    // The folder the program writes its files to (ProgramDir when writable).
    const std::string& DataDir() const { return files_.DataDir; }
    const std::string& LinksFileName() const { return linksFileName_; }
    std::string HistoryFileName() const { return files_.DataDir + "SqlHistory.txt"; }
    const TSqlHistory& History() const { return history_; }
    int HistoryIndex() const { return historyIndex_; }
    const TIniFile* IniFile() const { return iniFile_.get(); }
    const std::optional<TStringList>& TaskValues() const { return taskValues_; }
    // The folder of the data link file in use, set at every opening of the connection.
    const std::string& DataLinkDir() const { return dataLinkDir_; }

    // The items of the data link box.
    TStringList RecentList() const;

    // The one connection and the one result dataset on it, for the window's whole life.
    TConnection cnAdo{"cnAdo"};
    TDataSet dsAdo{cnAdo, "dsAdo"};
    // Links dsAdo to DBGrid1 and reports its data changes.
    TDataSource DataSource1{dsAdo};

    // Top level
    QTabWidget* PageCtrl;
    QListWidget* lbInfo;
    // Connection page
    QWidget* tsConnection;
    QLabel* Label3;
    QComboBox* fedDataLink;
    QPushButton* btnBrowse;
    QPushButton* btnConnect;
    QCheckBox* chbGetTableNames;
    QPushButton* btnAbout;
    // SQL page
    QWidget* tsSQL;
    QLabel* Label1;
    QTreeWidget* tvDbObjects;
    QLabel* Label2;
    QListWidget* lbFields;
    QToolBar* ToolBar1;
    QToolButton* btnRun;
    QToolButton* btnPrev;
    QToolButton* btnNext;
    QToolButton* btnLoadSql;
    QToolButton* btnStop;
    QLabel* Label5;
    TSqlEditor* redSQL;
    QLabel* lblQueryProgress;
    // Result page
    QWidget* tsResult;
    QToolBar* ToolBar2;
    QToolButton* btnExtractMetadata;
    QToolButton* btnSaveAsSQL;
    QToolButton* btnSaveAsText;
    TDBGrid* DBGrid1;
    QGroupBox* GroupBox1;
    QCheckBox* chbCP866;
    QGroupBox* GroupBox2;
    QCheckBox* chbDoubleQuotes;
    QCheckBox* chbCommentValues;
    QLabel* Label4;
    QPlainTextEdit* redMemo;
    QLabel* lblProgress;

    // Result page
    void HookStringFields(TDataSet& dataSet);
    void OemFieldGetText(const TField& sender, std::string& text, bool displayText);
    void ShowFieldValue();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateConnectionPage();
    void CreateSqlPage();
    void CreateResultPage();
    void ConnectEvents();

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void ApplyCommandLine();
    void SetRecentList(const TStringList& items);

    void btnAboutClick();
    void btnPrevClick();
    void btnNextClick();
    void btnLoadSqlClick();
    void btnStopClick();
    void redSQLKeyDown(int key, Qt::KeyboardModifiers modifiers);

    // The table the result's query reads, which names every export file.
    std::string ResultTableName() const;
    // Asks whether to open a file just written in the external editor, and does.
    void OfferToEditFile(const std::string& fileName);
    void btnExtractMetadataClick();
    void btnSaveAsSQLClick();
    void btnSaveAsTextClick();

    // Task mode: the value of a task file line, and the task itself.
    std::string TaskValue(std::string_view name) const;
    void RunTask();

    void SetConnectionString();
    void UpdateRecentList(const std::string& dataLink);
    void btnConnectClick();
    void btnBrowseClick();
    void LoadSchema();
    void tvDbObjectsClick();

    void ConnectResultPage();
    void dsAdoAfterOpen(TDataSet& dataSet);
    void DBGrid1ColEnter();
    void DataSource1DataChange();
    void chbCP866Click();

    friend class TLongRun;

    TDesktop& desktop_;
    const std::string programFile_;
    const TStringList arguments_;
    TProgramFiles files_;
    std::string linksFileName_;
    // A file is written back at exit only when it was read (or absent) at
    // start, so that a file the program failed to read is never overwritten.
    bool linksLoaded_ = false;
    bool historyLoaded_ = false;
    TSqlHistory history_;
    int historyIndex_ = 0;
    std::unique_ptr<TIniFile> iniFile_;
    std::optional<TStringList> taskValues_;
    std::string dataLinkDir_;
    // The open-file dialog's initial directory, kept between uses; empty lets
    // the dialog choose.
    std::string openDlgDir_;
    bool shown_ = false;
    // A long run and what the user asked of it while it went on.
    bool longRun_ = false;
    bool stopRequested_ = false;
    bool closeAfterRun_ = false;
};
