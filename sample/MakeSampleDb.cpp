// Build tool: turns sample.sql into a fresh SQLite database and writes the
// data link file that names it (UTF-16LE with a byte-order mark, as Windows
// writes .udl files).
//   make_sample_db <sample.sql> <sample.db> <sample.udl>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sqlite3.h>
#include <string>

namespace {

struct TDatabaseCloser { void operator()(sqlite3* db) const { sqlite3_close(db); } };

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteUdl(const std::string& path, const std::string& initString)
{
    std::string text = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n" + initString + "\r\n";
    std::string bytes = "\xFF\xFE";
    for (char c : text) {  // the init string is ASCII
        bytes += c;
        bytes += '\0';
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <sample.sql> <sample.db> <sample.udl>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string sql((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string dbPath = argv[2];
    std::remove(dbPath.c_str());

    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(dbPath.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, TDatabaseCloser> db(raw);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "cannot create %s: %s\n", argv[2], raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        return 1;
    }
    char* error = nullptr;
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error ? error : "error");
        sqlite3_free(error);
        db.reset();
        std::remove(dbPath.c_str());
        return 1;
    }
    if (!WriteUdl(argv[3], "Provider=SQLite;Data Source=" + BaseName(dbPath))) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
