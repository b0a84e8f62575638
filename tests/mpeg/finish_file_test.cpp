#include "mpeg/finish_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/crc16.h"
#include "mpeg/frame_header.h"
#include "mpeg/xing_header.h"
#include "support/audio_checkers.h"
#include "support/frame_builder.h"
#include "support/frame_cut.h"
#include "support/param_names.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

// mp3val's complaints about a Xing/Info header's counts.
std::vector<std::string> XingWarnings(const std::string& path) {
    const test::CommandResult r = test::Run("mp3val " + test::ShellQuote(path));
    std::vector<std::string> found;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (line.find("Xing header") != std::string::npos && line.find("WARNING") != std::string::npos)
            found.push_back(line);
    return found;
}

// The first offset where a and b differ, or their common length.
std::size_t FirstDifference(const Bytes& a, const Bytes& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}
std::size_t LastDifference(const Bytes& a, const Bytes& b) {
    std::size_t i = std::min(a.size(), b.size());
    while (i > 0 && a[i - 1] == b[i - 1]) --i;
    return i;
}

struct Stream {
    int rate = 0, samples = 0;
    double FrameMs() const { return samples * 1000.0 / rate; }
};
Stream StreamOf(const Bytes& bytes) {
    const HeaderBytes h{bytes[1], bytes[2], bytes[3]};
    return {SampleRateOf(h[0], h[1]), SamplesPerFrame(h)};
}

class EncoderCuts : public testing::TestWithParam<const char*> {
   protected:
    void SetUp() override {
        original = test::ReadFile(test::TestAudio(GetParam()));
        offsets = test::FrameOffsets(original);
        stream = StreamOf(original);
        header = ParseXingHeader(original.data(), offsets[1]).value();
    }
    std::string Write(const Bytes& bytes) {
        const std::string path = dir.file("out.mp3");
        test::WriteFile(path, bytes);
        return path;
    }
    XingHeader Header(const Bytes& bytes) { return ParseXingHeader(bytes.data(), offsets[1]).value(); }

    test::TempDir dir;
    Bytes original;
    std::vector<std::size_t> offsets;  // frames of the original, then its end
    Stream stream;
    XingHeader header;
};

TEST_P(EncoderCuts, ThreeSecondsOutOfTheMiddle) {
    const std::size_t dropped = static_cast<std::size_t>(3 * stream.rate / stream.samples);
    const std::size_t first = offsets.size() / 2 - dropped / 2;
    const Bytes cut = test::DropFrames(original, first, first + dropped);
    const std::string path = Write(cut);
    ASSERT_EQ(FinishWrittenFile(path, false), 1);

    const Bytes done = test::ReadFile(path);
    ASSERT_EQ(done.size(), cut.size());
    EXPECT_LT(LastDifference(done, cut), offsets[1]) << "only the header frame may change";
    EXPECT_GT(LastDifference(done, cut), FirstDifference(done, cut));

    const std::size_t frames = offsets.size() - 2 - dropped;
    const XingHeader after = Header(done);
    EXPECT_EQ(after.Frames, frames);
    EXPECT_EQ(after.Bytes, cut.size());
    EXPECT_EQ(after.IsInfo, header.IsInfo);
    ASSERT_TRUE(after.Lame) << "the tag CRC must match the rewritten bytes";
    EXPECT_EQ(after.Lame->MusicLength, cut.size());
    EXPECT_EQ(after.Lame->EncoderDelay, header.Lame->EncoderDelay);
    EXPECT_EQ(after.Lame->EndPadding, header.Lame->EndPadding);

    EXPECT_EQ(XingWarnings(path), std::vector<std::string>{});
    EXPECT_EQ(test::BrokenFrameWarnings(path), std::vector<std::string>{});
    const double trueMs = frames * stream.FrameMs();
    EXPECT_NEAR(test::FfprobeDurationMs(path), trueMs, stream.FrameMs());
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(path, info), 1);
    EXPECT_NEAR(info.DurationMs, trueMs, stream.FrameMs());
}

TEST_P(EncoderCuts, CuttingTheEndDropsTheEndPadding) {
    const Bytes cut = test::DropFrames(original, offsets.size() - 41, offsets.size() - 1);
    const std::string path = Write(cut);
    ASSERT_EQ(FinishWrittenFile(path, true), 1);
    const Bytes done = test::ReadFile(path);
    const XingHeader after = Header(done);
    EXPECT_EQ(after.Frames, offsets.size() - 42);
    ASSERT_TRUE(after.Lame);
    EXPECT_EQ(after.Lame->EndPadding, 0);
    EXPECT_EQ(after.Lame->EncoderDelay, header.Lame->EncoderDelay);
    EXPECT_EQ(XingWarnings(path), std::vector<std::string>{});
}

// The table of contents and both CRCs are rebuilt as the encoder would have
// written them for the shorter stream: the same as re-reading the file finds.
TEST_P(EncoderCuts, TableAndCrcsMatchTheNewFrames) {
    const Bytes cut = test::DropFrames(original, 10, 200);
    const std::string path = Write(cut);
    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    const Bytes done = test::ReadFile(path);
    const XingHeader after = Header(done);
    EXPECT_NE(after.Toc, header.Toc);
    EXPECT_EQ(after.Lame->MusicCrc, Crc16(done.data() + offsets[1], done.size() - offsets[1]));
    // A second pass finds nothing left to change.
    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    EXPECT_EQ(test::ReadFile(path), done);
}

TEST_P(EncoderCuts, ABrokenOffFrameIsNotCounted) {
    const Bytes head(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(offsets[300] + 100));
    const Bytes tail(original.begin() + static_cast<std::ptrdiff_t>(offsets[350]), original.end());
    const std::string path = Write(head + tail);
    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    EXPECT_EQ(Header(test::ReadFile(path)).Frames, 299 + (offsets.size() - 1 - 350));
}

INSTANTIATE_TEST_SUITE_P(Files, EncoderCuts, testing::Values("vbr.mp3", "cbr128.mp3", "lsf_vbr.mp3", "mono_vbr.mp3"),
                         [](const auto& info) { return test::TestNameOfFile(info.param); });

class UntouchedFiles : public testing::TestWithParam<const char*> {};

// Untouched encoder output is already right, and a file without a header is
// never given one: either way not a byte changes.
TEST_P(UntouchedFiles, StayByteIdentical) {
    test::TempDir dir;
    const Bytes original = test::ReadFile(test::TestAudio(GetParam()));
    const std::string path = dir.file(GetParam());
    test::WriteFile(path, original);
    EXPECT_EQ(FinishWrittenFile(path, false), 1);
    EXPECT_EQ(test::ReadFile(path), original);
}

INSTANTIATE_TEST_SUITE_P(Files, UntouchedFiles,
                         testing::Values("vbr.mp3", "cbr128.mp3", "lsf_vbr.mp3", "mono_vbr.mp3", "cbr128_plain.mp3",
                                         "vbr_tags.mp3", "cbr128_tags.mp3", "mp2_48k.mp2", "ffmpeg.mp3", "lsf.mp3"),
                         [](const auto& info) { return test::TestNameOfFile(info.param); });

// The editor finishes the files it writes while writing them: a FinishingWalk
// follows the file as it grows and Finish gives what FinishWrittenFile gives.
class FinishingWhileWriting : public testing::TestWithParam<const char*> {};

TEST_P(FinishingWhileWriting, GivesTheBytesFinishingAfterwardsGives) {
    test::TempDir dir;
    const Bytes original = test::ReadFile(test::TestAudio(GetParam()));
    const std::size_t frames = test::FrameOffsets(original).size() - 1;
    const Bytes cut = test::DropFrames(original, frames / 4, frames / 2);
    test::WriteFile(dir.file("afterwards.mp3"), cut);
    ASSERT_EQ(FinishWrittenFile(dir.file("afterwards.mp3"), true), 1);

    const std::string path = dir.file("while.mp3");
    FinishingWalk finishing(path);
    test::AppendInPieces(path, cut, {3000, 1, 20000, 417});
    EXPECT_EQ(finishing.Finish(true), 1);
    EXPECT_EQ(test::ReadFile(path), test::ReadFile(dir.file("afterwards.mp3")));
}

INSTANTIATE_TEST_SUITE_P(Files, FinishingWhileWriting,
                         testing::Values("vbr.mp3", "cbr128.mp3", "lsf_vbr.mp3", "mono_vbr.mp3", "cbr128_plain.mp3",
                                         "mp2_48k.mp2", "lsf.mp3"),
                         [](const auto& info) { return test::TestNameOfFile(info.param); });

// What the walk takes for granted does not hold: the file begins with junk, or
// with a sync that starts no frame. Finish then walks the complete file.
TEST(FinishingWalk, FallsBackWhenTheFileDoesNotBeginWithItsFirstFrame) {
    test::TempDir dir;
    const Bytes vbr = test::ReadFile(test::TestAudio("vbr.mp3"));
    const Bytes cut = test::DropFrames(vbr, 100, 300);
    for (const Bytes& lead : {Bytes(300, 0x20), Bytes{0xFF, 0xFB, 0xFF, 0x00}}) {
        const Bytes bytes = lead + cut;
        test::WriteFile(dir.file("afterwards.mp3"), bytes);
        const int expected = FinishWrittenFile(dir.file("afterwards.mp3"), false);
        const std::string path = dir.file("while.mp3");
        std::filesystem::remove(path);
        FinishingWalk finishing(path);
        test::AppendInPieces(path, bytes, {5000});
        EXPECT_EQ(finishing.Finish(false), expected);
        EXPECT_EQ(test::ReadFile(path), test::ReadFile(dir.file("afterwards.mp3")));
    }
}

// A write given up (no Finish) leaves the file as written; nothing written
// at all is a failure, as for FinishWrittenFile.
TEST(FinishingWalk, AnAbandonedOrMissingFileIsLeftAlone) {
    test::TempDir dir;
    const Bytes cut = test::DropFrames(test::ReadFile(test::TestAudio("vbr.mp3")), 100, 300);
    const std::string path = dir.file("abandoned.mp3");
    {
        FinishingWalk finishing(path);
        test::AppendInPieces(path, Bytes(cut.begin(), cut.begin() + 20000), {7000});
    }
    EXPECT_EQ(test::ReadFile(path), Bytes(cut.begin(), cut.begin() + 20000));

    FinishingWalk never(dir.file("never.mp3"));
    EXPECT_EQ(never.Finish(false), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("never.mp3")));
}

TEST(FinishWrittenFile, AFileWithoutHeaderIsLeftAsWritten) {
    test::TempDir dir;
    const Bytes cut = test::DropFrames(test::ReadFile(test::TestAudio("cbr128_plain.mp3")), 100, 300);
    test::WriteFile(dir.file("cut.mp3"), cut);
    EXPECT_EQ(FinishWrittenFile(dir.file("cut.mp3"), true), 1);
    EXPECT_EQ(test::ReadFile(dir.file("cut.mp3")), cut);
}

// Frames of another bit rate pasted behind a constant-rate stream: "Info" would
// tell readers to take the time from the byte count.
TEST(FinishWrittenFile, InfoOverMixedBitRatesBecomesXing) {
    test::TempDir dir;
    const Bytes cbr = test::ReadFile(test::TestAudio("cbr128.mp3"));
    const Bytes vbr = test::ReadFile(test::TestAudio("vbr.mp3"));
    const std::size_t vbrHeader = test::FrameOffsets(vbr)[1];
    const Bytes mixed = cbr + Bytes(vbr.begin() + static_cast<std::ptrdiff_t>(vbrHeader), vbr.end());
    const std::string path = dir.file("mixed.mp3");
    test::WriteFile(path, mixed);
    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    const Bytes done = test::ReadFile(path);
    const auto after = ParseXingHeader(done.data(), 417);
    ASSERT_TRUE(after && after->Lame);
    EXPECT_FALSE(after->IsInfo);
    EXPECT_EQ(after->Frames, 767u + 805u);
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(path, info), 1);
    EXPECT_EQ(info.IsVbr, 1);
    EXPECT_NEAR(info.DurationMs, (767 + 805) * 1152 / 44.1, 26.2);
}

TEST(FinishWrittenFile, AHeaderCountingNoFramesIsPutRight) {
    test::TempDir dir;
    Bytes bytes = test::ReadFile(test::TestAudio("vbr.mp3"));
    std::fill(bytes.begin() + 44, bytes.begin() + 48, 0);  // frames = 0, so the analysis fails
    const std::string path = dir.file("zero.mp3");
    test::WriteFile(path, bytes);
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(path, info), 0);
    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    EXPECT_EQ(ParseXingHeader(test::ReadFile(path).data(), 417)->Frames, 805u);
    EXPECT_EQ(AnalyzeStream(path, info), 1);
}

// A header frame with nothing after it: the walk searches on inside the frame
// and may meet a sync there that a frame's length leads to the end; it is no
// frame after the header frame.
TEST(FinishWrittenFile, AHeaderFrameAloneCountsNoFramesAndFinishesOnce) {
    test::TempDir dir;
    const std::size_t length = test::FrameOffsets(test::ReadFile(test::TestAudio("vbr.mp3")))[1];
    Bytes frame = test::ReadRange(test::TestAudio("vbr.mp3"), 0, length);
    const Bytes pseudo = {0xFF, 0xFB, 0x10, 0x64};  // 32 kbit/s: 104 bytes, up to the frame's end
    std::copy(pseudo.begin(), pseudo.end(), frame.end() - 104);
    const std::string path = dir.file("alone.mp3");
    test::WriteFile(path, frame);
    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    const Bytes once = test::ReadFile(path);
    EXPECT_EQ(ParseXingHeader(once.data(), once.size())->Frames, 0u);
    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    EXPECT_TRUE(test::ReadFile(path) == once);
}

TEST(FinishWrittenFile, FailsOnWhatItCannotReadOrWrite) {
    test::TempDir dir;
    EXPECT_EQ(FinishWrittenFile(dir.file("missing.mp3"), false), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.mp3")));
    EXPECT_EQ(FinishWrittenFile(dir.path().string(), false), 0);
    const Bytes wav = test::ReadFile(test::TestAudio("tone.wav"));
    test::WriteFile(dir.file("tone.wav"), wav);
    EXPECT_EQ(FinishWrittenFile(dir.file("tone.wav"), false), 0);
    EXPECT_EQ(test::ReadFile(dir.file("tone.wav")), wav);
    test::WriteFile(dir.file("empty.mp3"), {});
    EXPECT_EQ(FinishWrittenFile(dir.file("empty.mp3"), false), 0);
}

TEST(FinishWrittenFile, AReadOnlyFileIsReportedAndKept) {
    if (geteuid() == 0) GTEST_SKIP() << "the super-user writes read-only files";
    test::TempDir dir;
    const Bytes cut = test::DropFrames(test::ReadFile(test::TestAudio("vbr.mp3")), 100, 300);
    const std::string path = dir.file("cut.mp3");
    test::WriteFile(path, cut);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_EQ(FinishWrittenFile(path, false), 0);
    EXPECT_EQ(test::ReadFile(path), cut);
}

}  // namespace
}  // namespace kalvor
