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
    // Runs after every message pump, when the dataset may have been closed or
    // reopened meanwhile: the loop's field references must be looked up again.
    std::function<void()> AfterMessages;
};

// Calls visit for every record from the current one on; leaves the dataset at
// its end of data. Throws the dataset's closed-dataset error when the dataset
// is closed, also when it was closed while messages were processed.
void ForEachRecord(TDataSet& dataSet, const TRecordLoopHooks& hooks, const std::function<void()>& visit);
