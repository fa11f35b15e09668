#pragma once
// The client-side result dataset: runs its command through the connection
// and keeps the rows of the first rowset as they are fetched. Open fetches a
// first batch; moving past the fetched rows, FetchMore and RecordCount fetch
// more, and the statement is released once the rowset has ended.

#include "Connection.h"
#include "Field.h"
#include "ProviderApi.h"
#include "RowStore.h"
#include "TextLines.h"

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
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
    Redisplay,       // everything must be shown again
    RowsAppended,    // more rows were fetched and appended
};

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

    // The rows fetched so far, without fetching.
    int FetchedRecordCount() const { return store_.RowCount(); }
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

    // For fields: the rows and the current one.
    const TRowStore& Store() const { return store_; }
    int CurrentRow() const { return current_; }

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

    TConnection& connection_;
    std::string name_;
    std::string commandText_;
    std::string providerCommandText_;
    TStringList parameterNames_;
    bool active_ = false;
    int openCount_ = 0;
    bool eof_ = true;
    int current_ = 0;
    int disableCount_ = 0;
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
