#include "ExportToSql.h"

#include "DataSet.h"
#include "FieldLists.h"
#include "RecordRenderer.h"
#include "Statements.h"

namespace {

void AppendInserts(TDataSet& dataSet, const std::string& tableName, TStringList& list,
                   const std::string& quote, bool fromFirst, bool comment, const TCaptionSetter& progressControl,
                   const TMessagePump& processMessages)
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
        list.push_back(line);  // a copy of exactly the line's size
    });
}

} // namespace

TExportToSQL::TExportToSQL(TDataSet& dataSet) : DataSet(&dataSet) {}

void TExportToSQL::SetQuoteChar(const std::string& value)
{
    QuoteChar = value;
}

void TExportToSQL::Generate()
{
    if (TableName.empty())
        TableName = TableNameFromSql(DataSet->CommandText());
    ScriptLines.clear();
    // One allocation for the whole script instead of a doubling vector.
    if (DataSet->Active())
        ScriptLines.reserve(static_cast<size_t>(DataSet->RecordCount()) + 1);
    AppendInserts(*DataSet, TableName, ScriptLines, QuoteChar, FromFirst, CommentValues, ProgressControl,
                  ProcessMessages);
}

void TExportToSQL::SaveToFile(const std::string& fileName)
{
    Generate();
    WriteLinesToFile(fileName, ScriptLines);
}

void AppendInsertStatements(TDataSet& dataSet, const std::string& tableName, TStringList& list,
                            const std::string& quote, bool fromFirst, const TCaptionSetter& progressControl,
                            const TMessagePump& processMessages)
{
    AppendInserts(dataSet, tableName, list, quote, fromFirst, false, progressControl, processMessages);
}
