#pragma once
// The record being edited or inserted: its values, owned until the record is
// posted or cancelled, and which columns were given a new value.

#include "Value.h"

#include <vector>

class TRecordEdit {
public:
    // An edit starts from the record's stored values; an insertion from nulls.
    TRecordEdit(bool inserting, std::vector<TValue> values)
        : inserting_(inserting), values_(std::move(values)), changed_(values_.size(), false)
    {
    }

    bool Inserting() const { return inserting_; }
    bool Modified() const { return modified_; }
    int ColumnCount() const { return static_cast<int>(values_.size()); }
    const TValue& Value(int column) const { return values_[column]; }
    bool Changed(int column) const { return changed_[column]; }

    void Set(int column, TValue value)
    {
        values_[column] = std::move(value);
        changed_[column] = true;
        modified_ = true;
    }

private:
    bool inserting_;
    bool modified_ = false;
    std::vector<TValue> values_;
    std::vector<bool> changed_;
};
