#include "services/file_range_copy.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "services/c_file.h"

namespace kalvor {

struct FileRangeAppender::Handles {
    FileHandle source, destination;
    std::vector<std::uint8_t> buffer;
};

FileRangeAppender::FileRangeAppender(std::string source, std::string destination, std::int64_t bufferBytes)
    : source_(std::move(source)),
      destination_(std::move(destination)),
      bufferBytes_(std::max<std::int64_t>(bufferBytes, 1)),
      handles_(std::make_unique<Handles>()) {}

FileRangeAppender::~FileRangeAppender() = default;

RangeCopyFault FileRangeAppender::OpenSource() {
    if (!IsRegularFile(source_)) return RangeCopyFault::SourceUnreadable;
    handles_->source.reset(OpenUnbuffered(source_, "rb"));
    return handles_->source ? RangeCopyFault::None : RangeCopyFault::SourceUnreadable;
}

RangeCopyFault FileRangeAppender::Append(std::int64_t offset, std::int64_t count, std::int64_t& appended) {
    appended = 0;
    Handles& h = *handles_;
    if (!h.source) return RangeCopyFault::SourceUnreadable;
    // The buffer grows to what a step needs, up to bufferBytes_: a range of a
    // few frames is not copied through a megabyte cleared for it.
    const auto needed =
        static_cast<std::size_t>(std::min<std::int64_t>(std::max<std::int64_t>(count, 1), bufferBytes_));
    if (h.buffer.size() < needed) h.buffer.resize(needed);
    if (count > 0 && !SeekTo(h.source.get(), offset, SEEK_SET)) return RangeCopyFault::SourceUnreadable;
    while (appended < count) {
        const auto want = std::min(static_cast<std::size_t>(count - appended), h.buffer.size());
        const std::size_t got = std::fread(h.buffer.data(), 1, want, h.source.get());
        if (got < want && std::ferror(h.source.get())) return RangeCopyFault::SourceUnreadable;
        if (got == 0) return RangeCopyFault::SourceEnded;
        // Opened at the first byte to append, so a range past the source's end
        // leaves no file behind.
        if (!h.destination) h.destination.reset(OpenUnbuffered(destination_, "ab"));
        if (!h.destination) return RangeCopyFault::DestinationUnwritable;
        if (std::fwrite(h.buffer.data(), 1, got, h.destination.get()) != got)
            return RangeCopyFault::DestinationUnwritable;
        appended += static_cast<std::int64_t>(got);
        if (got < want) return RangeCopyFault::SourceEnded;
    }
    return RangeCopyFault::None;
}

bool FileRangeAppender::Close() {
    handles_->source.reset();
    std::FILE* destination = handles_->destination.release();
    return !destination || std::fclose(destination) == 0;
}

}  // namespace kalvor
