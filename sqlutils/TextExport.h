#pragma once
// '|'-separated text from the records of a dataset: one line per record, the
// field texts in field-definition order, with no header, quoting or escaping.

#include "RecordLoop.h"
#include "TextLines.h"

#include <string>

class TDataSet;

// Appends one line per record, always from the first record, to the lines.
// Leaves the dataset at its end of data.
void BuildTextLines(TDataSet& dataSet, TStringList& lines, const TCaptionSetter& progressControl = {},
                    const TMessagePump& processMessages = {});

// The lines BuildTextLines makes, streamed to the file (CR LF after every
// line) as they are made, replacing it whole; a failed run writes nothing.
void ExportText(TDataSet& dataSet, const std::string& fileName, const TCaptionSetter& progressControl = {},
                const TMessagePump& processMessages = {});
