#include "levels/frame_table.h"

#include <algorithm>

namespace kalvor {

FrameTable::FrameTable(int channels) : channels_(channels == 1 ? 1 : 2) {}

void FrameTable::Reserve(std::size_t frames) {
    codes_.reserve(frames);
    peaks_.reserve(frames * static_cast<std::size_t>(channels_));
    marks_.reserve(frames / kMarkEvery + 1);
}

void FrameTable::ShrinkToFit() {
    codes_.shrink_to_fit();
    peaks_.shrink_to_fit();
    marks_.shrink_to_fit();
    escapes_.shrink_to_fit();
}

std::size_t FrameTable::MemoryBytes() const {
    return codes_.capacity() + peaks_.capacity() + marks_.capacity() * sizeof(std::int64_t) +
           distances_.capacity() * sizeof(std::int64_t) + escapes_.capacity() * sizeof(escapes_[0]);
}

std::uint8_t FrameTable::CodeOf(std::int64_t distance) {
    // Runs of equal lengths are the rule; the dictionary is searched only when
    // the length changes.
    if (lastCode_ != kEscape && distances_[lastCode_] == distance) return lastCode_;
    const auto found = std::find(distances_.begin(), distances_.end(), distance);
    if (found != distances_.end()) return lastCode_ = static_cast<std::uint8_t>(found - distances_.begin());
    if (distances_.size() == kEscape) return kEscape;
    distances_.push_back(distance);
    return lastCode_ = static_cast<std::uint8_t>(distances_.size() - 1);
}

void FrameTable::Append(std::int64_t offset, const LevelCode* peaks) {
    const std::size_t index = count_;
    if (index % kMarkEvery == 0) {
        marks_.push_back(offset);
        codes_.push_back(0);
    } else {
        const std::int64_t distance = offset - lastOffset_;
        const std::uint8_t code = CodeOf(distance);
        if (code == kEscape) escapes_.emplace_back(index, distance);
        codes_.push_back(code);
    }
    peaks_.insert(peaks_.end(), peaks, peaks + channels_);
    lastOffset_ = offset;
    ++count_;
}

void FrameTable::Append(std::int64_t offset, const PeakPair& peak) {
    // A mono table keeps the louder channel of a pair.
    const LevelCode codes[2] = {channels_ == 1 ? peak.Max() : peak.Left, peak.Right};
    Append(offset, codes);
}

std::size_t FrameTable::EscapeAtOrAfter(std::size_t index) const {
    const auto found = std::lower_bound(escapes_.begin(), escapes_.end(), index,
                                        [](const auto& escape, std::size_t i) { return escape.first < i; });
    return static_cast<std::size_t>(found - escapes_.begin());
}

std::int64_t FrameTable::OffsetOf(std::size_t index) const {
    const std::size_t mark = index / kMarkEvery * kMarkEvery;
    std::int64_t offset = marks_[index / kMarkEvery];
    std::size_t nextEscape = EscapeAtOrAfter(mark + 1);
    for (std::size_t i = mark + 1; i <= index; ++i) offset += Distance(i, nextEscape);
    return offset;
}

PeakPair FrameTable::PeakOf(std::size_t index) const {
    const LevelCode* peak = &peaks_[index * static_cast<std::size_t>(channels_)];
    return channels_ == 1 ? PeakPair{peak[0], peak[0]} : PeakPair{peak[0], peak[1]};
}

std::size_t FrameTable::LowerBound(std::int64_t offset) const {
    if (count_ == 0 || offset > lastOffset_) return count_;
    // The last block whose first frame starts at or before offset holds the answer,
    // or it is the first frame of the next block.
    const auto after = std::upper_bound(marks_.begin(), marks_.end(), offset);
    if (after == marks_.begin()) return 0;
    const std::size_t block = static_cast<std::size_t>(after - marks_.begin()) - 1;
    std::size_t found = std::min(count_, (block + 1) * kMarkEvery);
    Walk(block * kMarkEvery, found, [&](std::size_t i, std::int64_t at) {
        if (at < offset) return true;
        found = i;
        return false;
    });
    return found;
}

}  // namespace kalvor
