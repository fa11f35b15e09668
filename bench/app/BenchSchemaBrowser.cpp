// Connecting the main window to a database of 2,000 tables and 500
// procedures and filling its object tree, as "Connect" does: a generated
// SQLite file (SQLite has no procedures: 500 views take their place) and a
// generated schema in a throwaway PostgreSQL cluster through psqlODBC. Prints
// the best and median of several connects, the share of the data layer's
// schema lists, and for PostgreSQL psql listing the same names as a peer.

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

#include "BenchSupport.h"
#include "Desktop.h"
#include "MainForm.h"

namespace {

constexpr int kTables = 2000;
constexpr int kProcedures = 500;
constexpr int kRounds = 7;
constexpr int kPort = 54341;
const std::string kPgDir = QUILLET_BENCH_PG_DIR;
const std::string kScript = QUILLET_PG_CLUSTER_SCRIPT;

// Nothing is asked; whatever the window shows is a failed run.
class TBenchDesktop : public TDesktop {
public:
    void ShowNotice(const std::string& text) override { throw std::runtime_error(text); }
    void ShowError(const std::string& text) override { throw std::runtime_error(text); }
    bool Confirm(const std::string& text) override { throw std::runtime_error(text); }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&) override { return {}; }
    void OpenDocument(const std::string&) override {}
    void EditTextFile(const std::string&) override {}
    void ProcessMessages() override { QCoreApplication::processEvents(); }
};

struct TFigures {
    double best = 0;
    double median = 0;
};

TFigures Measure(const std::function<double()>& round)
{
    std::vector<double> seconds;
    for (int i = 0; i < kRounds; ++i)
        seconds.push_back(round());
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2]};
}

// Connect in the shown window until the tree is filled and painted; then
// disconnect for the next round.
TFigures MeasureWindow(const std::string& udl)
{
    QTemporaryDir programDir;
    TBenchDesktop desktop;
    TfmMain window(desktop, programDir.path().toStdString() + "/quillet", {});
    window.show();
    window.fedDataLink->setEditText(QString::fromStdString(udl));
    QCoreApplication::processEvents();
    return Measure([&] {
        window.PageCtrl->setCurrentWidget(window.tsConnection);
        QCoreApplication::processEvents();
        const auto start = TClock::now();
        window.SetConnected(true);
        window.tvDbObjects->repaint();
        QCoreApplication::processEvents();
        const double seconds = SecondsSince(start);
        const int tables = window.tvDbObjects->topLevelItem(0)->childCount();
        const int procedures = window.tvDbObjects->topLevelItem(1)->childCount();
        if (tables + procedures != kTables + kProcedures)
            throw std::runtime_error("the tree holds " + std::to_string(tables) + " tables and " +
                                     std::to_string(procedures) + " procedures");
        window.SetConnected(false);
        return seconds;
    });
}

// The data layer alone: open, list tables and procedures, close.
TFigures MeasureLists(const std::string& udl)
{
    return Measure([&] {
        TConnection connection("cnAdo");
        connection.SetConnectionString("FILE NAME=" + udl);
        const auto start = TClock::now();
        connection.Open();
        const size_t count = connection.Tables().size() + connection.Procedures().size();
        const double seconds = SecondsSince(start);
        if (count != static_cast<size_t>(kTables + kProcedures))
            throw std::runtime_error("listed " + std::to_string(count) + " objects");
        return seconds;
    });
}

void Print(const char* what, const TFigures& figures)
{
    std::printf("  %-44s best %.3f s, median %.3f s\n", what, figures.best, figures.median);
}

void RunSqlite()
{
    const std::string database = std::string(QUILLET_BENCH_DIR) + "/schema2500.db";
    const std::string udl = std::string(QUILLET_BENCH_DIR) + "/schema2500.udl";
    if (!std::filesystem::exists(database)) {
        std::string sql = "BEGIN;";
        for (int i = 1; i <= kTables; ++i)
            sql += "CREATE TABLE table_" + std::to_string(i) + " (id INTEGER PRIMARY KEY, name VARCHAR(40), amount NUMERIC(10,2));";
        for (int i = 1; i <= kProcedures; ++i)
            sql += "CREATE VIEW view_" + std::to_string(i) + " AS SELECT * FROM table_" + std::to_string(i) + ";";
        sql += "COMMIT;";
        sqlite3* db = nullptr;
        const std::string partial = database + ".part";
        std::filesystem::remove(partial);
        if (sqlite3_open(partial.c_str(), &db) != SQLITE_OK || sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot build " + database + ": " + sqlite3_errmsg(db));
        sqlite3_close(db);
        std::filesystem::rename(partial, database);
    }
    WriteSqliteUdl(udl, database);
    std::printf("SQLite, %d tables and %d views:\n", kTables, kProcedures);
    Print("Connect, tree filled and painted:", MeasureWindow(udl));
    Print("of which the data layer's open and lists:", MeasureLists(udl));
}

std::string Psql(const std::string& sql)
{
    return "psql -X -q -v ON_ERROR_STOP=1 -h " + kPgDir + " -p " + std::to_string(kPort) +
           " -U postgres -d quillet -c \"" + sql + "\"";
}

// Stops the cluster however the benchmark ends.
struct TCluster {
    TCluster() { RunShell(kScript + " start " + kPgDir + " " + std::to_string(kPort) + " >/dev/null"); }
    ~TCluster() { std::system((kScript + " stop " + kPgDir).c_str()); }
};

void RunPostgres()
{
    TCluster cluster;
    RunShell(Psql("DO \\$\\$ BEGIN "
                  "FOR i IN 1.." + std::to_string(kTables) + " LOOP EXECUTE format("
                  "'CREATE TABLE table_%s (id integer PRIMARY KEY, name varchar(40), amount numeric(10,2))', i); END LOOP; "
                  "FOR i IN 1.." + std::to_string(kProcedures) + " LOOP EXECUTE format("
                  "'CREATE FUNCTION proc_%s(a integer) RETURNS integer AS ''SELECT a'' LANGUAGE sql', i); END LOOP; "
                  "END \\$\\$") + " >/dev/null");
    const std::string udl = std::string(QUILLET_BENCH_DIR) + "/schema2500-pg.udl";
    std::ofstream(udl, std::ios::binary)
        << "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
        << "Provider=MSDASQL.1;Extended Properties=\"DRIVER={PostgreSQL Unicode};SERVER=" << kPgDir
        << ";PORT=" << kPort << ";DATABASE=quillet;UID=postgres;\"\r\n";

    std::printf("PostgreSQL (psqlODBC), %d tables and %d functions:\n", kTables, kProcedures);
    const TFigures window = MeasureWindow(udl);
    Print("Connect, tree filled and painted:", window);
    Print("of which the data layer's open and lists:", MeasureLists(udl));
    const TFigures psql = Measure([] {
        return RunShell(Psql("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                             "WHERE n.nspname = 'public' AND c.relkind IN ('r', 'v'); "
                             "SELECT p.proname FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
                             "WHERE n.nspname = 'public'") + " >/dev/null");
    });
    Print("peer: psql connecting and listing the names:", psql);
    std::printf("  ratio (window best / psql best): %.2f\n", window.best / psql.best);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        RunSqlite();
        RunPostgres();
        std::printf("target: the tree filled in under 0.5 s\n");
        std::printf("peak resident memory: %.1f MB\n", PeakResidentKb() / 1024.0);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_schema_browser: %s\n", error.what());
        return 1;
    }
}
