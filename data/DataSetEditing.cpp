// The dataset's records as the user moves through them and edits them: the
// browse, edit and insert states, and writing a posted change back to the
// base table of the result's rows.

#include "DataSet.h"

#include "Connection.h"

#include <stdexcept>

namespace {

const char* const ReadOnlyResult = "This result cannot be edited: its rows do not come from one table.";

// Long values are not compared when a row is located by its values.
bool IsLongType(TFieldType type)
{
    return type == ftBlob || type == ftMemo || type == ftGraphic || type == ftFmtMemo;
}

} // namespace

void TDataSet::CheckActive() const
{
    if (!active_)
        Fail("Cannot perform this operation on a closed dataset");
}

int TDataSet::Records() const
{
    return order_.Count(store_.RowCount()) + (edit_ && edit_->Inserting() ? 1 : 0);
}

// The store row of a record other than the one being inserted.
int TDataSet::StoreRow(int record) const
{
    if (edit_ && edit_->Inserting() && record > current_)
        --record;
    return order_.Row(record);
}

TCell TDataSet::CurrentCell(int storeColumn) const
{
    const int record = peek_ >= 0 ? peek_ : current_;
    if (!active_ || record >= Records())
        return {};
    if (edit_ && record == current_)
        return edit_->Value(storeColumn).AsCell();
    return store_.Cell(StoreRow(record), storeColumn);
}

TValue TDataSet::StoredValue(int row, int column) const
{
    return TValue::FromCell(store_.Cell(row, column));
}

void TDataSet::SetCurrentValue(int storeColumn, TValue value)
{
    CheckActive();
    if (!edit_)
        Edit();
    edit_->Set(storeColumn, std::move(value));
    Notify(TDataSetChange::RecordChanged);
}

void TDataSet::MoveTo(int record)
{
    CheckActive();
    if (record == current_ && !eof_)
        return;
    CheckBrowseMode();
    const int count = Records();
    if (count == 0)
        return;
    current_ = std::clamp(record, 0, count - 1);
    eof_ = false;
    Notify(TDataSetChange::Scrolled);
}

void TDataSet::Last()
{
    CheckActive();
    CheckBrowseMode();
    while (CanFetchMore())
        FetchMore();
    current_ = std::max(Records() - 1, 0);
    eof_ = Records() == 0;
    Notify(TDataSetChange::Scrolled);
}

TDataSetState TDataSet::State() const
{
    if (!active_)
        return TDataSetState::Inactive;
    if (!edit_)
        return TDataSetState::Browse;
    return edit_->Inserting() ? TDataSetState::Insert : TDataSetState::Edit;
}

bool TDataSet::CanModify() const
{
    if (!active_ || fieldDefs_.empty())
        return false;
    const std::string& table = fieldDefs_.front().BaseTable;
    for (const TFieldDef& def : fieldDefs_)
        if (table.empty() || def.BaseTable != table || def.BaseColumn.empty())
            return false;
    return true;
}

void TDataSet::CheckCanModify() const
{
    CheckActive();
    if (!CanModify())
        throw std::runtime_error(ReadOnlyResult);
}

void TDataSet::StartEditing(TDataSetState state)
{
    std::vector<TValue> values(store_.ColumnCount());
    if (state == TDataSetState::Edit)
        for (int c = 0; c < store_.ColumnCount(); ++c)
            values[c] = StoredValue(StoreRow(current_), c);
    edit_.emplace(state == TDataSetState::Insert, std::move(values));
    Notify(TDataSetChange::StateChanged);
}

void TDataSet::EndEditing()
{
    edit_.reset();
    Notify(TDataSetChange::StateChanged);
}

void TDataSet::Edit()
{
    CheckCanModify();
    if (edit_)
        return;
    if (Records() == 0) {
        Insert();
        return;
    }
    StartEditing(TDataSetState::Edit);
}

void TDataSet::Insert()
{
    CheckCanModify();
    CheckBrowseMode();
    if (Records() == 0)
        current_ = 0;
    eof_ = false;
    StartEditing(TDataSetState::Insert);
    Notify(TDataSetChange::Redisplay);
}

void TDataSet::Append()
{
    CheckCanModify();
    CheckBrowseMode();
    while (CanFetchMore())
        FetchMore();
    current_ = Records();
    eof_ = false;
    StartEditing(TDataSetState::Insert);
    Notify(TDataSetChange::Redisplay);
}

void TDataSet::Cancel()
{
    if (!edit_)
        return;
    const bool inserting = edit_->Inserting();
    EndEditing();
    if (inserting) {
        current_ = std::max(0, std::min(current_, Records() - 1));
        eof_ = Records() == 0;
        Notify(TDataSetChange::Redisplay);
    } else {
        Notify(TDataSetChange::RecordChanged);
    }
}

// An insertion nobody changed is dropped rather than written.
void TDataSet::CheckBrowseMode()
{
    if (!edit_)
        return;
    Notify(TDataSetChange::UpdateRecord);
    if (Modified())
        Post();
    else
        Cancel();
}

void TDataSet::Post()
{
    CheckActive();
    Notify(TDataSetChange::UpdateRecord);
    if (!edit_)
        return;
    if (edit_->Inserting())
        WriteInsert();
    else
        WriteEdit();
    EndEditing();
    Notify(TDataSetChange::RecordChanged);
}

// The key of the base table when the result holds all its columns, else every
// column whose value can be compared.
const std::vector<int>& TDataSet::LocatingColumns()
{
    if (locatingColumns_)
        return *locatingColumns_;
    const std::vector<std::string> key = connection_.Provider().PrimaryKey(fieldDefs_.front().BaseTable);
    std::vector<int> columns;
    for (const std::string& name : key) {
        for (int c = 0; c < FieldDefCount(); ++c)
            if (SameNameNoCase(fieldDefs_[c].BaseColumn, name)) {
                columns.push_back(c);
                break;
            }
    }
    locatedByKey_ = !key.empty() && columns.size() == key.size();
    if (!locatedByKey_) {
        columns.clear();
        for (int c = 0; c < FieldDefCount(); ++c)
            if (!IsLongType(fieldDefs_[c].DataType))
                columns.push_back(c);
    }
    locatingColumns_ = std::move(columns);
    return *locatingColumns_;
}

std::vector<TColumnValue> TDataSet::LocatingValues(int row, const std::vector<int>& columns) const
{
    std::vector<TColumnValue> where;
    for (int c : columns)
        where.push_back({fieldDefs_[c].BaseColumn, StoredValue(row, c)});
    return where;
}

void TDataSet::WriteEdit()
{
    const int row = StoreRow(current_);
    TRowWrite write;
    write.Kind = TRowWriteKind::Update;
    write.Table = fieldDefs_.front().BaseTable;
    std::vector<int> located = LocatingColumns();
    for (int c = 0; c < store_.ColumnCount(); ++c) {
        if (!edit_->Changed(c))
            continue;
        write.Values.push_back({fieldDefs_[c].BaseColumn, edit_->Value(c)});
        // A column changed meanwhile by someone else no longer matches.
        if (!IsLongType(fieldDefs_[c].DataType) && std::find(located.begin(), located.end(), c) == located.end())
            located.push_back(c);
    }
    if (write.Values.empty())
        return;
    write.Where = LocatingValues(row, located);
    connection_.Provider().WriteRow(write);
    for (int c = 0; c < store_.ColumnCount(); ++c)
        if (edit_->Changed(c))
            store_.Replace(row, c, edit_->Value(c).AsCell());
}

void TDataSet::WriteInsert()
{
    TRowWrite write;
    write.Kind = TRowWriteKind::Insert;
    write.Table = fieldDefs_.front().BaseTable;
    for (int c = 0; c < store_.ColumnCount(); ++c)
        if (!edit_->Value(c).IsNull())
            write.Values.push_back({fieldDefs_[c].BaseColumn, edit_->Value(c)});
    const std::optional<int64_t> generated = connection_.Provider().WriteRow(write);
    // A single integer key left empty takes the value the database generated.
    std::vector<TValue> values;
    for (int c = 0; c < store_.ColumnCount(); ++c)
        values.push_back(edit_->Value(c));
    const std::vector<int>& key = LocatingColumns();
    if (generated && locatedByKey_ && key.size() == 1 && values[key.front()].IsNull()) {
        values[key.front()].Kind = TCellKind::Integer;
        values[key.front()].Integer = *generated;
    }
    store_.BeginRow();
    for (int c = 0; c < store_.ColumnCount(); ++c)
        store_.Replace(store_.RowCount() - 1, c, values[c].AsCell());
    order_.InsertLastRow(current_, store_.RowCount());
}

void TDataSet::Delete()
{
    CheckCanModify();
    if (edit_ && edit_->Inserting()) {
        Cancel();
        return;
    }
    edit_.reset();
    if (Records() == 0)
        return;
    const int row = StoreRow(current_);
    TRowWrite write;
    write.Kind = TRowWriteKind::Delete;
    write.Table = fieldDefs_.front().BaseTable;
    write.Where = LocatingValues(row, LocatingColumns());
    connection_.Provider().WriteRow(write);
    order_.Erase(current_, store_.RowCount());
    current_ = std::max(0, std::min(current_, Records() - 1));
    eof_ = Records() == 0;
    Notify(TDataSetChange::Redisplay);
}
