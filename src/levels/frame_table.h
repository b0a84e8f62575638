#pragma once
// The frames of one stretch of a file, in file order: where each starts and
// the peak of each channel. Kept small, because a long file has a great many
// frames (an hour at 44.1 kHz is 138 000): a byte per channel for the peaks and
// half a byte per frame, as a rule, for its place.
//
// A frame's place is stored as its distance from the frame before. A stream
// has few frame lengths (a constant bit rate two, with and without padding; a
// variable one a few dozen), so distances are coded: the fifteen commonest in a
// nibble, the next 255 in a byte besides, and junk of any other length in a
// list. Every kMarkEvery frames the full offset is kept, so that a frame is
// found from its offset without walking the whole table.
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "document/level_source.h"

namespace kalvor {

class FrameTable {
   public:
    static constexpr std::size_t kMarkEvery = 4096;

    explicit FrameTable(int channels = 2);

    int Channels() const { return channels_; }
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }

    // Room for this many frames without growing.
    void Reserve(std::size_t frames);
    // Codes the commonest distances shortest and gives back the room beyond
    // the frames held. Call when no more frames come.
    void ShrinkToFit();
    // Bytes held, room included.
    std::size_t MemoryBytes() const;

    // Appends a frame starting at the 0-based offset, after the last frame's
    // start; peaks holds Channels() codes.
    void Append(std::int64_t offset, const LevelCode* peaks);
    // Appends a frame with the peaks of a pair (the louder one for a mono table).
    void Append(std::int64_t offset, const PeakPair& peak);

    // The index of the first frame starting at or after offset (Count() when none).
    std::size_t LowerBound(std::int64_t offset) const;
    std::int64_t OffsetOf(std::size_t index) const;
    PeakPair PeakOf(std::size_t index) const;
    std::int64_t LastOffset() const { return lastOffset_; }

    // Calls visit(index, offset) for the frames first..end-1, in order; a
    // visit that returns false ends the walk.
    template <class Visit>
    void Walk(std::size_t first, std::size_t end, Visit&& visit) const;

   private:
    static constexpr std::uint8_t kNibbleEscape = 15;  // the distance is coded in bytes_
    static constexpr std::uint8_t kByteEscape = 255;   // the distance is in rare_
    // Frame k * kMarkEvery: its offset, and the byte codes and rare distances
    // the frames up to it used.
    struct Mark {
        std::int64_t Offset = 0;
        std::uint32_t Bytes = 0;
        std::uint32_t Rare = 0;
    };
    // Where a walk is: the cursors into bytes_ and rare_.
    struct Cursor {
        std::size_t Byte = 0;
        std::size_t Rare = 0;
    };

    std::int64_t Distance(std::size_t index, Cursor& cursor) const;
    void Code(std::int64_t distance);
    void SetNibble(std::size_t index, std::uint8_t nibble);

    int channels_;
    std::size_t count_ = 0;
    std::int64_t lastOffset_ = -1;
    std::vector<std::uint8_t> nibbles_;  // two frames a byte, the earlier in the low half
    std::vector<std::uint8_t> bytes_;    // for each frame whose nibble is kNibbleEscape
    std::vector<std::int64_t> rare_;     // for each frame whose byte is kByteEscape
    std::vector<std::int64_t> common_;   // what nibbles 0..14 stand for
    std::vector<std::int64_t> more_;     // what bytes 0..254 stand for
    std::vector<Mark> marks_;
    std::vector<LevelCode> peaks_;  // Channels() per frame
};

inline std::int64_t FrameTable::Distance(std::size_t index, Cursor& cursor) const {
    const std::uint8_t nibble = (nibbles_[index / 2] >> (4 * (index % 2))) & 0x0F;
    if (nibble != kNibbleEscape) return common_[nibble];
    const std::uint8_t byte = bytes_[cursor.Byte++];
    if (byte != kByteEscape) return more_[byte];
    return rare_[cursor.Rare++];
}

inline PeakPair FrameTable::PeakOf(std::size_t index) const {
    if (channels_ == 1) return {peaks_[index], peaks_[index]};
    return {peaks_[2 * index], peaks_[2 * index + 1]};
}

template <class Visit>
void FrameTable::Walk(std::size_t first, std::size_t end, Visit&& visit) const {
    if (end > count_) end = count_;
    if (first >= end) return;
    const auto go = [&](std::size_t i, std::int64_t offset) {
        if constexpr (std::is_same_v<decltype(visit(i, offset)), bool>) {
            return visit(i, offset);
        } else {
            visit(i, offset);
            return true;
        }
    };
    const Mark& mark = marks_[first / kMarkEvery];
    std::size_t i = first / kMarkEvery * kMarkEvery;
    std::int64_t offset = mark.Offset;
    Cursor cursor{mark.Bytes, mark.Rare};
    while (i < first) offset += Distance(++i, cursor);
    if (!go(i, offset)) return;
    while (++i < end) {
        offset += Distance(i, cursor);
        if (!go(i, offset)) return;
    }
}

}  // namespace kalvor
