// The Result page's exports of the current result: its CREATE TABLE script,
// an INSERT script of its rows and a '|'-separated text file. Each file is
// named after the table the result's query reads.

#include <QCheckBox>
#include <QLabel>
#include <exception>
#include <stdexcept>

#include "CreateTable.h"
#include "Desktop.h"
#include "ExportToSql.h"
#include "LongRun.h"
#include "MainForm.h"
#include "QtText.h"
#include "SafeFileName.h"
#include "Statements.h"
#include "TextExport.h"

namespace {

const char* const kOpenQuestion = "Do you wish to open it using external editor?";

// Lets the window take its turn during an export; the user's Stop ends the
// export without writing the file.
TMessagePump ExportPump(TLongRun& run, const std::string& fileName)
{
    return [&run, fileName] {
        run.ProcessMessages();
        if (run.ShouldStop())
            throw std::runtime_error("Export stopped: \"" + fileName + "\" was not written.");
    };
}

} // namespace

std::string TfmMain::ResultTableName() const
{
    return TableNameFromSql(dsAdo.CommandText());
}

void TfmMain::ExportInsertScript(const std::string& fileName, bool putDeleteBeforeInserts)
{
    TExportToSQL exporter(dsAdo);
    exporter.CommentValues = chbCommentValues->isChecked();
    exporter.SetQuoteChar(chbDoubleQuotes->isChecked() ? "\"" : "");
    exporter.PutDeleteBeforeInserts = putDeleteBeforeInserts;
    TLongRun run(*this);
    exporter.ProcessMessages = ExportPump(run, fileName);
    exporter.StreamToFile(fileName);
}

void TfmMain::ExportMetadata()
{
    const std::string table = ResultTableName();
    const std::string fileName = DataDir() + "CREATE_" + SafeFileName(table) + ".sql";
    TStringList lines;
    // The lines made so far are written and shown in the editor even when
    // building them failed; the error comes afterwards.
    std::exception_ptr failure;
    try {
        BuildCreateTable(dsAdo, table, lines);
    } catch (...) {
        failure = std::current_exception();
    }
    WriteLinesToFile(fileName, lines);
    desktop_.EditTextFile(fileName);
    if (failure)
        std::rethrow_exception(failure);
}

void TfmMain::btnExtractMetadataClick()
{
    ExportMetadata();
}

void TfmMain::btnSaveAsSQLClick()
{
    const std::string fileName = DataLinkDir() + "InsertInto_" + SafeFileName(ResultTableName()) + ".sql";
    ExportInsertScript(fileName, false);
    if (desktop_.Confirm("File created: " + fileName + ".\r\n" + kOpenQuestion))
        desktop_.OpenDocument(fileName);
}

void TfmMain::btnSaveAsTextClick()
{
    const std::string fileName = DataDir() + SafeFileName(ResultTableName()) + ".txt";
    // The caption of every record is kept and shown when the window gets its
    // turn and at the end: the label need not be redrawn for each record.
    std::string progress;
    const auto showProgress = [&] {
        if (!progress.empty())
            lblProgress->setText(ToQString(progress));
    };
    try {
        TLongRun run(*this);
        const TMessagePump pump = ExportPump(run, fileName);
        ExportText(
            dsAdo, fileName, [&](const std::string& caption) { progress = caption; },
            [&] {
                showProgress();
                pump();
            });
    } catch (...) {
        showProgress();
        throw;
    }
    showProgress();
    OfferToEditFile(fileName);
}

void TfmMain::OfferToEditFile(const std::string& fileName)
{
    if (desktop_.Confirm("File created " + fileName + ".\r\n" + kOpenQuestion))
        desktop_.EditTextFile(fileName);
}
