#pragma once
// Shared pieces of the ODBC tests: connection strings for the test cluster and
// the SQLite ODBC driver, and a receiver that records a rowset.

#include "ProviderApi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One received value.
struct TReceived {
    enum TKind { Null, Integer, Float, Text, Bytes };
    TKind Kind = Null;
    int64_t Int = 0;
    double Real = 0;
    std::string Data;  // text or bytes

    static TReceived MakeNull() { return {}; }
    static TReceived MakeInteger(int64_t v) { TReceived c; c.Kind = Integer; c.Int = v; return c; }
    static TReceived MakeFloat(double v) { TReceived c; c.Kind = Float; c.Real = v; return c; }
    static TReceived MakeText(std::string v) { TReceived c; c.Kind = Text; c.Data = std::move(v); return c; }
    static TReceived MakeBytes(std::string v) { TReceived c; c.Kind = Bytes; c.Data = std::move(v); return c; }
    bool operator==(const TReceived& other) const;
};
std::ostream& operator<<(std::ostream& out, const TReceived& cell);

class TRecordingReceiver : public TRowReceiver {
public:
    std::vector<TColumnInfo> Columns;
    std::vector<std::vector<TReceived>> Rows;

    void SetColumns(std::vector<TColumnInfo> columns) override { Columns = std::move(columns); }
    void BeginRow() override { Rows.emplace_back(); }
    void PutNull() override { Rows.back().push_back(TReceived::MakeNull()); }
    void PutInteger(int64_t value) override { Rows.back().push_back(TReceived::MakeInteger(value)); }
    void PutFloat(double value) override { Rows.back().push_back(TReceived::MakeFloat(value)); }
    void PutText(std::string_view text) override { Rows.back().push_back(TReceived::MakeText(std::string(text))); }
    void PutBytes(std::string_view bytes) override { Rows.back().push_back(TReceived::MakeBytes(std::string(bytes))); }

    // The index of the named column; fails the test when there is none.
    size_t ColumnIndex(const std::string& name) const;
    // The values of one column, as text (null as "<null>").
    std::vector<std::string> ColumnTexts(const std::string& name) const;
};

// The DSN-less connection string of the test cluster's database (psqlODBC).
std::string PgConnectionString(const std::string& extra = {});
// The socket folder and port of the test cluster.
std::string PgSocketDir();
int PgPort();

// A SQLite ODBC connection string for the database file.
std::string SqliteOdbcConnectionString(const std::string& file);

// Opens the ODBC provider with the connection string as Extended Properties.
std::unique_ptr<TProviderConnection> OpenOdbc(const std::string& connectionString);

// A fresh file path in the test's temporary folder (an existing file is removed).
std::string TempPath(const std::string& name);
