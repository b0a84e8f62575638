#include "services/file_range_copy.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

namespace kalvor {
namespace {

bool SeekTo(std::FILE* f, std::int64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, offset, SEEK_SET) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

// Unbuffered: every read and write goes straight between the file and the
// appender's one buffer, and a full disk shows at the write that meets it.
std::FILE* OpenUnbuffered(const std::string& path, const char* mode) {
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (f) std::setvbuf(f, nullptr, _IONBF, 0);
    return f;
}

}  // namespace

struct FileRangeAppender::Handles {
    std::FILE* source = nullptr;
    std::FILE* destination = nullptr;
    std::vector<std::uint8_t> buffer;

    ~Handles() {
        if (source) std::fclose(source);
        if (destination) std::fclose(destination);
    }
};

FileRangeAppender::FileRangeAppender(std::string source, std::string destination, std::int64_t bufferBytes)
    : source_(std::move(source)),
      destination_(std::move(destination)),
      bufferBytes_(std::max<std::int64_t>(bufferBytes, 1)),
      handles_(std::make_unique<Handles>()) {}

FileRangeAppender::~FileRangeAppender() = default;

RangeCopyFault FileRangeAppender::OpenSource() {
    // Folders and devices are refused up front: a folder opens on some systems
    // and then fails oddly, and a pipe would keep the copy waiting for a writer.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(source_), ec)) return RangeCopyFault::SourceUnreadable;
    handles_->source = OpenUnbuffered(source_, "rb");
    return handles_->source ? RangeCopyFault::None : RangeCopyFault::SourceUnreadable;
}

RangeCopyFault FileRangeAppender::Append(std::int64_t offset, std::int64_t count, std::int64_t& appended) {
    appended = 0;
    Handles& h = *handles_;
    if (!h.source) return RangeCopyFault::SourceUnreadable;
    if (h.buffer.empty()) h.buffer.resize(static_cast<std::size_t>(bufferBytes_));
    if (count > 0 && !SeekTo(h.source, offset)) return RangeCopyFault::SourceUnreadable;
    while (appended < count) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(count - appended, bufferBytes_));
        const std::size_t got = std::fread(h.buffer.data(), 1, want, h.source);
        if (got < want && std::ferror(h.source)) return RangeCopyFault::SourceUnreadable;
        if (got == 0) return RangeCopyFault::SourceEnded;
        // Opened at the first byte to append, so a range past the source's end
        // leaves no file behind.
        if (!h.destination && !(h.destination = OpenUnbuffered(destination_, "ab")))
            return RangeCopyFault::DestinationUnwritable;
        if (std::fwrite(h.buffer.data(), 1, got, h.destination) != got) return RangeCopyFault::DestinationUnwritable;
        appended += static_cast<std::int64_t>(got);
        if (got < want) return RangeCopyFault::SourceEnded;
    }
    return RangeCopyFault::None;
}

bool FileRangeAppender::Close() {
    Handles& h = *handles_;
    if (h.source) std::fclose(h.source);
    h.source = nullptr;
    bool ok = true;
    if (h.destination) ok = std::fclose(h.destination) == 0;
    h.destination = nullptr;
    return ok;
}

}  // namespace kalvor
