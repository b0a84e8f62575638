// Volume and balance in hundredths of a decibel: the object's arithmetic and the
// conversions to the engine's linear gain and pan position.
#include <gtest/gtest.h>

#include <cmath>

#include "playback/audio_levels.h"
#include "playback/c_fgraph.h"

namespace kalvor {
namespace {

struct AttenuationCase {
    std::int32_t floor;
    std::int32_t amount;
    std::int32_t level;
};

class AttenuationTest : public ::testing::TestWithParam<AttenuationCase> {};

TEST_P(AttenuationTest, WriteGivesTheSquaredLevelWithinTheFloor) {
    const AttenuationCase c = GetParam();
    C_FGraph detached;  // no graph: the level is only stored
    detached.SetVolMinLevel(c.floor);
    detached.SetAttenuation(c.amount);
    EXPECT_EQ(detached.Attenuation(), c.level);
}

TEST(Attenuation, TheEngineHoldsTheLevelAndReadsItBackUnchanged) {
    C_FGraph graph;
    graph.Init();
    for (std::int32_t amount : {0, 2449, -5000, 9999, 20000}) {
        graph.SetAttenuation(amount);
        C_FGraph detached;
        detached.SetAttenuation(amount);
        EXPECT_EQ(graph.Attenuation(), detached.Attenuation()) << amount;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, AttenuationTest,
                         ::testing::Values(AttenuationCase{-10000, 0, 0}, AttenuationCase{-10000, -5000, -2500},
                                           AttenuationCase{-10000, 5000, -2500}, AttenuationCase{-10000, 10000, -10000},
                                           AttenuationCase{-10000, 20000, -10000}, AttenuationCase{-10000, 15, 0},
                                           AttenuationCase{-10000, 16, 0},
                                           AttenuationCase{-10000, 50, 0},    // 0.25 rounds to 0
                                           AttenuationCase{-10000, 150, -2},  // 2.25 rounds to 2
                                           AttenuationCase{-10000, 250, -6},  // 6.25 rounds to 6
                                           AttenuationCase{-200, 10, 0},      // -0.5: halves go to even
                                           AttenuationCase{-200, 30, -4},     // -4.5
                                           AttenuationCase{-200, 50, -12},    // -12.5
                                           AttenuationCase{-5000, 1000, -200}, AttenuationCase{-5000, 5000, -5000},
                                           AttenuationCase{-5000, 9000, -5000},
                                           AttenuationCase{-10000, -2147483647 - 1, -10000},
                                           AttenuationCase{0, 5000, 0}));  // a floor of 0 leaves nothing to attenuate

TEST(PlaySpeed, NothingAboveZeroStoresATenth) {
    C_FGraph graph;
    for (float speed : {0.0f, -1.0f, -0.0f}) {
        graph.SetPlaySpeed(speed);
        EXPECT_FLOAT_EQ(graph.PlaySpeed(), 0.1f) << speed;
    }
    graph.SetPlaySpeed(1.5f);
    EXPECT_FLOAT_EQ(graph.PlaySpeed(), 1.5f);
}

TEST(PanValue, TheEngineKeepsWhatWasSet) {
    C_FGraph graph;
    graph.Init();
    for (std::int32_t balance : {-10000, -600, 0, 1, 2000, 10000}) {
        graph.SetPanValue(balance);
        EXPECT_EQ(graph.PanValue(), balance);
    }
}

struct LevelCase {
    std::int32_t level;
    double gain;
};

class VolumeConversionTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(VolumeConversionTest, HundredthsOfADecibelAndLinearGainMeetBothWays) {
    const LevelCase c = GetParam();
    EXPECT_NEAR(VolumeToLinear(c.level), c.gain, 1e-12);
    EXPECT_EQ(LinearToVolume(c.gain), c.level);
}

INSTANTIATE_TEST_SUITE_P(Levels, VolumeConversionTest,
                         ::testing::Values(LevelCase{0, 1.0}, LevelCase{-2000, 0.1},
                                           LevelCase{-600, std::pow(10.0, -0.3)}, LevelCase{-4000, 0.01},
                                           LevelCase{-9999, std::pow(10.0, -4.9995)}, LevelCase{-10000, 0.0}));

TEST(VolumeConversion, OutOfRangeValuesAreHeldInRange) {
    EXPECT_EQ(VolumeToLinear(-20000), 0.0);
    EXPECT_EQ(VolumeToLinear(500), 1.0);
    EXPECT_EQ(LinearToVolume(4.0), 0);
    EXPECT_EQ(LinearToVolume(-1.0), kSilentLevel);
}

class BalanceConversionTest : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(BalanceConversionTest, PanAttenuatesTheOppositeChannelByTheBalance) {
    const std::int32_t balance = GetParam();
    const double pan = BalanceToPanorama(balance);
    // The opposite channel keeps 1 - |pan| of its amplitude.
    const double attenuationDb = balance == 0 ? 0.0 : -20.0 * std::log10(1.0 - std::abs(pan));
    EXPECT_NEAR(attenuationDb * 100.0, std::abs(balance), 1e-6);
    EXPECT_EQ(pan < 0, balance < 0);
    EXPECT_EQ(PanoramaToBalance(pan), balance);
}

INSTANTIATE_TEST_SUITE_P(Balances, BalanceConversionTest,
                         ::testing::Values(-10000, -2000, -600, -100, -1, 0, 1, 100, 600, 2000, 9999, 10000));

TEST(BalanceConversion, BeyondTheEndsCountsAsTheEnds) {
    EXPECT_EQ(BalanceToPanorama(20000), BalanceToPanorama(10000));
    EXPECT_EQ(BalanceToPanorama(-20000), BalanceToPanorama(-10000));
    EXPECT_EQ(PanoramaToBalance(1.0), 10000);
    EXPECT_EQ(PanoramaToBalance(-1.0), -10000);
}

}  // namespace
}  // namespace kalvor
