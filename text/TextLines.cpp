#include "TextLines.h"

#include "ReplacingFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

std::runtime_error FileError(const char* action, const std::string& fileName)
{
    return std::runtime_error(std::string("Cannot ") + action + " file \"" + fileName + "\". "
                              + std::strerror(errno));
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
    if (nul == TNulHandling::EndsText) {
        auto end = text.find('\0');
        if (end != std::string_view::npos)
            text = text.substr(0, end);
    }
    TStringList lines;
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string ReadFileBytes(const std::string& fileName)
{
    TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw FileError("open", fileName);
    std::string bytes;
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
