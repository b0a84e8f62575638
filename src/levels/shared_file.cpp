#include "levels/shared_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kalvor {

std::shared_ptr<SharedFile> SharedFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<SharedFile>(new SharedFile(fd, status.st_size));
}

SharedFile::~SharedFile() {
    ::close(fd_);
}

std::int64_t SharedFile::ReadAt(void* buffer, std::size_t count, std::int64_t offset) const {
    for (;;) {
        const ssize_t got = ::pread(fd_, buffer, count, static_cast<off_t>(offset));
        if (got >= 0) return got;
        if (errno != EINTR) return -1;
    }
}

}  // namespace kalvor
