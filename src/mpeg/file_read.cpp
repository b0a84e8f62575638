#include "mpeg/file_read.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "services/arith.h"
#include "services/basic.h"

namespace kalvor {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens an existing regular file for reading. Folders and devices are refused
// up front: a folder opens on some systems and then fails oddly, and a pipe
// would block the caller until someone writes to it.
FileHandle OpenForReading(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec)) return nullptr;
    FileHandle f(std::fopen(path.c_str(), "rb"));
    // Unbuffered: every read goes straight into the caller's buffer, exactly
    // the bytes asked for and no read-ahead.
    if (f) std::setvbuf(f.get(), nullptr, _IONBF, 0);
    return f;
}

bool SeekTo(std::FILE* f, std::int64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(f, offset, origin) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t TellOf(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return static_cast<std::int64_t>(ftello(f));
#endif
}

constexpr std::int32_t kRetryWaitMs = 500;
constexpr std::int32_t kRetrySliceMs = 10;

}  // namespace

std::int32_t ReadAvailable(const std::string& path, std::uint8_t* buffer, std::int32_t count, std::int64_t offset) {
    if (count < 0 || offset < 0) return -1;
    FileHandle f = OpenForReading(path);
    if (!f || !SeekTo(f.get(), offset, SEEK_SET)) return -1;
    if (count == 0) return 0;
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(count), f.get());
    if (got < static_cast<std::size_t>(count) && std::ferror(f.get())) return -1;
    return static_cast<std::int32_t>(got);
}

bool ReadAt(const std::string& path, std::uint8_t* buffer, std::int32_t count, std::int64_t offset, int retries) {
    const int attempts = retries > 0 ? retries : 1;
    for (int attempt = 1;; ++attempt) {
        if (ReadAvailable(path, buffer, count, offset) >= 0) return true;
        if (attempt >= attempts) return false;
        WaitWithEvents(kRetryWaitMs, kRetrySliceMs);
    }
}

std::int32_t GetFileSize64(const std::string& path, std::int64_t* fullSize) {
    if (fullSize) *fullSize = -1;
    FileHandle f = OpenForReading(path);
    if (!f || !SeekTo(f.get(), 0, SEEK_END)) return 0;
    const std::int64_t size = TellOf(f.get());
    if (size < 0) return 0;
    if (fullSize) *fullSize = size;
    return Wrap32(size);
}

}  // namespace kalvor
