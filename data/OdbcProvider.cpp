// The ODBC provider: a connection through the unixODBC driver manager.

#include "CodePage.h"
#include "OdbcConnectionString.h"
#include "OdbcDiagnostics.h"
#include "OdbcHandle.h"
#include "OdbcRowFetcher.h"
#include "OdbcRowWriter.h"
#include "ProviderApi.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <clocale>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

// The driver manager converts wide text for drivers without wide entry points
// (the SQLite one) in the character set of the C library's locale. Settle that
// locale on the program code page: a bare C locale, which the program takes as
// UTF-8, becomes C.UTF-8 (as Qt does), so that national text survives. Some
// drivers reset the locale from the environment when they load, so this runs
// again around every connect.
void UseProgramCodePageForDriverManager()
{
    CodePage::ProgramName();
    if (CodePage::ProgramIsUtf8() && std::string_view(nl_langinfo(CODESET)) != "UTF-8")
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The wide form of program text for the W entry points.
std::u16string Wide(const std::string& text)
{
    return CodePage::ToUtf16(text);
}

SQLWCHAR* WidePointer(std::u16string& text)
{
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

// Hands a schema rowset on with its column names in upper case, as ODBC
// defines them (psqlODBC reports the procedure columns in lower case).
class TSchemaColumnNames final : public TRowReceiver {
public:
    explicit TSchemaColumnNames(TRowReceiver& target) : target_(target) {}
    void SetColumns(std::vector<TColumnInfo> columns) override
    {
        for (TColumnInfo& column : columns)
            std::transform(column.Name.begin(), column.Name.end(), column.Name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        target_.SetColumns(std::move(columns));
    }
    void BeginRow() override { target_.BeginRow(); }
    void PutNull() override { target_.PutNull(); }
    void PutInteger(int64_t value) override { target_.PutInteger(value); }
    void PutFloat(double value) override { target_.PutFloat(value); }
    void PutText(std::string_view text) override { target_.PutText(text); }
    void PutBytes(std::string_view bytes) override { target_.PutBytes(bytes); }

private:
    TRowReceiver& target_;
};

// Collects the first column of a rowset as texts.
class TFirstColumnTexts final : public TRowReceiver {
public:
    std::vector<std::string> Texts;
    void SetColumns(std::vector<TColumnInfo>) override {}
    void BeginRow() override { column_ = 0; }
    void PutNull() override { ++column_; }
    void PutInteger(int64_t) override { ++column_; }
    void PutFloat(double) override { ++column_; }
    void PutText(std::string_view text) override
    {
        if (column_++ == 0)
            Texts.emplace_back(text);
    }
    void PutBytes(std::string_view) override { ++column_; }

private:
    int column_ = 0;
};

class TOdbcConnection final : public TProviderConnection {
public:
    explicit TOdbcConnection(const std::string& connectionString)
        : environment_(SQL_HANDLE_ENV, SQL_NULL_HANDLE)
    {
        OdbcCheck(SQLSetEnvAttr(environment_.Get(), SQL_ATTR_ODBC_VERSION,
                                reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(SQL_OV_ODBC3)), 0),
                  SQL_HANDLE_ENV, environment_.Get(), "Cannot set the ODBC version");
        connection_ = TOdbcHandle(SQL_HANDLE_DBC, environment_.Get());
        std::u16string wide = Wide(connectionString);
        // The length travels as a SQLSMALLINT: a longer string would be cut
        // to whatever its length wraps around to.
        if (wide.size() > static_cast<size_t>(std::numeric_limits<SQLSMALLINT>::max()))
            throw std::runtime_error("The connection string is longer than " +
                                     std::to_string(std::numeric_limits<SQLSMALLINT>::max()) + " characters.");
        SQLSMALLINT outLength = 0;
        OdbcCheck(SQLDriverConnectW(connection_.Get(), nullptr, WidePointer(wide),
                                    static_cast<SQLSMALLINT>(wide.size()), nullptr, 0, &outLength,
                                    SQL_DRIVER_NOPROMPT),
                  SQL_HANDLE_DBC, connection_.Get(), "Cannot connect to the ODBC data source");
        connection_.SetConnected();
        UseProgramCodePageForDriverManager();
        dbmsName_ = InfoText(SQL_DBMS_NAME);
        identifierQuote_ = InfoText(SQL_IDENTIFIER_QUOTE_CHAR);
        // A blank is how ODBC says that identifiers cannot be quoted.
        if (identifierQuote_ == " ")
            identifierQuote_.clear();
        identifierCase_ = FoldingOfUnquotedNames();
    }

    std::string DbmsName() const override { return dbmsName_; }
    std::string IdentifierQuote() const override { return identifierQuote_; }
    TIdentifierCase IdentifierCase() const override { return identifierCase_; }

    std::vector<std::string> SearchPath() override
    {
        // ODBC has no query for it: ask the databases that have one in their
        // own SQL; elsewhere a user's objects live in the schema of the user's name.
        const char* sql = dbmsName_ == "PostgreSQL"             ? "SELECT unnest(current_schemas(false))"
                          : dbmsName_ == "Microsoft SQL Server" ? "SELECT SCHEMA_NAME()"
                                                                : nullptr;
        if (!sql) {
            std::string user = InfoText(SQL_USER_NAME);
            return user.empty() ? std::vector<std::string>{} : std::vector<std::string>{user};
        }
        TFirstColumnTexts schemas;
        try {
            Query(sql, schemas);
        } catch (const std::runtime_error&) {
            return {};
        }
        return schemas.Texts;
    }

    int64_t Execute(const std::string& sql) override
    {
        TOdbcHandle statement = Run(sql);
        SQLLEN count = 0;
        OdbcCheck(SQLRowCount(statement.Get(), &count), SQL_HANDLE_STMT, statement.Get(),
                  "Cannot read the number of records affected");
        return count;
    }

    std::unique_ptr<TProviderCursor> OpenCursor(const std::string& sql, TRowReceiver& receiver) override
    {
        return OpenFirstRowset(Run(sql), receiver);
    }

    void Schema(TSchemaRowset rowset, TRowReceiver& receiver) override
    {
        TOdbcHandle statement(SQL_HANDLE_STMT, connection_.Get());
        SQLRETURN rc = rowset == TSchemaRowset::Tables
                           ? SQLTablesW(statement.Get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0)
                           : SQLProceduresW(statement.Get(), nullptr, 0, nullptr, 0, nullptr, 0);
        OdbcCheck(rc, SQL_HANDLE_STMT, statement.Get(), "Cannot read the schema rowset");
        TSchemaColumnNames named(receiver);
        if (std::unique_ptr<TProviderCursor> cursor = OpenFirstRowset(std::move(statement), named))
            cursor->FetchAll(named);
    }

    std::vector<std::string> PrimaryKey(const std::string& table) override
    {
        return OdbcPrimaryKey(connection_.Get(), table);
    }

    // ODBC does not tell the key a database generated.
    std::optional<int64_t> WriteRow(const TRowWrite& write) override
    {
        OdbcWriteRow(connection_.Get(), write, identifierQuote_);
        return std::nullopt;
    }

private:
    // A text item of the driver's information; empty when the driver has none.
    TIdentifierCase FoldingOfUnquotedNames() const
    {
        SQLUSMALLINT folding = SQL_IC_MIXED;
        if (!SQL_SUCCEEDED(SQLGetInfoW(connection_.Get(), SQL_IDENTIFIER_CASE, &folding, sizeof folding, nullptr)))
            return TIdentifierCase::Mixed;
        return folding == SQL_IC_UPPER ? TIdentifierCase::Upper
               : folding == SQL_IC_LOWER ? TIdentifierCase::Lower
                                         : TIdentifierCase::Mixed;
    }

    std::string InfoText(SQLUSMALLINT item) const
    {
        SQLWCHAR buffer[256] = {};
        SQLSMALLINT bytes = 0;
        if (!SQL_SUCCEEDED(SQLGetInfoW(connection_.Get(), item, buffer, sizeof buffer, &bytes)))
            return {};
        const size_t units = std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(bytes, 0)) / sizeof(SQLWCHAR),
                                              std::size(buffer) - 1);
        return CodePage::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(buffer), units));
    }

    // Executes the statement; a statement that touches no rows is a success.
    TOdbcHandle Run(const std::string& sql)
    {
        TOdbcHandle statement(SQL_HANDLE_STMT, connection_.Get());
        std::u16string wide = Wide(sql);
        SQLRETURN rc = SQLExecDirectW(statement.Get(), WidePointer(wide), static_cast<SQLINTEGER>(wide.size()));
        if (rc != SQL_NO_DATA)
            OdbcCheck(rc, SQL_HANDLE_STMT, statement.Get(), "Cannot execute the statement");
        return statement;
    }

    // Steps through the results to the first one with columns and opens a
    // cursor over it; null when there is none.
    static std::unique_ptr<TProviderCursor> OpenFirstRowset(TOdbcHandle statement, TRowReceiver& receiver)
    {
        for (;;) {
            SQLSMALLINT columnCount = 0;
            OdbcCheck(SQLNumResultCols(statement.Get(), &columnCount), SQL_HANDLE_STMT, statement.Get(),
                      "Cannot read the result columns");
            if (columnCount > 0)
                return OpenOdbcCursor(std::move(statement), columnCount, receiver);
            SQLRETURN rc = SQLMoreResults(statement.Get());
            if (rc == SQL_NO_DATA)
                return nullptr;
            OdbcCheck(rc, SQL_HANDLE_STMT, statement.Get(), "Cannot read the next result");
        }
    }

    TOdbcHandle environment_;
    TOdbcHandle connection_;
    std::string dbmsName_;
    std::string identifierQuote_;
    TIdentifierCase identifierCase_ = TIdentifierCase::Mixed;
};

} // namespace

std::unique_ptr<TProviderConnection> OpenOdbcConnection(const TInitProperties& props)
{
    UseProgramCodePageForDriverManager();
    return std::make_unique<TOdbcConnection>(OdbcConnectionString(props));
}
