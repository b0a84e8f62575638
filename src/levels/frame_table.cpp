#include "levels/frame_table.h"

#include <algorithm>

namespace kalvor {

FrameTable::FrameTable(int channels) : channels_(channels == 1 ? 1 : 2) {}

void FrameTable::Reserve(std::size_t frames) {
    nibbles_.reserve(frames / 2 + 1);
    peaks_.reserve(frames * static_cast<std::size_t>(channels_));
    marks_.reserve(frames / kMarkEvery + 1);
}

std::size_t FrameTable::MemoryBytes() const {
    return nibbles_.capacity() + bytes_.capacity() + peaks_.capacity() +
           (rare_.capacity() + common_.capacity() + more_.capacity()) * sizeof(std::int64_t) +
           marks_.capacity() * sizeof(Mark);
}

void FrameTable::SetNibble(std::size_t index, std::uint8_t nibble) {
    if (index % 2 == 0) {
        nibbles_.push_back(nibble);
    } else {
        nibbles_.back() |= static_cast<std::uint8_t>(nibble << 4);
    }
}

void FrameTable::Code(std::int64_t distance) {
    const auto common = std::find(common_.begin(), common_.end(), distance);
    if (common != common_.end() || common_.size() < kNibbleEscape) {
        if (common == common_.end()) common_.push_back(distance);
        SetNibble(count_,
                  static_cast<std::uint8_t>(std::find(common_.begin(), common_.end(), distance) - common_.begin()));
        return;
    }
    SetNibble(count_, kNibbleEscape);
    const auto more = std::find(more_.begin(), more_.end(), distance);
    if (more != more_.end() || more_.size() < kByteEscape) {
        if (more == more_.end()) more_.push_back(distance);
        bytes_.push_back(static_cast<std::uint8_t>(std::find(more_.begin(), more_.end(), distance) - more_.begin()));
        return;
    }
    bytes_.push_back(kByteEscape);
    rare_.push_back(distance);
}

void FrameTable::Append(std::int64_t offset, const LevelCode* peaks) {
    // The first frame has no distance; its nibble is never read.
    if (count_ == 0) {
        SetNibble(0, 0);
    } else {
        Code(offset - lastOffset_);
    }
    if (count_ % kMarkEvery == 0) {
        marks_.push_back({offset, static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(rare_.size())});
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

void FrameTable::ShrinkToFit() {
    // Coded again with the commonest distances first: they were coded in the
    // order they came, and a stream may not use its common lengths at first.
    std::vector<std::pair<std::size_t, std::int64_t>> ranked;  // uses, distance
    std::size_t last = 0;
    std::vector<std::int64_t> offsets;
    offsets.reserve(count_);
    Walk(0, count_, [&](std::size_t i, std::int64_t offset) {
        if (i > 0) {
            const std::int64_t distance = offset - offsets.back();
            if (last >= ranked.size() || ranked[last].second != distance) {
                last = static_cast<std::size_t>(
                    std::find_if(ranked.begin(), ranked.end(), [&](const auto& r) { return r.second == distance; }) -
                    ranked.begin());
                if (last == ranked.size()) ranked.emplace_back(0, distance);
            }
            ++ranked[last].first;
        }
        offsets.push_back(offset);
    });
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    const std::size_t count = count_;
    std::vector<LevelCode> peaks = std::move(peaks_);
    *this = FrameTable(channels_);
    for (std::size_t i = 0; i < ranked.size() && i < kNibbleEscape + kByteEscape; ++i) {
        (i < kNibbleEscape ? common_ : more_).push_back(ranked[i].second);
    }
    nibbles_.reserve(count / 2 + 1);
    marks_.reserve(count / kMarkEvery + 1);
    for (std::size_t i = 0; i < count; ++i) {
        if (i == 0) {
            SetNibble(0, 0);
        } else {
            Code(offsets[i] - offsets[i - 1]);
        }
        if (i % kMarkEvery == 0) {
            marks_.push_back(
                {offsets[i], static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(rare_.size())});
        }
        count_ = i + 1;
    }
    lastOffset_ = count > 0 ? offsets.back() : -1;
    peaks_ = std::move(peaks);
    peaks_.shrink_to_fit();
    bytes_.shrink_to_fit();
    rare_.shrink_to_fit();
}

std::int64_t FrameTable::OffsetOf(std::size_t index) const {
    std::int64_t found = 0;
    Walk(index, index + 1, [&](std::size_t, std::int64_t offset) { found = offset; });
    return found;
}

std::size_t FrameTable::LowerBound(std::int64_t offset) const {
    if (count_ == 0 || offset > lastOffset_) return count_;
    // The last block whose first frame starts at or before offset holds the
    // answer, or it is the first frame of the next block.
    const auto after = std::upper_bound(marks_.begin(), marks_.end(), offset,
                                        [](std::int64_t at, const Mark& mark) { return at < mark.Offset; });
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
