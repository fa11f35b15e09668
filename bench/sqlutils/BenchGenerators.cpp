// Writes an INSERT script and a '|'-separated text file from a 1,000,000-row
// table through the real data layer and compares the time with the sqlite3
// shell writing the same kind of file. Each run is measured in a child
// process of its own, so its peak memory is its own.
//
//   bench_generators [rows]

#include "BenchSupport.h"
#include "BenchTable.h"
#include "Connection.h"
#include "DataSet.h"
#include "ExportToSql.h"
#include "TextExport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

// Runs the job in a child process and returns its wall time; the child prints
// its own figures.
double RunInChild(const std::function<void()>& job)
{
    std::fflush(stdout);
    const auto start = TClock::now();
    const pid_t child = fork();
    if (child == 0) {
        try {
            job();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "error: %s\n", e.what());
            std::fflush(nullptr);
            _exit(1);
        }
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("benchmark child failed");
    return SecondsSince(start);
}

void Report(const char* what, int64_t rows, double ours, double shell, const std::string& ourFile,
            const std::string& shellFile)
{
    std::printf("%-14s %8.0f rows/s  %6.2f s  (sqlite3 shell %6.2f s)  ratio %.2f  file %.1f MB (shell %.1f MB)\n",
                what, static_cast<double>(rows) / ours, ours, shell, ours / shell,
                std::filesystem::file_size(ourFile) / 1e6, std::filesystem::file_size(shellFile) / 1e6);
}

// Opens the benchmark result and runs the export on it in a child process;
// prints the open and export times and the child's peak memory, and returns
// the child's wall time.
double TimeExport(const char* label, const char* work, const std::string& udl,
                  const std::function<void(TDataSet&)>& exportResult)
{
    return RunInChild([&] {
        TConnection connection("cnAdo");
        connection.SetConnectionString("FILE NAME=" + udl);
        TDataSet dataSet(connection, "dsAdo");
        dataSet.SetCommandText("SELECT * FROM t");
        const auto start = TClock::now();
        dataSet.Open();
        const double open = SecondsSince(start);
        exportResult(dataSet);
        std::printf("%s open %.2f s, %s %.2f s, peak resident memory %.0f MB\n", label, open, work,
                    SecondsSince(start) - open, PeakResidentKb() / 1024.0);
    });
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const int64_t rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
        const std::string db = EnsureBenchTable(rows);
        const std::string dir = QUILLET_GENERATOR_BENCH_DIR;
        const std::string udl = dir + "/generators.udl";
        WriteSqliteUdl(udl, db);
        std::printf("table t: %lld rows (integer key, VARCHAR(40), NUMERIC(10,2), DATETIME, TEXT)\n",
                    static_cast<long long>(rows));

        const std::string shellSql = dir + "/shell-insert.sql", ourSql = dir + "/InsertInto_T.sql";
        const double shellInsert = RunShell("sqlite3 '" + db + "' '.mode insert t' 'SELECT * FROM t' > '" + shellSql + "'");
        const double ourInsert = TimeExport("INSERT script:", "generate and write", udl, [&](TDataSet& dataSet) {
            TExportToSQL exporter(dataSet);
            exporter.ProcessMessages = [] {};
            exporter.ProgressControl = [](const std::string&) {};
            exporter.SaveToFile(ourSql);
        });
        Report("INSERT script", rows, ourInsert, shellInsert, ourSql, shellSql);

        const std::string shellTxt = dir + "/shell-text.txt", ourTxt = dir + "/T.txt";
        const double shellText = RunShell("sqlite3 '" + db + "' 'SELECT * FROM t' > '" + shellTxt + "'");
        const double ourText = TimeExport("text export:  ", "build and write", udl, [&](TDataSet& dataSet) {
            ExportText(dataSet, ourTxt, [](const std::string&) {}, [] {});
        });
        Report("text export", rows, ourText, shellText, ourTxt, shellTxt);
        for (const std::string& file : {shellSql, ourSql, shellTxt, ourTxt})
            std::filesystem::remove(file);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_generators: %s\n", e.what());
        return 1;
    }
}
