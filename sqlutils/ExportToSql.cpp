#include "ExportToSql.h"

#include "DataSet.h"
#include "FieldLists.h"
#include "RecordRenderer.h"
#include "ReplacingFile.h"
#include "Statements.h"

namespace {

// Hands one statement per record to the sink. The line buffer is reused, so
// a line costs no allocation of its own.
void ForEachInsert(TDataSet& dataSet, const std::string& tableName, const std::string& quote, bool fromFirst,
                   bool comment, const TCaptionSetter& progressControl, const TMessagePump& processMessages,
                   const TExportToSQL::TLineSink& sink)
{
    const std::string prefix = "INSERT INTO " + tableName + " (" + FieldNameList(dataSet, quote) + ") VALUES (";
    if (fromFirst)
        dataSet.First();

    // The values follow the columns of the list by position.
    TRecordRenderer renderer(dataSet, rmSqlValues, comment);
    std::string line;
    ForEachRecord(dataSet, {progressControl, processMessages}, [&] {
        line.assign(prefix);
        renderer.AppendTo(line);
        line += ");";
        sink(line);
    });
}

} // namespace

TExportToSQL::TExportToSQL(TDataSet& dataSet) : DataSet(&dataSet) {}

void TExportToSQL::SetQuoteChar(const std::string& value)
{
    QuoteChar = value;
}

void TExportToSQL::ForEachScriptLine(const TLineSink& sink)
{
    if (TableName.empty())
        TableName = TableNameFromSql(DataSet->CommandText());
    ForEachInsert(*DataSet, TableName, QuoteChar, FromFirst, CommentValues, ProgressControl, ProcessMessages, sink);
}

void TExportToSQL::Generate()
{
    ScriptLines.clear();
    // One allocation for the whole script instead of a doubling vector.
    if (DataSet->Active())
        ScriptLines.reserve(static_cast<size_t>(DataSet->RecordCount()) + 1);
    ForEachScriptLine([this](const std::string& line) { ScriptLines.push_back(line); });  // an exact-size copy
}

void TExportToSQL::SaveToFile(const std::string& fileName)
{
    Generate();
    WriteLinesToFile(fileName, ScriptLines);
}

void TExportToSQL::StreamToFile(const std::string& fileName)
{
    ScriptLines.clear();
    // A closed dataset fails here, before the file is touched.
    if (FromFirst)
        DataSet->First();
    TReplacingFile file(fileName);
    ForEachScriptLine([&](const std::string& line) {
        file.Append(line);
        file.Append("\r\n");
    });
    file.Commit();
}

void AppendInsertStatements(TDataSet& dataSet, const std::string& tableName, TStringList& list,
                            const std::string& quote, bool fromFirst, const TCaptionSetter& progressControl,
                            const TMessagePump& processMessages)
{
    ForEachInsert(dataSet, tableName, quote, fromFirst, false, progressControl, processMessages,
                  [&](const std::string& line) { list.push_back(line); });  // a copy of exactly the line's size
}
