#include "mpeg/frame_header.h"

#include <gtest/gtest.h>

namespace kalvor {

TEST(FrameHeader, DecodesTheCommonMp3Header) {
    HeaderFault fault;
    const auto h = DecodeHeader({0xFB, 0x90, 0x64}, &fault);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Layer, 3);
    EXPECT_EQ(h->IsLsf, 0);
    EXPECT_EQ(h->BitRate, 128);
    EXPECT_EQ(h->SampleRate, 44100);
    EXPECT_EQ(h->ModeName, "JointStereo");
    EXPECT_EQ(fault, HeaderFault::None);
}

TEST(FrameHeader, LsfUsesItsOwnTables) {
    const auto h = DecodeHeader({0xF3, 0x90, 0xC0});
    ASSERT_TRUE(h);
    EXPECT_EQ(h->IsLsf, 1);
    EXPECT_EQ(h->BitRate, 80);
    EXPECT_EQ(h->SampleRate, 22050);
    EXPECT_EQ(h->ModeName, "Mono");
}

TEST(FrameHeader, LayerOneAndTwoTables) {
    EXPECT_EQ(BitRateOf(0xFF, 0xE0), 448);  // MPEG-1 Layer I, index 14
    EXPECT_EQ(BitRateOf(0xFD, 0xE0), 384);  // MPEG-1 Layer II
    EXPECT_EQ(BitRateOf(0xF7, 0xE0), 256);  // MPEG-2 Layer I
    EXPECT_EQ(BitRateOf(0xF5, 0xE0), 160);  // MPEG-2 Layer II
    EXPECT_EQ(SampleRateOf(0xFD, 0x04), 48000);
    EXPECT_EQ(SampleRateOf(0xF5, 0x08), 16000);
}

TEST(FrameHeader, InvalidFieldsAreNamed) {
    HeaderFault fault;
    EXPECT_FALSE(DecodeHeader({0xF0, 0x90, 0x64}, &fault));
    EXPECT_EQ(fault, HeaderFault::Layer);
    EXPECT_FALSE(DecodeHeader({0xFB, 0x00, 0x64}, &fault));
    EXPECT_EQ(fault, HeaderFault::BitRate);
    EXPECT_FALSE(DecodeHeader({0xFB, 0xF0, 0x64}, &fault));
    EXPECT_EQ(fault, HeaderFault::BitRate);
    EXPECT_FALSE(DecodeHeader({0xFB, 0x9C, 0x64}, &fault));
    EXPECT_EQ(fault, HeaderFault::SampleRate);
}

TEST(FrameHeader, SyncIsTwelveBits) {
    EXPECT_TRUE(IsSync(0xFF, 0xF0));
    EXPECT_TRUE(IsSync(0xFF, 0xFB));
    EXPECT_FALSE(IsSync(0xFF, 0xE3));  // MPEG 2.5 is not a sync
    EXPECT_FALSE(IsSync(0xFE, 0xFB));
}

TEST(HeaderLikeness, WeighsEveryScoredBit) {
    const HeaderBytes ref{0xFB, 0x90, 0x64};
    EXPECT_EQ(HeaderLikeness(ref, ref), kFullLikeness);
    EXPECT_EQ(HeaderLikeness({0xFB, 0x92, 0x64}, ref), 42);  // padding differs only
    EXPECT_EQ(HeaderLikeness({0xFB, 0xA0, 0x64}, ref), 40);  // bit-rate index 9 -> 10: two bits
    EXPECT_EQ(HeaderLikeness({0xFB, 0x80, 0x64}, ref), 41);  // bit-rate index 9 -> 8: one bit
    EXPECT_EQ(HeaderLikeness({0xF3, 0x90, 0x64}, ref), 38);  // version
    EXPECT_EQ(HeaderLikeness({0xFB, 0x90, 0x54}, ref), 38);  // mode extension 10 -> 01
    EXPECT_EQ(HeaderLikeness({0xFB, 0x90, 0xE4}, ref), 38);  // channel mode 01 -> 11
    EXPECT_EQ(HeaderLikeness({0x04, 0x6D, 0x9B}, ref), 0);   // every scored bit differs
}

TEST(HeaderLikeness, NeighbouringBitRatesNeverScoreFull) {
    for (int index = 1; index < 14; ++index) {
        const HeaderBytes low{0xFB, static_cast<std::uint8_t>(index << 4), 0x64};
        const HeaderBytes high{0xFB, static_cast<std::uint8_t>((index + 1) << 4), 0x64};
        EXPECT_LT(HeaderLikeness(low, high), kFullLikeness) << "index " << index;
        EXPECT_LT(HeaderLikeness(high, low), kFullLikeness) << "index " << index;
        // The padding bit on top changes nothing.
        EXPECT_EQ(HeaderLikeness({0xFB, static_cast<std::uint8_t>(low[1] | 0x02), 0x64}, high),
                  HeaderLikeness(low, high));
    }
}

TEST(FrameHeader, SamplesAndXingPlaceFollowVersionLayerAndChannels) {
    EXPECT_EQ(SamplesPerFrame({0xFF, 0x90, 0x00}), 384);   // MPEG-1 Layer I
    EXPECT_EQ(SamplesPerFrame({0xFD, 0x90, 0x00}), 1152);  // MPEG-1 Layer II
    EXPECT_EQ(SamplesPerFrame({0xF5, 0x90, 0x00}), 1152);  // MPEG-2 Layer II
    EXPECT_EQ(SamplesPerFrame({0xFB, 0x90, 0x64}), 1152);  // MPEG-1 Layer III
    EXPECT_EQ(SamplesPerFrame({0xF3, 0x90, 0x64}), 576);   // MPEG-2 LSF Layer III
    EXPECT_EQ(XingHeaderOffset({0xFB, 0x90, 0x64}), 36);
    EXPECT_EQ(XingHeaderOffset({0xFB, 0x90, 0xC4}), 21);
    EXPECT_EQ(XingHeaderOffset({0xF3, 0x90, 0x44}), 21);
    EXPECT_EQ(XingHeaderOffset({0xF3, 0x90, 0xC4}), 13);
}

}  // namespace kalvor
