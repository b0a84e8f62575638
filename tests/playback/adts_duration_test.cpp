// Counting raw AAC frames for a length the engine cannot tell at once.
#include <gtest/gtest.h>

#include "playback/adts_duration.h"
#include "support/frame_builder.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

// One ADTS frame of length bytes (header included) at rate index 4 (44.1 kHz)
// or 3 (48 kHz), with blocks raw data blocks.
Bytes AdtsFrame(int length, int rateIndex = 4, int blocks = 1) {
    Bytes f(static_cast<std::size_t>(length), 0x21);
    f[0] = 0xFF;
    f[1] = 0xF1;                                              // MPEG-4, layer 00, no CRC
    f[2] = static_cast<std::uint8_t>(0x40 | rateIndex << 2);  // AAC LC
    f[3] = static_cast<std::uint8_t>(0x80 | (length >> 11 & 0x03));
    f[4] = static_cast<std::uint8_t>(length >> 3 & 0xFF);
    f[5] = static_cast<std::uint8_t>((length & 0x07) << 5 | 0x1F);
    f[6] = static_cast<std::uint8_t>(0xFC | (blocks - 1));
    return f;
}

Bytes Repeat(const Bytes& frame, int count) {
    Bytes all;
    for (int i = 0; i < count; ++i) all.insert(all.end(), frame.begin(), frame.end());
    return all;
}

struct AdtsCase {
    std::string name;
    Bytes bytes;
    std::int32_t ms;
};

class AdtsDurationTest : public ::testing::TestWithParam<AdtsCase> {};

TEST_P(AdtsDurationTest, CountsTheFramesUpToTheFirstNonFrame) {
    test::TempDir dir;
    const std::string path = dir.file("x.aac");
    test::WriteFile(path, GetParam().bytes);
    EXPECT_EQ(AdtsDurationMs(path), GetParam().ms);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, AdtsDurationTest,
    ::testing::Values(AdtsCase{"plain", Repeat(AdtsFrame(300), 431), 10008},           // 431 * 1024 / 44100 s
                      AdtsCase{"two_blocks", Repeat(AdtsFrame(500, 3, 2), 75), 3200},  // 150 blocks at 48 kHz
                      AdtsCase{"tagged", test::Id3v2Tag(2048) + Repeat(AdtsFrame(300), 43) + test::Id3v1Tag(), 998},
                      AdtsCase{"rate_change_ends", Repeat(AdtsFrame(300), 10) + Repeat(AdtsFrame(300, 3), 10), 232},
                      AdtsCase{"cut_header", Repeat(AdtsFrame(300), 10) + Bytes{0xFF, 0xF1, 0x50}, 232},
                      AdtsCase{"mpeg_layer3", test::Frames(0xFB, 0x90, 0x64, 20), 0}, AdtsCase{"empty", {}, 0},
                      AdtsCase{"zero_length", Bytes{0xFF, 0xF1, 0x50, 0x80, 0x00, 0x1F, 0xFC}, 0}),
    [](const auto& info) { return info.param.name; });

TEST(AdtsDuration, AMissingFileIsZero) {
    EXPECT_EQ(AdtsDurationMs("/nonexistent/x.aac"), 0);
}

}  // namespace
}  // namespace kalvor
