// Snapped copies of files made by real encoders (and a hand-built Layer I
// stream, which no Debian encoder writes), judged by mp3val and ffprobe.
#include <gtest/gtest.h>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/FCTs.h"
#include "support/audio_checkers.h"
#include "support/frame_builder.h"
#include "support/param_names.h"

namespace kalvor {
namespace {

using test::Bytes;

struct Source {
    const char* file;  // a file of tools/make-test-audio.sh, or "layer1.mp1" built here
    bool constantRate;
};
void PrintTo(const Source& s, std::ostream* os) {
    *os << s.file;
}

class SnappedPieces : public ::testing::TestWithParam<Source> {
   protected:
    std::string SourcePath() {
        const std::string name = GetParam().file;
        if (name != "layer1.mp1") return test::TestAudio(name);
        // MPEG-1 Layer I, 44.1 kHz, 288 kbit/s, stereo, with and without padding.
        Bytes stream = test::Id3v2Tag(300);
        for (int i = 0; i < 600; ++i) {
            const Bytes f = test::Frames(0xFF, i % 3 ? 0x92 : 0x90, 0x04, 1);
            stream.insert(stream.end(), f.begin(), f.end());
        }
        const std::string path = dir.file(name);
        test::WriteFile(path, stream);
        return path;
    }
    test::TempDir dir;
};

// Three pieces cut at two snapped positions: whole frames each, starting on a
// header equal to the stream's first in every scored bit (for constant-rate
// streams), and together exactly the source's audio bytes.
TEST_P(SnappedPieces, HoldWholeFramesAndJoinToTheSourceAudio) {
    const std::string src = SourcePath();
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(src, info), 1);
    const std::int32_t cut1 = info.FirstFramePos + info.AudioLength / 3;
    const std::int32_t cut2 = info.FirstFramePos + info.AudioLength * 2 / 3;
    const std::string pieces[3] = {dir.file("p1.mp3"), dir.file("p2.mp3"), dir.file("p3.mp3")};
    ASSERT_TRUE(CopyFrames(src, pieces[0], info.FirstFramePos, cut1, 0, 1).Ok());
    ASSERT_TRUE(CopyFrames(src, pieces[1], cut1, cut2, 1, 1).Ok());
    ASSERT_TRUE(CopyFrames(src, pieces[2], cut2, info.AudioEndPos, 1, 0).Ok());

    Bytes joined;
    int frames = 0;
    for (const std::string& piece : pieces) {
        const Bytes bytes = test::ReadFile(piece);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_TRUE(IsSync(bytes[0], bytes[1]));
        if (GetParam().constantRate) {
            EXPECT_EQ(HeaderLikeness({bytes[1], bytes[2], bytes[3]}, info.RefHeader), kFullLikeness) << piece;
        }
        EXPECT_EQ(test::BrokenFrameWarnings(piece), std::vector<std::string>{}) << piece;
        frames += test::Mp3valFrameCount(piece);
        joined.insert(joined.end(), bytes.begin(), bytes.end());
    }
    EXPECT_EQ(joined, test::ReadRange(src, info.FirstFramePos - 1, info.AudioLength));
    EXPECT_EQ(frames, test::Mp3valFrameCount(src));
    if (std::string(GetParam().file) != "layer1.mp1") {  // its payload is filler, not audio
        EXPECT_EQ(test::FfprobeFrameCount(pieces[1]), test::Mp3valFrameCount(pieces[1]));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SnappedPieces,
                         ::testing::Values(Source{"cbr128.mp3", true}, Source{"cbr128_plain_tags.mp3", true},
                                           Source{"vbr.mp3", false}, Source{"vbr_tags.mp3", false},
                                           Source{"lsf.mp3", true}, Source{"lsf_vbr_tags.mp3", false},
                                           Source{"mono.mp3", true}, Source{"mono_vbr.mp3", false},
                                           Source{"mp2_48k_tags.mp2", true}, Source{"ffmpeg_tags.mp3", true},
                                           Source{"layer1.mp1", true}),
                         [](const auto& i) { return test::TestNameOfFile(i.param.file); });

}  // namespace
}  // namespace kalvor
