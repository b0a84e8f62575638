#pragma once
// The tag layer as the core sees it. The core finds a file's tags and carries
// their bytes; what a written file's tags say about that file (its length, its
// place in a split) is put right by a layer that knows the tag formats (TagLib).
// Without one, files are written as audio only.
#include <cstdint>
#include <functional>

#include "mpeg/file_tags.h"

namespace kalvor {

// What a written file is, for the tag fields that describe it.
struct OutputFacts {
    // The file's playing time in milliseconds; asked only when a tag states it.
    std::function<std::int32_t()> LengthMs;
    int Piece = 0;   // a split piece's number (1-based), 0 for any other file
    int Pieces = 0;  // how many pieces the split makes
};

class TagRewriter {
   public:
    virtual ~TagRewriter() = default;
    // The tags for a written file: each block of tags as it stands where nothing
    // in it describes the file, brought up to date where something does (a
    // length, a seek table, a track number on split pieces), left out where it
    // cannot be read. Never throws.
    virtual FileTags ForOutput(const FileTags& tags, const OutputFacts& facts) const = 0;
};

}  // namespace kalvor
