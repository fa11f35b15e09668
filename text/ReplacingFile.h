#pragma once
// A file written whole or not at all: the bytes go to a temporary file beside
// it through a fixed buffer, and Commit makes them durable and renames the
// temporary file over the target, which keeps the permissions of the file it
// replaces. Until Commit succeeds the target keeps its previous contents; a
// writer destroyed without Commit removes its temporary file. Failures throw
// std::runtime_error naming the target file.

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
    [[noreturn]] void Fail(const char* action);

    std::string fileName_;
    std::string tempName_;
    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    size_t buffered_ = 0;
    // Bytes handed to the kernel, how far its write-back was started, and how
    // far the cached pages were given back.
    size_t written_ = 0;
    size_t writeBackStarted_ = 0;
    size_t released_ = 0;
};
