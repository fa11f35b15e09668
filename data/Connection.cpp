#include "Connection.h"

#include "DataLink.h"
#include "ProviderRegistry.h"
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

} // namespace

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

void TConnection::GetTableNames(TStringList& list, bool systemTables)
{
    TSchemaRows rows;
    Provider().Schema(TSchemaRowset::Tables, rows);
    list.clear();
    const size_t type = rows.Column("TABLE_TYPE");
    const size_t name = rows.Column("TABLE_NAME");
    for (const TStringList& row : rows.Rows()) {
        const std::string& kind = TSchemaRows::Value(row, type);
        if (kind == "TABLE" || kind == "VIEW" || (systemTables && kind == "SYSTEM TABLE"))
            list.push_back(TSchemaRows::Value(row, name));
    }
}

void TConnection::GetProcedureNames(TStringList& list)
{
    TSchemaRows rows;
    Provider().Schema(TSchemaRowset::Procedures, rows);
    const size_t name = rows.Column("PROCEDURE_NAME");
    for (const TStringList& row : rows.Rows())
        list.push_back(TSchemaRows::Value(row, name));
}
