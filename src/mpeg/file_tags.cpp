#include "mpeg/file_tags.h"

#include <cstdio>

#include "mpeg/file_read.h"
#include "mpeg/frame_copy.h"

namespace kalvor {
namespace {

// A cover picture is rarely more than a few megabytes; a tag larger than this
// is more likely a damaged size than anything worth holding in memory.
constexpr std::int64_t kLargestKeptTag = 64 * 1024 * 1024;

std::vector<TagBlock> ReadBlocks(const std::string& path, const std::vector<TagSpan>& spans) {
    std::vector<TagBlock> blocks;
    for (const TagSpan& span : spans) {
        if (span.Size > kLargestKeptTag) continue;
        TagBlock block{span.Kind, std::vector<std::uint8_t>(static_cast<std::size_t>(span.Size))};
        const auto size = static_cast<std::int32_t>(span.Size);
        if (ReadAvailable(path, block.Bytes.data(), size, span.Offset) != size) continue;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

}  // namespace

std::int64_t FileTags::LeadingSize() const {
    std::int64_t size = 0;
    for (const TagBlock& block : Leading) size += static_cast<std::int64_t>(block.Bytes.size());
    return size;
}

FileTags ReadFileTags(const std::string& path, const StreamInfo& info) {
    FileTags tags;
    tags.Leading = ReadBlocks(path, LeadingTagSpans(path, info.FirstFramePos - 1));
    tags.Trailing = ReadBlocks(path, TrailingTagSpans(path, info.FirstFramePos));
    return tags;
}

bool AppendTagBlocks(const std::string& path, const std::vector<TagBlock>& blocks) {
    if (blocks.empty()) return true;
    std::FILE* file = AppendTo(path, nullptr, nullptr, 0);
    if (!file) return false;
    for (const TagBlock& block : blocks) {
        file = AppendTo(path, file, block.Bytes.data(), static_cast<std::int32_t>(block.Bytes.size()));
        if (!file) return false;
    }
    return std::fclose(file) == 0;
}

}  // namespace kalvor
