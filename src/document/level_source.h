#pragma once
// The audio levels of the document's current version: for every frame, the
// peak of each channel. The time line draws them and the split at silences
// reads them. They are decoded outside the core (src/levels), on threads of
// their own, and fill in while the user works; the core sees only this
// interface, so the view and the list can be tested with levels of their choice.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kalvor {

// A peak in one byte: 1 is -127 dBFS or quieter (digital silence too), 255 is
// full scale, in steps of half a decibel. 0 is no level at all: nothing decoded.
using LevelCode = std::uint8_t;
inline constexpr LevelCode kNoLevel = 0;
inline constexpr LevelCode kQuietestLevel = 1;
inline constexpr LevelCode kFullScaleLevel = 255;

// The code of a peak in dBFS, rounded half to even and clamped to 1..255.
LevelCode LevelCodeOfDb(double dbfs);
// The dBFS a code stands for: (code - 255) / 2; -127.5 for kNoLevel.
double DbOfLevelCode(LevelCode code);

// The peaks of a frame, or the largest over several, per channel; a mono
// stream has its one channel in both.
struct PeakPair {
    LevelCode Left = kNoLevel;
    LevelCode Right = kNoLevel;

    LevelCode Max() const { return Left > Right ? Left : Right; }
    bool Empty() const { return Left == kNoLevel && Right == kNoLevel; }
    void Merge(const PeakPair& other) {
        if (other.Left > Left) Left = other.Left;
        if (other.Right > Right) Right = other.Right;
    }
    bool operator==(const PeakPair&) const = default;
};

// One decoded frame: where it starts in the current version and its peaks.
struct FrameLevel {
    std::int64_t Pos = 0;  // 1-based byte position of the frame's first byte
    PeakPair Peak;
};

// How far the levels of the current version have come.
struct LevelProgress {
    std::int64_t BytesDone = 0;   // audio bytes whose frames are decoded
    std::int64_t BytesTotal = 0;  // audio bytes of the version
    bool Failed = false;          // the decode is over and found no frame it could decode

    bool Complete() const { return BytesDone >= BytesTotal; }
};

// Fills the ranges of RangePeaks from frames given in order: each frame's
// peaks go into every range from its start up to where the next frame starts
// (or End), so that a view zoomed in to a few bytes a range shows no gaps.
class RangePeakFill {
   public:
    // out gets count empty ranges of step bytes from from.
    RangePeakFill(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out);

    // The next frame, starting at start (after the last one's start).
    void Frame(std::int64_t start, const PeakPair& peak);
    // The last frame given ends at end (before the next frame, if any, is given).
    void End(std::int64_t end);
    // Where the ranges end.
    std::int64_t Until() const { return until_; }

   private:
    std::int64_t from_, step_, until_;
    std::vector<PeakPair>& out_;
    std::size_t range_ = 0;   // the range that holds lower_
    std::int64_t lower_ = 0;  // where that range begins
    bool open_ = false;       // a frame was given and has not ended
    std::int64_t start_ = 0;
    PeakPair peak_;
};

// Called once a frame for every frame in view: inline.
inline void RangePeakFill::Frame(std::int64_t start, const PeakPair& peak) {
    End(start);
    open_ = true;
    start_ = start;
    peak_ = peak;
}

inline void RangePeakFill::End(std::int64_t end) {
    if (!open_) return;
    open_ = false;
    if (end <= from_ || start_ >= until_) return;
    // Ranges only move forward, a step at a time: no division per frame.
    const std::int64_t start = start_ > from_ ? start_ : from_;
    while (start >= lower_ + step_) {
        lower_ += step_;
        ++range_;
    }
    out_[range_].Merge(peak_);
    std::int64_t lower = lower_ + step_;
    for (std::size_t r = range_ + 1; r < out_.size() && lower < end; ++r, lower += step_) out_[r].Merge(peak_);
}

class LevelSource {
   public:
    virtual ~LevelSource() = default;

    // Changes whenever levels were added or replaced: whoever shows them
    // redraws when it differs from the number it drew with.
    virtual std::uint64_t Revision() const = 0;
    virtual LevelProgress Progress() const = 0;

    // For each of count ranges of step bytes, the first beginning at position
    // from: the peaks over the decoded frames that lie in it, whole or in part
    // (a frame reaches to where the next one starts); kNoLevel in a range no
    // decoded frame touches. out gets count entries (RangePeakFill fills them).
    virtual void RangePeaks(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out) const = 0;

    // Every decoded frame that starts in from..to (inclusive), in file order.
    virtual void ForEachFrame(std::int64_t from, std::int64_t to,
                              const std::function<void(const FrameLevel&)>& visit) const = 0;
};

}  // namespace kalvor
