// The EXPORT command: pages through a table by record number and writes the
// INSERT statements of every page into one script file.

#include <QLabel>
#include <exception>
#include <optional>

#include "Desktop.h"
#include "ExportCommand.h"
#include "ExportToSql.h"
#include "LongRun.h"
#include "MainForm.h"
#include "QtText.h"
#include "ReplacingFile.h"
#include "SqlEditor.h"

namespace {

void OpenQuery(TDataSet& dataSet, const std::string& query)
{
    dataSet.Close();
    dataSet.SetCommandText(query);
    dataSet.Open();
}

// The table's highest record number; nothing for an empty table or a value
// that is not a number.
std::optional<double> LastRecordNumber(TDataSet& dataSet, const std::string& table)
{
    OpenQuery(dataSet, ExportLastRecordQuery(table));
    if (dataSet.Eof() || dataSet.FieldCount() == 0)
        return std::nullopt;
    return dataSet.Fields(0).ValueFloat();
}

} // namespace

void TfmMain::RunExportCommand()
{
    const TExportCommand command = ParseExportCommand(redSQL->Text());
    TLongRun run(*this);
    // Made before any page runs, so that a folder that cannot take the file
    // fails at once; until it is committed nothing is left at its name.
    TReplacingFile file(command.FileName);

    std::exception_ptr failure;
    try {
        // A gap in the record numbers wider than a page gives an empty page
        // before the end: the loop ends only above the last record.
        const std::optional<double> last = LastRecordNumber(dsAdo, command.Table);
        std::string progress;
        const TCaptionSetter showProgress = [&](const std::string& caption) { progress = caption; };
        const TMessagePump pump = [&] {
            lblProgress->setText(ToQString(progress));
            run.ProcessMessages();
        };
        TStringList page;
        for (int64_t lower = 0;; lower += command.PageSize) {
            const std::string query = ExportPageQuery(command.Table, lower, command.PageSize);
            redSQL->SetText(query);
            OpenQuery(dsAdo, query);
            page.clear();
            AppendInsertStatements(dsAdo, command.Table, page, command.Quote, true, showProgress, pump);
            lblProgress->setText(ToQString(progress));
            // Only whole pages reach the file.
            for (const std::string& statement : page) {
                file.Append(statement);
                file.Append("\r\n");
            }
            if (page.empty() && (!last || static_cast<double>(lower) >= *last))
                break;
            if (run.ShouldStop())
                break;
        }
    } catch (...) {
        failure = std::current_exception();
    }

    file.Commit();
    OfferToEditFile(command.FileName);
    if (failure)
        std::rethrow_exception(failure);
}
