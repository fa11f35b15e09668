#include "RowOrder.h"

#include <numeric>

void TRowOrder::Reset()
{
    identity_ = true;
    rows_.clear();
    rows_.shrink_to_fit();
    mappedStoreRows_ = 0;
}

int TRowOrder::Count(int storeRows) const
{
    if (identity_)
        return storeRows;
    return static_cast<int>(rows_.size()) + (storeRows - mappedStoreRows_);
}

int TRowOrder::Row(int record) const
{
    if (identity_)
        return record;
    const int mapped = static_cast<int>(rows_.size());
    return record < mapped ? rows_[record] : mappedStoreRows_ + (record - mapped);
}

void TRowOrder::Materialise(int storeRows)
{
    if (identity_) {
        rows_.resize(storeRows);
        std::iota(rows_.begin(), rows_.end(), 0);
        identity_ = false;
    } else {
        for (int row = mappedStoreRows_; row < storeRows; ++row)
            rows_.push_back(row);
    }
    mappedStoreRows_ = storeRows;
}

void TRowOrder::InsertLastRow(int record, int storeRows)
{
    Materialise(storeRows - 1);
    rows_.insert(rows_.begin() + record, storeRows - 1);
    mappedStoreRows_ = storeRows;
}

void TRowOrder::Erase(int record, int storeRows)
{
    Materialise(storeRows);
    rows_.erase(rows_.begin() + record);
}
