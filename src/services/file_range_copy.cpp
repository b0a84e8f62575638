#include "services/file_range_copy.h"

#include <algorithm>
#include <utility>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#define KALVOR_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#else
#include <cstdio>
#include <filesystem>
#endif

namespace kalvor {

#ifdef KALVOR_POSIX_FILES

namespace {

void CloseIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Opens an existing regular file for reading. Without O_NONBLOCK, opening a
// pipe would wait for a writer; anything but a regular file is refused.
int OpenRegularForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Opened without O_APPEND (the kernel copy refuses such a target) and placed
// at the end, so the appender's writes go after the old contents.
int OpenForAppending(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    if (::lseek(fd, 0, SEEK_END) < 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

struct FileRangeAppender::Handles {
    int source = -1;
    int destination = -1;
    bool kernelCopy = true;  // until the system declines once
    std::vector<std::uint8_t> buffer;

    ~Handles() {
        CloseIfOpen(source);
        CloseIfOpen(destination);
    }

    // Copies in the kernel. Bytes copied (0 at the source's end), or -1 when the
    // system declined or failed: the caller then does the step through the
    // buffer, which tells a failed read from a failed write.
    std::int64_t KernelCopy(std::int64_t offset, std::int64_t count) {
#ifdef __linux__
        if (!kernelCopy) return -1;
        auto in = static_cast<off_t>(offset);
        const ssize_t n = ::copy_file_range(source, &in, destination, nullptr, static_cast<std::size_t>(count), 0);
        if (n >= 0) return n;
        if (errno != EINTR) kernelCopy = false;
        return -1;
#else
        (void)offset, (void)count;
        return -1;
#endif
    }

    // Through the buffer: bytes read and written (0 at the source's end), or a fault.
    RangeCopyFault BufferedCopy(std::int64_t offset, std::int64_t count, std::int64_t& copied) {
        copied = 0;
        if (buffer.empty()) buffer.resize(static_cast<std::size_t>(BufferBytes));
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(count, BufferBytes));
        ssize_t got;
        do got = ::pread(source, buffer.data(), want, static_cast<off_t>(offset));
        while (got < 0 && errno == EINTR);
        if (got < 0) return RangeCopyFault::SourceUnreadable;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put =
                ::write(destination, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return RangeCopyFault::DestinationUnwritable;
            done += put;
            copied += put;
        }
        return RangeCopyFault::None;
    }
};

RangeCopyFault FileRangeAppender::OpenSource() {
    handles_ = std::make_unique<Handles>();
    handles_->source = OpenRegularForReading(source_);
    return handles_->source < 0 ? RangeCopyFault::SourceUnreadable : RangeCopyFault::None;
}

RangeCopyFault FileRangeAppender::Append(std::int64_t offset, std::int64_t count, std::int64_t& appended) {
    appended = 0;
    if (!handles_ || handles_->source < 0) return RangeCopyFault::SourceUnreadable;
    Handles& h = *handles_;
    while (appended < count) {
        if (h.destination < 0) {
            // Nothing is created for a range that lies past the source's end.
            struct stat st {};
            if (::fstat(h.source, &st) != 0) return RangeCopyFault::SourceUnreadable;
            if (st.st_size <= offset + appended) return RangeCopyFault::SourceEnded;
            h.destination = OpenForAppending(destination_);
            if (h.destination < 0) return RangeCopyFault::DestinationUnwritable;
        }
        const std::int64_t at = offset + appended, left = count - appended;
        std::int64_t n = h.KernelCopy(at, left);
        if (n < 0) {
            const RangeCopyFault fault = h.BufferedCopy(at, left, n);
            appended += n;
            if (fault != RangeCopyFault::None) return fault;
        } else {
            appended += n;
        }
        if (n == 0) return RangeCopyFault::SourceEnded;
    }
    return RangeCopyFault::None;
}

bool FileRangeAppender::Close() {
    if (!handles_) return true;
    CloseIfOpen(handles_->source);
    bool ok = true;
    if (handles_->destination >= 0) ok = ::close(handles_->destination) == 0;
    handles_->destination = -1;
    return ok;
}

#else  // standard C files

struct FileRangeAppender::Handles {
    std::FILE* source = nullptr;
    std::FILE* destination = nullptr;
    std::vector<std::uint8_t> buffer;
    ~Handles() {
        if (source) std::fclose(source);
        if (destination) std::fclose(destination);
    }
};

RangeCopyFault FileRangeAppender::OpenSource() {
    handles_ = std::make_unique<Handles>();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(source_), ec)) return RangeCopyFault::SourceUnreadable;
    handles_->source = std::fopen(source_.c_str(), "rb");
    if (!handles_->source) return RangeCopyFault::SourceUnreadable;
    std::setvbuf(handles_->source, nullptr, _IONBF, 0);
    return RangeCopyFault::None;
}

RangeCopyFault FileRangeAppender::Append(std::int64_t offset, std::int64_t count, std::int64_t& appended) {
    appended = 0;
    if (!handles_ || !handles_->source) return RangeCopyFault::SourceUnreadable;
    Handles& h = *handles_;
    if (h.buffer.empty()) h.buffer.resize(static_cast<std::size_t>(BufferBytes));
    while (appended < count) {
        if (_fseeki64(h.source, offset + appended, SEEK_SET) != 0) return RangeCopyFault::SourceUnreadable;
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(count - appended, BufferBytes));
        const std::size_t got = std::fread(h.buffer.data(), 1, want, h.source);
        if (got < want && std::ferror(h.source)) return RangeCopyFault::SourceUnreadable;
        if (got == 0) return RangeCopyFault::SourceEnded;
        if (!h.destination) {
            h.destination = std::fopen(destination_.c_str(), "ab");
            if (!h.destination) return RangeCopyFault::DestinationUnwritable;
            std::setvbuf(h.destination, nullptr, _IONBF, 0);
        }
        if (std::fwrite(h.buffer.data(), 1, got, h.destination) != got) return RangeCopyFault::DestinationUnwritable;
        appended += static_cast<std::int64_t>(got);
    }
    return RangeCopyFault::None;
}

bool FileRangeAppender::Close() {
    if (!handles_) return true;
    if (handles_->source) std::fclose(handles_->source);
    handles_->source = nullptr;
    bool ok = true;
    if (handles_->destination) ok = std::fclose(handles_->destination) == 0;
    handles_->destination = nullptr;
    return ok;
}

#endif

FileRangeAppender::FileRangeAppender(std::string source, std::string destination)
    : source_(std::move(source)), destination_(std::move(destination)) {}

FileRangeAppender::~FileRangeAppender() = default;

}  // namespace kalvor
