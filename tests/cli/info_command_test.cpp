// kalvor-cli info, end to end.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_program.h"
#include "support/frame_builder.h"
#include "support/param_names.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

test::CommandResult Info(const std::string& path) {
    return test::Run(test::CliProgram() + " info " + test::ShellQuote(path));
}

TEST(InfoCommand, PrintsTheRecordInFieldOrder) {
    test::TempDir dir;
    const std::string path = dir.file("x.mp3");
    // 100 bytes of ID3v2, 1,000,000 bytes of 128 kbit/s audio, an ID3v1 block.
    test::WriteFile(path, test::Id3v2Tag(100) + test::Frame(0xFB, 0x90, 0x64, 1000000) + test::Id3v1Tag());
    const test::CommandResult r = Info(path);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "FirstFramePos: 101\nAudioLength: 1000000\nAudioEndPos: 1000100\nFileSize: 1000228\n"
              "SnapWindow: 1254\nIsVbr: 0\nXingFrames: 0\nSampleRate: 44100\nIsLsf: 0\nBitRate: 128\n"
              "Layer: 3\nDurationMs: 62500\nLongText: mp3(44100Hz/128kbps/JointStereo)\nRefHeader: FB 90 64\n");
}

struct EncodedCase {
    const char* file;
    const char* lines;  // lines the output must hold
};
void PrintTo(const EncodedCase& c, std::ostream* os) {
    *os << c.file;
}
class InfoOfEncodedFile : public ::testing::TestWithParam<EncodedCase> {};

TEST_P(InfoOfEncodedFile, DescribesTheFormat) {
    const test::CommandResult r = Info(test::TestAudio(GetParam().file));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(GetParam().lines), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Files, InfoOfEncodedFile,
    ::testing::Values(EncodedCase{"cbr128_tags.mp3",
                                  "LongText: mp3(44100Hz/128kbps/JointStereo)\nRefHeader: FB 90 64\n"},
                      EncodedCase{"vbr.mp3", "IsVbr: 1\nXingFrames: 805\nSampleRate: 44100\n"},
                      EncodedCase{"lsf_vbr.mp3", "IsLsf: 1\nBitRate: 50\nLayer: 3\nDurationMs: 12069\n"},
                      EncodedCase{"mono_vbr_tags.mp3", "kbps[VBR]/Mono)\nRefHeader: FB 90 C4\n"},
                      EncodedCase{"mp2_48k.mp2", "DurationMs: 15000\nLongText: mp2(48000Hz/192kbps/Stereo)\n"},
                      EncodedCase{"ffmpeg.mp3", "FirstFramePos: 46\n"}),
    [](const auto& i) { return test::TestNameOfFile(i.param.file); });

struct BadCase {
    const char* what;
    Bytes bytes;
    const char* reason;
};
void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.what;
}
class InfoOfBadFile : public ::testing::TestWithParam<BadCase> {};

TEST_P(InfoOfBadFile, SaysWhyOnOneLine) {
    test::TempDir dir;
    std::string path = dir.file("x.mp3");
    if (std::string(GetParam().what) == "folder")
        path = dir.path().string();
    else if (std::string(GetParam().what) != "missing")
        test::WriteFile(path, GetParam().bytes);
    if (std::string(GetParam().what) == "huge") std::filesystem::resize_file(path, std::uintmax_t{3} << 30);
    const test::CommandResult r = Info(path);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kalvor-cli: " + path + ": " + GetParam().reason + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InfoOfBadFile,
    ::testing::Values(
        BadCase{"missing", {}, "the file does not exist"}, BadCase{"folder", {}, "not a file (a folder or a device)"},
        BadCase{"empty", {}, "the file is too short for MPEG audio (under 48 bytes)"},
        BadCase{"huge", test::Frame(0xFB, 0x90, 0x64, 100), "the file is too large (2 GiB or more)"},
        BadCase{"no_header", Bytes(4000, 'a'), "no MPEG audio frame header found"},
        BadCase{"free_format", test::Frame(0xFB, 0x00, 0x64, 100),
                "invalid frame header: the bit-rate index is free format or invalid"},
        BadCase{"wave",
                Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0} +
                    test::Frame(0xFB, 0x90, 0x64, 100),
                "not MPEG audio (the file is of another format)"}),
    [](const auto& i) { return std::string(i.param.what); });

TEST(InfoCommand, BadUsageShowsTheUsage) {
    for (const char* args : {"", " a.mp3 b.mp3"}) {
        const test::CommandResult r = test::Run(test::CliProgram() + " info" + args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("info FILE"), std::string::npos);
    }
}

}  // namespace
}  // namespace kalvor
