#pragma once
// The one database connection: a data link file names provider and data
// source; statements run through the provider it opens.

#include "ProviderApi.h"
#include "TextLines.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A reader that holds a statement open on the connection: a dataset whose
// rows are not all fetched yet. The connection runs one statement at a time,
// so that drivers allowing one active statement keep working and SQLite never
// keeps a read open across a write: before it runs anything else it has every
// open rowset finish, and when it closes it has them abandoned.
class TOpenRowset {
public:
    // Fetches the remaining rows and releases the statement.
    virtual void FinishRowset() = 0;
    // Releases the statement at once, without fetching the rest.
    virtual void AbandonRowset() = 0;

protected:
    ~TOpenRowset() = default;
};

// A table, view or procedure of the schema lists.
struct TSchemaObject {
    std::string Schema;  // empty for an object the database finds by its bare name
    std::string Name;

    // What the user sees: the name, after its schema when it has one.
    std::string Text() const;
    // How SQL names it: each part bare when it is a plain identifier whose
    // letters the database keeps as they are, else between the identifier
    // quotes (an inner quote doubled). An empty quote leaves the parts bare.
    std::string SqlName(const std::string& quote, TIdentifierCase folding = TIdentifierCase::Mixed) const;
};

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

    // The tables and views, then the procedures, in the provider's order.
    // Objects of the database's own catalogue (pg_catalog, information_schema,
    // sys, ...) are left out, unless system tables are asked for; objects of
    // schemas outside the search path keep their schema.
    std::vector<TSchemaObject> Tables(bool systemTables = false);
    std::vector<TSchemaObject> Procedures();
    // Their texts (TSchemaObject::Text): the table list is replaced, the
    // procedure list appended to.
    void GetTableNames(TStringList& list, bool systemTables = false);
    void GetProcedureNames(TStringList& list);

    // The database product and its identifier quote (opening the connection
    // first when closed). They run no statement, so open rowsets go on.
    std::string DbmsName();
    std::string IdentifierQuote();
    TIdentifierCase IdentifierCase();

    // The open provider connection (opening it first when closed), free to
    // run a statement: open rowsets have finished.
    TProviderConnection& Provider();

    // A rowset holding a statement open registers while it does.
    void AddOpenRowset(TOpenRowset* rowset);
    void RemoveOpenRowset(TOpenRowset* rowset);

private:
    std::string name_;
    std::string connectionString_;
    std::string provider_ = "VFPOLEDB.1";
    std::unique_ptr<TProviderConnection> providerConnection_;
    std::vector<TOpenRowset*> openRowsets_;
};
