// The result grid over a 1,000,000-row, five-column SQLite result, offscreen:
// the time from opening the dataset to the grid's first painted screen against
// opening the dataset alone; Ctrl+End (first with the rows still to fetch,
// then with all fetched) and Ctrl+Home; scrolling one page; and the memory
// the grid adds to the dataset's own once every row is fetched and shown.

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "Connection.h"
#include "DBGrid.h"
#include "DataSource.h"
#include "data/BenchTable.h"

namespace {

constexpr int64_t kRows = 1000000;

// The median of several runs of an action, in milliseconds.
template <typename Action>
double MedianMs(int runs, Action action)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = TClock::now();
        action();
        times.push_back(SecondsSince(start) * 1000);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Paint(TDBGrid& grid)
{
    grid.viewport()->repaint();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string db = EnsureBenchTable(kRows);
    const std::string udl = db + ".udl";
    WriteSqliteUdl(udl, db);
    const std::string sql = "SELECT id, name, amount, created, note FROM t";

    TConnection cn("cnAdo");
    cn.SetConnectionString("FILE NAME=" + udl);
    cn.Open();
    TDataSet ds(cn, "dsAdo");
    ds.SetCommandText(sql);

    // The dataset alone: open until its first record is readable.
    const double openMs = MedianMs(5, [&] {
        ds.Close();
        ds.Open();
        ds.Fields(0).FieldText();
    });
    // The dataset alone with every row fetched: time and resident memory.
    ds.Close();
    auto fetchStart = TClock::now();
    ds.Open();
    ds.RecordCount();
    const double fetchAllMs = SecondsSince(fetchStart) * 1000;
    const long alone = ResidentKb();
    ds.Close();
    const long beforeGrid = ResidentKb();

    TDataSource source(ds);
    TDBGrid grid(source);
    grid.resize(1000, 700);
    grid.show();
    QApplication::processEvents();
    Paint(grid);
    const long emptyGrid = ResidentKb();
    const double gridMs = MedianMs(5, [&] {
        ds.Close();
        ds.Open();
        Paint(grid);
    });
    const double paintMs = MedianMs(5, [&] { Paint(grid); });
    std::printf("grid, %lld x 5 SQLite rows: dataset open (first batch) %.2f ms, open to first painted screen "
                "%.2f ms (%.2fx; painting one screen alone %.2f ms)\n",
                static_cast<long long>(kRows), openMs, gridMs, gridMs / openMs, paintMs);
    std::printf("dataset open fetching every row %.1f ms; with the grid's first screen %.1f ms (%.3fx)\n",
                fetchAllMs, fetchAllMs + gridMs - openMs, (fetchAllMs + gridMs - openMs) / fetchAllMs);

    grid.setFocus();
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&grid, k, modifiers);
        Paint(grid);
    };
    auto start = TClock::now();
    key(Qt::Key_End, Qt::ControlModifier);
    const double firstEndMs = SecondsSince(start) * 1000;
    std::printf("Ctrl+End fetching the remaining rows: %.1f ms (record %d of %d)\n", firstEndMs, ds.RecNo(),
                ds.FetchedRecordCount());
    const double homeMs = MedianMs(9, [&] { key(Qt::Key_Home, Qt::ControlModifier); });
    const double endMs = MedianMs(9, [&] { key(Qt::Key_End, Qt::ControlModifier); });
    std::printf("all rows fetched: Ctrl+Home %.2f ms, Ctrl+End %.2f ms\n", homeMs, endMs);
    key(Qt::Key_Home, Qt::ControlModifier);
    const double pageMs = MedianMs(51, [&] { key(Qt::Key_PageDown); });
    std::printf("Page Down (one page, %d rows per page): %.2f ms\n",
                grid.viewport()->height() / grid.rowHeight(0), pageMs);

    // Memory: every row fetched and shown, against the dataset alone above.
    ds.Close();
    ds.Open();
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Home, Qt::ControlModifier);
    const long withGrid = ResidentKb();
    std::printf("resident memory with all rows fetched: dataset alone %.1f MB, with the grid showing them %.1f MB "
                "(grid +%.1f MB, of which %.1f MB for the empty grid's widgets, fonts and window)\n",
                alone / 1024.0, withGrid / 1024.0, (withGrid - alone) / 1024.0, (emptyGrid - beforeGrid) / 1024.0);
    return 0;
}
