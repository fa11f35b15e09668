#include "TextExport.h"

#include "DataSet.h"
#include "FieldLists.h"
#include "RecordRenderer.h"

void BuildTextLines(TDataSet& dataSet, TStringList& lines, const TCaptionSetter& progressControl,
                    const TMessagePump& processMessages)
{
    const std::string lookupNames = FieldNameList(dataSet, "");
    dataSet.First();
    TRecordRenderer renderer(dataSet, lookupNames, rmText, false);
    std::string line;
    ForEachRecord(dataSet, {progressControl, processMessages, [&] { renderer.Rebind(); }}, [&] {
        line.clear();
        renderer.AppendTo(line);
        lines.push_back(line);
    });
}

void ExportText(TDataSet& dataSet, const std::string& fileName, const TCaptionSetter& progressControl,
                const TMessagePump& processMessages)
{
    TStringList lines;
    if (dataSet.Active())
        lines.reserve(static_cast<size_t>(dataSet.RecordCount()));
    BuildTextLines(dataSet, lines, progressControl, processMessages);
    WriteLinesToFile(fileName, lines);
}
