#include "TextLines.h"

#include "ReplacingFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::runtime_error FileError(const char* action, const std::string& fileName)
{
    return std::runtime_error(std::string("Cannot ") + action + " file \"" + fileName + "\". "
                              + std::strerror(errno));
}

std::runtime_error TooLargeError(const std::string& fileName, size_t maxBytes)
{
    constexpr size_t MB = 1 << 20;
    const std::string size = maxBytes % MB == 0 ? std::to_string(maxBytes / MB) + " MB"
                                                : std::to_string(maxBytes) + " bytes";
    return std::runtime_error("Cannot read file \"" + fileName + "\". It is larger than " + size + ".");
}

// Closes a POSIX file descriptor on every path.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    ~TFileDescriptor() { if (fd_ >= 0) ::close(fd_); }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int get() const { return fd_; }
private:
    int fd_;
};

} // namespace

TStringList SplitLines(std::string_view text, TNulHandling nul)
{
    TStringList lines;
    ForEachLine(text, nul, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

std::string ReadFileBytes(const std::string& fileName, size_t maxBytes)
{
    // Opened without waiting, so that a pipe cannot hold the program up.
    TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        throw FileError("open", fileName);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw FileError("read", fileName);
    if (!S_ISREG(info.st_mode))
        throw std::runtime_error("Cannot read file \"" + fileName + "\". It is not a regular file.");
    if (static_cast<unsigned long long>(info.st_size) > maxBytes)
        throw TooLargeError(fileName, maxBytes);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileError("read", fileName);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
        if (bytes.size() > maxBytes)  // grown since it was measured
            throw TooLargeError(fileName, maxBytes);
    }
    return bytes;
}

void WriteFileBytes(const std::string& fileName, std::string_view bytes)
{
    TReplacingFile file(fileName);
    file.Append(bytes);
    file.Commit();
}

void WriteLinesToFile(const std::string& fileName, const TStringList& lines)
{
    TReplacingFile file(fileName);
    for (const auto& line : lines) {
        file.Append(line);
        file.Append("\r\n");
    }
    file.Commit();
}
