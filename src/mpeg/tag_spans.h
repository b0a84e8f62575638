#pragma once
// Where a file's tags lie: the ID3v2 tags in front of its first frame, and the
// APEv2, Lyrics3 and ID3v1 blocks after its audio. Only the tags' framing is
// read (identifiers, sizes, footers), never their fields: that is enough to keep
// tags out of the audio and to carry them unchanged onto what is written.
#include <cstdint>
#include <string>
#include <vector>

namespace kalvor {

enum class TagKind { Id3v2, Apev2, Lyrics3, Id3v1 };

struct TagSpan {
    TagKind Kind = TagKind::Id3v2;
    std::int64_t Offset = 0;  // 0-based
    std::int64_t Size = 0;    // bytes, header, padding and footer included
};

// The ID3v2 tags that follow one another from the start of the file, each with
// its padding and (ID3v2.4) footer, as far as they end at or before limit (the
// first frame's offset). A tag whose size runs past limit ends the list.
std::vector<TagSpan> LeadingTagSpans(const std::string& path, std::int64_t limit);

// The tag blocks at the end of the file, in file order: ID3v1, APEv2 (with or
// without its header), Lyrics3 v1 and v2, one before another in any order. None
// starts before floor (the first byte after the first frame's start). An APEv2
// footer whose size does not fit is a damaged tag of its 32 bytes, and nothing
// before it is looked at.
std::vector<TagSpan> TrailingTagSpans(const std::string& path, std::int64_t floor);

// The bytes of a file that belong to none of its tags: [Begin, End), 0-based,
// from the end of its leading ID3v2 tags to the start of its trailing blocks.
struct UntaggedBytes {
    std::int64_t Begin = 0;
    std::int64_t End = 0;
};

// UntaggedBytes of the file whose first frame starts at firstFrameOffset (0-based).
UntaggedBytes BetweenTags(const std::string& path, std::int64_t firstFrameOffset);

}  // namespace kalvor
