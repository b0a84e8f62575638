// Outputs repacking leaves alone or mends: Layer I and II come out as they
// always did, frames whose data lay before their file's start become silent,
// and kalvor-cli --exact-frames writes the source's frames as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/document.h"
#include "mpeg/FCT_mpeg.h"
#include "repack/exact_frames.h"
#include "repack/frame_output.h"
#include "repack/side_info.h"
#include "services/basic.h"
#include "support/document_harness.h"
#include "support/frame_builder.h"
#include "support/pcm_decode.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

// Every frame of the file at path, with its bytes; with audioOnly, a leading
// Xing/Info frame is left out.
std::vector<test::Bytes> FramesOf(const std::string& path, bool audioOnly = false) {
    std::vector<test::Bytes> frames = test::SplitFrames(test::ReadFile(path));
    const auto holds = [&](std::size_t at) {
        const test::Bytes& f = frames.front();
        return f.size() > at + 4 && (std::equal(f.begin() + at, f.begin() + at + 4, "Xing") ||
                                     std::equal(f.begin() + at, f.begin() + at + 4, "Info"));
    };
    if (audioOnly && !frames.empty() && (holds(13) || holds(21) || holds(36))) frames.erase(frames.begin());
    return frames;
}

// Writes the range from..to (fractions of the audio) of source to destination.
void WriteRange(const std::string& source, const std::string& destination, double from, double to, OutputKind kind) {
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(source, info), 1);
    const auto at = [&](double f) { return info.FirstFramePos + static_cast<std::int32_t>(f * info.AudioLength); };
    FrameOutput out(destination, kind);
    ASSERT_TRUE(Written(out, out.Append(source, at(from), at(to), 1, 1)).Ok());
    out.Finish(to < 1.0);
}

class RepackOutput : public ::testing::Test {
   protected:
    void TearDown() override { SetExactFrames(false); }
    test::TempDir dir_;
};

TEST_F(RepackOutput, LayerOneAndTwoOutputsAreTheSameEitherWay) {
    // No encoder at hand writes Layer I: its frames are built (384 kbit/s, 44.1 kHz).
    const std::string layerOne = dir_.file("layer1.mp1");
    test::WriteFile(layerOne, test::Frames(0xFF, 0xC0, 0x44, 300));
    for (const std::string& src : {test::TestAudio("mp2_48k_tags.mp2"), layerOne}) {
        for (const OutputKind kind : {OutputKind::Edited, OutputKind::Piece}) {
            SetExactFrames(true);
            WriteRange(src, dir_.file("exact.mp2"), 0.3, 0.6, kind);
            SetExactFrames(false);
            WriteRange(src, dir_.file("repacked.mp2"), 0.3, 0.6, kind);
            EXPECT_EQ(test::ReadFile(dir_.file("repacked.mp2")), test::ReadFile(dir_.file("exact.mp2"))) << src;
            RemoveFile(dir_.file("exact.mp2")), RemoveFile(dir_.file("repacked.mp2"));
        }
    }
}

TEST_F(RepackOutput, FramesWhoseDataLayBeforeTheFileBecomeSilent) {
    // Cut as frames alone, the piece's first frames take their data from
    // frames it does not hold.
    const std::string broken = dir_.file("broken.mp3"), mended = dir_.file("mended.mp3");
    SetExactFrames(true);
    WriteRange(test::TestAudio("vbr.mp3"), broken, 0.4, 0.7, OutputKind::Edited);
    SetExactFrames(false);
    const std::vector<test::Bytes> before = FramesOf(broken);
    ASSERT_GT(ReadSideInfo(before[0].data(), before[0].size())->MainDataBegin, 0);

    WriteRange(broken, mended, 0.0, 1.0, OutputKind::Edited);
    const std::vector<test::Bytes> after = FramesOf(mended, true);
    ASSERT_EQ(after.size(), before.size());
    std::size_t silent = 0;
    while (silent < after.size() && ReadSideInfo(after[silent].data(), after[silent].size())->MainDataBits() == 0)
        ++silent;
    EXPECT_GE(silent, 1u);
    EXPECT_LE(silent, 2u);
    EXPECT_EQ(ReadSideInfo(after[0].data(), after[0].size())->MainDataBegin, 0);
    // The frames after the silenced ones keep their audio bits.
    for (std::size_t i = silent; i < after.size(); ++i)
        EXPECT_EQ(ReadSideInfo(after[i].data(), after[i].size())->Part23Length,
                  ReadSideInfo(before[i].data(), before[i].size())->Part23Length)
            << i;
    EXPECT_EQ(test::Mp3valWarnings(mended), std::vector<std::string>{});
}

TEST_F(RepackOutput, ExactFramesOnTheCommandLineCopiesFramesAsTheyAre) {
    const std::string src = test::TestAudio("vbr.mp3");
    const auto split = [&](const std::string& flag, const std::string& name) {
        const test::CommandResult r = test::Run(test::ShellQuote(test::CliPath()) + flag + " split " +
                                                test::ShellQuote(src) + " " + test::ShellQuote(dir_.file(name)) + " 7");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return FramesOf(dir_.file(name.substr(0, name.size() - 4) + " - 02.mp3"));
    };
    const std::vector<test::Bytes> exact = split(" --exact-frames", "exact.mp3");
    const std::vector<test::Bytes> repacked = split("", "repacked.mp3");
    // The exact piece starts with a source frame that takes its data from
    // before it; the repacked one with a header frame and the carried frame.
    std::vector<test::Bytes> source = FramesOf(src);
    const auto at = std::find(source.begin(), source.end(), exact.front());
    ASSERT_NE(at, source.end());
    EXPECT_TRUE(std::equal(exact.begin(), exact.end(), at));
    EXPECT_EQ(repacked.size(), exact.size() + 2);
    EXPECT_EQ(repacked.back(), exact.back());
}

}  // namespace
}  // namespace kalvor
