#pragma once
// The record loop the generators share: from the current record to the end of
// data, with the dataset's view updates disabled (and enabled again however
// the loop ends), a "Record %d" caption after every record and the pending
// messages processed after every 100 records.

#include <functional>
#include <string>

class TDataSet;

// Shows a progress caption (the result page's progress label).
using TCaptionSetter = std::function<void(const std::string& caption)>;
// Lets the user interface process its pending messages.
using TMessagePump = std::function<void()>;

struct TRecordLoopHooks {
    TCaptionSetter ProgressControl;  // may be empty
    TMessagePump ProcessMessages;    // may be empty
};

// Calls visit for every record from the current one on; leaves the dataset at
// its end of data. Throws the dataset's closed-dataset error when the dataset
// is closed, also when it was closed while messages were processed, and fails
// when it was reopened meanwhile (its records and fields are another query's).
void ForEachRecord(TDataSet& dataSet, const TRecordLoopHooks& hooks, const std::function<void()>& visit);
