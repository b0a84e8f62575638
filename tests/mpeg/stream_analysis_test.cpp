#include "mpeg/FCT_mpeg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "services/arith.h"
#include "support/audio_checkers.h"
#include "support/frame_builder.h"
#include "support/param_names.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

Bytes Filler(std::size_t n, std::uint8_t value = 0x00) {
    return Bytes(n, value);
}
Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
// A header FF b2 b3 b4 followed by filler up to length bytes.
Bytes Header(std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, int length = 48) {
    return test::Frame(b2, b3, b4, length, 0x00);
}
// A first frame carrying a "Xing" (or "Info") header at xingOffset that counts frames.
Bytes XingFrame(std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, int xingOffset, std::uint32_t frames,
                const char* tag = "Xing") {
    Bytes f = Header(b2, b3, b4, 400);
    std::copy(tag, tag + 4, f.begin() + xingOffset);
    for (int i = 0; i < 4; ++i) f[static_cast<std::size_t>(xingOffset + 8 + i)] = (frames >> (24 - 8 * i)) & 0xFF;
    return f;
}

class Analysis : public ::testing::Test {
   protected:
    AnalysisResult Analyze(const Bytes& bytes, const std::string& name = "x.mp3") {
        path = dir.file(name);
        test::WriteFile(path, bytes);
        return AnalyzeStreamWhy(path, info);
    }
    test::TempDir dir;
    std::string path;
    StreamInfo info;
};

TEST_F(Analysis, FortyEightBytesAreTheShortestStream) {
    EXPECT_EQ(Analyze(Header(0xFB, 0x90, 0x64, 47)).Fault, AnalysisFault::TooShort);
    ASSERT_TRUE(Analyze(Header(0xFB, 0x90, 0x64, 48)).Ok());
    EXPECT_EQ(info.FirstFramePos, 1);
    EXPECT_EQ(info.AudioLength, 48);
    EXPECT_EQ(info.AudioEndPos, 48);
    EXPECT_EQ(info.FileSize, 48);
    EXPECT_EQ(info.DurationMs, 3);
    EXPECT_EQ(info.LongText, "mp3(44100Hz/128kbps/JointStereo)");
    EXPECT_EQ(info.RefHeader, (HeaderBytes{0xFB, 0x90, 0x64}));
    EXPECT_EQ(AnalyzeStream(path, info), 1);
}

struct StartCase {
    const char* what;
    Bytes bytes;
    std::int32_t firstFramePos;
    std::string name = "x.mp3";
};
void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.what;
}
class FirstFrame : public Analysis, public ::testing::WithParamInterface<StartCase> {};

TEST_P(FirstFrame, IsFoundWhereTheSearchRulesPutIt) {
    ASSERT_TRUE(Analyze(GetParam().bytes, GetParam().name).Ok());
    EXPECT_EQ(info.FirstFramePos, GetParam().firstFramePos);
}

const Bytes kFrame = Header(0xFB, 0x90, 0x64, 400);
// Three whole 128 kbit/s frames: each is confirmed by the next.
const Bytes kChain = test::Frames(0xFB, 0x90, 0x64, 3, 0x00);
// An ID3v2 tag of 60 bytes holding UTF-16 text: FF FE 68 00 is a 32 kHz Layer I sync.
const Bytes kTagWithSync = [] {
    Bytes tag = test::Id3v2Tag(60);
    const Bytes text = {0xFF, 0xFE, 0x68, 0x00};
    std::copy(text.begin(), text.end(), tag.begin() + 20);
    return tag;
}();
// A false 24 kHz sync whose next frame would start at +432, inside junk.
const Bytes kFalseSync = Filler(100, 0x55) + Bytes{0xFF, 0xF3, 0xD4, 0x44} + Filler(300, 0x55);
const Bytes kDecoy = Header(0xFB, 0x90, 0x64, 20);
// Three MPEG 2.5 frames: 80 kbit/s at 11.025 kHz, 72 * 80 000 / 11 025 bytes each.
const Bytes kMpeg25Chain =
    Header(0xE3, 0x90, 0x64, 522) + Header(0xE3, 0x90, 0x64, 522) + Header(0xE3, 0x90, 0x64, 522);
// The same, with an MPEG-1 pseudo-header 100 bytes before the end, where no next frame can follow it.
const Bytes kMpeg25WithPseudoHeader = [] {
    Bytes b = kMpeg25Chain;
    const Bytes h = {0xFF, 0xFB, 0x90, 0x64};
    std::copy(h.begin(), h.end(), b.end() - 100);
    return b;
}();
// ID3v2 size bytes 00 00 02 01: 257 bytes after the 10-byte header; a sync inside the tag is passed over.
const Bytes kId3Size257 = Text("ID3") + Bytes{3, 0, 0, 0, 0, 2, 1} + Filler(80) + kDecoy + Filler(157);

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstFrame,
    ::testing::Values(
        StartCase{"id3v2", kId3Size257 + kFrame, 268},
        StartCase{"tag_block_in_front", Text("TAG") + Filler(47) + kDecoy + Filler(58) + kFrame, 129},
        StartCase{"ff_ff_in_mp3", Bytes{0xFF} + kFrame, 2},
        StartCase{
            "remembered_second_byte",
            Header(0xFB, 0xFF, 0x64, 100) + Header(0xFA, 0x90, 0x64, 100) + Header(0xFB, 0xFF, 0x64, 100) + kFrame,
            301},
        StartCase{"invalid_header_passed_over", Header(0xFB, 0x00, 0x64, 100) + kChain, 101},
        StartCase{"false_sync_in_junk", kFalseSync + kChain, 405},
        StartCase{"unconfirmed_falls_back_to_the_first_candidate", kFalseSync + Header(0xFB, 0x90, 0x64, 500), 101},
        StartCase{"two_id3v2_tags", test::Id3v2Tag(50) + kTagWithSync + kChain, 111},
        StartCase{"mpeg_2_5_before_a_stream", kMpeg25Chain + kChain, 1567},
        StartCase{"riff_of_mpeg",
                  Text("RIFF") + Filler(4) + Text("WAVEfmt ") + Filler(4) + Bytes{0x55, 0} + Filler(100) + kFrame,
                  123}),
    [](const auto& info) { return std::string(info.param.what); });

// The search reads blocks that overlap by two bytes, so a header is found
// wherever it lies, across every block edge.
TEST_F(Analysis, AFrameIsFoundAcrossEveryBlockEdge) {
    // Blocks of 1000, 2000, 4000 bytes from offset 0, each two bytes into the last.
    for (std::size_t edge : {0, 998, 2996, 6994}) {
        for (std::size_t offset = edge < 4 ? 0 : edge - 4; offset < edge + 4; ++offset) {
            ASSERT_TRUE(Analyze(Filler(offset) + kFrame).Ok()) << offset;
            ASSERT_EQ(info.FirstFramePos, static_cast<std::int32_t>(offset + 1));
        }
    }
}

TEST_F(Analysis, FfFfIsASyncOutsideMp3Files) {
    // FF FF FB is a sync in an .mp2 file, but it does not decode (Layer I,
    // bit-rate index 15): the search goes on to the frame after it.
    ASSERT_TRUE(Analyze(Bytes{0xFF} + kFrame, "x.mp2").Ok());
    EXPECT_EQ(info.FirstFramePos, 2);
}

TEST_F(Analysis, InvalidHeaderWithNoFrameAfterItNamesTheField) {
    EXPECT_EQ(Analyze(Header(0xF0, 0x90, 0x64)).Field, HeaderFault::Layer);
    EXPECT_EQ(Analyze(Header(0xFB, 0x00, 0x64)).Field, HeaderFault::BitRate);
    EXPECT_EQ(Analyze(Header(0xFB, 0x9C, 0x64)).Field, HeaderFault::SampleRate);
    EXPECT_EQ(Analyze(Header(0xFB, 0x9C, 0x64)).Fault, AnalysisFault::InvalidHeader);
}

TEST_F(Analysis, AudioEndsAtTheEarliestTagOfTheLastKilobyte) {
    const Bytes audio = kFrame + Filler(5000, 0x55);
    ASSERT_TRUE(Analyze(test::Id3v2Tag(300) + audio + test::Id3v1Tag()).Ok());
    EXPECT_EQ(info.FirstFramePos, 301);
    EXPECT_EQ(info.AudioLength, static_cast<std::int32_t>(audio.size()));
    EXPECT_EQ(info.AudioEndPos, 300 + static_cast<std::int32_t>(audio.size()));

    ASSERT_TRUE(Analyze(audio + Text("TAG") + Filler(500, 0x55) + test::Id3v1Tag()).Ok());
    EXPECT_EQ(info.AudioLength, static_cast<std::int32_t>(audio.size()));

    // Only the last kilobyte counts; a "TAG" before the first frame is no end of audio.
    ASSERT_TRUE(Analyze(audio + Text("TAG") + Filler(1024, 0x55)).Ok());
    EXPECT_EQ(info.AudioLength, info.FileSize);
    ASSERT_TRUE(Analyze(Text("TAG") + Filler(125) + kFrame).Ok());
    EXPECT_EQ(info.AudioLength, 400);
}

TEST_F(Analysis, ConstantRateDurationAndSnapWindow) {
    ASSERT_TRUE(Analyze(Header(0xFB, 0x90, 0x64, 1000000)).Ok());
    EXPECT_EQ(info.DurationMs, 62500);
    EXPECT_EQ(info.SnapWindow, 1254);
    EXPECT_EQ(info.IsVbr, 0);
    // A constant-rate "Info" header is no Xing header.
    ASSERT_TRUE(Analyze(XingFrame(0xFB, 0x90, 0x64, 36, 1000, "Info") + Filler(999600)).Ok());
    EXPECT_EQ(info.IsVbr, 0);
    EXPECT_EQ(info.DurationMs, 62500);
}

struct XingCase {
    const char* what;
    Bytes head;
    std::int32_t durationMs;
    std::string name = "x.mp3";
};
void PrintTo(const XingCase& c, std::ostream* os) {
    *os << c.what;
}
class XingStream : public Analysis, public ::testing::WithParamInterface<XingCase> {};

// The Xing header sits after the side information, and a frame holds
// 1152 samples, 576 in MPEG-2 LSF Layer III and 384 in Layer I.
TEST_P(XingStream, DurationCountsTheFramesTrueSamples) {
    const Bytes file = GetParam().head + Filler(100000, 0x55);
    ASSERT_TRUE(Analyze(file, GetParam().name).Ok());
    EXPECT_EQ(info.IsVbr, 1);
    EXPECT_EQ(info.XingFrames, 1000);
    EXPECT_EQ(info.DurationMs, GetParam().durationMs);
    EXPECT_EQ(info.BitRate, RoundHalfEven((info.AudioLength - 1) * 8.0 / GetParam().durationMs));
    EXPECT_NE(info.LongText.find("kbps[VBR]/"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XingStream,
    ::testing::Values(XingCase{"mpeg1_stereo", XingFrame(0xFB, 0x90, 0x64, 36, 1000), 26122},
                      XingCase{"mpeg1_mono", XingFrame(0xFB, 0x90, 0xC4, 21, 1000), 26122},
                      XingCase{"lsf_stereo", XingFrame(0xF3, 0x84, 0x64, 21, 1000), 24000},
                      XingCase{"lsf_mono", XingFrame(0xF3, 0x84, 0xC4, 13, 1000), 24000},
                      XingCase{"layer2", XingFrame(0xFD, 0x94, 0x04, 36, 1000), 24000},
                      XingCase{"layer1", XingFrame(0xFF, 0x94, 0x04, 36, 1000), 8000, "x.mp1"},
                      XingCase{"after_id3v2", test::Id3v2Tag(500) + XingFrame(0xFB, 0x90, 0x64, 36, 1000), 26122}),
    [](const auto& info) { return std::string(info.param.what); });

// A Xing stream's average rate is taken over AudioLength less FirstFramePos
// bytes; behind a tag longer than its audio that would be negative.
TEST_F(Analysis, AXingClipBehindALongTagHasAPositiveRate) {
    ASSERT_TRUE(Analyze(test::Id3v2Tag(3000) + XingFrame(0xFB, 0x90, 0x64, 36, 10) + Filler(600)).Ok());
    EXPECT_EQ(info.DurationMs, 261);  // 10 x 1152 / 44.1
    EXPECT_EQ(info.BitRate, 31);      // 1000 bytes in 261 ms
    EXPECT_GT(info.SnapWindow, 0);
}

TEST_F(Analysis, XingCountingNoFramesFails) {
    EXPECT_EQ(Analyze(XingFrame(0xFB, 0x90, 0x64, 36, 0) + Filler(1000)).Fault, AnalysisFault::NoDuration);
}

struct BadCase {
    const char* what;
    Bytes bytes;
    AnalysisFault fault;
    std::string name = "x.mp3";
};
void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.what;
}
class BadInput : public Analysis, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadInput, FailsWithItsReason) {
    EXPECT_EQ(Analyze(GetParam().bytes, GetParam().name).Fault, GetParam().fault);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(
        BadCase{"empty", {}, AnalysisFault::TooShort}, BadCase{"bytes_47", Filler(47, 0xFF), AnalysisFault::TooShort},
        BadCase{"text", Text(std::string(3000, 'a') + "\n"), AnalysisFault::NoFrameHeader, "notes.txt"},
        BadCase{"all_ff_mp3", Filler(5000, 0xFF), AnalysisFault::NoFrameHeader},
        BadCase{"all_ff_mp2", Filler(5000, 0xFF), AnalysisFault::InvalidHeader, "x.mp2"},
        BadCase{"mpeg_2_5", Header(0xE3, 0x90, 0x64, 3000), AnalysisFault::NoFrameHeader},
        BadCase{"mpeg_2_5_chain", kMpeg25Chain, AnalysisFault::Mpeg25},
        BadCase{"mpeg_2_5_with_a_pseudo_header", kMpeg25WithPseudoHeader, AnalysisFault::Mpeg25},
        BadCase{"id3v2_past_the_end",
                Bytes(kId3Size257.begin(), kId3Size257.begin() + 10) + Filler(90) + Header(0xFB, 0x90, 0x64),
                AnalysisFault::NoFrameHeader},
        BadCase{"png", Bytes{0x89} + Text("PNG\r\n") + Filler(100) + kFrame, AnalysisFault::NotMpeg, "x.png"},
        BadCase{"wave_of_pcm", Text("RIFF") + Filler(4) + Text("WAVEfmt ") + Filler(4) + Bytes{1, 0} + kFrame,
                AnalysisFault::NotMpeg, "x.wav"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Analysis, PathsThatAreNoReadableFile) {
    EXPECT_EQ(AnalyzeStreamWhy(dir.file("missing.mp3"), info).Fault, AnalysisFault::Missing);
    EXPECT_EQ(AnalyzeStreamWhy(dir.path().string(), info).Fault, AnalysisFault::NotAFile);
    const std::string fifo = dir.file("pipe.mp3");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(AnalyzeStreamWhy(fifo, info).Fault, AnalysisFault::NotAFile);  // and does not block
    EXPECT_EQ(AnalyzeStreamWhy(test::TestAudio("tone.wav"), info).Fault, AnalysisFault::NotMpeg);
    EXPECT_EQ(AnalyzeStreamWhy(test::TestAudio("mpeg25.mp3"), info).Fault, AnalysisFault::Mpeg25);
    EXPECT_EQ(AnalyzeStream(dir.file("missing.mp3"), info), 0);
}

// Positions are 32-bit: a file of 2 GiB or more must fail rather than wrap,
// including one whose size in 32 bits looks small and valid.
TEST_F(Analysis, TwoGibibytesOrMoreIsTooLarge) {
    path = dir.file("big.mp3");
    test::WriteFile(path, kFrame);
    for (std::uintmax_t size : {std::uintmax_t{1} << 31, (std::uintmax_t{1} << 32) + 400}) {
        std::filesystem::resize_file(path, size);
        const AnalysisResult r = AnalyzeStreamWhy(path, info);
        EXPECT_EQ(r.Fault, AnalysisFault::TooLarge) << size;
        EXPECT_EQ(AnalysisFaultText(r), "the file is too large (2 GiB or more)");
    }
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 31) - 1);
    ASSERT_TRUE(AnalyzeStreamWhy(path, info).Ok());
    EXPECT_EQ(info.AudioEndPos, 2147483647);
}

struct EncodedCase {
    const char* file;
    std::int32_t firstFramePos, nonAudioBytes, layer, isLsf, sampleRate, isVbr;
    const char* mode;
};
void PrintTo(const EncodedCase& c, std::ostream* os) {
    *os << c.file;
}
class EncodedFile : public ::testing::TestWithParam<EncodedCase> {};

TEST_P(EncodedFile, MatchesWhatTheCheckersSee) {
    const EncodedCase& c = GetParam();
    const std::string path = test::TestAudio(c.file);
    StreamInfo info;
    ASSERT_TRUE(AnalyzeStreamWhy(path, info).Ok());
    EXPECT_EQ(info.FirstFramePos, c.firstFramePos);
    EXPECT_EQ(info.FileSize, static_cast<std::int32_t>(std::filesystem::file_size(path)));
    EXPECT_EQ(info.AudioLength, info.FileSize - c.nonAudioBytes);
    EXPECT_EQ(info.Layer, c.layer);
    EXPECT_EQ(info.IsLsf, c.isLsf);
    EXPECT_EQ(info.SampleRate, c.sampleRate);
    EXPECT_EQ(info.IsVbr, c.isVbr);
    // mp3val counts the Xing frame too.
    if (c.isVbr) {
        EXPECT_EQ(info.XingFrames, test::Mp3valFrameCount(path) - 1);
    }
    // A constant-rate file counts its "Info" frame as audio: one frame more than ffprobe.
    EXPECT_NEAR(info.DurationMs, test::FfprobeDurationMs(path), 30.0);
    EXPECT_NE(info.LongText.find(std::string("/") + c.mode + ")"), std::string::npos) << info.LongText;
}

INSTANTIATE_TEST_SUITE_P(
    Files, EncodedFile,
    ::testing::Values(EncodedCase{"cbr128.mp3", 1, 0, 3, 0, 44100, 0, "JointStereo"},
                      EncodedCase{"cbr128_tags.mp3", 2049, 2048 + 128, 3, 0, 44100, 0, "JointStereo"},
                      EncodedCase{"cbr128_plain.mp3", 1, 0, 3, 0, 44100, 0, "JointStereo"},
                      EncodedCase{"vbr.mp3", 1, 0, 3, 0, 44100, 1, "JointStereo"},
                      EncodedCase{"vbr_tags.mp3", 2049, 2048 + 128, 3, 0, 44100, 1, "JointStereo"},
                      EncodedCase{"lsf.mp3", 1, 0, 3, 1, 22050, 0, "JointStereo"},
                      EncodedCase{"lsf_vbr.mp3", 1, 0, 3, 1, 22050, 1, "JointStereo"},
                      EncodedCase{"lsf_vbr_tags.mp3", 2049, 2048 + 128, 3, 1, 22050, 1, "JointStereo"},
                      EncodedCase{"mono.mp3", 1, 0, 3, 0, 44100, 0, "Mono"},
                      EncodedCase{"mono_vbr.mp3", 1, 0, 3, 0, 44100, 1, "Mono"},
                      EncodedCase{"mono_vbr_tags.mp3", 2049, 2048 + 128, 3, 0, 44100, 1, "Mono"},
                      EncodedCase{"mp2_48k.mp2", 1, 0, 2, 0, 48000, 0, "Stereo"},
                      EncodedCase{"mp2_48k_tags.mp2", 2049, 2048 + 128, 2, 0, 48000, 0, "Stereo"},
                      EncodedCase{"ffmpeg.mp3", 46, 45, 3, 0, 48000, 0, "JointStereo"},
                      EncodedCase{"ffmpeg_tags.mp3", 2049 + 45, 2048 + 45 + 128, 3, 0, 48000, 0, "JointStereo"},
                      EncodedCase{"junk_sync.mp3", 1501, 1500, 3, 0, 44100, 0, "JointStereo"},
                      EncodedCase{"bad_first.mp3", 418, 417, 3, 0, 44100, 0, "JointStereo"},
                      EncodedCase{"two_id3v2.mp3", 76, 75, 3, 0, 44100, 0, "JointStereo"},
                      EncodedCase{"vbri.mp3", 1, 0, 3, 0, 44100, 1, "JointStereo"}),
    [](const auto& info) { return test::TestNameOfFile(info.param.file); });

// A run of 0xFF bytes after the last frame is padding, as a trailing tag is:
// the audio, and so every position and snap, ends before it.
TEST(AnalysisOfPadding, AudioEndsBeforeARunOfFf) {
    StreamInfo plain, padded;
    ASSERT_TRUE(AnalyzeStreamWhy(test::TestAudio("cbr128_plain.mp3"), plain).Ok());
    ASSERT_TRUE(AnalyzeStreamWhy(test::TestAudio("ff_tail.mp3"), padded).Ok());
    EXPECT_EQ(padded.AudioLength, plain.AudioLength);
    EXPECT_EQ(padded.DurationMs, plain.DurationMs);
}

}  // namespace
}  // namespace kalvor
