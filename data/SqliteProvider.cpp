// The embedded SQLite provider, over the sqlite3 C API.

#include "CodePage.h"
#include "ProviderApi.h"
#include "RowWriteSql.h"
#include "SqliteColumnType.h"

#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace {

struct TDatabaseCloser { void operator()(sqlite3* db) const { sqlite3_close_v2(db); } };
struct TStatementFinalizer { void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); } };
using TDatabase = std::unique_ptr<sqlite3, TDatabaseCloser>;
using TStatement = std::unique_ptr<sqlite3_stmt, TStatementFinalizer>;

// Provider messages lose trailing blanks, control characters and full stops.
std::string TrimMessage(std::string message)
{
    while (!message.empty() && (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

// Steps a statement: true on a row, false at its end.
bool Step(sqlite3_stmt* stmt)
{
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw std::runtime_error(TrimMessage(sqlite3_errmsg(sqlite3_db_handle(stmt))));
}

class TSqliteConnection : public TProviderConnection {
public:
    explicit TSqliteConnection(const TInitProperties& props);

    int64_t Execute(const std::string& sql) override;
    std::unique_ptr<TProviderCursor> OpenCursor(const std::string& sql, TRowReceiver& receiver) override;
    void Schema(TSchemaRowset rowset, TRowReceiver& receiver) override;
    std::string DbmsName() const override { return "SQLite"; }
    std::string IdentifierQuote() const override { return "\""; }
    TIdentifierCase IdentifierCase() const override { return TIdentifierCase::Mixed; }
    // The schema rowsets name no schema: every object is found by its bare name.
    std::vector<std::string> SearchPath() override { return {}; }
    std::vector<std::string> PrimaryKey(const std::string& table) override;
    std::optional<int64_t> WriteRow(const TRowWrite& write) override;

private:
    [[noreturn]] void Fail() const { throw std::runtime_error(TrimMessage(sqlite3_errmsg(db_.get()))); }
    // Prepares the next statement of the text; null at its end. Whitespace and
    // comments between statements are skipped.
    TStatement PrepareNext(const char*& at, const char* end);
    void Run(sqlite3_stmt* stmt) { while (Step(stmt)) {} }
    std::string Text(const char* utf8, int bytes) const;
    TColumnInfo DescribeColumn(sqlite3_stmt* stmt, int column, bool hasRow);
    TStatement Prepare(const std::string& sql);
    void Bind(sqlite3_stmt* stmt, int index, const TValue& value);
    void ExecuteSimple(const char* sql);

    TDatabase db_;
    bool utf8_ = CodePage::ProgramIsUtf8();
};

TSqliteConnection::TSqliteConnection(const TInitProperties& props)
{
    std::string path = props.Get("Data Source");
    if (path.empty())
        throw std::runtime_error("The SQLite data link names no Data Source");
    if (path[0] != '/')
        path = props.FileDir + path;
    sqlite3* db = nullptr;
    // Read-write on an existing file only: a mistyped name must not create an
    // empty database. One thread uses a connection, so SQLite needs no locking.
    int rc = sqlite3_open_v2(CodePage::ToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    db_.reset(db);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 5000);
        // SQLite reads the file only at the first statement: read its schema
        // now, so that a file that is no database fails here and not later.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK)
        throw std::runtime_error("Cannot open the SQLite database \"" + path + "\": " +
                                 TrimMessage(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
}

TStatement TSqliteConnection::PrepareNext(const char*& at, const char* end)
{
    while (at < end) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db_.get(), at, static_cast<int>(end - at), &raw, &tail) != SQLITE_OK)
            Fail();
        TStatement stmt(raw);
        if (!stmt) {
            if (tail == at)
                break;  // nothing more SQLite can read
            at = tail;
            continue;
        }
        at = tail;
        // An unbound parameter would silently read as NULL.
        if (sqlite3_bind_parameter_count(raw) > 0)
            throw std::runtime_error("No value given for one or more required parameters");
        return stmt;
    }
    return nullptr;
}

int64_t TSqliteConnection::Execute(const std::string& text)
{
    const std::string sql = utf8_ ? text : CodePage::ToUtf8(text);
    const char* at = sql.data();
    const char* end = at + sql.size();
    int64_t affected = 0;
    while (TStatement stmt = PrepareNext(at, end)) {
        // The changes count stays from the last INSERT, UPDATE or DELETE
        // through other statements (DDL): count it only for a statement that
        // changed rows.
        const sqlite3_int64 before = sqlite3_total_changes64(db_.get());
        Run(stmt.get());
        if (sqlite3_total_changes64(db_.get()) != before)
            affected += sqlite3_changes64(db_.get());
    }
    return affected;
}

std::string TSqliteConnection::Text(const char* utf8, int bytes) const
{
    std::string_view text(utf8 ? utf8 : "", utf8 ? static_cast<size_t>(bytes) : 0);
    return utf8_ ? std::string(text) : CodePage::FromUtf8(text);
}

TColumnInfo TSqliteConnection::DescribeColumn(sqlite3_stmt* stmt, int column, bool hasRow)
{
    TColumnInfo info;
    const char* name = sqlite3_column_name(stmt, column);
    info.Name = Text(name, name ? static_cast<int>(std::char_traits<char>::length(name)) : 0);

    bool autoIncrement = false;
    const char* table = sqlite3_column_table_name(stmt, column);
    const char* origin = sqlite3_column_origin_name(stmt, column);
    if (table && origin) {
        int notNull = 0, primaryKey = 0, autoinc = 0;
        if (sqlite3_table_column_metadata(db_.get(), sqlite3_column_database_name(stmt, column), table, origin,
                                          nullptr, nullptr, &notNull, &primaryKey, &autoinc) == SQLITE_OK) {
            autoIncrement = autoinc != 0;
            info.AutoIncrement = autoIncrement;
        }
        info.BaseTable = Text(table, static_cast<int>(std::char_traits<char>::length(table)));
        info.BaseColumn = Text(origin, static_cast<int>(std::char_traits<char>::length(origin)));
    }

    const char* declared = sqlite3_column_decltype(stmt, column);
    TSqliteStorage firstValue = TSqliteStorage::None;
    if (hasRow) {
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER: firstValue = TSqliteStorage::Integer; break;
        case SQLITE_FLOAT: firstValue = TSqliteStorage::Float; break;
        case SQLITE_TEXT: firstValue = TSqliteStorage::Text; break;
        case SQLITE_BLOB: firstValue = TSqliteStorage::Blob; break;
        default: break;
        }
    }
    TSqliteColumnType type = SqliteColumnType(declared ? declared : "", firstValue, autoIncrement);
    info.AdoType = type.AdoType;
    info.DefinedSize = type.DefinedSize;
    info.Precision = type.Precision;
    info.Scale = type.Scale;
    return info;
}

// A statement stepped row by row. The first row is stepped at open (the column
// types of expressions come from its values) and delivered by the first fetch.
class TSqliteCursor final : public TProviderCursor {
public:
    TSqliteCursor(TStatement stmt, bool firstRow, bool utf8)
        : stmt_(std::move(stmt)), columns_(sqlite3_column_count(stmt_.get())), pending_(firstRow), ended_(!firstRow),
          utf8_(utf8)
    {
    }

    bool Fetch(TRowReceiver& receiver, int maxRows) override
    {
        for (int n = 0; n < maxRows && !ended_; ++n) {
            if (!pending_ && !Step(stmt_.get())) {
                ended_ = true;
                break;
            }
            pending_ = false;
            PutRow(receiver);
        }
        return !ended_;
    }

private:
    void PutRow(TRowReceiver& receiver)
    {
        sqlite3_stmt* stmt = stmt_.get();
        receiver.BeginRow();
        for (int c = 0; c < columns_; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                receiver.PutInteger(sqlite3_column_int64(stmt, c));
                break;
            case SQLITE_FLOAT:
                receiver.PutFloat(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_TEXT: {
                auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                std::string_view bytes(text, static_cast<size_t>(sqlite3_column_bytes(stmt, c)));
                // Byte for byte in a UTF-8 program: legacy 8-bit text stays as stored.
                if (utf8_)
                    receiver.PutText(bytes);
                else
                    receiver.PutText(CodePage::FromUtf8(bytes));
                break;
            }
            case SQLITE_BLOB: {
                auto blob = static_cast<const char*>(sqlite3_column_blob(stmt, c));
                receiver.PutBytes(std::string_view(blob ? blob : "", static_cast<size_t>(sqlite3_column_bytes(stmt, c))));
                break;
            }
            default:
                receiver.PutNull();
                break;
            }
        }
    }

    TStatement stmt_;
    int columns_;
    bool pending_;  // the row stepped last has not been delivered yet
    bool ended_;
    bool utf8_;
};

std::unique_ptr<TProviderCursor> TSqliteConnection::OpenCursor(const std::string& text, TRowReceiver& receiver)
{
    const std::string sql = utf8_ ? text : CodePage::ToUtf8(text);
    const char* at = sql.data();
    const char* end = at + sql.size();
    // Statements before the first one that returns rows are run through.
    while (TStatement stmt = PrepareNext(at, end)) {
        if (sqlite3_column_count(stmt.get()) == 0) {
            Run(stmt.get());
            continue;
        }
        const bool hasRow = Step(stmt.get());
        const int columns = sqlite3_column_count(stmt.get());
        std::vector<TColumnInfo> infos;
        infos.reserve(columns);
        for (int c = 0; c < columns; ++c)
            infos.push_back(DescribeColumn(stmt.get(), c, hasRow));
        receiver.SetColumns(std::move(infos));
        return std::make_unique<TSqliteCursor>(std::move(stmt), hasRow, utf8_);
    }
    return nullptr;
}

void TSqliteConnection::Schema(TSchemaRowset rowset, TRowReceiver& receiver)
{
    auto text = [](const char* name, int size) {
        TColumnInfo info;
        info.Name = name;
        info.AdoType = adVarChar;
        info.DefinedSize = size;
        return info;
    };
    auto number = [](const char* name) {
        TColumnInfo info;
        info.Name = name;
        info.AdoType = adSmallInt;
        return info;
    };
    if (rowset == TSchemaRowset::Procedures) {
        // SQLite has no stored procedures.
        receiver.SetColumns({text("PROCEDURE_CAT", 128), text("PROCEDURE_SCHEM", 128), text("PROCEDURE_NAME", 128),
                             number("NUM_INPUT_PARAMS"), number("NUM_OUTPUT_PARAMS"), number("NUM_RESULT_SETS"),
                             text("REMARKS", 254), number("PROCEDURE_TYPE")});
        return;
    }
    static const char* const sql =
        "SELECT name, CASE WHEN name LIKE 'sqlite\\_%' ESCAPE '\\' THEN 'SYSTEM TABLE'"
        " WHEN type = 'table' THEN 'TABLE' ELSE 'VIEW' END AS kind"
        " FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY kind, name";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr) != SQLITE_OK)
        Fail();
    TStatement stmt(raw);
    receiver.SetColumns({text("TABLE_CAT", 128), text("TABLE_SCHEM", 128), text("TABLE_NAME", 128),
                         text("TABLE_TYPE", 128), text("REMARKS", 254)});
    while (Step(raw)) {
        receiver.BeginRow();
        receiver.PutNull();
        receiver.PutNull();
        receiver.PutText(Text(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)), sqlite3_column_bytes(raw, 0)));
        receiver.PutText(reinterpret_cast<const char*>(sqlite3_column_text(raw, 1)));
        receiver.PutNull();
    }
}

TStatement TSqliteConnection::Prepare(const std::string& text)
{
    const std::string sql = utf8_ ? text : CodePage::ToUtf8(text);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
        Fail();
    return TStatement(raw);
}

void TSqliteConnection::Bind(sqlite3_stmt* stmt, int index, const TValue& value)
{
    int rc = SQLITE_OK;
    switch (value.Kind) {
    case TCellKind::Null:
        rc = sqlite3_bind_null(stmt, index);
        break;
    case TCellKind::Integer:
        rc = sqlite3_bind_int64(stmt, index, value.Integer);
        break;
    case TCellKind::Float:
        rc = sqlite3_bind_double(stmt, index, value.Float);
        break;
    case TCellKind::Text: {
        const std::string text = utf8_ ? value.Text : CodePage::ToUtf8(value.Text);
        rc = sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case TCellKind::Bytes:
        rc = sqlite3_bind_blob(stmt, index, value.Text.data(), static_cast<int>(value.Text.size()), SQLITE_TRANSIENT);
        break;
    }
    if (rc != SQLITE_OK)
        Fail();
}

void TSqliteConnection::ExecuteSimple(const char* sql)
{
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail();
}

std::vector<std::string> TSqliteConnection::PrimaryKey(const std::string& table)
{
    TStatement stmt = Prepare("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk");
    Bind(stmt.get(), 1, TValue{TCellKind::Text, 0, 0, table});
    std::vector<std::string> key;
    while (Step(stmt.get()))
        key.push_back(Text(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)),
                           sqlite3_column_bytes(stmt.get(), 0)));
    return key;
}

std::optional<int64_t> TSqliteConnection::WriteRow(const TRowWrite& write)
{
    const TRowWriteStatement statement =
        RowWriteStatement(write, [](const std::string& name) { return QuotedIdentifier(name, '"'); });
    // A savepoint works inside a transaction the user began as well as outside one.
    ExecuteSimple("SAVEPOINT quillet_row_write");
    try {
        TStatement stmt = Prepare(statement.Sql);
        for (size_t i = 0; i < statement.Parameters.size(); ++i)
            Bind(stmt.get(), static_cast<int>(i + 1), statement.Parameters[i]->Value);
        Run(stmt.get());
        if (sqlite3_changes64(db_.get()) != 1)
            throw std::runtime_error(RowChangedBySomeoneElse);
    } catch (...) {
        sqlite3_exec(db_.get(), "ROLLBACK TO quillet_row_write; RELEASE quillet_row_write", nullptr, nullptr, nullptr);
        throw;
    }
    ExecuteSimple("RELEASE quillet_row_write");
    if (write.Kind == TRowWriteKind::Insert)
        return sqlite3_last_insert_rowid(db_.get());
    return std::nullopt;
}

} // namespace

std::unique_ptr<TProviderConnection> OpenSqliteConnection(const TInitProperties& props)
{
    return std::make_unique<TSqliteConnection>(props);
}
