#pragma once
// A file written whole or not at all: the bytes go through a fixed buffer to
// a temporary file of a name of its own beside the target, and Commit makes
// them durable and renames the temporary file over the target.
//
// - Until Commit succeeds the target keeps its previous contents; a writer
//   destroyed without Commit, or failing, removes its temporary file.
// - Writers of one file at the same time never share a temporary file: the
//   last to commit wins whole. Temporary files left by a killed writer are
//   removed by the next save of that file.
// - The new file keeps the mode, owner and group of the file it replaces (as
//   far as the process may set them); a new file gets the mode the umask
//   leaves of 0666.
// - A symbolic link stays: the file it points to is replaced, in its folder.
// - A file the user cannot write (or with no write permission for anyone) is
//   not replaced.
// - When the folder takes no new file but the file itself is writable, the
//   file is rewritten in place, the only way left.
//
// Failures throw std::runtime_error naming the target file.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class TReplacingFile {
public:
    explicit TReplacingFile(std::string fileName);
    ~TReplacingFile();
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    void Append(std::string_view bytes);
    void Commit();

private:
    void Flush();
    void WriteOut(const char* data, size_t size);
    [[noreturn]] void Fail(const char* action, int error);
    [[noreturn]] void Fail(const char* action);

    std::string fileName_;  // as the caller named it, for messages
    std::string target_;    // the file replaced: fileName_ with its symbolic links followed
    std::string tempName_;  // empty when the file is rewritten in place
    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    size_t buffered_ = 0;
    // Bytes handed to the kernel, how far its write-back was started, and how
    // far the cached pages were given back.
    size_t written_ = 0;
    size_t writeBackStarted_ = 0;
    size_t released_ = 0;
};
