// The levels' store: frame places kept in a byte per frame, sets put together
// from pieces of other sets, the frames around a meeting point opened again,
// and the peaks of pixel columns.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "levels/frame_table.h"
#include "levels/level_set.h"

namespace kalvor {
namespace {

// A set over [0, end) decoded with frames every `step` bytes, frame i peaking at code 1 + i % 250.
std::unique_ptr<LevelSet> Decoded(std::int64_t end, std::int64_t step, std::int64_t stretch = 1 << 20) {
    auto set = std::make_unique<LevelSet>(2, 0, end, stretch, step);
    LevelSet::Work work;
    while (set->Claim(work)) {
        DecodedFrames frames;
        for (std::int64_t at = (work.From + step - 1) / step * step; at < work.To; at += step) {
            const auto code = static_cast<LevelCode>(1 + at / step % 250);
            frames.Offsets.push_back(at);
            frames.Peaks.insert(frames.Peaks.end(), {code, code});
        }
        set->Publish(work, frames, work.To);
        set->Release(work, true);
    }
    return set;
}

std::vector<std::int64_t> OffsetsOf(const LevelSet& set) {
    std::vector<std::int64_t> offsets;
    set.ForEachFrame(0, INT64_MAX, [&](std::int64_t at, PeakPair) { offsets.push_back(at); });
    return offsets;
}

struct Spacing {
    const char* name;
    std::int64_t (*distance)(std::size_t i);
    bool commonLengths;  // at most fifteen
};

class FrameTablePlaces : public ::testing::TestWithParam<Spacing> {};

TEST_P(FrameTablePlaces, EveryFrameIsFoundWhereItStarts) {
    FrameTable table(1);
    std::vector<std::int64_t> offsets;
    std::int64_t at = 100;
    for (std::size_t i = 0; i < 3 * FrameTable::kMarkEvery + 7; ++i) {
        const LevelCode peak = static_cast<LevelCode>(1 + i % 255);
        table.Append(at, &peak);
        offsets.push_back(at);
        at += GetParam().distance(i);
    }
    ASSERT_EQ(table.Count(), offsets.size());
    // As appended, and again once coded commonest first.
    for (int pass = 0; pass < 2; ++pass, table.ShrinkToFit()) {
        std::vector<std::int64_t> walked;
        table.Walk(0, table.Count(), [&](std::size_t, std::int64_t offset) { walked.push_back(offset); });
        EXPECT_EQ(walked, offsets);
        for (std::size_t i = 0; i < offsets.size(); i += 97) {
            EXPECT_EQ(table.OffsetOf(i), offsets[i]);
            EXPECT_EQ(table.LowerBound(offsets[i]), i);
            EXPECT_EQ(table.LowerBound(offsets[i] - 1), i);
            EXPECT_EQ(table.PeakOf(i).Left, 1 + i % 255);
        }
        EXPECT_EQ(table.LowerBound(offsets.back() + 1), table.Count());
    }
    // Half a byte for the place of a frame of a common length, a byte for its peak.
    if (GetParam().commonLengths) {
        EXPECT_LE(table.MemoryBytes(), table.Count() * 3 / 2 + 1024);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Spacings, FrameTablePlaces,
    ::testing::Values(
        Spacing{"ConstantWithPadding", [](std::size_t i) -> std::int64_t { return i % 3 ? 418 : 417; }, true},
        Spacing{"ManyLengths", [](std::size_t i) -> std::int64_t { return 100 + (i * 7919) % 400; }, false},
        Spacing{"JunkBetween", [](std::size_t i) -> std::int64_t { return i % 500 ? 418 : 70000 + i; }, true}),
    [](const auto& info) { return info.param.name; });

std::vector<std::int64_t> Every100(std::int64_t from, std::int64_t to) {
    std::vector<std::int64_t> offsets;
    for (std::int64_t at = from; at < to; at += 100) offsets.push_back(at);
    return offsets;
}

std::vector<std::int64_t> operator+(std::vector<std::int64_t> a, const std::vector<std::int64_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(LevelSetSplice, KnownFramesMoveWithTheirPiecesAndTheRestIsLeftToDecode) {
    const auto source = Decoded(10000, 100);
    const auto set =
        LevelSet::Splice(2, {{source.get(), 1000, 2000, 0}, {nullptr, 0, 500, 2000}, {source.get(), 5000, 1000, 2500}},
                         3500, 1 << 20, 100);
    EXPECT_EQ(OffsetsOf(*set), Every100(0, 2000) + Every100(2500, 3500));
    std::vector<PeakPair> peaks;
    set->RangePeaks(2500, 100, 1, peaks);
    EXPECT_EQ(peaks[0].Left, 1 + 5000 / 100 % 250);
    const LevelProgress progress = set->Progress();
    EXPECT_EQ(progress.BytesTotal, 3500);
    EXPECT_EQ(progress.BytesDone, 3000);
    LevelSet::Work work;
    ASSERT_TRUE(set->Claim(work));
    EXPECT_EQ(work.From, 2000);
    EXPECT_EQ(work.To, 2500);
}

// A writer that left out or put in bytes where pieces meet: a later piece
// starts where the earlier ends, and what none covers is decoded.
TEST(LevelSetSplice, OverlapsAreCutAndGapsLeftToDecode) {
    const auto source = Decoded(10000, 100);
    const auto set =
        LevelSet::Splice(2, {{source.get(), 0, 3000, 0}, {source.get(), 5000, 3000, 2600}}, 6000, 1 << 20, 100);
    EXPECT_EQ(OffsetsOf(*set), Every100(0, 3000) + Every100(3000, 5600));
    LevelSet::Work work;
    ASSERT_TRUE(set->Claim(work));
    EXPECT_EQ(work.From, 5600);
    EXPECT_EQ(work.To, 6000);
}

TEST(LevelSetSplice, FramesAroundAMeetingPointAreDecodedAgainBeforeTheRest) {
    const auto source = Decoded(10000, 100);
    const auto set =
        LevelSet::Splice(2, {{source.get(), 0, 5000, 0}, {source.get(), 7000, 3000, 5000}}, 8000, 1 << 20, 100);
    set->MarkPending(4850, 5250);
    EXPECT_EQ(OffsetsOf(*set), Every100(0, 4900) + Every100(5300, 8000));
    LevelSet::Work work;
    ASSERT_TRUE(set->Claim(work, 1000));
    EXPECT_EQ(work.From, 4850);
    EXPECT_EQ(work.To, 5250);
    EXPECT_FALSE(set->Claim(work, 1000));
}

TEST(LevelSetPeaks, EachRangeTakesTheLoudestFrameReachingIntoIt) {
    const auto set = Decoded(100000, 400, 30000);  // frame i peaks at 1 + i % 250, spread over stretches
    struct Case {
        std::int64_t from, step;
        int count;
        std::vector<LevelCode> expected;
    };
    const std::vector<Case> cases{
        {0, 1200, 3, {3, 6, 9}},            // three frames a range
        {399, 100, 6, {2, 2, 2, 2, 3, 3}},  // zoomed in: a frame fills every range it reaches into
        {29600, 800, 2, {76, 78}},          // across a stretch's end
        {99600, 800, 2, {250, 0}},          // past the end of the audio
    };
    for (const Case& c : cases) {
        std::vector<PeakPair> peaks;
        set->RangePeaks(c.from, c.step, c.count, peaks);
        std::vector<LevelCode> left;
        for (const PeakPair& peak : peaks) left.push_back(peak.Left);
        EXPECT_EQ(left, c.expected) << "from " << c.from << " step " << c.step;
    }
}

}  // namespace
}  // namespace kalvor
