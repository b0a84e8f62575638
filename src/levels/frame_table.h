#pragma once
// The frames of one stretch of a file, in file order: where each starts and
// the peak of each channel. Kept small, because a long file has a great many
// frames (an hour at 44.1 kHz is 138 000): a byte per channel for the peaks and
// a byte per frame for its place. The place is stored as the distance from the
// frame before, coded as an index into the few distances the stream uses (a
// stream has a handful of frame lengths, junk between frames adds a rare
// other); every kMarkEvery frames the full offset is kept, so that a frame is
// found from its offset without walking the whole table.
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
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
    // Gives back the room beyond the frames held.
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
    static constexpr std::uint8_t kEscape = 255;  // the distance is in escapes_
    std::int64_t Distance(std::size_t index, std::size_t& nextEscape) const;
    std::size_t EscapeAtOrAfter(std::size_t index) const;
    std::uint8_t CodeOf(std::int64_t distance);

    int channels_;
    std::size_t count_ = 0;
    std::int64_t lastOffset_ = -1;
    std::vector<std::uint8_t> codes_;                            // per frame: distance from the one before
    std::vector<std::int64_t> distances_;                        // what the codes stand for, at most 255
    std::vector<std::pair<std::size_t, std::int64_t>> escapes_;  // (index, distance) of uncoded distances
    std::vector<std::int64_t> marks_;                            // offset of frame k * kMarkEvery
    std::vector<LevelCode> peaks_;                               // Channels() per frame
    std::uint8_t lastCode_ = kEscape;
};

inline std::int64_t FrameTable::Distance(std::size_t index, std::size_t& nextEscape) const {
    const std::uint8_t code = codes_[index];
    if (code != kEscape) return distances_[code];
    return escapes_[nextEscape++].second;
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
    std::int64_t offset = OffsetOf(first);
    std::size_t nextEscape = EscapeAtOrAfter(first + 1);
    if (!go(first, offset)) return;
    for (std::size_t i = first + 1; i < end; ++i) {
        // A marked frame keeps its offset whole and has no distance coded.
        offset = (i % kMarkEvery == 0) ? marks_[i / kMarkEvery] : offset + Distance(i, nextEscape);
        if (!go(i, offset)) return;
    }
}

}  // namespace kalvor
