// Reads 200,000 rows of five columns from a throwaway PostgreSQL cluster
// through a .udl file, the ODBC provider and the dataset, reading every
// field's text, and times psql printing the same result. Does so through a
// server cursor (psqlODBC's UseDeclareFetch) and with the driver's defaults,
// which read the whole result at execute. Prints the time until the first
// batch is readable, the resident memory then, the time to close after it,
// rows/s and the ratio to psql. An argument replaces the cursor options.

#include "BenchSupport.h"
#include "Connection.h"
#include "DataSet.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

struct TRun {
    double open = 0;        // to the first batch readable
    long residentKb = 0;    // then
    double close = 0;       // after the first batch
    double total = 0;       // open and read every text
};

// Opens and closes after the first batch, then opens and reads every text.
TRun Measure(TConnection& connection, const std::string& udl)
{
    TRun run;
    connection.Close();
    connection.SetConnectionString("FILE NAME=" + udl);
    connection.Open();
    TDataSet dataSet(connection, "dsAdo");
    dataSet.SetCommandText("SELECT * FROM t");
    const auto start = TClock::now();
    dataSet.Open();
    size_t characters = 0;
    for (int i = 0; i < dataSet.FieldCount(); ++i)
        characters += dataSet.Fields(i).DisplayText().size();
    run.open = SecondsSince(start);
    run.residentKb = ResidentKb();
    const auto closing = TClock::now();
    dataSet.Close();
    run.close = SecondsSince(closing);

    size_t rows = 0;
    const auto reading = TClock::now();
    dataSet.Open();
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        ++rows;
        for (int i = 0; i < dataSet.FieldCount(); ++i)
            characters += dataSet.Fields(i).DisplayText().size();
    }
    run.total = SecondsSince(reading);
    if (rows != static_cast<size_t>(kRows))
        throw std::runtime_error("read " + std::to_string(rows) + " rows");
    return run;
}

// Stops the cluster however the benchmark ends.
struct TCluster {
    TCluster() { Run(kScript + " start " + kDir + " " + std::to_string(kPort) + " >/dev/null"); }
    ~TCluster() { std::system((kScript + " stop " + kDir).c_str()); }
};

// Extra psqlODBC options (such as "UseDeclareFetch=1;Fetch=2000;") go at the end.
std::string WriteDataLink(const std::string& name, const std::string& options)
{
    std::string path = std::string(QUILLET_BENCH_DIR) + "/" + name + ".udl";
    std::ofstream out(path, std::ios::binary);
    out << "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
        << "Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"DRIVER={PostgreSQL Unicode};SERVER="
        << kDir << ";PORT=" << kPort << ";DATABASE=quillet;UID=postgres;" << options << "\"\r\n";
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string cursorOptions = argc > 1 ? argv[1] : "UseDeclareFetch=1;Fetch=1000;";
    try {
        TCluster cluster;
        Run(Psql("CREATE TABLE t (id integer PRIMARY KEY, name varchar(40), amount numeric(10,2), "
                 "stamp timestamp, note text); "
                 "INSERT INTO t SELECT g, 'name ' || g, (g % 100000) / 100.0, "
                 "timestamp '2024-01-01' + g * interval '17 seconds', repeat('note ', g % 12) "
                 "FROM generate_series(1, " + std::to_string(kRows) + ") g; ANALYZE t")
            + " >/dev/null");

        const double psqlSeconds = RunShell(Psql("SELECT * FROM t") + " >/dev/null");

        TConnection connection("cnAdo");
        const TRun cursor = Measure(connection, WriteDataLink("cursor", cursorOptions));
        const TRun defaults = Measure(connection, WriteDataLink("defaults", ""));

        std::printf("rows: %d; psql -c \"SELECT * FROM t\" >/dev/null: %.3f s, %.0f rows/s\n", kRows, psqlSeconds,
                    kRows / psqlSeconds);
        auto print = [&](const char* name, const std::string& options, const TRun& run) {
            std::printf("%s (%s):\n  open to first batch readable %.1f ms, resident then %.1f MB, "
                        "close after it %.2f ms\n  open and read all texts %.3f s, %.0f rows/s, "
                        "ratio to psql %.2f (target <= 1.5)\n",
                        name, options.empty() ? "driver defaults" : options.c_str(), run.open * 1000,
                        run.residentKb / 1024.0, run.close * 1000, run.total, kRows / run.total,
                        run.total / psqlSeconds);
        };
        print("server cursor", cursorOptions, cursor);
        print("whole result at execute", "", defaults);
        std::printf("peak resident memory: %.1f MB\n", PeakResidentKb() / 1024.0);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_odbc_pg: %s\n", error.what());
        return 1;
    }
}
