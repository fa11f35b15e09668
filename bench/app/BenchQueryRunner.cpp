// The query runner in the window, each run in a process of its own:
//   a script of single-row INSERTs (10,000 lines), run from the editor and as a
//   SQL file executed without loading   vs  sqlite3 db < file
//   the EXPORT command over 1,000,000 rows BY 100,000 and BY 10,000
//                                        vs  sqlite3 db '.mode insert' 'SELECT * ...'
// The databases and files live in /dev/shm when there is one, so that both
// sides measure the programs rather than the disk's syncs. Printed: wall time,
// peak resident memory and the ratio of the times.
//
//   bench_query_runner [script lines] [export rows]

#include "BenchSupport.h"
#include "BenchTable.h"

#include <QApplication>
#include <QComboBox>
#include <QToolButton>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <string>

#include "Desktop.h"
#include "MainForm.h"
#include "QtText.h"
#include "SqlEditor.h"
#include "TextLines.h"

namespace fs = std::filesystem;

namespace {

std::string WorkDir()
{
    const fs::path dir = fs::exists("/dev/shm") ? fs::path("/dev/shm/quillet-bench-runner") : fs::path(QUILLET_RUNNER_BENCH_DIR);
    fs::create_directories(dir);
    return (dir / "").string();
}

// A desktop that answers Yes to the size question, No to opening the export,
// names the SQL file in the open dialog and lets messages through.
class TBenchDesktop : public TDesktop {
public:
    std::string sqlFile;
    void ShowNotice(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void ShowError(const std::string& text) override { throw std::runtime_error(text); }
    bool Confirm(const std::string& text) override { return text.starts_with("The file size is"); }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&) override { return sqlFile; }
    void OpenDocument(const std::string&) override {}
    void EditTextFile(const std::string&) override {}
    void ProcessMessages() override { QCoreApplication::processEvents(); }
};

// One run inside the window: prints the seconds the run itself took.
int RunInWindow(int argc, char** argv)
{
    const std::string mode = argv[2], db = argv[3], file = argc > 4 ? argv[4] : "", by = argc > 5 ? argv[5] : "";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const std::string folder = WorkDir() + "program-" + mode + "/";
    fs::remove_all(folder);
    fs::create_directories(folder);
    WriteSqliteUdl(folder + "bench.udl", db);

    TBenchDesktop desktop;
    desktop.sqlFile = file;
    auto window = std::make_unique<TfmMain>(desktop, folder + "quillet", TStringList{});
    window->fedDataLink->setEditText(ToQString(folder + "bench.udl"));
    window->SetConnected(true);

    double seconds = 0;
    if (mode == "script-editor") {
        window->redSQL->SetText(ReadFileBytes(file));
        // The editor highlights the text it was given before the user runs it.
        QCoreApplication::processEvents();
        const auto start = TClock::now();
        window->RunQuery();
        seconds = SecondsSince(start);
    } else if (mode == "script-file") {
        const auto start = TClock::now();
        window->btnLoadSql->click();
        seconds = SecondsSince(start);
    } else if (mode == "export") {
        window->redSQL->SetText("EXPORT FROM numbered TO " + file + " BY " + by + " QUOTE \"");
        QCoreApplication::processEvents();
        const auto start = TClock::now();
        window->RunQuery();
        seconds = SecondsSince(start);
    }
    window.reset();
    fs::remove_all(folder);
    std::printf("%.3f\n", seconds);
    return 0;
}

struct TDb {
    sqlite3* db = nullptr;
    explicit TDb(const std::string& path)
    {
        if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
    }
    ~TDb() { sqlite3_close(db); }
    void Exec(const std::string& sql)
    {
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    long long Scalar(const std::string& sql)
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        const long long value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
        sqlite3_finalize(statement);
        return value;
    }
};

std::string FreshScriptDb(const std::string& name)
{
    const std::string path = WorkDir() + name;
    fs::remove(path);
    TDb(path).Exec("CREATE TABLE s (id INTEGER, name TEXT, amount REAL)");
    return path;
}

void CheckRows(const std::string& db, long long expected)
{
    if (TDb(db).Scalar("SELECT COUNT(*) FROM s") != expected)
        throw std::runtime_error("the script did not insert every row");
}

// A run inside the window, as a process of its own; seconds is the run's own time.
struct TWindowRun {
    TMeasured process;
    double runSeconds = 0;
};

TWindowRun MeasureWindow(const std::vector<std::string>& arguments)
{
    const std::string output = WorkDir() + "run.out";
    std::vector<std::string> command{fs::read_symlink("/proc/self/exe").string(), "--run"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    TWindowRun run{RunMeasured(command, output), 0};
    run.runSeconds = std::stod(ReadFileBytes(output));
    return run;
}

void BenchScript(int lines)
{
    const std::string script = WorkDir() + "inserts.sql";
    {
        std::string text;
        for (int i = 1; i <= lines; ++i)
            text += "INSERT INTO s VALUES (" + std::to_string(i) + ", 'name " + std::to_string(i) + "', "
                    + std::to_string(i) + ".5);\r\n";
        WriteFileBytes(script, text);
    }
    const std::string peerDb = FreshScriptDb("peer.db");
    const TMeasured peer = RunMeasured({"sqlite3", peerDb}, "/dev/null", script);
    CheckRows(peerDb, lines);

    std::printf("Script of %d single-row INSERTs (each its own transaction):\n", lines);
    std::printf("  sqlite3 db < file       %7.2f s  %8.0f statements/s  peak %6.1f MB\n", peer.seconds,
                lines / peer.seconds, peer.peakMb);
    for (const char* mode : {"script-editor", "script-file"}) {
        const std::string db = FreshScriptDb(std::string(mode) + ".db");
        const TWindowRun ours = MeasureWindow({mode, db, script});
        CheckRows(db, lines);
        std::printf("  quillet %-15s %7.2f s  %8.0f statements/s  peak %6.1f MB  (process %.2f s)  ratio %.2f"
                    " (target <= 1.5)\n",
                    mode, ours.runSeconds, lines / ours.runSeconds, ours.process.peakMb, ours.process.seconds,
                    ours.runSeconds / peer.seconds);
        fs::remove(db);
    }
    fs::remove(peerDb);
    fs::remove(script);
}

void BenchExport(int64_t rows)
{
    const std::string db = EnsureBenchTable(rows, WorkDir());
    TDb(db).Exec("CREATE VIEW IF NOT EXISTS numbered AS SELECT id AS RECORD_NUMBER, name, amount, created, note FROM t");

    const std::string peerFile = WorkDir() + "peer-export.sql";
    const TMeasured peer = RunMeasured({"sqlite3", db, ".mode insert numbered", "SELECT * FROM numbered"}, peerFile);
    if (LineCount(peerFile) != static_cast<size_t>(rows))
        throw std::runtime_error("sqlite3 did not write one line per row");
    fs::remove(peerFile);

    const TWindowRun idle = MeasureWindow({"idle", db});
    std::printf("EXPORT of %lld rows:\n", static_cast<long long>(rows));
    std::printf("  sqlite3 .mode insert    %7.2f s  peak %6.1f MB\n", peer.seconds, peer.peakMb);
    std::printf("  quillet connected, idle            peak %6.1f MB\n", idle.process.peakMb);
    for (const char* by : {"100000", "10000"}) {
        const std::string file = WorkDir() + "export-" + by + ".sql";
        const TWindowRun ours = MeasureWindow({"export", db, file, by});
        if (LineCount(file) != static_cast<size_t>(rows))
            throw std::runtime_error("the export did not write one line per row");
        std::printf("  quillet BY %-7s      %7.2f s  peak %6.1f MB  (process %.2f s)  ratio %.2f (target <= 1.5)\n",
                    by, ours.runSeconds, ours.process.peakMb, ours.process.seconds, ours.runSeconds / peer.seconds);
        fs::remove(file);
    }
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc > 3 && std::string(argv[1]) == "--run")
            return RunInWindow(argc, argv);
        BenchScript(argc > 1 ? std::atoi(argv[1]) : 10000);
        BenchExport(argc > 2 ? std::atoll(argv[2]) : 1000000);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_query_runner: %s\n", error.what());
        return 1;
    }
}
