#pragma once
// Links a dataset to the views that show it: passes the dataset's changes on
// to each view first, then reports a data change (another record, opened,
// re-read, a value changed) to its own handler.

#include "DataSet.h"

#include <algorithm>
#include <functional>
#include <vector>

class TDataSource final : public TDataSetObserver {
public:
    explicit TDataSource(TDataSet& dataSet) : dataSet_(dataSet) { dataSet_.AddObserver(this); }
    ~TDataSource() override { dataSet_.RemoveObserver(this); }
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    TDataSet& DataSet() const { return dataSet_; }

    void AddView(TDataSetObserver* view) { views_.push_back(view); }
    void RemoveView(TDataSetObserver* view) { views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end()); }

    std::function<void()> OnDataChange;

    void DataSetChanged(TDataSetChange change) override
    {
        const std::vector<TDataSetObserver*> views = views_;
        for (TDataSetObserver* view : views)
            view->DataSetChanged(change);
        const bool dataChange = change == TDataSetChange::Opened || change == TDataSetChange::Scrolled ||
                                change == TDataSetChange::RecordChanged || change == TDataSetChange::Redisplay;
        if (dataChange && OnDataChange)
            OnDataChange();
    }

private:
    TDataSet& dataSet_;
    std::vector<TDataSetObserver*> views_;
};
