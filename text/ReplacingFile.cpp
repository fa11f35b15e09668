#include "ReplacingFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t BufferSize = 1 << 20;
// Write-back of the data already written is started every so many bytes, so
// the disk works while the rest is produced and the final flush finds little
// left to do.
constexpr size_t WriteBackInterval = 8 << 20;

// Temporary files are named <name>.XXXXXX.tmp~, the name cut short enough
// for the whole to stay within the longest file name.
constexpr std::string_view TempSuffix = ".tmp~";
constexpr size_t UniquePartLength = 7;  // ".XXXXXX"
constexpr size_t MaxNameLength = NAME_MAX;
constexpr int MaxLinkDepth = 40;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TempPrefix(const std::string& target)
{
    const std::string folder = FolderOf(target);
    std::string name = target.substr(folder.size());
    name.resize(std::min(name.size(), MaxNameLength - UniquePartLength - TempSuffix.size()));
    return folder + name;
}

// The file a name stands for: its symbolic links followed, also to a target
// that does not exist yet. A loop of links is left to fail when opened.
std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) == sizeof target)
            break;
        const std::string link(target, static_cast<size_t>(length));
        path = link.front() == '/' ? link : FolderOf(path) + link;
    }
    return path;
}

// The process's umask, read without changing it where the system tells it.
mode_t CurrentUmask()
{
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Removes the temporary files of earlier saves of the target whose writers
// are gone: a live writer holds a lock on its file.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string prefix = TempPrefix(target);
    const std::string folder = FolderOf(target);
    const std::string stem = prefix.substr(folder.size());
    const std::string oldStyle = target.substr(folder.size()) + std::string(TempSuffix);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const bool ours = (name.size() == stem.size() + UniquePartLength + TempSuffix.size() &&
                           name.starts_with(stem) && name[stem.size()] == '.' && name.ends_with(TempSuffix)) ||
                          name == oldStyle;
        if (!ours)
            continue;
        const std::string path = folder + std::string(name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

TReplacingFile::TReplacingFile(std::string fileName)
    : fileName_(std::move(fileName)), target_(FollowLinks(fileName_)), buffer_(new char[BufferSize])
{
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISREG(existing.st_mode) &&
        ((existing.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0))
        throw std::runtime_error("Cannot replace file \"" + fileName_ + "\". The file is read-only.");

    RemoveStaleTemporaries(target_);
    // The lock tells later saves that this temporary file is alive. A file
    // removed by such a save between its creation and the lock is made anew.
    for (;;) {
        tempName_ = TempPrefix(target_) + ".XXXXXX" + std::string(TempSuffix);
        fd_ = ::mkostemps(tempName_.data(), static_cast<int>(TempSuffix.size()), O_CLOEXEC);
        if (fd_ < 0)
            break;
        struct stat created {};
        if (::flock(fd_, LOCK_EX) == 0 && ::fstat(fd_, &created) == 0 && created.st_nlink > 0)
            break;
        ::close(fd_);
    }
    if (fd_ < 0) {
        const int error = errno;
        tempName_.clear();
        // A folder that takes no new file: the file itself may still be written.
        if (exists && S_ISREG(existing.st_mode) && (error == EACCES || error == EPERM || error == EROFS))
            fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0)
            throw std::runtime_error("Cannot create file \"" + fileName_ + "\". " + std::strerror(error));
        return;
    }
    if (exists && S_ISREG(existing.st_mode)) {
        // The owner first: changing it may clear the set-id bits the mode restores.
        if (::fchown(fd_, existing.st_uid, existing.st_gid) != 0)
            (void)::fchown(fd_, static_cast<uid_t>(-1), existing.st_gid);
        if (::fchmod(fd_, existing.st_mode & 07777) != 0)
            Fail("create");
    } else if (::fchmod(fd_, 0666 & ~CurrentUmask()) != 0) {
        Fail("create");
    }
}

TReplacingFile::~TReplacingFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
        if (!tempName_.empty())
            ::unlink(tempName_.c_str());
    }
}

void TReplacingFile::Fail(const char* action)
{
    Fail(action, errno);
}

void TReplacingFile::Fail(const char* action, int error)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!tempName_.empty())
        ::unlink(tempName_.c_str());
    throw std::runtime_error(std::string("Cannot ") + action + " file \"" + fileName_ + "\". " +
                             std::strerror(error));
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
    // Rewritten in place, the file is cut where the new contents end.
    if (tempName_.empty() && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0)
        Fail("write");
    if (::fdatasync(fd_) != 0)
        Fail("write");
    // Renamed while still open: the lock keeps other saves from taking the
    // temporary file for a stale one.
    if (!tempName_.empty() && ::rename(tempName_.c_str(), target_.c_str()) != 0)
        Fail("replace");
    const bool replaced = !tempName_.empty();
    tempName_.clear();
    const int fd = fd_;
    fd_ = -1;  // closed below, whatever close reports
    if (::close(fd) != 0)
        Fail("write");
    if (!replaced)
        return;
    // The new name itself is durable once the folder is.
    const std::string folder = FolderOf(target_);
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
