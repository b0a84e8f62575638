#include "mpeg/stream_compat.h"

#include <gtest/gtest.h>

namespace kalvor {
namespace {

StreamInfo Stream(int lsf, int layer, int rate, std::uint8_t byte4, int bitRate = 128) {
    StreamInfo info;
    info.IsLsf = lsf;
    info.Layer = layer;
    info.SampleRate = rate;
    info.BitRate = bitRate;
    info.RefHeader = {0, 0, byte4};
    return info;
}

struct CompatCase {
    const char* name;
    StreamInfo source;
    bool match;
};

class StreamFormats : public testing::TestWithParam<CompatCase> {};

// The document: MPEG-1 Layer III, 44.1 kHz, joint stereo, 128 kbit/s.
TEST_P(StreamFormats, MatchOnlyWhenFramesCanFollowEachOther) {
    const StreamInfo document = Stream(0, 3, 44100, 0x64);
    EXPECT_EQ(StreamFormatsMatch(document, GetParam().source), GetParam().match);
    EXPECT_EQ(StreamFormatsMatch(GetParam().source, document), GetParam().match);
}

INSTANTIATE_TEST_SUITE_P(Cases, StreamFormats,
                         testing::Values(CompatCase{"same", Stream(0, 3, 44100, 0x64), true},
                                         CompatCase{"other_bit_rate", Stream(0, 3, 44100, 0x64, 320), true},
                                         CompatCase{"stereo_against_joint_stereo", Stream(0, 3, 44100, 0x04), true},
                                         CompatCase{"dual_channel", Stream(0, 3, 44100, 0x84), true},
                                         CompatCase{"rate_48k", Stream(0, 3, 48000, 0x64), false},
                                         CompatCase{"layer_2", Stream(0, 2, 44100, 0x64), false},
                                         CompatCase{"mpeg_2", Stream(1, 3, 44100, 0x64), false},
                                         CompatCase{"mono", Stream(0, 3, 44100, 0xC4), false}),
                         [](const testing::TestParamInfo<CompatCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvor
