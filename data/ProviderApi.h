#pragma once
// The seam between the dataset layer and a database provider (embedded SQLite,
// ODBC). A provider connection executes statements and opens the first rowset
// of a command as a cursor: the column descriptions go to a receiver at once,
// the rows follow batch by batch as the receiver's owner asks for them. All
// text crosses this seam in the program's 8-bit code page (see CodePage.h).

#include "Value.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ADO data type codes: the common vocabulary for column types. Providers
// describe their columns with these; FieldTypes.h maps them to TFieldType.
enum TAdoType : int {
    adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5,
    adCurrency = 6, adDate = 7, adBSTR = 8, adIDispatch = 9, adError = 10,
    adBoolean = 11, adVariant = 12, adIUnknown = 13, adDecimal = 14,
    adTinyInt = 16, adUnsignedTinyInt = 17, adUnsignedSmallInt = 18,
    adUnsignedInt = 19, adBigInt = 20, adUnsignedBigInt = 21, adFileTime = 64,
    adGUID = 72, adBinary = 128, adChar = 129, adWChar = 130, adNumeric = 131,
    adDBDate = 133, adDBTime = 134, adDBTimeStamp = 135, adChapter = 136,
    adDBFileTime = 137, adPropVariant = 138, adVarNumeric = 139,
    adVarChar = 200, adLongVarChar = 201, adVarWChar = 202,
    adLongVarWChar = 203, adVarBinary = 204, adLongVarBinary = 205,
};

// One result column as the provider describes it.
struct TColumnInfo {
    std::string Name;            // may be empty; the dataset makes names unique
    int AdoType = adEmpty;       // a TAdoType code
    int64_t DefinedSize = 0;     // maximum length of character and binary columns
    uint8_t Precision = 0;       // numeric precision
    int8_t Scale = 0;            // numeric scale
    // The provider's auto-increment property: empty when the provider has no
    // such property for the column, else its value.
    std::optional<bool> AutoIncrement;
    bool RowIdentifier = false;  // a hidden row-identifier column
    std::string BaseTable;       // where the column comes from, when known
    std::string BaseColumn;
};

// Receives one rowset. Values arrive row by row, one Put* call per column in
// column order. Dates, times, timestamps and decimals arrive as their ISO /
// plain decimal text ("2024-01-02 10:30:00", "12.50"); the field layer converts.
class TRowReceiver {
public:
    virtual ~TRowReceiver() = default;
    virtual void SetColumns(std::vector<TColumnInfo> columns) = 0;
    virtual void BeginRow() = 0;
    virtual void PutNull() = 0;
    virtual void PutInteger(int64_t value) = 0;
    virtual void PutFloat(double value) = 0;
    virtual void PutText(std::string_view text) = 0;    // program code page
    virtual void PutBytes(std::string_view bytes) = 0;  // raw bytes
};

// The open first rowset of a command. It holds the provider's statement open
// until its last row has been fetched; destroying it earlier abandons the rows
// not fetched yet (the statement is finalised or closed at once).
class TProviderCursor {
public:
    virtual ~TProviderCursor() = default;
    // Appends up to maxRows more rows to the receiver. Returns false once the
    // rowset has ended, true while more rows may follow.
    virtual bool Fetch(TRowReceiver& receiver, int maxRows) = 0;
    // Appends every remaining row.
    void FetchAll(TRowReceiver& receiver);
};

// One posted change of a result row, written to the row's base table. Values
// are bound as parameters, never put into the statement's text.
enum class TRowWriteKind { Update, Insert, Delete };

struct TColumnValue {
    std::string Column;
    TValue Value;
};

struct TRowWrite {
    TRowWriteKind Kind = TRowWriteKind::Update;
    std::string Table;
    // Update and Delete: the values that locate the row; a null one is
    // compared with IS NULL.
    std::vector<TColumnValue> Where;
    // Update: the changed columns; Insert: the columns given a value.
    std::vector<TColumnValue> Values;
};

// The message of a write that did not touch exactly one row.
inline constexpr const char* RowChangedBySomeoneElse =
    "The record was changed or deleted by someone else since it was read.";

// How a database stores a name written without quotes: as written, or
// folded to upper or lower case (then only quotes keep the other case).
enum class TIdentifierCase { Mixed, Upper, Lower };

// The schema rowsets a connection lists names from.
enum class TSchemaRowset { Tables, Procedures };

// One open provider connection. Every failure throws std::runtime_error whose
// what() is the provider's own message, already trimmed of trailing blanks,
// control characters and full stops.
class TProviderConnection {
public:
    virtual ~TProviderConnection() = default;
    // Runs a statement that returns no rows; the provider's records-affected count.
    virtual int64_t Execute(const std::string& sql) = 0;
    // Runs a command up to its first rowset, describes its columns to the
    // receiver and returns a cursor over its rows; null when no result of the
    // command is a rowset. The connection runs nothing else while the cursor
    // is open: its owner finishes or abandons it first.
    virtual std::unique_ptr<TProviderCursor> OpenCursor(const std::string& sql, TRowReceiver& receiver) = 0;
    // Runs a command and streams its whole first rowset into the receiver.
    // Returns false when no result of the command is a rowset.
    bool Query(const std::string& sql, TRowReceiver& receiver);
    // Streams a schema rowset: TABLES has the columns TABLE_CAT, TABLE_SCHEM,
    // TABLE_NAME, TABLE_TYPE, REMARKS; PROCEDURES has PROCEDURE_CAT,
    // PROCEDURE_SCHEM, PROCEDURE_NAME, ... as ODBC's SQLTables/SQLProcedures.
    virtual void Schema(TSchemaRowset rowset, TRowReceiver& receiver) = 0;
    // The database product behind the connection ("SQLite", "PostgreSQL",
    // "Microsoft SQL Server", ...): it decides the form of literals that
    // scripts write for that database.
    virtual std::string DbmsName() const = 0;
    // The character that quotes identifiers in the database's SQL; empty when
    // the database has none.
    virtual std::string IdentifierQuote() const = 0;
    // How the database folds the case of unquoted names.
    virtual TIdentifierCase IdentifierCase() const = 0;
    // The schemas in which the database finds objects named without a schema,
    // in search order; empty when the provider cannot tell or the database
    // has no schemas.
    virtual std::vector<std::string> SearchPath() = 0;

    // The columns of the table's primary key, in key order; empty when it has none.
    virtual std::vector<std::string> PrimaryKey(const std::string& table) = 0;
    // Writes one change in a transaction of its own. A change that would touch
    // no row or more than one is rolled back and fails with
    // RowChangedBySomeoneElse. For an insertion, the key the database generated
    // (SQLite's rowid), when it tells one.
    virtual std::optional<int64_t> WriteRow(const TRowWrite& write) = 0;
};

// The initialisation properties of a data link: keys compared without regard
// to case. FileDir is the folder of the data link file (with a trailing
// separator) for resolving relative paths.
class TInitProperties {
public:
    void Set(const std::string& key, const std::string& value);
    // The value, or the empty string when the key is absent.
    std::string Get(const std::string& key) const;
    bool Has(const std::string& key) const;
    std::string FileDir;
private:
    struct NoCase { bool operator()(const std::string& a, const std::string& b) const; };
    std::map<std::string, std::string, NoCase> values_;
};

// Provider entry points, one per provider; TProviderRegistry picks one by the
// Provider key.
std::unique_ptr<TProviderConnection> OpenSqliteConnection(const TInitProperties& props);
std::unique_ptr<TProviderConnection> OpenOdbcConnection(const TInitProperties& props);
