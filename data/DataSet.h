#pragma once
// The client-side result dataset: runs its command through the connection
// and keeps the rows of the first rowset as they are fetched. Open fetches a
// first batch; moving past the fetched rows, FetchMore and RecordCount fetch
// more, and the statement is released once the rowset has ended.

#include "Connection.h"
#include "Field.h"
#include "ProviderApi.h"
#include "RecordEdit.h"
#include "RowOrder.h"
#include "RowStore.h"
#include "TextLines.h"

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TFieldDef {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    int Precision = 0;
    bool Hidden = false;
    std::string BaseTable;   // where the column comes from, when known
    std::string BaseColumn;
};

enum class TDataSetChange {
    Opened,
    Closed,
    Scrolled,        // the current record moved
    RecordChanged,   // the current record's values changed
    Redisplay,       // everything must be shown again (also records inserted or deleted)
    RowsAppended,    // more rows of the result were fetched
    StateChanged,    // browse, edit or insert began
    UpdateRecord,    // about to post: views write pending input to the fields
};

enum class TDataSetState { Inactive, Browse, Edit, Insert };

// A view bound to a dataset (the grid).
class TDataSetObserver {
public:
    virtual ~TDataSetObserver() = default;
    virtual void DataSetChanged(TDataSetChange change) = 0;
};

class TDataSet : private TOpenRowset {
public:
    // A batch: this many rows, or fewer when they take longer than BatchTime.
    static constexpr int BatchRows = 1000;
    static constexpr std::chrono::milliseconds BatchTime{50};

    TDataSet(TConnection& connection, std::string name);
    ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    const std::string& Name() const { return name_; }
    TConnection& Connection() const { return connection_; }

    void SetCommandText(const std::string& text);
    const std::string& CommandText() const { return commandText_; }
    // The text handed to the provider: parameter markers replaced by "?".
    const std::string& ProviderCommandText() const { return providerCommandText_; }
    const TStringList& ParameterNames() const { return parameterNames_; }

    void Open();
    void Close();
    bool Active() const { return active_; }
    // Counts the successful opens, so that a loop can tell a dataset that was
    // closed and reopened on another command while it let messages through.
    int OpenCount() const { return openCount_; }

    void First();
    void Next();
    bool Eof() const { return eof_; }
    int RecNo() const;
    // Every row of the result: the rows not fetched yet are fetched first.
    int RecordCount();
    void Resync();
    // The 0-based position of the current record.
    int CurrentRecord() const { return current_; }
    // Makes another record current (posting a pending change first).
    void MoveTo(int record);
    void Last();

    // Editing, written back to the base table of the result's rows.
    TDataSetState State() const;
    // The result's rows come from one base table, so changes can be written back.
    bool CanModify() const;
    void Edit();
    void Insert();   // a new record at the current position
    void Append();   // a new record after the last one
    void Post();
    void Cancel();
    void Delete();
    bool Modified() const { return edit_ && edit_->Modified(); }
    // Posts a pending edit or insertion.
    void CheckBrowseMode();

    // Points the fields at another record for reading, for the lifetime of the
    // object, without moving the current record or telling the views.
    class TRecordPeek {
    public:
        TRecordPeek(const TDataSet& dataSet, int record) : dataSet_(dataSet), saved_(dataSet.peek_)
        {
            dataSet.peek_ = record;
        }
        ~TRecordPeek() { dataSet_.peek_ = saved_; }
        TRecordPeek(const TRecordPeek&) = delete;
        TRecordPeek& operator=(const TRecordPeek&) = delete;

    private:
        const TDataSet& dataSet_;
        int saved_;
    };

    // The records fetched so far (with those inserted, less those deleted),
    // without fetching.
    int FetchedRecordCount() const { return Records(); }
    // True while the rowset has rows left to fetch.
    bool CanFetchMore() const { return cursor_ != nullptr || fetchError_ != nullptr; }
    // Fetches the next batch; nothing at the end of the rowset. A failing
    // fetch raises the provider's error; the rows fetched before stay.
    void FetchMore();

    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index);
    TField* FindField(std::string_view name);
    int FieldDefCount() const { return static_cast<int>(fieldDefs_.size()); }
    const TFieldDef& FieldDefs(int index) const;
    TStringList FieldDefNames() const;

    std::function<void(TDataSet&)> AfterOpen;

    void AddObserver(TDataSetObserver* observer);
    void RemoveObserver(TDataSetObserver* observer);

    // The rows as fetched, in the order they arrived.
    const TRowStore& Store() const { return store_; }
    // For fields: the value of a store column in the record being read, and
    // setting it in the current record (which starts editing).
    TCell CurrentCell(int storeColumn) const;
    void SetCurrentValue(int storeColumn, TValue value);

private:
    class TReceiver;
    [[noreturn]] void Fail(const std::string& message) const;
    // Appends up to maxRows rows, stopping after BatchTime when timed; the
    // statement is released at the end of the rowset or on a failure.
    void FetchRows(int maxRows, bool timed);
    void ReleaseCursor();
    void FinishRowset() override;
    void AbandonRowset() override;
    void Notify(TDataSetChange change);
    void BuildDefinitions(const std::vector<TColumnInfo>& columns, std::vector<int>& storeColumnOf);
    int Records() const;
    int StoreRow(int record) const;
    void CheckActive() const;
    void CheckCanModify() const;
    void StartEditing(TDataSetState state);
    void EndEditing();
    TValue StoredValue(int record, int column) const;
    const std::vector<int>& LocatingColumns();
    std::vector<TColumnValue> LocatingValues(int row, const std::vector<int>& columns) const;
    void WriteEdit();
    void WriteInsert();

    TConnection& connection_;
    std::string name_;
    std::string commandText_;
    std::string providerCommandText_;
    TStringList parameterNames_;
    bool active_ = false;
    int openCount_ = 0;
    bool eof_ = true;
    int current_ = 0;
    mutable int peek_ = -1;  // the record fields read instead of the current one
    int disableCount_ = 0;
    std::optional<TRecordEdit> edit_;
    TRowOrder order_;
    std::optional<std::vector<int>> locatingColumns_;  // worked out at the first write
    bool locatedByKey_ = false;                        // they are the table's primary key
    std::vector<TFieldDef> fieldDefs_;
    std::vector<std::unique_ptr<TField>> fields_;
    TRowStore store_;
    std::unique_ptr<TReceiver> receiver_;
    std::unique_ptr<TProviderCursor> cursor_;  // while rows are left to fetch
    std::exception_ptr fetchError_;            // a failed fetch, raised when its row is needed
    std::vector<TDataSetObserver*> observers_;
};

// The command text handed to the provider: ":name" markers outside quotes
// become "?" (their names collected), "::" becomes ":".
std::string ParseCommandParameters(std::string_view text, TStringList* names = nullptr);

// Case-insensitive comparison of names, national letters included.
bool SameNameNoCase(std::string_view a, std::string_view b);
