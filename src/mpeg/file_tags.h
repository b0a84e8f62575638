#pragma once
// The tags a document keeps from the file it opened, as the bytes the file
// holds: its leading ID3v2 tags and its trailing tag blocks. They belong to the
// document, not to its audio: working files, the clipboard and undo hold audio
// only, and what kalvor writes for the user gets the tags back around its audio.
#include <cstdint>
#include <string>
#include <vector>

#include "mpeg/stream_info.h"
#include "mpeg/tag_spans.h"

namespace kalvor {

struct TagBlock {
    TagKind Kind = TagKind::Id3v2;
    std::vector<std::uint8_t> Bytes;
};

struct FileTags {
    std::vector<TagBlock> Leading;   // before the audio, in file order
    std::vector<TagBlock> Trailing;  // after it, in file order

    bool Empty() const { return Leading.empty() && Trailing.empty(); }
    std::int64_t LeadingSize() const;
};

// The tags of the file at path, whose analysis is info: the ID3v2 tags before
// its first frame and the tag blocks after its audio (TagSpans). A tag too large
// to keep in memory (beyond 64 MiB) or that cannot be read is left out.
FileTags ReadFileTags(const std::string& path, const StreamInfo& info);

// Appends the blocks' bytes to the file at path (created when missing; with no
// blocks nothing is done). False when a write failed.
bool AppendTagBlocks(const std::string& path, const std::vector<TagBlock>& blocks);

}  // namespace kalvor
