#pragma once
// A version's file held open for its levels: read from any thread at any
// offset, and still the same bytes after the document renames the file or
// removes it (the working files rotate under an open handle).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kalvor {

class SharedFile {
   public:
    // Null when the file cannot be opened.
    static std::shared_ptr<SharedFile> Open(const std::string& path);
    ~SharedFile();
    SharedFile(const SharedFile&) = delete;
    SharedFile& operator=(const SharedFile&) = delete;

    std::int64_t Size() const { return size_; }
    // Reads up to count bytes at the 0-based offset; the bytes read, 0 at the
    // end, -1 when the read failed.
    std::int64_t ReadAt(void* buffer, std::size_t count, std::int64_t offset) const;

   private:
    SharedFile(int fd, std::int64_t size) : fd_(fd), size_(size) {}
    int fd_;
    std::int64_t size_;
};

}  // namespace kalvor
