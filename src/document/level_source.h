#pragma once
// The audio levels of the document's current version: for every frame, the
// peak of each channel. The time line draws them and the split at silences
// reads them. They are decoded outside the core (src/levels), on threads of
// their own, and fill in while the user works; the core sees only this
// interface, so the view and the list can be tested with levels of their choice.
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

class LevelSource {
   public:
    virtual ~LevelSource() = default;

    // Changes whenever levels were added or replaced: whoever shows them
    // redraws when it differs from the number it drew with.
    virtual std::uint64_t Revision() const = 0;
    virtual LevelProgress Progress() const = 0;

    // For each of count ranges of step bytes, the first beginning at position
    // from: the peaks over the frames that start in it; kNoLevel in a range
    // where no decoded frame starts. out gets count entries.
    virtual void RangePeaks(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out) const = 0;

    // Every decoded frame that starts in from..to (inclusive), in file order.
    virtual void ForEachFrame(std::int64_t from, std::int64_t to,
                              const std::function<void(const FrameLevel&)>& visit) const = 0;
};

}  // namespace kalvor
