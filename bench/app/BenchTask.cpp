// quillet -task end to end, from process start to exit, against the database
// tools writing the same rows as INSERT statements:
//   1,000,000 SQLite rows   vs  sqlite3 db '.mode insert t' 'SELECT * FROM t'
//   200,000 PostgreSQL rows through psqlODBC  vs  pg_dump --data-only --column-inserts -t t
// Each program runs as a process of its own; its wall time and peak resident
// memory are printed with the ratio of the times.
//
//   bench_task [sqlite rows] [postgresql rows]

#include "BenchSupport.h"
#include "BenchTable.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kDir = QUILLET_TASK_BENCH_DIR;
const std::string kPgDir = QUILLET_TASK_BENCH_PG_DIR;
const std::string kPgScript = QUILLET_PG_CLUSTER_SCRIPT;
constexpr int kPgPort = 54359;

// A program folder of its own, so the run starts and ends as a user's would.
std::string MakeProgramFolder(const std::string& name)
{
    const fs::path folder = fs::path(kDir) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(QUILLET_PROGRAM, folder / "quillet");
    return (folder / "").string();
}

TMeasured RunTask(const std::string& programFolder, const std::string& udl, const std::string& destFile)
{
    const std::string task = programFolder + "bench.task";
    std::ofstream(task, std::ios::binary) << "UDL=" << udl << "\r\nSQL=SELECT * FROM t\r\nDestFile=" << destFile
                                          << "\r\n";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return RunMeasured({programFolder + "quillet", "-task", task});
}

void Report(const char* what, size_t rows, const char* peer, const TMeasured& ours, const TMeasured& theirs,
            double target)
{
    std::printf("%s, %zu rows:\n"
                "  quillet -task  %7.2f s  peak %6.1f MB\n"
                "  %-14s %7.2f s  peak %6.1f MB\n"
                "  ratio %.2f (target <= %.1f)\n",
                what, rows, ours.seconds, ours.peakMb, peer, theirs.seconds, theirs.peakMb,
                ours.seconds / theirs.seconds, target);
}

void BenchSqlite(int64_t rows)
{
    const std::string db = EnsureBenchTable(rows);
    const std::string folder = MakeProgramFolder("sqlite");
    const std::string udl = folder + "bench.udl";
    WriteSqliteUdl(udl, db);

    const std::string theirFile = folder + "sqlite3.sql", ourFile = folder + "InsertInto_T.sql";
    const TMeasured theirs = RunMeasured({"sqlite3", db, ".mode insert t", "SELECT * FROM t"}, theirFile);
    const TMeasured ours = RunTask(folder, udl, ourFile);
    if (LineCount(ourFile) != static_cast<size_t>(rows) || LineCount(theirFile) != static_cast<size_t>(rows))
        throw std::runtime_error("the scripts do not hold one line per row");
    Report("SQLite", static_cast<size_t>(rows), "sqlite3 shell", ours, theirs, 1.2);
    fs::remove_all(folder);
}

void Run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("command failed: " + command);
}

// Stops the cluster however the benchmark ends.
struct TCluster {
    TCluster() { Run(kPgScript + " start " + kPgDir + " " + std::to_string(kPgPort) + " >/dev/null"); }
    ~TCluster() { std::system((kPgScript + " stop " + kPgDir).c_str()); }
};

void BenchPostgres(int rows)
{
    TCluster cluster;
    const std::string psql = "psql -X -q -h " + kPgDir + " -p " + std::to_string(kPgPort) + " -U postgres -d quillet";
    Run(psql + " -c \"CREATE TABLE t (id integer PRIMARY KEY, name varchar(40), amount numeric(10,2), "
               "stamp timestamp, note text); "
               "INSERT INTO t SELECT g, 'name ' || g, (g % 100000) / 100.0, "
               "timestamp '2024-01-01' + g * interval '17 seconds', repeat('note ', g % 12) "
               "FROM generate_series(1, " + std::to_string(rows) + ") g; ANALYZE t\" >/dev/null");

    const std::string folder = MakeProgramFolder("postgresql");
    const std::string udl = folder + "bench.udl";
    // A server cursor, as the README advises for large results.
    std::ofstream(udl, std::ios::binary)
        << "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
        << "Provider=MSDASQL.1;Extended Properties=\"DRIVER={PostgreSQL Unicode};SERVER=" << kPgDir
        << ";PORT=" << kPgPort << ";DATABASE=quillet;UID=postgres;UseDeclareFetch=1;Fetch=1000;\"\r\n";

    const std::string theirFile = folder + "pg_dump.sql", ourFile = folder + "InsertInto_T.sql";
    const TMeasured theirs = RunMeasured({"pg_dump", "--data-only", "--column-inserts", "-t", "t", "-h", kPgDir,
                                          "-p", std::to_string(kPgPort), "-U", "postgres", "quillet"},
                                         theirFile);
    const TMeasured ours = RunTask(folder, udl, ourFile);
    if (LineCount(ourFile) != static_cast<size_t>(rows))
        throw std::runtime_error("the script does not hold one line per row");
    Report("PostgreSQL through psqlODBC", static_cast<size_t>(rows), "pg_dump", ours, theirs, 1.5);
    fs::remove_all(folder);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const int64_t sqliteRows = argc > 1 ? std::atoll(argv[1]) : 1000000;
        const int pgRows = argc > 2 ? std::atoi(argv[2]) : 200000;
        BenchSqlite(sqliteRows);
        BenchPostgres(pgRows);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_task: %s\n", error.what());
        return 1;
    }
}
