#pragma once
// The one database connection: a data link file names provider and data
// source; statements run through the provider it opens.

#include "ProviderApi.h"
#include "TextLines.h"

#include <cstdint>
#include <memory>
#include <string>

class TConnection {
public:
    explicit TConnection(std::string name);
    ~TConnection();
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    const std::string& Name() const { return name_; }
    // "FILE NAME=<path of .udl>", or an initialisation string of its own.
    void SetConnectionString(const std::string& text);
    const std::string& ConnectionString() const { return connectionString_; }
    // The provider used when the data link names none; preset "VFPOLEDB.1".
    void SetProvider(const std::string& provider);
    const std::string& ProviderName() const { return provider_; }

    void Open();
    void Close();
    bool Connected() const { return providerConnection_ != nullptr; }

    // Runs a statement (opening the connection first when closed).
    void Execute(const std::string& sql, int64_t& recordsAffected);
    void Execute(const std::string& sql);

    void GetTableNames(TStringList& list, bool systemTables = false);
    void GetProcedureNames(TStringList& list);

    // The database product and its identifier quote (opening the connection
    // first when closed).
    std::string DbmsName() { return Provider().DbmsName(); }
    std::string IdentifierQuote() { return Provider().IdentifierQuote(); }

    // The open provider connection (opening it first when closed).
    TProviderConnection& Provider();

private:
    std::string name_;
    std::string connectionString_;
    std::string provider_ = "VFPOLEDB.1";
    std::unique_ptr<TProviderConnection> providerConnection_;
};
