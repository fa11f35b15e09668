#include "RecordLoop.h"

#include "DataSet.h"

#include <stdexcept>

namespace {

// Disables the dataset's view updates for its lifetime.
class TViewUpdatesDisabled {
public:
    explicit TViewUpdatesDisabled(TDataSet& dataSet) : dataSet_(dataSet) { dataSet_.DisableControls(); }
    ~TViewUpdatesDisabled() { dataSet_.EnableControls(); }
    TViewUpdatesDisabled(const TViewUpdatesDisabled&) = delete;
    TViewUpdatesDisabled& operator=(const TViewUpdatesDisabled&) = delete;
private:
    TDataSet& dataSet_;
};

constexpr int PumpInterval = 100;

} // namespace

void ForEachRecord(TDataSet& dataSet, const TRecordLoopHooks& hooks, const std::function<void()>& visit)
{
    // A closed dataset is an error, not an empty export: reading its record
    // count raises the dataset's closed-dataset error.
    if (!dataSet.Active())
        dataSet.RecordCount();
    const int opening = dataSet.OpenCount();
    TViewUpdatesDisabled disabled(dataSet);
    int counter = 0;
    while (!dataSet.Eof()) {
        visit();
        if (hooks.ProgressControl)
            hooks.ProgressControl("Record " + std::to_string(dataSet.RecNo()));
        if (++counter % PumpInterval == 0 && hooks.ProcessMessages) {
            hooks.ProcessMessages();
            if (dataSet.Active() && dataSet.OpenCount() != opening)
                throw std::runtime_error((dataSet.Name().empty() ? "" : dataSet.Name() + ": ") +
                                         "The dataset was reopened while its records were read");
        }
        dataSet.Next();  // fails when the dataset was closed meanwhile
    }
}
