// Running the editor's text kind by kind, scripts line by line, and SQL files.

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>
#include <chrono>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CodePage.h"
#include "Desktop.h"
#include "FormatSettings.h"
#include "LongRun.h"
#include "MainForm.h"
#include "QtText.h"
#include "RunnerTexts.h"
#include "SqlEditor.h"
#include "Statements.h"

namespace {

constexpr int kPumpInterval = 100;

std::string ReplaceLineBreaks(std::string text)
{
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.replace(at, 2, " ");
    return text;
}

// The log line of a data-changing statement, e.g. "Изменено записей: 3".
std::string RecordsTouchedText(TStatementKind kind, int64_t count)
{
    const char* label = kind == skUpdate ? "Изменено записей: "
                        : kind == skInsert ? "Добавлено записей: "
                                           : "Удалено записей: ";
    return CodePage::FromUtf8(label) + std::to_string(count);
}

// The folder part of a file name, with its separator; empty when there is none.
std::string DirectoryOf(const std::string& fileName)
{
    const size_t slash = fileName.find_last_of('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

} // namespace

void TfmMain::RunQuery()
{
    // F9 while a long run lets messages through starts nothing.
    if (longRun_)
        return;
    dsAdo.Close();
    const std::string text = redSQL->Text();
    const TStatementKind kind = ClassifyStatement(text);
    const std::string sql = kind == skScript ? text : ReplaceLineBreaks(text);
    const auto started = std::chrono::steady_clock::now();

    // The time line and the history entry follow a failed run too.
    std::exception_ptr failure;
    try {
        switch (kind) {
        case skSelect:
            dsAdo.SetCommandText(sql);
            dsAdo.Open();
            PageCtrl->setCurrentIndex((PageCtrl->currentIndex() + 1) % PageCtrl->count());
            break;
        case skUpdate:
        case skInsert:
        case skDelete: {
            int64_t count = 0;
            cnAdo.Execute(sql, count);
            LogInfo(RecordsTouchedText(kind, count));
            break;
        }
        case skSchemaChange:
            SetConnected(false);
            // Executing on the closed connection opens it again first, so
            // reconnecting only brings the window up to date.
            cnAdo.Execute(sql);
            SetConnected(true);
            ShowTableFields();
            break;
        case skScript: {
            TStringList lines;
            for (int i = 0; i < redSQL->LineCount(); ++i)
                lines.push_back(redSQL->Line(i));
            int count = 0;
            ExecuteLines(lines, count);
            break;
        }
        case skExport:
            RunExportCommand();
            break;
        case skOther: {
            int64_t count = 0;
            cnAdo.Execute(sql, count);
            break;
        }
        }
    } catch (...) {
        failure = std::current_exception();
    }

    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    LogInfo(ExecuteTimeText(elapsed.count(), FormatSettings().DecimalSeparator));
    if (kind != skScript) {
        // The EXPORT command leaves its last page query in the editor; the
        // history keeps the command itself, so that it can be run again.
        history_.AddText(kind == skExport ? text : redSQL->Text());
        NavigateHistory(THistoryMove::Last);
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TfmMain::ExecuteLines(const TStringList& lines, int& count)
{
    TLongRun run(*this);
    for (size_t i = 0; i < lines.size(); ++i) {
        lblQueryProgress->setText(ToQString("Executing line " + std::to_string(i + 1)));
        if (i % kPumpInterval == 0)
            run.ProcessMessages();
        if (run.ShouldStop())
            break;
        const std::string statement = ScriptLineStatement(lines[i]);
        if (statement.empty())
            continue;
        cnAdo.Execute(statement);
        ++count;
    }
    // A failing line leaves its number in the label.
    lblQueryProgress->clear();
}

void TfmMain::ExecuteStream(std::istream& stream)
{
    stream.seekg(0);
    std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    const TStringList lines = SplitLines(text);
    text = std::string();
    int count = 0;
    ExecuteLines(lines, count);
}

void TfmMain::btnLoadSqlClick()
{
    if (longRun_)
        return;
    const std::optional<std::string> fileName =
        desktop_.OpenFileName("SQL files|*.sql|All files|*", DirectoryOf(FromQString(fedDataLink->currentText())));
    if (!fileName)
        return;

    std::ifstream file(*fileName, std::ios::binary);
    std::error_code sizeError;
    const uintmax_t size = std::filesystem::file_size(*fileName, sizeError);
    if (!file || sizeError)
        throw std::runtime_error("Cannot open file \"" + *fileName + "\". "
                                 + (sizeError ? sizeError.message() : std::strerror(errno)));

    const int maxBytes = iniFile_->ReadInteger("SqlEditor", "MaxBytesLoaded", 1000);
    if (static_cast<long long>(size) > static_cast<long long>(maxBytes)) {
        if (desktop_.Confirm("The file size is " + FileSizeText(size) + "\r\nExecute without loading into editor?"))
            ExecuteStream(file);
        return;
    }
    redSQL->LoadFromStream(file);
}
