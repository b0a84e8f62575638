#pragma once
// Bringing one block of tags up to date for a written file. Each update gives
// the block's new bytes: nothing when TagLib cannot read the block (a damaged
// tag is left out rather than carried on to confuse readers), the same bytes
// when nothing in it describes the written file, and TagLib's rendering of it
// with those fields put right when something does.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/tag_rewriter.h"

namespace kalvor {

using TagBytes = std::vector<std::uint8_t>;

// The written file as the updates see it; its length is worked out once, when
// a tag first asks for it.
class WrittenFile {
   public:
    explicit WrittenFile(const OutputFacts& facts) : facts_(facts) {}
    std::int32_t LengthMs();
    bool IsPiece() const { return facts_.Piece > 0; }
    int Piece() const { return facts_.Piece; }
    // "n/N" for piece n of N.
    std::string TrackText() const;

   private:
    const OutputFacts& facts_;
    std::optional<std::int32_t> lengthMs_;
};

// ID3v2: the length (TLEN) set, the seek tables (SEEK, MLLT, ASPI) left out,
// and, in the first tag of a piece, the track number (TRCK) set.
std::optional<TagBytes> UpdateId3v2(const TagBytes& tag, WrittenFile& file, bool first);

// APEv2: the track number ("Track") of a piece.
std::optional<TagBytes> UpdateApe(const TagBytes& tag, WrittenFile& file);

// ID3v1: the track number of a piece (ID3v1.1 holds one byte, so pieces beyond
// 255 keep the block as it is).
std::optional<TagBytes> UpdateId3v1(const TagBytes& tag, WrittenFile& file);

}  // namespace kalvor
