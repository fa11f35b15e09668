#pragma once
// A small SQLite database made for one test, opened through the data layer:
// the database file and its data link file live in a temporary folder that
// goes away with the object.

#include "Connection.h"
#include "DataSet.h"
#include "TextLines.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace gentest {

// Runs SQL on a database file with the sqlite3 API (fixtures and checks that
// must not go through the code under test).
inline void ExecSqlite(const std::string& dbFile, const std::string& sql)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open(dbFile.c_str(), &db);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> guard(db, sqlite3_close);
    char* error = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

class TTempDir {
public:
    TTempDir()
    {
        std::string pattern = std::filesystem::path(testing::TempDir()) / "quillet-gen-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TTempDir() { std::error_code ignored; std::filesystem::remove_all(path_, ignored); }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }
private:
    std::filesystem::path path_;
};

// A data link file naming the SQLite database.
inline std::string WriteUdl(const TTempDir& dir, const std::string& dbFile, const std::string& name = "test.udl")
{
    const std::string udl = dir.File(name);
    WriteLinesToFile(udl, {"[oledb]", "; Everything after this line is an OLE DB initstring",
                           "Provider=SQLite;Data Source=" + dbFile});
    return udl;
}

class TTestDb {
public:
    // Creates the database from the script.
    explicit TTestDb(const std::string& script) : dbFile_(dir_.File("test.db"))
    {
        ExecSqlite(dbFile_, script);
        connection_.SetConnectionString("FILE NAME=" + WriteUdl(dir_, dbFile_));
    }

    // The result dataset, reopened on the statement.
    TDataSet& Open(const std::string& sql)
    {
        dataSet_.Close();
        dataSet_.SetCommandText(sql);
        dataSet_.Open();
        return dataSet_;
    }

    TDataSet& DataSet() { return dataSet_; }
    TConnection& Connection() { return connection_; }
    const TTempDir& Dir() const { return dir_; }
    const std::string& DbFile() const { return dbFile_; }

private:
    TTempDir dir_;
    std::string dbFile_;
    TConnection connection_{"cnAdo"};
    TDataSet dataSet_{connection_, "dsAdo"};
};

} // namespace gentest
