#pragma once
// What the benchmarks share: wall-clock timing, peak resident memory, timing a
// peer command or measuring a child process, and writing a data link file for
// the benchmark database.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

struct TMeasured {
    double seconds = 0;
    double peakMb = 0;
};

// Runs the program with its standard output into a file (or /dev/null) and,
// when one is named, its standard input from a file, and measures it; a
// failing run throws.
inline TMeasured RunMeasured(const std::vector<std::string>& command, const std::string& outputFile = "/dev/null",
                             const std::string& inputFile = {})
{
    std::vector<char*> argv;
    for (const auto& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    const auto start = TClock::now();
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        const int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || dup2(out, STDOUT_FILENO) < 0)
            _exit(127);
        if (!inputFile.empty()) {
            const int in = ::open(inputFile.c_str(), O_RDONLY);
            if (in < 0 || dup2(in, STDIN_FILENO) < 0)
                _exit(127);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    TMeasured measured{SecondsSince(start), usage.ru_maxrss / 1024.0};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("failed: " + command[0] + " " + (command.size() > 1 ? command[1] : ""));
    return measured;
}

// The number of lines of a text file.
inline size_t LineCount(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    size_t lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines;
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
