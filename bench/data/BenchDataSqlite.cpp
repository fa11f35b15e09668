// Opens a 1,000,000-row SQLite table through TConnection/TDataSet, reads the
// FieldText of every field of every record, and compares the time with the
// sqlite3 shell printing the same query. String, memo and wide-string fields
// get a text handler that supplies the value's text, as the result page
// installs one, so the memo column yields its text, not "(MEMO)".

#include "BenchSupport.h"
#include "BenchTable.h"
#include "Connection.h"
#include "DataSet.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
    constexpr int64_t rows = 1000000;
    const std::string db = EnsureBenchTable(rows);
    const std::string udl = db + ".udl";
    WriteSqliteUdl(udl, db);

    // The shell runs first, in its own process, so it leaves our peak alone.
    double shell = -1;
    if (std::system("command -v sqlite3 >/dev/null 2>&1") == 0)
        shell = RunShell("sqlite3 '" + db + "' 'SELECT * FROM t' >/dev/null");

    TConnection cn("cnAdo");
    cn.SetConnectionString("FILE NAME=" + udl);
    TDataSet ds(cn, "dsAdo");
    ds.SetCommandText("SELECT * FROM t");
    cn.Open();

    auto start = TClock::now();
    ds.Open();
    const double open = SecondsSince(start);
    for (int i = 0; i < ds.FieldCount(); ++i) {
        TField& field = ds.Fields(i);
        if (field.DataType() == ftString || field.DataType() == ftMemo || field.DataType() == ftWideString)
            field.SetOnGetText([](const TField& sender, std::string& text, bool) { text = sender.ValueText(); });
    }
    size_t bytes = 0;
    int64_t records = 0;
    auto readStart = TClock::now();
    for (ds.First(); !ds.Eof(); ds.Next(), ++records)
        for (int i = 0; i < ds.FieldCount(); ++i)
            bytes += ds.Fields(i).FieldText().size();
    const double read = SecondsSince(readStart);
    const double total = open + read;

    std::printf("rows                 %lld (%zu text bytes)\n", static_cast<long long>(records), bytes);
    std::printf("open (fetch all)     %.3f s\n", open);
    std::printf("read every FieldText %.3f s\n", read);
    std::printf("total                %.3f s, %.0f rows/s\n", total, records / total);
    if (shell > 0)
        std::printf("sqlite3 shell        %.3f s, ratio %.2f (target <= 1.5)\n", shell, total / shell);
    else
        std::printf("sqlite3 shell        not available\n");
    std::printf("peak resident        %.1f MB (target <= 250)\n", PeakResidentKb() / 1024.0);
    return 0;
}
