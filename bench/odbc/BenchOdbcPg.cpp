// Reads 200,000 rows of five columns from a throwaway PostgreSQL cluster
// through a .udl file, the ODBC provider and the dataset, reading every
// field's text, and times psql printing the same result. Prints rows/s, the
// ratio to psql and the peak resident memory. An argument adds psqlODBC
// options to the connection string.

#include "Connection.h"
#include "DataSet.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

constexpr int kRows = 200000;
constexpr int kPort = 54339;
const std::string kDir = QUILLET_BENCH_PG_DIR;
const std::string kScript = QUILLET_PG_CLUSTER_SCRIPT;

void Run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("command failed: " + command);
}

std::string Psql(const std::string& sql)
{
    return "psql -X -q -h " + kDir + " -p " + std::to_string(kPort) + " -U postgres -d quillet -c \"" + sql + "\"";
}

double Seconds(const std::function<void()>& action)
{
    auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Stops the cluster however the benchmark ends.
struct TCluster {
    TCluster() { Run(kScript + " start " + kDir + " " + std::to_string(kPort) + " >/dev/null"); }
    ~TCluster() { std::system((kScript + " stop " + kDir).c_str()); }
};

// Extra psqlODBC options (such as "UseDeclareFetch=1;Fetch=2000;") go at the end.
std::string WriteDataLink(const std::string& options)
{
    std::string path = std::string(QUILLET_BENCH_DIR) + "/bench.udl";
    std::ofstream out(path, std::ios::binary);
    out << "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
        << "Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"DRIVER={PostgreSQL Unicode};SERVER="
        << kDir << ";PORT=" << kPort << ";DATABASE=quillet;UID=postgres;" << options << "\"\r\n";
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string options = argc > 1 ? argv[1] : "";
    try {
        TCluster cluster;
        Run(Psql("CREATE TABLE t (id integer PRIMARY KEY, name varchar(40), amount numeric(10,2), "
                 "stamp timestamp, note text); "
                 "INSERT INTO t SELECT g, 'name ' || g, (g % 100000) / 100.0, "
                 "timestamp '2024-01-01' + g * interval '17 seconds', repeat('note ', g % 12) "
                 "FROM generate_series(1, " + std::to_string(kRows) + ") g; ANALYZE t")
            + " >/dev/null");

        double psqlSeconds = Seconds([] { Run(Psql("SELECT * FROM t") + " >/dev/null"); });

        TConnection connection("cnAdo");
        connection.SetConnectionString("FILE NAME=" + WriteDataLink(options));
        connection.Open();
        TDataSet dataSet(connection, "dsAdo");
        dataSet.SetCommandText("SELECT * FROM t");
        size_t rows = 0;
        size_t characters = 0;
        double openSeconds = 0;
        double ourSeconds = Seconds([&] {
            openSeconds = Seconds([&] { dataSet.Open(); });
            for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
                ++rows;
                for (int i = 0; i < dataSet.FieldCount(); ++i)
                    characters += dataSet.Fields(i).DisplayText().size();
            }
        });
        if (rows != static_cast<size_t>(kRows))
            throw std::runtime_error("read " + std::to_string(rows) + " rows");

        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("rows: %d, characters read: %zu, driver options: %s\n", kRows, characters,
                    options.empty() ? "(defaults)" : options.c_str());
        std::printf("dataset open: %.3f s, open and read all texts: %.3f s, %.0f rows/s\n", openSeconds, ourSeconds,
                    kRows / ourSeconds);
        std::printf("psql -c \"SELECT * FROM t\" >/dev/null: %.3f s, %.0f rows/s\n", psqlSeconds,
                    kRows / psqlSeconds);
        std::printf("ratio (ours / psql): %.2f (target <= 1.5)\n", ourSeconds / psqlSeconds);
        std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_odbc_pg: %s\n", error.what());
        return 1;
    }
}
