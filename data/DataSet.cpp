#include "DataSet.h"

#include "CodePage.h"
#include "Connection.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <exception>
#include <utility>
#include <locale.h>
#include <stdexcept>

// Stores the rowset the provider streams: definitions first, then the values
// of the columns that have one.
class TDataSet::TReceiver : public TRowReceiver {
public:
    explicit TReceiver(TDataSet& dataSet) : dataSet_(dataSet) {}

    void SetColumns(std::vector<TColumnInfo> columns) override
    {
        dataSet_.BuildDefinitions(columns, storeColumnOf_);
    }
    void BeginRow() override
    {
        dataSet_.store_.BeginRow();
        column_ = 0;
        rowBegun_ = true;
    }
    void PutNull() override
    {
        if (int c = Next(); c >= 0)
            dataSet_.store_.PutNull(c);
    }
    void PutInteger(int64_t value) override
    {
        if (int c = Next(); c >= 0)
            dataSet_.store_.PutInteger(c, value);
    }
    void PutFloat(double value) override
    {
        if (int c = Next(); c >= 0)
            dataSet_.store_.PutFloat(c, value);
    }
    void PutText(std::string_view text) override
    {
        if (int c = Next(); c >= 0)
            dataSet_.store_.PutText(c, text, TCellKind::Text);
    }
    void PutBytes(std::string_view bytes) override
    {
        if (int c = Next(); c >= 0)
            dataSet_.store_.PutText(c, bytes, TCellKind::Bytes);
    }

    // A row whose values did not all arrive (the fetch failed) is taken back.
    void DropUnfinishedRow()
    {
        if (rowBegun_ && column_ < storeColumnOf_.size())
            dataSet_.store_.DropLastRow();
        rowBegun_ = false;
    }

private:
    // The store column of the next provider column, -1 for one left out.
    int Next()
    {
        int c = column_ < storeColumnOf_.size() ? storeColumnOf_[column_] : -1;
        ++column_;
        return c;
    }

    TDataSet& dataSet_;
    std::vector<int> storeColumnOf_;
    size_t column_ = 0;
    bool rowBegun_ = false;
};

namespace {

// Rows asked of the cursor at a time within a timed batch, between looks at the clock.
constexpr int FetchStep = 64;

} // namespace

TDataSet::TDataSet(TConnection& connection, std::string name) : connection_(connection), name_(std::move(name)) {}

TDataSet::~TDataSet()
{
    ReleaseCursor();
}

void TDataSet::Fail(const std::string& message) const
{
    throw std::runtime_error(name_.empty() ? message : name_ + ": " + message);
}

void TDataSet::SetCommandText(const std::string& text)
{
    if (text == commandText_)
        return;
    if (active_)
        Fail("Cannot perform this operation on an open dataset");
    commandText_ = text;
    parameterNames_.clear();
    providerCommandText_ = ParseCommandParameters(commandText_, &parameterNames_);
}

void TDataSet::BuildDefinitions(const std::vector<TColumnInfo>& columns, std::vector<int>& storeColumnOf)
{
    fieldDefs_.clear();
    storeColumnOf.assign(columns.size(), -1);
    const bool autoIncKnown = !columns.empty() && columns.front().AutoIncrement.has_value();
    for (size_t i = 0; i < columns.size(); ++i) {
        const TColumnInfo& column = columns[i];
        std::optional<TFieldType> type = FieldTypeFromAdo(column.AdoType);
        if (!type)
            continue;
        TFieldDef def;
        def.Name = column.Name;
        auto taken = [this](const std::string& name) {
            return std::any_of(fieldDefs_.begin(), fieldDefs_.end(),
                               [&](const TFieldDef& d) { return SameNameNoCase(d.Name, name); });
        };
        for (int n = 1; def.Name.empty() || taken(def.Name); ++n)
            def.Name = column.Name.empty() ? "COLUMN" + std::to_string(n) : column.Name + "_" + std::to_string(n);
        def.DataType = *type;
        if (def.DataType == ftInteger && autoIncKnown && column.AutoIncrement.value_or(false))
            def.DataType = ftAutoInc;
        switch (def.DataType) {
        case ftString: case ftFixedChar: case ftWideString: case ftBytes: case ftVarBytes:
            def.Size = static_cast<int>(std::min<int64_t>(column.DefinedSize, INT_MAX));
            break;
        case ftBCD:
            def.Size = column.Scale < 0 ? 4 : column.Scale;
            def.Precision = column.Precision;
            break;
        case ftGuid:
            def.Size = 38;
            break;
        default:
            break;
        }
        const bool invalidSize = ((def.DataType == ftString || def.DataType == ftFixedChar) && def.Size > 8192) ||
                                 (def.DataType == ftBCD && def.Size > 32) ||
                                 ((def.DataType == ftBytes || def.DataType == ftVarBytes) && def.Size == 0);
        if (invalidSize)
            throw std::runtime_error("Invalid field size");
        def.Hidden = column.RowIdentifier;
        def.BaseTable = column.BaseTable;
        def.BaseColumn = column.BaseColumn;
        storeColumnOf[i] = static_cast<int>(fieldDefs_.size());
        fieldDefs_.push_back(std::move(def));
    }
    store_.Reset(static_cast<int>(fieldDefs_.size()));
}

void TDataSet::Open()
{
    if (active_)
        return;
    TProviderConnection& provider = connection_.Provider();
    try {
        receiver_ = std::make_unique<TReceiver>(*this);
        cursor_ = provider.OpenCursor(providerCommandText_, *receiver_);
        if (!cursor_)
            Fail("CommandText does not return a result set");
        connection_.AddOpenRowset(this);
        FetchRows(BatchRows, true);
    } catch (...) {
        ReleaseCursor();
        receiver_.reset();
        fieldDefs_.clear();
        store_.Reset(0);
        throw;
    }
    for (int i = 0; i < static_cast<int>(fieldDefs_.size()); ++i) {
        const TFieldDef& def = fieldDefs_[i];
        if (def.Hidden)
            continue;
        // Fixed-length character columns behave as ordinary strings.
        TFieldType type = def.DataType == ftFixedChar ? ftString : def.DataType;
        fields_.push_back(std::make_unique<TField>(*this, i, def.Name, type, def.Size, def.Precision));
    }
    active_ = true;
    ++openCount_;
    current_ = 0;
    order_.Reset();
    locatingColumns_.reset();
    // Exact: the first batch holds a row unless the rowset has none.
    eof_ = store_.RowCount() == 0;
    Notify(TDataSetChange::Opened);
    if (AfterOpen)
        AfterOpen(*this);
}

void TDataSet::Close()
{
    if (!active_)
        return;
    // A typed change is written, or the close fails with the reason, never dropped.
    CheckBrowseMode();
    ReleaseCursor();
    receiver_.reset();
    fetchError_ = nullptr;
    active_ = false;
    eof_ = true;
    current_ = 0;
    edit_.reset();
    order_.Reset();
    fields_.clear();
    fieldDefs_.clear();
    store_.Reset(0);
    Notify(TDataSetChange::Closed);
}

void TDataSet::FetchRows(int maxRows, bool timed)
{
    if (fetchError_)
        std::rethrow_exception(std::exchange(fetchError_, nullptr));
    if (!cursor_)
        return;
    const int before = store_.RowCount();
    const auto deadline = std::chrono::steady_clock::now() + BatchTime;
    auto notify = [&] {
        if (active_ && store_.RowCount() > before)
            Notify(TDataSetChange::RowsAppended);
    };
    try {
        bool more = true;
        for (int fetched = 0; more && fetched < maxRows; fetched = store_.RowCount() - before) {
            more = cursor_->Fetch(*receiver_, timed ? std::min(FetchStep, maxRows - fetched) : maxRows - fetched);
            if (timed && std::chrono::steady_clock::now() >= deadline)
                break;
        }
        if (!more)
            ReleaseCursor();
    } catch (...) {
        // The rows fetched before the failure stay; the rowset ends there. A
        // batch that already brought rows keeps the error for the call that
        // needs the row that failed.
        receiver_->DropUnfinishedRow();
        ReleaseCursor();
        const bool served = timed && store_.RowCount() > before;
        notify();
        if (!served)
            throw;
        fetchError_ = std::current_exception();
        return;
    }
    notify();
}

void TDataSet::ReleaseCursor()
{
    if (!cursor_)
        return;
    cursor_.reset();
    connection_.RemoveOpenRowset(this);
}

void TDataSet::FinishRowset()
{
    FetchRows(INT_MAX, false);
}

void TDataSet::AbandonRowset()
{
    ReleaseCursor();
}

void TDataSet::FetchMore()
{
    FetchRows(BatchRows, true);
}

void TDataSet::First()
{
    CheckActive();
    CheckBrowseMode();
    current_ = 0;
    eof_ = Records() == 0;
    Notify(TDataSetChange::Scrolled);
}

void TDataSet::Next()
{
    CheckActive();
    CheckBrowseMode();
    if (eof_)
        return;
    if (current_ + 1 >= Records()) {
        try {
            FetchRows(BatchRows, true);
        } catch (...) {
            eof_ = true;
            throw;
        }
    }
    if (current_ + 1 < Records()) {
        ++current_;
        Notify(TDataSetChange::Scrolled);
    } else {
        eof_ = true;
    }
}

int TDataSet::RecNo() const
{
    return active_ && Records() > 0 ? current_ + 1 : -1;
}

int TDataSet::RecordCount()
{
    CheckActive();
    FetchRows(INT_MAX, false);
    return Records();
}

void TDataSet::Resync()
{
    if (active_)
        Notify(TDataSetChange::Redisplay);
}

void TDataSet::DisableControls()
{
    ++disableCount_;
}

void TDataSet::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0)
        Notify(TDataSetChange::Redisplay);
}

void TDataSet::Notify(TDataSetChange change)
{
    if (disableCount_ > 0)
        return;
    std::vector<TDataSetObserver*> observers = observers_;
    for (TDataSetObserver* observer : observers)
        observer->DataSetChanged(change);
}

void TDataSet::AddObserver(TDataSetObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TDataSet::RemoveObserver(TDataSetObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

TField& TDataSet::Fields(int index)
{
    if (index < 0 || index >= FieldCount())
        throw std::runtime_error("List index out of bounds (" + std::to_string(index) + ")");
    return *fields_[index];
}

TField* TDataSet::FindField(std::string_view name)
{
    for (auto& field : fields_)
        if (SameNameNoCase(field->FieldName(), name))
            return field.get();
    return nullptr;
}

const TFieldDef& TDataSet::FieldDefs(int index) const
{
    if (index < 0 || index >= FieldDefCount())
        throw std::runtime_error("List index out of bounds (" + std::to_string(index) + ")");
    return fieldDefs_[index];
}

TStringList TDataSet::FieldDefNames() const
{
    TStringList names;
    for (const TFieldDef& def : fieldDefs_)
        names.push_back(def.Name);
    return names;
}

std::string ParseCommandParameters(std::string_view text, TStringList* names)
{
    auto isQuote = [](char c) { return c == '\'' || c == '"' || c == '`'; };
    std::string out;
    out.reserve(text.size());
    bool literal = false;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (isQuote(c)) {
            literal = !literal;
            out += c;
            ++i;
        } else if (c == ':' && !literal && i + 1 < text.size() && text[i + 1] == ':') {
            out += ':';
            i += 2;
        } else if (c == ':' && !literal) {
            size_t end = i + 1;
            for (; end < text.size(); ++end) {
                char m = text[end];
                if (isQuote(m))
                    literal = !literal;
                else if (!literal && (m == '\n' || m == '\r' || m == ' ' || m == ')' || m == ',' || m == ';'))
                    break;
            }
            std::string name(text.substr(i + 1, end - i - 1));
            if (!name.empty() && isQuote(name.front())) {
                name.erase(0, 1);
                if (!name.empty())
                    name.pop_back();
            }
            if (names)
                names->push_back(name);
            out += '?';
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

namespace {

bool IsAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

locale_t UnicodeLocale()
{
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return loc;
}

} // namespace

bool SameNameNoCase(std::string_view a, std::string_view b)
{
    auto asciiLower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (IsAscii(a) && IsAscii(b))
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
                   return asciiLower(static_cast<unsigned char>(x)) == asciiLower(static_cast<unsigned char>(y));
               });
    std::u16string wa = CodePage::ToUtf16(a), wb = CodePage::ToUtf16(b);
    if (wa.size() != wb.size())
        return false;
    // Letters are compared by the lower case of their upper case, so that the
    // upper-cased name of a field finds it also where lower case does not come
    // back from upper case (final sigma, dotless i, micro sign, long s).
    locale_t loc = UnicodeLocale();
    auto fold = [loc](wint_t c) { return loc ? towlower_l(towupper_l(c, loc), loc) : towlower(towupper(c)); };
    for (size_t i = 0; i < wa.size(); ++i) {
        wint_t x = wa[i], y = wb[i];
        if (x != y && fold(x) != fold(y))
            return false;
    }
    return true;
}
