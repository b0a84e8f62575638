// Silences found in the levels: runs of frames below the threshold in every
// channel, at least the minimum long; split points in the middle of those
// between audio.
#include <gtest/gtest.h>

#include "listwin/silences.h"
#include "support/fake_levels.h"

namespace kalvor {
namespace {

struct LevelRun {
    int frames;
    double left, right;
};

struct Case {
    const char* name;
    std::vector<LevelRun> runs;                                   // frames of 100 bytes, 10 ms each
    std::vector<std::pair<std::int32_t, std::int32_t>> silences;  // FromMs, ToMs
    std::vector<std::int32_t> points;
};

class Silences : public ::testing::TestWithParam<Case> {};

TEST_P(Silences, AreFoundAndSplitInTheMiddle) {
    test::FakeLevels levels;
    for (const LevelRun& run : GetParam().runs) levels.Add(run.frames, run.left, run.right);
    const std::int64_t last = levels.Frames.back().Pos + 99;
    const auto posToMs = [](std::int64_t pos) { return static_cast<std::int32_t>((pos - 1) / 10); };
    const std::vector<Silence> found = FindSilences(levels, 1, last, SilenceRule{}, posToMs);
    std::vector<std::pair<std::int32_t, std::int32_t>> times;
    for (const Silence& silence : found) times.emplace_back(silence.FromMs, silence.ToMs);
    EXPECT_EQ(times, GetParam().silences);
    EXPECT_EQ(SilenceSplitPoints(found), GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Silences,
    ::testing::Values(
        Case{"BetweenAudio", {{100, -6, -6}, {250, -60, -70}, {100, -6, -6}}, {{1000, 3500}}, {2250}},
        Case{"ExactlyTheMinimum", {{100, -6, -6}, {200, -60, -60}, {100, -6, -6}}, {{1000, 3000}}, {2000}},
        Case{"ShorterThanTheMinimum", {{100, -6, -6}, {199, -60, -60}, {100, -6, -6}}, {}, {}},
        Case{"AtTheThresholdIsNotBelowIt", {{100, -6, -6}, {300, -50, -50}, {100, -6, -6}}, {}, {}},
        Case{"HalfADecibelBelow", {{100, -6, -6}, {300, -50.5, -50.5}, {100, -6, -6}}, {{1000, 4000}}, {2500}},
        Case{"OneLoudChannelIsNoSilence", {{100, -6, -6}, {300, -80, -20}, {100, -6, -6}}, {}, {}},
        Case{"AtTheEdgesFoundButNotSplit",
             {{300, -90, -90}, {100, -6, -6}, {300, -90, -90}, {100, -6, -6}, {300, -90, -90}},
             {{0, 3000}, {4000, 7000}, {8000, 11000}},
             {5500}}),
    [](const auto& info) { return info.param.name; });

// A second split at the same silences, or a time given besides, adds no point twice.
TEST(SilenceSplitRows, APointAlreadyInTheListIsNotAddedAgain) {
    ListRows rows(ListMode::Split);
    rows.Add(5551, 5551, 18000);
    EXPECT_EQ(AddSplitPoints(rows, {5551, 12552}, 18000), 1);
    EXPECT_EQ(AddSplitPoints(rows, {5551, 12552}, 18000), 0);
    EXPECT_EQ(rows.Count(), 2);
}

}  // namespace
}  // namespace kalvor
