#pragma once
// The benchmark table: t(id INTEGER PRIMARY KEY, name VARCHAR(40),
// amount NUMERIC(10,2), created DATETIME, note TEXT) with the given number of
// rows, built once into a SQLite file and reused while it holds that many.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

inline std::string BenchTableDir()
{
#ifdef QUILLET_BENCH_DIR
    return QUILLET_BENCH_DIR;
#else
    return std::filesystem::temp_directory_path().string();
#endif
}

namespace bench_table_detail {

struct TCloser { void operator()(sqlite3* db) const { sqlite3_close(db); } };
struct TFinalizer { void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); } };

inline void Check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string("bench table: ") + sqlite3_errmsg(db));
}

inline int64_t RowCount(const std::string& path)
{
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        return -1;
    }
    std::unique_ptr<sqlite3, TCloser> db(raw);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(raw, "SELECT count(*) FROM t", -1, &stmt, nullptr) != SQLITE_OK)
        return -1;
    std::unique_ptr<sqlite3_stmt, TFinalizer> guard(stmt);
    return sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
}

inline void Build(const std::string& path, int64_t rows)
{
    std::remove(path.c_str());
    sqlite3* raw = nullptr;
    int rc = sqlite3_open(path.c_str(), &raw);
    std::unique_ptr<sqlite3, TCloser> db(raw);
    Check(raw, rc);
    Check(raw, sqlite3_exec(raw,
                            "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                            "CREATE TABLE t(id INTEGER PRIMARY KEY, name VARCHAR(40), amount NUMERIC(10,2),"
                            " created DATETIME, note TEXT); BEGIN;",
                            nullptr, nullptr, nullptr));
    sqlite3_stmt* stmt = nullptr;
    Check(raw, sqlite3_prepare_v2(raw, "INSERT INTO t VALUES (?, ?, ?, ?, ?)", -1, &stmt, nullptr));
    std::unique_ptr<sqlite3_stmt, TFinalizer> insert(stmt);
    char name[64], created[32], note[96];
    for (int64_t i = 1; i <= rows; ++i) {
        std::snprintf(name, sizeof name, "Customer %lld", static_cast<long long>(i));
        std::snprintf(created, sizeof created, "20%02d-%02d-%02d %02d:%02d:%02d", static_cast<int>(i % 25),
                      static_cast<int>(i % 12 + 1), static_cast<int>(i % 28 + 1), static_cast<int>(i % 24),
                      static_cast<int>(i % 60), static_cast<int>(i * 7 % 60));
        std::snprintf(note, sizeof note, "Order note %lld: deliver before noon",
                      static_cast<long long>(i * 7919 % 1000003));
        sqlite3_bind_int64(stmt, 1, i);
        sqlite3_bind_text(stmt, 2, name, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(stmt, 3, static_cast<double>(i * 37 % 10000000) / 100.0);
        sqlite3_bind_text(stmt, 4, created, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 5, note, -1, SQLITE_TRANSIENT);
        Check(raw, sqlite3_step(stmt));
        sqlite3_reset(stmt);
    }
    Check(raw, sqlite3_exec(raw, "COMMIT;", nullptr, nullptr, nullptr));
}

} // namespace bench_table_detail

// The path of the benchmark database, building it first when needed.
inline std::string EnsureBenchTable(int64_t rows, const std::string& dir = BenchTableDir())
{
    std::filesystem::create_directories(dir);
    const std::string path = (std::filesystem::path(dir) / ("bench_" + std::to_string(rows) + ".db")).string();
    if (bench_table_detail::RowCount(path) != rows) {
        const std::string building = path + ".building";
        bench_table_detail::Build(building, rows);
        std::filesystem::rename(building, path);
    }
    return path;
}
