#include "ReplacingFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t BufferSize = 1 << 20;
// Write-back of the data already written is started every so many bytes, so
// the disk works while the rest is produced and the final flush finds little
// left to do.
constexpr size_t WriteBackInterval = 8 << 20;

} // namespace

TReplacingFile::TReplacingFile(std::string fileName)
    : fileName_(std::move(fileName)), tempName_(fileName_ + ".tmp~"), buffer_(new char[BufferSize])
{
    fd_ = ::open(tempName_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        throw std::runtime_error("Cannot create file \"" + fileName_ + "\". " + std::strerror(errno));
    // A replaced file keeps its permissions.
    struct stat existing {};
    if (::stat(fileName_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        ::fchmod(fd_, existing.st_mode & 07777) != 0)
        Fail("create");
}

TReplacingFile::~TReplacingFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(tempName_.c_str());
    }
}

void TReplacingFile::Fail(const char* action)
{
    const int saved = errno;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    ::unlink(tempName_.c_str());
    throw std::runtime_error(std::string("Cannot ") + action + " file \"" + fileName_ + "\". " +
                             std::strerror(saved));
}

void TReplacingFile::WriteOut(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd_, data, size);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            Fail("write");
        }
        data += put;
        size -= static_cast<size_t>(put);
        written_ += static_cast<size_t>(put);
    }
#ifdef SYNC_FILE_RANGE_WRITE
    if (written_ - writeBackStarted_ >= WriteBackInterval) {
        // The range whose write-back was started an interval ago is on disk by
        // now, mostly: its cached pages are given back, so that the next ones
        // written reuse them instead of taking fresh memory. The file is not
        // read back; a written file of hundreds of megabytes would otherwise
        // sit in the cache whole.
        if (writeBackStarted_ > released_) {
            const auto from = static_cast<off_t>(released_), size = static_cast<off_t>(writeBackStarted_ - released_);
            ::sync_file_range(fd_, from, size,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            ::posix_fadvise(fd_, from, size, POSIX_FADV_DONTNEED);
            released_ = writeBackStarted_;
        }
        // Only a hint: the final fdatasync is what makes the data durable.
        ::sync_file_range(fd_, static_cast<off_t>(writeBackStarted_), static_cast<off_t>(written_ - writeBackStarted_),
                          SYNC_FILE_RANGE_WRITE);
        writeBackStarted_ = written_;
    }
#endif
}

void TReplacingFile::Flush()
{
    WriteOut(buffer_.get(), buffered_);
    buffered_ = 0;
}

void TReplacingFile::Append(std::string_view bytes)
{
    if (fd_ < 0)
        throw std::logic_error("TReplacingFile: append after commit or failure");
    if (buffered_ + bytes.size() > BufferSize) {
        Flush();
        if (bytes.size() >= BufferSize) {
            WriteOut(bytes.data(), bytes.size());
            return;
        }
    }
    std::memcpy(buffer_.get() + buffered_, bytes.data(), bytes.size());
    buffered_ += bytes.size();
}

void TReplacingFile::Commit()
{
    if (fd_ < 0)
        throw std::logic_error("TReplacingFile: commit after commit or failure");
    Flush();
    if (::fdatasync(fd_) != 0)
        Fail("write");
    const int fd = fd_;
    fd_ = -1;  // closed below, whatever close reports
    if (::close(fd) != 0)
        Fail("write");
    if (::rename(tempName_.c_str(), fileName_.c_str()) != 0)
        Fail("replace");
}
