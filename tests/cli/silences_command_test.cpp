// kalvor-cli silences and split --at-silences on the made-up file of tones and
// silences (gaps.mp3: silence from 4 to 7 s and from 11 to 14 s).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/audio_time_scale.h"
#include "services/time_text.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::ShellQuote;

test::CommandResult Cli(const std::string& words) {
    return test::Run(test::CliPath() + " " + words);
}

constexpr double kFrameMs = 1152 / 44.1;

// Where a time of the source lies on the editor's time line: its sound comes
// out of the decoder 1 105 samples later (the encoder's 576 and the decoder's
// 529), in the frame after the file's leading Info frame, and the editor
// spreads the bytes of all frames evenly over the duration.
double EditorMs(double sourceSeconds, const StreamInfo& info) {
    const double frames = (sourceSeconds * 44100 + 1105) / 1152 + 1;
    const double pos = info.FirstFramePos + frames * (144000.0 * 128 / 44100);
    return AudioTimeScale::Of(info, info.DurationMs).PosToMs(static_cast<std::int32_t>(pos));
}

// The made-up file as it is, and behind a 2 048-byte ID3v2 tag: times count
// from the first frame, so the tag moves no silence.
class SilencesCommand : public ::testing::TestWithParam<bool> {
   protected:
    std::string Source() {
        const std::string plain = test::TestAudio("gaps.mp3");
        if (!GetParam()) return plain;
        const std::string tagged = dir.file("gaps_tags.mp3");
        std::string bytes("ID3\x03\x00\x00\x00\x00\x0f\x76", 10);
        bytes.resize(2048, '\0');
        std::ifstream in(plain, std::ios::binary);
        bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::ofstream(tagged, std::ios::binary) << bytes;
        return tagged;
    }
    test::TempDir dir;
};

TEST_P(SilencesCommand, FindsBothGapsWithinAFrameOfWhereTheyWereMade) {
    const std::string path = Source();
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(path, info), 1);
    const auto r = Cli("silences " + ShellQuote(path));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<std::pair<double, double>> made{{4.0, 7.0}, {11.0, 14.0}};
    std::string from, to, length;
    for (const auto& [start, end] : made) {
        ASSERT_TRUE(lines >> from >> to >> length) << r.out;
        EXPECT_NEAR(TimeTextToMs(from), EditorMs(start, info), kFrameMs) << from;
        EXPECT_NEAR(TimeTextToMs(to), EditorMs(end, info), kFrameMs) << to;
        EXPECT_EQ(TimeTextToMs(length), TimeTextToMs(to) - TimeTextToMs(from));
    }
    EXPECT_FALSE(lines >> from);

    const auto longer = Cli("silences " + ShellQuote(path) + " --min 3.5 --threshold -60");
    EXPECT_EQ(longer.exitCode, 0) << longer.err;
    EXPECT_EQ(longer.out, "");
    EXPECT_EQ(Cli("silences " + ShellQuote(path) + " --threshold 3").exitCode, 2);
}

TEST_P(SilencesCommand, SplitAtSilencesCutsInTheMiddleOfEachGap) {
    const std::string out = dir.file("piece.mp3");
    const auto r = Cli("split " + ShellQuote(Source()) + " " + ShellQuote(out) + " --at-silences");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Each cut lies a good way into its gap: the pieces end 5.5 s and 12.5 s in.
    double end = 0;
    const std::vector<double> cuts{5.5, 12.5};
    for (int piece = 1; piece <= 3; ++piece) {
        StreamInfo info;
        ASSERT_EQ(AnalyzeStream(dir.file("piece - 0" + std::to_string(piece) + ".mp3"), info), 1) << r.out;
        end += info.DurationMs / 1000.0;
        if (piece < 3) {
            EXPECT_NEAR(end, cuts[piece - 1], 0.3) << "piece " << piece;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("piece - 04.mp3")));
}

INSTANTIATE_TEST_SUITE_P(, SilencesCommand, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Tagged" : "Plain"; });

}  // namespace
}  // namespace kalvor
