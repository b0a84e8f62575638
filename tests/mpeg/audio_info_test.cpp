// The file information report over encoder-made and byte-built files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mpeg/FCT_AudioInf.h"
#include "mpeg/FCT_mpeg.h"
#include "services/basic.h"
#include "support/frame_builder.h"
#include "support/test_support.h"
#include "support/wav_builder.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, joint stereo.
Bytes Mp3Frames(int count) {
    return test::Frames(0xFB, 0x90, 0x64, count);
}

class Report : public ::testing::Test {
   protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = dir_.file(name);
        test::WriteFile(path, bytes);
        return path;
    }
    std::string Copy(const std::string& from, const std::string& name) {
        std::filesystem::copy_file(from, dir_.file(name));
        return dir_.file(name);
    }
    test::TempDir dir_;
};

TEST_F(Report, Mp3GivesPathTypeFormatAndDuration) {
    const std::string path = test::TestAudio("cbr128.mp3");
    const FileInfoResult r = FileInfoReport(path);
    const auto lines = Lines(r.Text);
    ASSERT_EQ(lines.size(), 4u) << r.Text;
    EXPECT_EQ(lines[0], path);
    EXPECT_EQ(lines[1], "MPEG Layer-3 audio");
    EXPECT_EQ(lines[2], "mp3(44100Hz/128kbps/JointStereo)");
    EXPECT_TRUE(r.Ok());
    EXPECT_NEAR(r.DurationMs, 20000, 100);
    EXPECT_EQ(lines[3], MsToTimeText(r.DurationMs));
    EXPECT_EQ(r.Text.substr(r.Text.size() - 2) == "\r\n", false);
}

TEST_F(Report, XingFileShowsVbrAndTheXingDuration) {
    const std::string path = test::TestAudio("vbr.mp3");
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(path, info), 1);
    const FileInfoResult r = FileInfoReport(path);
    const auto lines = Lines(r.Text);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[2].find("[VBR]"), std::string::npos) << lines[2];
    EXPECT_EQ(r.DurationMs, info.DurationMs);
    EXPECT_NEAR(r.DurationMs, 21000, 100);
}

TEST_F(Report, UpperCaseWavExtensionIsAWaveFile) {
    const std::string path = Copy(test::TestAudio("tone.wav"), "TONE.WAV");
    const FileInfoResult r = FileInfoReport(path);
    EXPECT_EQ(Lines(r.Text), (std::vector<std::string>{path, "WAVE audio", "wav(44100Hz/16bit/Stereo)", "000'05.000"}));
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.DurationMs, 5000);
}

struct PcmCase {
    std::uint16_t tag, channels, bits;
    std::uint32_t rate;
    const char* format;
};
class PcmReport : public Report, public ::testing::WithParamInterface<PcmCase> {};

TEST_P(PcmReport, FormatLineNamesRateSizeAndChannels) {
    const PcmCase c = GetParam();
    const std::uint32_t oneSecond = c.rate * c.channels * c.bits / 8;
    const std::string path = Write("pcm.wav", test::RiffHeader() + test::FmtChunk(c.tag, c.channels, c.rate, c.bits) +
                                                  test::DataChunkHead(oneSecond * 2));
    const auto lines = Lines(FileInfoReport(path).Text);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], c.format);
    EXPECT_EQ(lines[3], "000'02.000");
}
INSTANTIATE_TEST_SUITE_P(, PcmReport,
                         ::testing::Values(PcmCase{1, 1, 8, 8000, "wav(8000Hz/8bit/Mono)"},
                                           PcmCase{1, 2, 24, 96000, "wav(96000Hz/24bit/Stereo)"},
                                           PcmCase{0xFFFE, 6, 24, 48000, "wav(48000Hz/24bit/6ch)"},
                                           PcmCase{1, 8, 16, 44100, "wav(44100Hz/16bit/8ch)"}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(Report, OtherFilesGetNoFormatAndZeroTime) {
    const std::string path = Write("notes.txt", {'h', 'i'});
    const FileInfoResult r = FileInfoReport(path);
    EXPECT_EQ(Lines(r.Text), (std::vector<std::string>{path, "Text document", "000'00.000"}));
    EXPECT_EQ(r.Fault, FileInfoFault::NotMedia);
    EXPECT_EQ(FileTypeName(Write("a.xyz", {1})), "XYZ file");
    EXPECT_EQ(FileTypeName(Write("noext", {1})), "File");
}

TEST_F(Report, MediaFilesAreMeasuredByTheProbe) {
    const std::string path = Write("clip.wma", Bytes(64, 0x30));
    std::vector<std::string> asked;
    const FileInfoResult r = FileInfoReport(path, [&](const std::string& p) {
        asked.push_back(p);
        return std::int32_t{4321};
    });
    EXPECT_EQ(asked, std::vector<std::string>{path});
    EXPECT_EQ(Lines(r.Text),
              (std::vector<std::string>{path, "Windows Media audio", "Windows Media audio", "000'04.321"}));
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.DurationMs, 4321);
}

TEST_F(Report, WithoutAProbeMediaFilesReportNoLength) {
    const FileInfoResult r = FileInfoReport(Write("clip.m4a", Bytes(64, 0x30)));
    EXPECT_EQ(Lines(r.Text).back(), "000'00.000");
    EXPECT_EQ(r.Fault, FileInfoFault::NoLength);
}

TEST_F(Report, UnreadableMpegAndWaveFallBackToTheProbe) {
    const auto probe = [](const std::string&) { return std::int32_t{777}; };
    const std::string mp3 = Write("broken.mp3", Bytes(4096, 0x20));
    EXPECT_EQ(Lines(FileInfoReport(mp3, probe).Text),
              (std::vector<std::string>{mp3, "MPEG Layer-3 audio", "MPEG Layer-3 audio", "000'00.777"}));
    // ADPCM: 4-bit samples, not a format kalvor describes.
    const std::string adpcm =
        Write("adpcm.wav", test::RiffHeader() + test::FmtChunk(0x11, 2, 44100, 4) + test::DataChunkHead(1000));
    EXPECT_EQ(Lines(FileInfoReport(adpcm, probe).Text)[2], "WAVE audio");
    // A truncated PCM header.
    const std::string cut = Write("cut.wav", test::RiffHeader() + test::FmtChunk(1, 2, 44100, 16));
    EXPECT_EQ(FileInfoReport(cut, probe).DurationMs, 777);
}

TEST_F(Report, MpegInsideWaveIsDescribedByTheStream) {
    const Bytes frames = Mp3Frames(200);
    const std::string path =
        Write("mpeg.wav", test::RiffHeader() + test::FmtChunk(0x55, 2, 44100, 0) +
                              test::DataChunkHead(static_cast<std::uint32_t>(frames.size())) + frames);
    const FileInfoResult r = FileInfoReport(path, [](const std::string&) { return std::int32_t{1}; });
    const auto lines = Lines(r.Text);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "mp3(44100Hz/128kbps/JointStereo)");
    EXPECT_NEAR(r.DurationMs, 200 * 1152 * 1000 / 44100, 30);
}

TEST_F(Report, MissingFileGivesEmptyText) {
    const FileInfoResult r = FileInfoReport(dir_.file("gone.mp3"));
    EXPECT_EQ(r.Text, "");
    EXPECT_EQ(r.Fault, FileInfoFault::NotAFile);
    EXPECT_EQ(FileInfoReport(dir_.path().string()).Text, "");  // a folder is no file
}

}  // namespace
}  // namespace kalvor
