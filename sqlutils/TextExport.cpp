#include "TextExport.h"

#include "DataSet.h"
#include "RecordRenderer.h"
#include "ReplacingFile.h"

#include <functional>
#include <string_view>

namespace {

using TLineSink = std::function<void(std::string_view line)>;

// Hands the line of every record from the current one on to the sink. The
// line buffer is reused, so a line costs no allocation of its own.
void ForEachTextLine(TDataSet& dataSet, const TCaptionSetter& progressControl, const TMessagePump& processMessages,
                     const TLineSink& sink)
{
    TRecordRenderer renderer(dataSet, rmText, false);
    std::string line;
    ForEachRecord(dataSet, {progressControl, processMessages}, [&] {
        line.clear();
        renderer.AppendTo(line);
        sink(line);
    });
}

} // namespace

void BuildTextLines(TDataSet& dataSet, TStringList& lines, const TCaptionSetter& progressControl,
                    const TMessagePump& processMessages)
{
    dataSet.First();
    ForEachTextLine(dataSet, progressControl, processMessages,
                    [&](std::string_view line) { lines.emplace_back(line); });
}

void ExportText(TDataSet& dataSet, const std::string& fileName, const TCaptionSetter& progressControl,
                const TMessagePump& processMessages)
{
    // A closed dataset fails here, before the file is touched.
    dataSet.First();
    TReplacingFile file(fileName);
    ForEachTextLine(dataSet, progressControl, processMessages, [&](std::string_view line) {
        file.Append(line);
        file.Append("\r\n");
    });
    file.Commit();
}
