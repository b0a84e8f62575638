#include "mpeg/file_read.h"

#include <cstdio>
#include <utility>

#include "services/arith.h"
#include "services/basic.h"
#include "services/c_file.h"

namespace kalvor {
namespace {

// Opens an existing regular file for reading, unbuffered.
FileHandle OpenForReading(const std::string& path) {
    return FileHandle(IsRegularFile(path) ? OpenUnbuffered(path, "rb") : nullptr);
}

constexpr std::int32_t kRetryWaitMs = 500;
constexpr std::int32_t kRetrySliceMs = 10;

}  // namespace

PieceReader::PieceReader(std::string path) : path_(std::move(path)), regularFile_(IsRegularFile(path_)) {}

std::int32_t PieceReader::Read(std::uint8_t* buffer, std::int32_t count, std::int64_t offset) const {
    if (!regularFile_ || count < 0 || offset < 0) return -1;
    FileHandle f(OpenUnbuffered(path_, "rb"));
    if (!f || !SeekTo(f.get(), offset, SEEK_SET)) return -1;
    if (count == 0) return 0;
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(count), f.get());
    if (got < static_cast<std::size_t>(count) && std::ferror(f.get())) return -1;
    return static_cast<std::int32_t>(got);
}

std::int32_t ReadAvailable(const std::string& path, std::uint8_t* buffer, std::int32_t count, std::int64_t offset) {
    return PieceReader(path).Read(buffer, count, offset);
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
