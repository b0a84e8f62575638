#pragma once
// Levels of chosen frames, for the tests of what reads a LevelSource.
#include <cstdint>
#include <vector>

#include "document/level_source.h"

namespace kalvor::test {

class FakeLevels : public LevelSource {
   public:
    // Appends count frames of step bytes after the last (the first at position
    // 1), peaking at left and right dBFS.
    void Add(int count, double leftDb, double rightDb, std::int64_t step = 100) {
        for (int i = 0; i < count; ++i) {
            const std::int64_t pos = Frames.empty() ? 1 : Frames.back().Pos + step;
            Frames.push_back({pos, {LevelCodeOfDb(leftDb), LevelCodeOfDb(rightDb)}});
        }
    }

    std::uint64_t Revision() const override { return Rev; }
    LevelProgress Progress() const override { return Done; }
    void RangePeaks(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out) const override {
        ++RangeCalls;
        RangePeakFill fill(from, step, count, out);
        for (const FrameLevel& frame : Frames) fill.Frame(frame.Pos, frame.Peak);
        if (!Frames.empty()) fill.End(Frames.back().Pos + LastFrameBytes);
    }
    void ForEachFrame(std::int64_t from, std::int64_t to,
                      const std::function<void(const FrameLevel&)>& visit) const override {
        for (const FrameLevel& frame : Frames) {
            if (frame.Pos >= from && frame.Pos <= to) visit(frame);
        }
    }

    std::vector<FrameLevel> Frames;
    std::int64_t LastFrameBytes = 100;
    std::uint64_t Rev = 1;
    LevelProgress Done;
    mutable int RangeCalls = 0;
};

}  // namespace kalvor::test
