#pragma once
// A dataset's records as comparable texts, so a test can check that two ways
// of reading the same rows see exactly the same values.

#include <string>
#include <vector>

#include "DataSet.h"

// Every value of the current record: null or its value text, and its field text.
inline std::string RecordText(TDataSet& dataSet)
{
    std::string record;
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        TField& field = dataSet.Fields(i);
        record += field.ValueIsNull() ? "<null>" : field.ValueText();
        record += '|' + field.FieldText() + '\x1f';
    }
    return record;
}

// The records from the current one to the end.
inline std::vector<std::string> WalkRecords(TDataSet& dataSet)
{
    std::vector<std::string> records;
    for (; !dataSet.Eof(); dataSet.Next())
        records.push_back(RecordText(dataSet));
    return records;
}
