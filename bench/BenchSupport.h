#pragma once
// What the benchmarks share: wall-clock timing, peak resident memory, timing a
// peer command, and writing a data link file for the benchmark database.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

using TClock = std::chrono::steady_clock;

inline double SecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double>(TClock::now() - start).count();
}

// The process's peak resident set in KiB.
inline long PeakResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The process's resident set now, in KiB.
inline long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// Runs a shell command and returns its wall time; a failing command throws.
inline double RunShell(const std::string& command)
{
    const auto start = TClock::now();
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
    return SecondsSince(start);
}

// A data link file for the SQLite database, as Windows writes it (UTF-16LE).
inline void WriteSqliteUdl(const std::string& udlPath, const std::string& databasePath)
{
    const std::string text = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                             "Provider=SQLite;Data Source=" + databasePath + "\r\n";
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    std::ofstream(udlPath, std::ios::binary) << bytes;
}
