#include "Connection.h"

#include "DataLink.h"
#include "ProviderRegistry.h"
#include "RowWriteSql.h"
#include "ValueFormat.h"

#include <algorithm>
#include <stdexcept>
#include <strings.h>

namespace {

// Collects a small schema rowset as texts.
class TSchemaRows : public TRowReceiver {
public:
    void SetColumns(std::vector<TColumnInfo> columns) override { columns_ = std::move(columns); }
    void BeginRow() override { rows_.emplace_back(); }
    void PutNull() override { rows_.back().emplace_back(); }
    void PutInteger(int64_t value) override { rows_.back().push_back(std::to_string(value)); }
    void PutFloat(double value) override { rows_.back().push_back(FormatGeneral(value, 15, '.')); }
    void PutText(std::string_view text) override { rows_.back().emplace_back(text); }
    void PutBytes(std::string_view bytes) override { rows_.back().emplace_back(bytes); }

    // The index of a column; "Field '%s' not found" when there is none.
    size_t Column(const std::string& name) const
    {
        for (size_t i = 0; i < columns_.size(); ++i)
            if (strcasecmp(columns_[i].Name.c_str(), name.c_str()) == 0)
                return i;
        throw std::runtime_error("Field '" + name + "' not found");
    }
    const std::vector<TStringList>& Rows() const { return rows_; }
    static const std::string& Value(const TStringList& row, size_t column)
    {
        static const std::string none;
        return column < row.size() ? row[column] : none;
    }

private:
    std::vector<TColumnInfo> columns_;
    std::vector<TStringList> rows_;
};

// Schemas that hold the database's own catalogue rather than the user's objects.
bool IsCatalogueSchema(const std::string& schema)
{
    static const char* const catalogues[] = {"pg_catalog", "information_schema", "pg_toast", "sys"};
    for (const char* catalogue : catalogues)
        if (strcasecmp(schema.c_str(), catalogue) == 0)
            return true;
    return schema.rfind("pg_temp_", 0) == 0 || schema.rfind("pg_toast_temp_", 0) == 0;
}

// The objects of the rowset rows that pass the filter, with the schema kept
// only for schemas outside the search path.
template <class TKeep>
std::vector<TSchemaObject> SchemaObjects(const TSchemaRows& rows, const std::string& schemaColumn,
                                         const std::string& nameColumn, const std::vector<std::string>& searchPath,
                                         bool withCatalogue, TKeep keep)
{
    const size_t schema = rows.Column(schemaColumn);
    const size_t name = rows.Column(nameColumn);
    std::vector<TSchemaObject> objects;
    for (const TStringList& row : rows.Rows()) {
        if (!keep(row))
            continue;
        TSchemaObject object{TSchemaRows::Value(row, schema), TSchemaRows::Value(row, name)};
        if (!withCatalogue && IsCatalogueSchema(object.Schema))
            continue;
        if (std::find(searchPath.begin(), searchPath.end(), object.Schema) != searchPath.end())
            object.Schema.clear();
        objects.push_back(std::move(object));
    }
    return objects;
}

// A name the database reads back unchanged without quotes: ASCII letters,
// digits and '_', not starting with a digit, and no letter of the case the
// database folds away.
bool IsPlainIdentifier(const std::string& name, TIdentifierCase folding)
{
    auto lower = [](unsigned char c) { return c >= 'a' && c <= 'z'; };
    auto upper = [](unsigned char c) { return c >= 'A' && c <= 'Z'; };
    auto letter = [&](unsigned char c) {
        return c == '_' || (lower(c) && folding != TIdentifierCase::Upper) ||
               (upper(c) && folding != TIdentifierCase::Lower);
    };
    auto digit = [](unsigned char c) { return c >= '0' && c <= '9'; };
    return !name.empty() && letter(name[0]) &&
           std::all_of(name.begin(), name.end(), [&](unsigned char c) { return letter(c) || digit(c); });
}

// ODBC gives the identifier quote as a string; it is a single character.
std::string QuoteIdentifier(const std::string& name, const std::string& quote, TIdentifierCase folding)
{
    return quote.empty() || IsPlainIdentifier(name, folding) ? name : QuotedIdentifier(name, quote[0]);
}

} // namespace

std::string TSchemaObject::Text() const
{
    return Schema.empty() ? Name : Schema + "." + Name;
}

std::string TSchemaObject::SqlName(const std::string& quote, TIdentifierCase folding) const
{
    const std::string name = QuoteIdentifier(Name, quote, folding);
    return Schema.empty() ? name : QuoteIdentifier(Schema, quote, folding) + "." + name;
}

TConnection::TConnection(std::string name) : name_(std::move(name)) {}

TConnection::~TConnection()
{
    Close();
}

void TConnection::SetConnectionString(const std::string& text)
{
    connectionString_ = text;
}

void TConnection::SetProvider(const std::string& provider)
{
    provider_ = provider;
}

void TConnection::Open()
{
    if (providerConnection_)
        return;
    if (connectionString_.empty())
        throw std::runtime_error(name_ + ": The connection string is empty");
    TInitProperties props = ParseInitString(connectionString_);
    if (props.Has("File Name"))
        props = ReadDataLinkFile(props.Get("File Name"));
    providerConnection_ = TProviderRegistry::Open(props, provider_);
}

void TConnection::Close()
{
    // Statements go before the connection they run on.
    for (TOpenRowset* rowset : std::vector<TOpenRowset*>(openRowsets_))
        rowset->AbandonRowset();
    openRowsets_.clear();
    providerConnection_.reset();
}

TProviderConnection& TConnection::Provider()
{
    Open();
    for (TOpenRowset* rowset : std::vector<TOpenRowset*>(openRowsets_))
        rowset->FinishRowset();
    return *providerConnection_;
}

std::string TConnection::DbmsName()
{
    Open();
    return providerConnection_->DbmsName();
}

std::string TConnection::IdentifierQuote()
{
    Open();
    return providerConnection_->IdentifierQuote();
}

TIdentifierCase TConnection::IdentifierCase()
{
    Open();
    return providerConnection_->IdentifierCase();
}

void TConnection::AddOpenRowset(TOpenRowset* rowset)
{
    if (std::find(openRowsets_.begin(), openRowsets_.end(), rowset) == openRowsets_.end())
        openRowsets_.push_back(rowset);
}

void TConnection::RemoveOpenRowset(TOpenRowset* rowset)
{
    openRowsets_.erase(std::remove(openRowsets_.begin(), openRowsets_.end(), rowset), openRowsets_.end());
}

void TConnection::Execute(const std::string& sql, int64_t& recordsAffected)
{
    recordsAffected = Provider().Execute(sql);
}

void TConnection::Execute(const std::string& sql)
{
    Provider().Execute(sql);
}

std::vector<TSchemaObject> TConnection::Tables(bool systemTables)
{
    TProviderConnection& provider = Provider();
    TSchemaRows rows;
    provider.Schema(TSchemaRowset::Tables, rows);
    const size_t type = rows.Column("TABLE_TYPE");
    return SchemaObjects(rows, "TABLE_SCHEM", "TABLE_NAME", provider.SearchPath(), systemTables,
                         [&](const TStringList& row) {
        const std::string& kind = TSchemaRows::Value(row, type);
        return kind == "TABLE" || kind == "VIEW" || (systemTables && kind == "SYSTEM TABLE");
    });
}

std::vector<TSchemaObject> TConnection::Procedures()
{
    TProviderConnection& provider = Provider();
    TSchemaRows rows;
    provider.Schema(TSchemaRowset::Procedures, rows);
    return SchemaObjects(rows, "PROCEDURE_SCHEM", "PROCEDURE_NAME", provider.SearchPath(), false,
                         [](const TStringList&) { return true; });
}

void TConnection::GetTableNames(TStringList& list, bool systemTables)
{
    list.clear();
    for (const TSchemaObject& table : Tables(systemTables))
        list.push_back(table.Text());
}

void TConnection::GetProcedureNames(TStringList& list)
{
    for (const TSchemaObject& procedure : Procedures())
        list.push_back(procedure.Text());
}
