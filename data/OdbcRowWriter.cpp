#include "OdbcRowWriter.h"

#include "CodePage.h"
#include "OdbcDiagnostics.h"
#include "OdbcHandle.h"
#include "OdbcRowFetcher.h"
#include "RowWriteSql.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <deque>
#include <map>
#include <stdexcept>
#include <strings.h>

namespace {

// Keeps the text and integer values of a catalogue rowset.
class TCatalogueRows final : public TRowReceiver {
public:
    std::vector<std::vector<std::string>> Rows;

    void SetColumns(std::vector<TColumnInfo>) override {}
    void BeginRow() override { Rows.emplace_back(); }
    void PutNull() override { Rows.back().emplace_back(); }
    void PutInteger(int64_t value) override { Rows.back().push_back(std::to_string(value)); }
    void PutFloat(double value) override { Rows.back().push_back(std::to_string(value)); }
    void PutText(std::string_view text) override { Rows.back().emplace_back(text); }
    void PutBytes(std::string_view bytes) override { Rows.back().emplace_back(bytes); }
};

SQLWCHAR* WidePointer(std::u16string& text)
{
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

TCatalogueRows FetchCatalogue(TOdbcHandle statement)
{
    TCatalogueRows rows;
    SQLSMALLINT columns = 0;
    OdbcCheck(SQLNumResultCols(statement.Get(), &columns), SQL_HANDLE_STMT, statement.Get(),
              "Cannot read the catalogue");
    if (columns > 0)
        OpenOdbcCursor(std::move(statement), columns, rows)->FetchAll(rows);
    return rows;
}

struct TNoCase {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

// The SQL type of each column of the table, which the parameters are bound as.
std::map<std::string, SQLSMALLINT, TNoCase> ColumnTypes(SQLHDBC connection, const std::string& table)
{
    TOdbcHandle statement(SQL_HANDLE_STMT, connection);
    std::u16string name = CodePage::ToUtf16(table);
    OdbcCheck(SQLColumnsW(statement.Get(), nullptr, 0, nullptr, 0, WidePointer(name),
                          static_cast<SQLSMALLINT>(name.size()), nullptr, 0),
              SQL_HANDLE_STMT, statement.Get(), "Cannot read the columns of the table");
    std::map<std::string, SQLSMALLINT, TNoCase> types;
    for (const auto& row : FetchCatalogue(std::move(statement)).Rows)
        if (row.size() > 4)
            types[row[3]] = static_cast<SQLSMALLINT>(std::stoi(row[4].empty() ? "0" : row[4]));
    return types;
}

// The bound values live until the statement has run.
class TParameters {
public:
    void Bind(SQLHSTMT statement, SQLUSMALLINT number, const TValue& value, SQLSMALLINT sqlType)
    {
        SQLLEN& indicator = indicators_.emplace_back(0);
        SQLRETURN rc = SQL_SUCCESS;
        switch (value.Kind) {
        case TCellKind::Null:
            indicator = SQL_NULL_DATA;
            rc = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_CHAR, sqlType ? sqlType : SQL_VARCHAR, 1,
                                  0, nullptr, 0, &indicator);
            break;
        case TCellKind::Integer: {
            SQLBIGINT& integer = integers_.emplace_back(value.Integer);
            rc = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_SBIGINT,
                                  sqlType ? sqlType : SQL_BIGINT, 0, 0, &integer, 0, &indicator);
            break;
        }
        case TCellKind::Float: {
            double& number_ = floats_.emplace_back(value.Float);
            rc = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, sqlType ? sqlType : SQL_DOUBLE, 15,
                                  0, &number_, 0, &indicator);
            break;
        }
        case TCellKind::Text: {
            std::u16string& text = texts_.emplace_back(CodePage::ToUtf16(value.Text));
            indicator = static_cast<SQLLEN>(text.size() * sizeof(char16_t));
            rc = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_WCHAR, sqlType ? sqlType : SQL_WVARCHAR,
                                  std::max<SQLULEN>(text.size(), 1), 0, WidePointer(text), indicator, &indicator);
            break;
        }
        case TCellKind::Bytes: {
            std::string& bytes = bytes_.emplace_back(value.Text);
            indicator = static_cast<SQLLEN>(bytes.size());
            rc = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_BINARY,
                                  sqlType ? sqlType : SQL_VARBINARY, std::max<SQLULEN>(bytes.size(), 1), 0,
                                  bytes.data(), indicator, &indicator);
            break;
        }
        }
        OdbcCheck(rc, SQL_HANDLE_STMT, statement, "Cannot bind a value");
    }

private:
    std::deque<SQLLEN> indicators_;
    std::deque<SQLBIGINT> integers_;
    std::deque<double> floats_;
    std::deque<std::u16string> texts_;
    std::deque<std::string> bytes_;
};

// Autocommit is off for the lifetime of the object; whatever was not
// committed is rolled back when it ends.
class TManualCommit {
public:
    explicit TManualCommit(SQLHDBC connection) : connection_(connection)
    {
        OdbcCheck(SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT,
                                    reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(SQL_AUTOCOMMIT_OFF)), 0),
                  SQL_HANDLE_DBC, connection_, "Cannot start a transaction");
    }
    ~TManualCommit()
    {
        if (!committed_)
            SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_ROLLBACK);
        SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(SQL_AUTOCOMMIT_ON)), 0);
    }
    TManualCommit(const TManualCommit&) = delete;
    TManualCommit& operator=(const TManualCommit&) = delete;

    void Commit()
    {
        OdbcCheck(SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_COMMIT), SQL_HANDLE_DBC, connection_,
                  "Cannot commit the change");
        committed_ = true;
    }

private:
    SQLHDBC connection_;
    bool committed_ = false;
};

} // namespace

std::vector<std::string> OdbcPrimaryKey(SQLHDBC connection, const std::string& table)
{
    TOdbcHandle statement(SQL_HANDLE_STMT, connection);
    std::u16string name = CodePage::ToUtf16(table);
    OdbcCheck(SQLPrimaryKeysW(statement.Get(), nullptr, 0, nullptr, 0, WidePointer(name),
                              static_cast<SQLSMALLINT>(name.size())),
              SQL_HANDLE_STMT, statement.Get(), "Cannot read the primary key of the table");
    // COLUMN_NAME and KEY_SEQ.
    std::vector<std::pair<int, std::string>> columns;
    for (const auto& row : FetchCatalogue(std::move(statement)).Rows)
        if (row.size() > 4)
            columns.emplace_back(std::stoi(row[4].empty() ? "0" : row[4]), row[3]);
    std::sort(columns.begin(), columns.end());
    std::vector<std::string> key;
    for (auto& column : columns)
        key.push_back(std::move(column.second));
    return key;
}

void OdbcWriteRow(SQLHDBC connection, const TRowWrite& write, const std::string& quote)
{
    const TRowWriteStatement sql = RowWriteStatement(write, [&](const std::string& name) {
        return quote.empty() ? name : QuotedIdentifier(name, quote.front());
    });
    const auto types = ColumnTypes(connection, write.Table);
    TManualCommit transaction(connection);
    TOdbcHandle statement(SQL_HANDLE_STMT, connection);
    std::u16string text = CodePage::ToUtf16(sql.Sql);
    OdbcCheck(SQLPrepareW(statement.Get(), WidePointer(text), static_cast<SQLINTEGER>(text.size())), SQL_HANDLE_STMT,
              statement.Get(), "Cannot prepare the change");
    TParameters parameters;
    for (size_t i = 0; i < sql.Parameters.size(); ++i) {
        const TColumnValue& parameter = *sql.Parameters[i];
        const auto type = types.find(parameter.Column);
        parameters.Bind(statement.Get(), static_cast<SQLUSMALLINT>(i + 1), parameter.Value,
                        type == types.end() ? 0 : type->second);
    }
    SQLRETURN rc = SQLExecute(statement.Get());
    if (rc != SQL_NO_DATA)
        OdbcCheck(rc, SQL_HANDLE_STMT, statement.Get(), "Cannot write the change");
    SQLLEN count = 0;
    if (rc != SQL_NO_DATA)
        OdbcCheck(SQLRowCount(statement.Get(), &count), SQL_HANDLE_STMT, statement.Get(),
                  "Cannot read the number of records affected");
    if (count != 1)
        throw std::runtime_error(RowChangedBySomeoneElse);
    transaction.Commit();
}
